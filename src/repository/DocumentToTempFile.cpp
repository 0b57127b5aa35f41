#include "repository/DocumentToTempFile.h"

#include "component/WorkFiles.h"
#include "platform/BlobStreaming.h"
#include "platform/ComponentFile.h"
#include "platform/Connection.h"
#include "platform/FileNames.h"
#include "platform/Recordset.h"
#include "repository/FailureStyles.h"

namespace dorvanel {

namespace {

QString tempFileFor(const Recordset& rows) {
    return fileInFolder(ComponentFile::tempFolder(),
                        QStringLiteral("temp.") + rows.value(QStringLiteral("TypeData")).toString());
}

// The content copied by the row's key, chunk by chunk; "" when the column is NULL.
QString streamContent(Connection& connection, const Recordset& rows, const QString& contentColumn, qint32 sysPk) {
    const QString path = tempFileFor(rows);
    const bool written = BlobStreaming::readToFile(connection, QStringLiteral("Docs"), contentColumn,
                                                   QStringLiteral("Sys_PK"), sysPk, path);
    if (!written) return QString();
    WorkFiles::Made(path);
    return path;
}

}  // namespace

QString DocumentToTempFile(const std::shared_ptr<Connection>& connection, const QString& sql,
                           const QString& contentColumn, qint32 sysPk) {
    QString result;
    Recordset rows;
    ContinueOnFailure([&] {
        Required(connection);
        rows.leaveOut(contentColumn);
        rows.Open(sql, connection, Recordset::adOpenKeyset, Recordset::adLockOptimistic);
    });
    qint32 count = 0;
    if (!ContinueOnFailure([&] { count = rows.RecordCount(); }) || count == 0) return result;
    if (IsStoreOut(rows)) {
        ContinueOnFailure([&] {
            const QVariant location = rows.value(QStringLiteral("urlfile"));
            if (!location.isNull()) result = location.toString();
        });
        return result;
    }
    // The name is given only once the whole file is written.
    ContinueOnFailure([&] { result = streamContent(*connection, rows, contentColumn, sysPk); });
    return result;
}

bool IsStoreOut(const Recordset& rows) {
    bool result = false;
    ContinueOnFailure([&] {
        const QVariant storeout = rows.value(QStringLiteral("storeout"));
        if (!storeout.isNull()) result = storeout.toLongLong() != 0;
    });
    return result;
}

}  // namespace dorvanel
