#include "repository/SaveTargetDialog.h"

#include "platform/FileDialogRunner.h"
#include "platform/FileNames.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace dorvanel {

namespace {

QString downloadFolder() {
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return QFileInfo(downloads).isDir() ? downloads : QDir::homePath();
}

QStringList filtersFor(const QString& extension) {
    const QString everything = QCoreApplication::translate("dorvanel::SaveTargetDialog", "Todos los archivos (*)");
    if (extension.isEmpty()) return {everything};
    return {QCoreApplication::translate("dorvanel::SaveTargetDialog", "Archivos %1 (*.%1)").arg(extension), everything};
}

void speakSpanish(QFileDialog& dialog) {
    dialog.setLabelText(QFileDialog::LookIn, QCoreApplication::translate("dorvanel::SaveTargetDialog", "Guardar en:"));
    dialog.setLabelText(QFileDialog::FileName, QCoreApplication::translate("dorvanel::SaveTargetDialog", "Nombre:"));
    dialog.setLabelText(QFileDialog::FileType, QCoreApplication::translate("dorvanel::SaveTargetDialog", "Tipo:"));
    dialog.setLabelText(QFileDialog::Accept, QCoreApplication::translate("dorvanel::SaveTargetDialog", "&Guardar"));
    dialog.setLabelText(QFileDialog::Reject, QCoreApplication::translate("dorvanel::SaveTargetDialog", "Cancelar"));
}

}  // namespace

QString AskSaveTarget(QWidget* parent, const QString& proposedName) {
    QFileDialog dialog(parent, QCoreApplication::translate("dorvanel::SaveTargetDialog", "Guardar como"));
    dialog.setObjectName(QStringLiteral("dlgGuardarComo"));
    // Qt's own dialog, which a test driver can operate, whatever the desktop offers.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    speakSpanish(dialog);
    const QString extension = QFileInfo(proposedName).suffix();
    dialog.setNameFilters(filtersFor(extension));
    dialog.setDefaultSuffix(extension);
    dialog.selectFile(fileInFolder(downloadFolder(), proposedName));
    if (RunFileDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace dorvanel
