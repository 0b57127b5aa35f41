#include "PageContent.h"

#include "LocalFile.h"
#include "Texts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace dorvanel::cli {

namespace {

// A document's name as one file name: no separator can lead it out of its folder.
QString fileNameFor(const QString& documentName, const QString& type) {
    QString name = documentName.trimmed().isEmpty() ? QStringLiteral("documento") : documentName.trimmed();
    name.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QChar(0), QLatin1Char('_'));
    if (name == QLatin1String(".") || name == QLatin1String("..")) name = Texts::tr("documento");
    const QString extension = QLatin1Char('.') + QString(type).replace(QLatin1Char('/'), QLatin1Char('_'));
    return type.isEmpty() || name.endsWith(extension, Qt::CaseInsensitive) ? name : name + extension;
}

}  // namespace

QString writePageContent(const QString& workFolder, const QString& documentName, const QString& type,
                         const ContentWriter& write) {
    // Made for its owner only, and removed again unless the content is complete.
    QTemporaryDir folder(QDir(workFolder).filePath(QStringLiteral("descarga-XXXXXX")));
    if (!folder.isValid()) failOnFile(Texts::tr("No se pudo crear una carpeta en"), workFolder, errno);
    const QString path = folder.filePath(fileNameFor(documentName, type));
    const int descriptor = ::open(encodeLocalName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (descriptor < 0) failOnFile(Texts::tr("No se pudo crear"), path, errno);
    QFile file;
    if (!file.open(descriptor, QIODevice::WriteOnly | QIODevice::Unbuffered, QFile::AutoCloseHandle)) {
        ::close(descriptor);
        failOnFile(Texts::tr("No se pudo escribir"), path, errno);
    }
    write(file, shownName(path));
    folder.setAutoRemove(false);
    return path;
}

}  // namespace dorvanel::cli
