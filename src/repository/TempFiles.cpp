#include "repository/TempFiles.h"

#include "platform/ComponentFile.h"
#include "platform/FileNames.h"
#include "platform/Recordset.h"
#include "platform/Stream.h"
#include "repository/FailureStyles.h"

namespace dorvanel {

namespace {

// The row's content in a file; "" when the column is NULL.
QString saveContent(const Recordset& rows, const QString& contentColumn) {
    const QVariant content = rows.Fields(contentColumn);
    if (content.isNull()) return QString();
    const QString path = FileInFolder(ComponentFile::TempFolder(),
                                      QStringLiteral("temp.") + rows.Fields(QStringLiteral("TypeData")).toString());
    Stream stream;
    stream.SetType(Stream::adTypeBinary);
    stream.Open();
    stream.Write(content);
    stream.SaveToFile(path, Stream::adSaveCreateOverWrite);
    stream.Close();
    return path;
}

}  // namespace

QString DocumentToTempFile(const std::shared_ptr<Connection>& connection, const QString& sql,
                           const QString& contentColumn) {
    QString result;
    Recordset rows;
    ContinueOnFailure([&] { rows.Open(sql, connection, Recordset::adOpenKeyset, Recordset::adLockOptimistic); });
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
    ContinueOnFailure([&] { result = saveContent(rows, contentColumn); });
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
