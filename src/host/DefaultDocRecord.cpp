#include "host/DefaultDocRecord.h"

#include "host/BoundValues.h"
#include "host/DefaultOskel.h"
#include "platform/BlobStreaming.h"
#include "platform/Connection.h"
#include "platform/CurrentTime.h"
#include "platform/Error.h"
#include "platform/FileNames.h"
#include "platform/Recordset.h"
#include "repository/ContentDigests.h"
#include "repository/DocumentContent.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QUuid>

#include <algorithm>
#include <atomic>
#include <optional>

namespace dorvanel {

namespace {

// The milliseconds since 1970, shifted left 12 bits, and below them how many keys this process
// made before in the same millisecond: always more than the last one given.
quint64 nextKeyTime() {
    static std::atomic<quint64> last{0};
    const quint64 now = quint64(QDateTime::currentMSecsSinceEpoch()) << 12;
    quint64 previous = last.load();
    quint64 next = 0;
    do {
        next = std::max(now, previous + 1);
    } while (!last.compare_exchange_weak(previous, next));
    return next;
}

// A time-ordered key, a version 7 UUID (its time, then random bits), so that a new document's
// key goes at the end of the index on Sys_GUID and of DocDigests, which are kept in key order:
// each store then writes the last page of each again, where a random key would land on any of
// their pages, and a checkpoint would copy every page the stores touched.
QString newGuid() {
    QByteArray bytes = QUuid::createUuid().toRfc4122();
    const quint64 time = nextKeyTime();
    for (int i = 0; i < 6; ++i) bytes[i] = char(time >> (12 + 8 * (5 - i)));
    bytes[6] = char(0x70 | ((time >> 8) & 0x0f));  // the version, then the count's high bits
    bytes[7] = char(time & 0xff);                  // the variant in byte 8 stays as createUuid set it
    return QUuid::fromRfc4122(bytes).toString(QUuid::Id128).toUpper();
}

QString textOf(const Recordset& row, const char* column) { return row.value(QLatin1String(column)).toString(); }

// The system's cause is named where it is known: a file that is not there, or not readable.
void requireReadable(const QString& fileName) {
    QFileInfo file(fileName);
    if (file.isFile() && file.isReadable()) return;
    const int cause = !file.exists() ? ENOENT : file.isFile() ? EACCES : 0;
    throw systemError(
        Error::FileFailed,
        QCoreApplication::translate("dorvanel::DefaultDocRecord", "No se puede leer el archivo %1").arg(fileName),
        cause);
}

// One BLOB column, the file whose bytes it receives ("" for NULL) and how they get there.
struct Content {
    QString column;
    QString file;
    BlobStreaming::Slot slot;

    Content(const Connection& connection, const QString& columnName, const QString& fileName)
        : column(columnName), file(fileName), slot(BlobStreaming::slotFor(connection, fileName)) {}
};

// Copies the content files too large to be bound into the row, once it exists, and records the
// digest of the document's content, taken as its bytes went by, where the database keeps them:
// one made by an earlier version, or by the host itself, may have only the documented tables.
void streamContents(Connection& connection, const QString& guid, QList<Content>& contents) {
    for (Content& content : contents) {
        if (content.slot.streamed)
            content.slot.sha256 = BlobStreaming::writeFromFile(connection, QStringLiteral("Docs"), content.column,
                                                               QStringLiteral("Sys_GUID"), Text(guid), content.file);
        if (content.column == QLatin1String("Data") && !content.file.isEmpty() &&
            connection.hasTable(QStringLiteral("DocDigests")))
            recordContentDigest(connection, guid, {content.slot.size, content.slot.sha256});
    }
}

}  // namespace

void DefaultDocRecord::AddNew() {
    mode_ = Mode::New;
    guid_.clear();
    name_.clear();
    description_.clear();
    words_.clear();
    typeData_.clear();
    urlfile_.clear();
    storeout_ = false;
    dataFile_.clear();
    miniFile_.clear();
}

bool DefaultDocRecord::LoadFromADOConnection(qint32 /*mode*/, const QString& sGuid,
                                             std::shared_ptr<Connection> connection, qint32 /*option*/) {
    connection_ = std::move(connection);
    AddNew();
    mode_ = Mode::None;
    auto row = this->connection().Execute(
        QStringLiteral(
            "SELECT Sys_GUID, Name, Description, Works, TypeData, storeout, urlfile FROM Docs WHERE Sys_GUID = ?"),
        {Text(sGuid)});
    if (row->Eof()) return false;
    guid_ = textOf(*row, "Sys_GUID");
    name_ = textOf(*row, "Name");
    description_ = textOf(*row, "Description");
    words_ = textOf(*row, "Works");
    typeData_ = textOf(*row, "TypeData");
    storeout_ = row->value(QStringLiteral("storeout")).toInt() != 0;
    urlfile_ = textOf(*row, "urlfile");
    mode_ = Mode::Loaded;
    return true;
}

QString DefaultDocRecord::Data() {
    if (mode_ != Mode::Loaded) return QString();
    if (storeout_) return urlfile_;
    return writeContentToWorkFile();
}

// A work file of this call's own, "GUID.XXXXXX.type" with the X's made unique, so that processes
// that fetch one document at once never write or remove each other's. Its name is given only
// once the file is complete; "" and no file when the document has no content.
QString DefaultDocRecord::writeContentToWorkFile() const {
    const QString pattern = guid_ + QStringLiteral(".XXXXXX") +
                            (typeData_.isEmpty() ? QString() : QLatin1Char('.') + typeData_);
    QTemporaryFile file(fileInFolder(DefaultOskel::defaultWorkFolder(), pattern));
    if (!file.open())
        throw Error(Error::FileFailed, QCoreApplication::translate("dorvanel::DefaultDocRecord",
                                                                   "No se pudo crear un archivo de trabajo en %1: %2")
                                           .arg(DefaultOskel::defaultWorkFolder(), file.errorString()));
    if (!copyDocumentContent(connection(), guid_, file, file.fileName())) return QString();
    if (!file.flush())
        throw Error(Error::FileFailed,
                    QCoreApplication::translate("dorvanel::DefaultDocRecord", "No se pudo escribir el archivo %1: %2")
                        .arg(file.fileName(), file.errorString()));
    file.setAutoRemove(false);
    return file.fileName();
}

void DefaultDocRecord::SetData(const QString& fileName) {
    requireReadable(fileName);
    dataFile_ = fileName;
}

void DefaultDocRecord::SetMiniData(const QString& fileName) {
    if (!fileName.isEmpty()) requireReadable(fileName);
    miniFile_ = fileName;
}

bool DefaultDocRecord::Update() {
    return StopAndRecord(failure_, [&] {
        if (mode_ == Mode::None)
            throw Error(Error::NoCurrentRecord,
                        QCoreApplication::translate("dorvanel::DefaultDocRecord", "No hay un documento cargado"));
        if (mode_ == Mode::New) {
            const QString guid = newGuid();
            insertRow(guid);
            guid_ = guid;
            mode_ = Mode::Loaded;
        } else {
            updateRow();
        }
        dataFile_.clear();
        miniFile_.clear();
    });
}

void DefaultDocRecord::insertRow(const QString& guid) {
    Connection& db = connection();
    QList<Content> contents{Content(db, QStringLiteral("Data"), storeout_ ? QString() : dataFile_),
                            Content(db, QStringLiteral("MiniData"), storeout_ ? QString() : miniFile_)};
    const Content& data = contents[0];
    const Content& miniature = contents[1];
    // A failure while content is copied in or its digest recorded rolls the new row back with it.
    Connection::Transaction transaction(db);
    // The times are written rather than left to the columns' defaults: a database whose tables
    // the host made may have none.
    db.Execute(QStringLiteral(
                   "INSERT INTO Docs (Sys_GUID, Name, Description, Works, TypeData, storeout, urlfile, Data, "
                   "MiniData, Sys_DTCreated, Sys_TimeStamp) VALUES (?, ?, ?, ?, ?, ?, ?, %1, %2, %3, %3)")
                   .arg(data.slot.placeholder, miniature.slot.placeholder, CurrentTimeSql(db.engine())),
               {Text(guid), Text(name_), Text(description_), Text(words_), Text(typeData_), Flag(storeout_),
                storeout_ ? Text(urlfile_) : QVariant(QMetaType(QMetaType::QString)), data.slot.value,
                miniature.slot.value});
    streamContents(db, guid, contents);
    transaction.commit();
}

void DefaultDocRecord::updateRow() {
    Connection& db = connection();
    QString sql =
        QStringLiteral("UPDATE Docs SET Name = ?, Description = ?, Works = ?, TypeData = ?, storeout = ?, urlfile = ?");
    QVariantList values{Text(name_),     Text(description_), Text(words_),
                        Text(typeData_), Flag(storeout_),    Text(urlfile_)};
    QList<Content> replaced;
    for (const auto& [column, file] :
         {std::pair{QStringLiteral("Data"), dataFile_}, std::pair{QStringLiteral("MiniData"), miniFile_}}) {
        if (file.isEmpty()) continue;
        const Content content(db, column, file);
        sql += QStringLiteral(", %1 = %2").arg(content.column, content.slot.placeholder);
        values << content.slot.value;
        replaced << content;
    }
    std::optional<Connection::Transaction> transaction;
    if (!replaced.isEmpty()) transaction.emplace(db);
    qint32 changed = 0;
    db.Execute(sql + QStringLiteral(" WHERE Sys_GUID = ?"), values << Text(guid_), &changed);
    if (changed == 0)
        throw Error(
            Error::NoCurrentRecord,
            QCoreApplication::translate("dorvanel::DefaultDocRecord", "El documento %1 ya no existe").arg(guid_));
    streamContents(db, guid_, replaced);
    if (transaction) transaction->commit();
}

bool DefaultDocRecord::Delete() {
    return StopAndRecord(failure_, [&] {
        if (mode_ != Mode::Loaded)
            throw Error(Error::NoCurrentRecord,
                        QCoreApplication::translate("dorvanel::DefaultDocRecord", "No hay un documento cargado"));
        qint32 deleted = 0;
        connection().Execute(QStringLiteral("DELETE FROM Docs WHERE Sys_GUID = ?"), {Text(guid_)}, &deleted);
        if (deleted == 0)
            throw Error(
                Error::NoCurrentRecord,
                QCoreApplication::translate("dorvanel::DefaultDocRecord", "El documento %1 ya no existe").arg(guid_));
        mode_ = Mode::None;
    });
}

Connection& DefaultDocRecord::connection() const {
    if (!connection_)
        throw Error(Error::ObjectNotSet,
                    QCoreApplication::translate("dorvanel::DefaultDocRecord", "El registro no tiene conexión"));
    return *connection_;
}

}  // namespace dorvanel
