#include "repository/FileCopyProgress.h"

#include "platform/FilePieces.h"
#include "platform/NewFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>

namespace dorvanel {

namespace {

constexpr int ProgressSteps = 1000;
constexpr int ShownAfterMilliseconds = 500;

class CopyProgress {
public:
    CopyProgress(const QString& target, qint64 size, QWidget* window)
        : dialog_(QCoreApplication::translate("dorvanel::FileCopyProgress", "Guardando %1")
                      .arg(QFileInfo(target).fileName()),
                  QCoreApplication::translate("dorvanel::FileCopyProgress", "Cancelar"), 0, ProgressSteps, window),
          size_(qMax<qint64>(size, 1)) {
        dialog_.setObjectName(QStringLiteral("prgGuardar"));
        dialog_.setWindowTitle(QCoreApplication::translate("dorvanel::FileCopyProgress", "Descargar archivo"));
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(ShownAfterMilliseconds);
        dialog_.setAutoClose(false);
        dialog_.setAutoReset(false);
        dialog_.setValue(0);
    }

    // Shows how far the copy is and lets the windows work; false once the user cancelled.
    bool advance(qint64 count) {
        copied_ += count;
        dialog_.setValue(int(qMin(copied_, size_) * ProgressSteps / size_));
        // Until the progress window shows, nothing else may be clicked: a second copy would start.
        QCoreApplication::processEvents(dialog_.isVisible() ? QEventLoop::AllEvents
                                                            : QEventLoop::ExcludeUserInputEvents);
        return !dialog_.wasCanceled();
    }

private:
    QProgressDialog dialog_;
    qint64 size_;
    qint64 copied_ = 0;
};

}  // namespace

bool CopyFileWithProgress(const QString& source, const QString& target, QWidget* window) {
    QFile input(source);
    openToRead(input);
    NewFile output(target, NewFile::Access::AsUsual);
    CopyProgress progress(target, input.size(), window);
    const bool whole = readFilePieces(input, [&](const char* bytes, qint64 count) {
        output.write(bytes, count);
        return progress.advance(count);
    });
    if (whole) output.commit();
    return whole;
}

}  // namespace dorvanel
