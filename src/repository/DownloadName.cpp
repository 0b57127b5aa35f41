#include "repository/DownloadName.h"

#include <QFileInfo>

namespace dorvanel {

namespace {

QString& innermost() {
    static QString name;
    return name;
}

}  // namespace

DownloadName::DownloadName(const QString& documentName) : previous_(innermost()) { innermost() = documentName; }

DownloadName::~DownloadName() { innermost() = previous_; }

QString DownloadName::current() { return innermost(); }

QString proposedFileName(const QString& documentName, const QString& linkedFile) {
    const QFileInfo file(linkedFile);
    const QString name = documentName.trimmed().isEmpty() ? file.fileName() : documentName.trimmed();
    const QString extension = QLatin1Char('.') + file.suffix();
    if (file.suffix().isEmpty() || name.endsWith(extension, Qt::CaseInsensitive)) return name;
    return name + extension;
}

}  // namespace dorvanel
