#include "platform/Recordset.h"

#include "platform/Connection.h"
#include "platform/Database_p.h"
#include "platform/Error.h"
#include "platform/Rows_p.h"

#include <QCoreApplication>

namespace dorvanel {

struct Recordset::Private {
    std::shared_ptr<Connection> connection;
    std::unique_ptr<Rows> rows;
    QStringList columns;
    QString leftOut;
    bool open = false;
    bool bof = true;
    bool eof = true;
    qint32 recordCount = -1;
};

Recordset::Recordset() : d_(std::make_unique<Private>()) {}

Recordset::~Recordset() = default;

std::shared_ptr<Recordset> Recordset::fromRows(std::unique_ptr<Rows> rows, std::shared_ptr<Connection> connection) {
    auto recordset = std::make_shared<Recordset>();
    recordset->d_->connection = std::move(connection);
    recordset->d_->rows = std::move(rows);
    recordset->positionOnFirstRow();
    return recordset;
}

void Recordset::Open(const QString& sql, const std::shared_ptr<Connection>& connection, qint32 cursorType,
                     qint32 /*lockType: rows are never changed through a Recordset*/) {
    if (d_->open)
        throw Error(Error::ObjectClosed,
                    QCoreApplication::translate("dorvanel::Recordset", "El Recordset ya está abierto"));
    if (!connection)
        throw Error(Error::ObjectClosed,
                    QCoreApplication::translate("dorvanel::Recordset", "La conexión está cerrada"));
    if (!connection->isOpen()) throw databaseOf(*connection).closedError();
    RunOptions options;
    options.countable = cursorType == adOpenKeyset || cursorType == adOpenStatic;
    options.leftOut = d_->leftOut;
    std::unique_ptr<Rows> rows = databaseOf(*connection).run(sql, {}, options, nullptr);
    // A statement that returns no rows leaves the Recordset closed.
    if (!rows) return;
    if (options.countable) d_->recordCount = rows->count();
    d_->connection = connection;
    d_->rows = std::move(rows);
    positionOnFirstRow();
}

void Recordset::leaveOut(const QString& column) { d_->leftOut = column; }

void Recordset::positionOnFirstRow() {
    d_->open = true;
    d_->columns = d_->rows->columnNames();
    d_->eof = !d_->rows->next();
    d_->bof = d_->eof;
}

void Recordset::Close() {
    requireOpen();
    d_->rows.reset();
    d_->connection.reset();
    d_->open = false;
}

qint32 Recordset::State() const { return d_->open ? adStateOpen : adStateClosed; }

qint32 Recordset::RecordCount() const {
    requireOpen();
    return d_->recordCount;
}

bool Recordset::BOF() const {
    requireOpen();
    return d_->bof;
}

bool Recordset::Eof() const {
    requireOpen();
    return d_->eof;
}

void Recordset::MoveNext() {
    requireCurrentRow();
    d_->bof = false;
    d_->eof = !d_->rows->next();
}

qint32 Recordset::fieldIndex(const QString& name) const {
    requireOpen();
    for (qint32 i = 0; i < d_->columns.size(); ++i)
        if (d_->columns[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QVariant Recordset::value(const QString& name) const {
    const qint32 index = fieldIndex(name);
    if (index < 0)
        throw Error(Error::ItemNotFound,
                    QCoreApplication::translate("dorvanel::Recordset", "No se encontró el campo '%1' en la colección")
                        .arg(name));
    return value(index);
}

QVariant Recordset::value(qint32 index) const {
    requireCurrentRow();
    if (index < 0 || index >= d_->columns.size())
        throw Error(Error::ItemNotFound,
                    QCoreApplication::translate("dorvanel::Recordset", "No se encontró el campo %1 en la colección")
                        .arg(index));
    return d_->rows->value(index);
}

QByteArray Recordset::utf8(qint32 index) const {
    requireCurrentRow();
    if (index < 0 || index >= d_->columns.size())
        throw Error(Error::ItemNotFound,
                    QCoreApplication::translate("dorvanel::Recordset", "No se encontró el campo %1 en la colección")
                        .arg(index));
    return d_->rows->utf8(index);
}

void Recordset::requireOpen() const {
    if (!d_->open)
        throw Error(Error::ObjectClosed,
                    QCoreApplication::translate("dorvanel::Recordset",
                                                "No se permite la operación si el objeto está cerrado"));
}

void Recordset::requireCurrentRow() const {
    requireOpen();
    if (d_->eof)
        throw Error(
            Error::NoCurrentRecord,
            QCoreApplication::translate(
                "dorvanel::Recordset",
                "BOF o EOF es True, o el registro actual se eliminó; la operación requiere un registro actual"));
}

}  // namespace dorvanel
