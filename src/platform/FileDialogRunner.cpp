#include "platform/FileDialogRunner.h"

#include "platform/Seam.h"

#include <QFileDialog>

namespace dorvanel {

namespace {

using RunnerSeam = Seam<int(QFileDialog&)>;

RunnerSeam& runModal() {
    static RunnerSeam seam([](QFileDialog& dialog) { return dialog.exec(); });
    return seam;
}

}  // namespace

int RunFileDialog(QFileDialog& dialog) { return runModal()(dialog); }

FileDialogRunner SetFileDialogRunner(FileDialogRunner runner) { return runModal().replace(std::move(runner)); }

}  // namespace dorvanel
