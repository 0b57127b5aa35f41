#include "Import.h"

#include "ProgressBar.h"
#include "Session.h"
#include "StoreOnce.h"

#include <Dorvanel/Error.h>

#include <QDir>
#include <QFileInfo>

namespace dorvanel::cli {

namespace {

QFileInfoList filesIn(const QString& folder) {
    const QDir dir(folder);
    if (!dir.exists()) throw Error(Error::FileFailed, QStringLiteral("No existe la carpeta %1").arg(folder));
    return dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
}

}  // namespace

void importFolder(Session& session, QTextStream& out, const QString& folder, const QString& parent,
                  const QString& parentType, bool once) {
    requireKey(parent, QStringLiteral("del padre"));
    const QFileInfoList files = filesIn(folder);
    ProgressBar progress(files.size());
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString path = files[i].filePath();
        progress.show(i, files[i].fileName());
        StoreRequest request;
        request.file = path;
        request.name = session.proposedName(path);
        const QString guid = storeOnce(session, request, {parent}, parentType, once);
        progress.clear();
        out << guid << "  " << files[i].fileName() << Qt::endl;
    }
    QTextStream(stderr) << "Documentos importados de " << QDir(folder).absolutePath() << ": " << files.size()
                        << ", vinculados a " << parent << Qt::endl;
}

}  // namespace dorvanel::cli
