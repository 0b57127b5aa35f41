#include "host/DefaultOskel.h"

#include "component/Globals.h"
#include "component/Manager.h"
#include "platform/Error.h"
#include "platform/MessageBox.h"
#include "platform/NewFile.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QUrl>

namespace dorvanel {

namespace {

// The file-name part of a path or of a URL's path (query and fragment left out).
QFileInfo nameOf(const QString& pathOrUrl) {
    if (pathOrUrl.contains(QLatin1String("://"))) return QFileInfo(QUrl(pathOrUrl).path());
    return QFileInfo(pathOrUrl);
}

}  // namespace

QString DefaultOskel::FolderWithSeparator(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

bool DefaultOskel::WriteTextFile(const QString& path, const QString& text) {
    try {
        NewFile file(path, NewFile::Access::AsUsual);
        const QByteArray bytes = text.toUtf8();
        file.write(bytes.constData(), bytes.size());
        file.commit();
        return true;
    } catch (const Error&) {
        return false;
    }
}

QString DefaultOskel::WorkFolder() { return defaultWorkFolder(); }

QString DefaultOskel::defaultWorkFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                           QStringLiteral("/Dorvanel/work");
    QDir().mkpath(folder);
    return folder;
}

QString DefaultOskel::FileExtension(const QString& fileName) { return nameOf(fileName).suffix(); }

QString DefaultOskel::FileBaseName(const QString& path) { return nameOf(path).completeBaseName(); }

qint16 DefaultOskel::NumberBetween(qint16 low, qint16 high) {
    return static_cast<qint16>(QRandomGenerator::global()->bounded(int(low), int(high) + 1));
}

void DefaultOskel::ShellOpen(const QString& path, const QString& /*verb: only "open" is used*/,
                             qint32 /*showCommand*/) {
    if (!QDesktopServices::openUrl(QUrl::fromUserInput(path, QDir::currentPath(), QUrl::AssumeLocalFile)))
        offerDownloadPage(path);
}

// A desktop without a program for the file would leave the user's click without an answer. The
// way out is the one the download button takes: the download page, from which the file is saved
// where the user wants it and opened with whatever program the user has.
void DefaultOskel::offerDownloadPage(const QString& path) {
    const QString question = QCoreApplication::translate("dorvanel::DefaultOskel",
                                                         "No hay ningún programa en este escritorio para abrir el "
                                                         "archivo %1.\n\n¿Desea guardarlo desde la página de descarga?")
                                 .arg(QDir::toNativeSeparators(path));
    if (msgBox(question, vbYesNoQuestion) == vbYes && gManager) gManager->SaveAs(path);
}

void DefaultOskel::ShowHelp(qint32 /*windowHandle*/, qint32 helpContext) {
    if (helpFile_.isEmpty()) return;
    QUrl page = QUrl::fromUserInput(helpFile_, QDir::currentPath(), QUrl::AssumeLocalFile);
    page.setFragment(QString::number(helpContext));
    QDesktopServices::openUrl(page);
}

}  // namespace dorvanel
