#include "dialogs/CommonDialog.h"

#include "platform/Error.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>

namespace dorvanel {

namespace {

QString qtPatterns(const QString& patternList) {
    QStringList patterns = patternList.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& pattern : patterns) {
        pattern = pattern.trimmed();
        if (pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
    }
    return patterns.join(QLatin1Char(' '));
}

// One Qt name filter a pair: the description as given, then its patterns in Qt's syntax,
// where "*.*" stands for every file. A description without its pattern list is left out.
QStringList nameFiltersOf(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList nameFilters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        nameFilters << QStringLiteral("%1 (%2)").arg(parts[i], qtPatterns(parts[i + 1]));
    return nameFilters;
}

}  // namespace

void CommonDialog::ShowOpen() {
    QFileDialog dialog(QApplication::activeWindow());
    // Qt's own dialog, which a test driver can operate, whatever the desktop offers.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The list shows each description as given, without the patterns added for Qt.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFiltersOf(filter_));
    if (!fileName_.isEmpty()) dialog.selectFile(fileName_);
    if (RunFileDialog(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        fileName_ = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
        return;
    }
    if (cancelError_)
        throw Error(cdlCancel, QCoreApplication::translate("dorvanel::CommonDialog", "Se ha seleccionado Cancelar."));
}

}  // namespace dorvanel
