#include "repository/TempFiles.h"

#include "platform/BlobStreaming.h"
#include "platform/ComponentFile.h"
#include "platform/Connection.h"
#include "platform/FileNames.h"
#include "platform/Recordset.h"
#include "platform/Stream.h"
#include "repository/FailureStyles.h"

namespace dorvanel {

namespace {

const QString SelectFrom = QStringLiteral(" From ");

QString tempFileFor(const Recordset& rows) {
    return FileInFolder(ComponentFile::TempFolder(),
                        QStringLiteral("temp.") + rows.Fields(QStringLiteral("TypeData")).toString());
}

// The row's content written through a Stream; "" when the column is NULL.
QString saveContent(const Recordset& rows, const QString& contentColumn) {
    const QVariant content = rows.Fields(contentColumn);
    if (content.isNull()) return QString();
    const QString path = tempFileFor(rows);
    Stream stream;
    stream.SetType(Stream::adTypeBinary);
    stream.Open();
    stream.Write(content);
    stream.SaveToFile(path, Stream::adSaveCreateOverWrite);
    stream.Close();
    return path;
}

// A query of the form "Select ... From Docs ..." can be asked again for the row's rowid, so
// that its BLOB is copied to the file in chunks instead of being loaded whole.
bool canStream(const Connection& connection, const QString& sql) {
    return BlobStreaming::ReadsInPlace(connection) && sql.contains(SelectFrom, Qt::CaseInsensitive);
}

QString streamContent(Connection& connection, const Recordset& rows, const QString& sql, const QString& contentColumn) {
    const QString rowsOfQuery = sql.mid(sql.indexOf(SelectFrom, 0, Qt::CaseInsensitive));
    auto located = connection.Execute(QStringLiteral("SELECT rowid") + rowsOfQuery);
    if (!located || located->Eof()) return QString();
    const QString path = tempFileFor(rows);
    const bool written = BlobStreaming::ReadToFile(connection, QStringLiteral("Docs"), contentColumn, QStringLiteral("rowid"),
                                                   located->Fields(0).toLongLong(), path);
    return written ? path : QString();
}

}  // namespace

QString DocumentToTempFile(const std::shared_ptr<Connection>& connection, const QString& sql,
                           const QString& contentColumn) {
    QString result;
    Recordset rows;
    bool streaming = false;
    ContinueOnFailure([&] {
        streaming = canStream(Required(connection), sql);
        if (streaming) rows.LeaveOut(contentColumn);
        rows.Open(sql, connection, Recordset::adOpenKeyset, Recordset::adLockOptimistic);
    });
    qint32 count = 0;
    if (!ContinueOnFailure([&] { count = rows.RecordCount(); }) || count == 0) return result;
    if (IsStoreOut(rows)) {
        ContinueOnFailure([&] {
            const QVariant location = rows.Fields(QStringLiteral("urlfile"));
            if (!location.isNull()) result = location.toString();
        });
        return result;
    }
    // The name is given only once the whole file is written.
    ContinueOnFailure([&] {
        result = streaming ? streamContent(*connection, rows, sql, contentColumn) : saveContent(rows, contentColumn);
    });
    return result;
}

bool IsStoreOut(const Recordset& rows) {
    bool result = false;
    ContinueOnFailure([&] {
        const QVariant storeout = rows.Fields(QStringLiteral("storeout"));
        if (!storeout.isNull()) result = storeout.toLongLong() != 0;
    });
    return result;
}

}  // namespace dorvanel
