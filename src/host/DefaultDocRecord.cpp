#include "host/DefaultDocRecord.h"

#include "host/BoundValues.h"
#include "host/DefaultOskel.h"
#include "platform/Connection.h"
#include "platform/Error.h"
#include "platform/FileNames.h"
#include "platform/Recordset.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUuid>

namespace dorvanel {

namespace {

QString newGuid() { return QUuid::createUuid().toString(QUuid::Id128).toUpper(); }

QString textOf(const Recordset& row, const char* column) {
    return row.Fields(QLatin1String(column)).toString();
}

void requireReadable(const QString& fileName) {
    QFileInfo file(fileName);
    if (!file.isFile() || !file.isReadable())
        throw Error(Error::FileFailed, QStringLiteral("No se puede leer el archivo %1").arg(fileName));
}

// A file's bytes as a non-null value, so that an empty file stores an empty BLOB, or NULL
// when no file was given.
QVariant contentOf(const QString& fileName) {
    if (fileName.isEmpty()) return QVariant(QMetaType(QMetaType::QByteArray));
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(Error::FileFailed, QStringLiteral("No se puede leer el archivo %1: %2").arg(fileName, file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Error(Error::FileFailed, QStringLiteral("No se puede leer el archivo %1: %2").arg(fileName, file.errorString()));
    return bytes.isNull() ? QVariant(QByteArray("")) : QVariant(bytes);
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
        QStringLiteral("SELECT Sys_GUID, Name, Description, Works, TypeData, storeout, urlfile FROM Docs WHERE Sys_GUID = ?"),
        {Text(sGuid)});
    if (row->Eof()) return false;
    guid_ = textOf(*row, "Sys_GUID");
    name_ = textOf(*row, "Name");
    description_ = textOf(*row, "Description");
    words_ = textOf(*row, "Works");
    typeData_ = textOf(*row, "TypeData");
    storeout_ = row->Fields(QStringLiteral("storeout")).toInt() != 0;
    urlfile_ = textOf(*row, "urlfile");
    mode_ = Mode::Loaded;
    return true;
}

QString DefaultDocRecord::Data() {
    if (mode_ != Mode::Loaded) return QString();
    if (storeout_) return urlfile_;
    auto row = connection().Execute(QStringLiteral("SELECT Data FROM Docs WHERE Sys_GUID = ?"), {Text(guid_)});
    if (row->Eof() || row->Fields(0).isNull()) return QString();
    const QString name = typeData_.isEmpty() ? guid_ : guid_ + QLatin1Char('.') + typeData_;
    const QString path = FileInFolder(DefaultOskel::DefaultWorkFolder(), name);
    QSaveFile file(path);
    const QByteArray bytes = row->Fields(0).toByteArray();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Error(Error::FileFailed, QStringLiteral("No se pudo escribir el archivo %1: %2").arg(path, file.errorString()));
    return path;
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
    try {
        if (mode_ == Mode::None) throw Error(Error::NoCurrentRecord, QStringLiteral("No hay un documento cargado"));
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
        return true;
    } catch (...) {
        const Error error = Error::fromCurrentException();
        failWith(error.number(), error.description());
        return false;
    }
}

void DefaultDocRecord::insertRow(const QString& guid) {
    const bool inside = !storeout_;
    connection().Execute(
        QStringLiteral("INSERT INTO Docs (Sys_GUID, Name, Description, Works, TypeData, storeout, urlfile, Data, MiniData) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {Text(guid), Text(name_), Text(description_), Text(words_), Text(typeData_), Flag(storeout_),
         inside ? QVariant(QMetaType(QMetaType::QString)) : Text(urlfile_),
         contentOf(inside ? dataFile_ : QString()), contentOf(inside ? miniFile_ : QString())});
}

void DefaultDocRecord::updateRow() {
    QString sql = QStringLiteral("UPDATE Docs SET Name = ?, Description = ?, Works = ?, TypeData = ?, storeout = ?, urlfile = ?");
    QVariantList values{Text(name_), Text(description_), Text(words_), Text(typeData_), Flag(storeout_), Text(urlfile_)};
    if (!dataFile_.isEmpty()) {
        sql += QStringLiteral(", Data = ?");
        values << contentOf(dataFile_);
    }
    if (!miniFile_.isEmpty()) {
        sql += QStringLiteral(", MiniData = ?");
        values << contentOf(miniFile_);
    }
    qint32 changed = 0;
    connection().Execute(sql + QStringLiteral(" WHERE Sys_GUID = ?"), values << Text(guid_), &changed);
    if (changed == 0) throw Error(Error::NoCurrentRecord, QStringLiteral("El documento %1 ya no existe").arg(guid_));
}

bool DefaultDocRecord::Delete() {
    try {
        if (mode_ != Mode::Loaded) throw Error(Error::NoCurrentRecord, QStringLiteral("No hay un documento cargado"));
        qint32 deleted = 0;
        connection().Execute(QStringLiteral("DELETE FROM Docs WHERE Sys_GUID = ?"), {Text(guid_)}, &deleted);
        if (deleted == 0) throw Error(Error::NoCurrentRecord, QStringLiteral("El documento %1 ya no existe").arg(guid_));
        mode_ = Mode::None;
        return true;
    } catch (...) {
        const Error error = Error::fromCurrentException();
        failWith(error.number(), error.description());
        return false;
    }
}

void DefaultDocRecord::failWith(qint32 number, const QString& text) {
    lastErr_ = number;
    lastErrDescrip_ = text;
}

Connection& DefaultDocRecord::connection() const {
    if (!connection_) throw Error(Error::ObjectNotSet, QStringLiteral("El registro no tiene conexión"));
    return *connection_;
}

}  // namespace dorvanel
