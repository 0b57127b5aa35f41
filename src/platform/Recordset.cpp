#include "platform/Recordset.h"

#include "platform/BlobStreaming.h"
#include "platform/Connection_p.h"
#include "platform/Error.h"

#include <QSqlDriver>
#include <QSqlRecord>

namespace dorvanel {

struct Recordset::Private {
    std::shared_ptr<Connection> connection;
    QSqlQuery query;
    QSqlRecord columns;
    QString leftOut;
    bool open = false;
    bool bof = true;
    bool eof = true;
    qint32 recordCount = -1;
};

Recordset::Recordset() : d_(std::make_unique<Private>()) {}

Recordset::~Recordset() = default;

std::shared_ptr<Recordset> Recordset::FromQuery(QSqlQuery&& query, std::shared_ptr<Connection> connection) {
    auto recordset = std::make_shared<Recordset>();
    recordset->d_->connection = std::move(connection);
    recordset->d_->query = std::move(query);
    recordset->positionOnFirstRow();
    return recordset;
}

void Recordset::Open(const QString& sql, const std::shared_ptr<Connection>& connection, qint32 cursorType,
                     qint32 /*lockType: rows are never changed through a Recordset*/) {
    if (d_->open) throw Error(Error::ObjectClosed, QStringLiteral("El Recordset ya está abierto"));
    if (!connection || !connection->IsOpen())
        throw Error(Error::ObjectClosed, QStringLiteral("La conexión está cerrada"));
    QSqlQuery query(connection->d().db);
    const bool countable = cursorType == adOpenKeyset || cursorType == adOpenStatic;
    query.setForwardOnly(!countable);
    if (d_->leftOut.isEmpty()) {
        runStatement(query, sql, {});
    } else {
        BlobStreaming::ColumnLeftOut leftOut(*connection, d_->leftOut);
        runStatement(query, sql, {});
    }
    d_->connection = connection;
    d_->query = std::move(query);
    if (countable) {
        if (d_->query.driver()->hasFeature(QSqlDriver::QuerySize)) {
            d_->recordCount = d_->query.size();
        } else {
            d_->recordCount = d_->query.last() ? d_->query.at() + 1 : 0;
            d_->query.seek(QSql::BeforeFirstRow);
        }
    }
    positionOnFirstRow();
}

void Recordset::LeaveOut(const QString& column) { d_->leftOut = column; }

void Recordset::positionOnFirstRow() {
    d_->open = true;
    d_->columns = d_->query.record();
    d_->eof = !d_->query.next();
    d_->bof = d_->eof;
}

void Recordset::Close() {
    requireOpen();
    d_->query.finish();
    d_->query = QSqlQuery();
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
    d_->eof = !d_->query.next();
}

qint32 Recordset::FieldIndex(const QString& name) const {
    requireOpen();
    return d_->columns.indexOf(name);
}

QVariant Recordset::Fields(const QString& name) const {
    const qint32 index = FieldIndex(name);
    if (index < 0)
        throw Error(Error::ItemNotFound,
                    QStringLiteral("No se encontró el campo '%1' en la colección").arg(name));
    return Fields(index);
}

QVariant Recordset::Fields(qint32 index) const {
    requireCurrentRow();
    if (index < 0 || index >= d_->columns.count())
        throw Error(Error::ItemNotFound, QStringLiteral("No se encontró el campo %1 en la colección").arg(index));
    return d_->query.value(index);
}

qint32 Recordset::FieldCount() const {
    requireOpen();
    return d_->columns.count();
}

QString Recordset::FieldName(qint32 index) const {
    requireOpen();
    return d_->columns.fieldName(index);
}

void Recordset::requireOpen() const {
    if (!d_->open)
        throw Error(Error::ObjectClosed, QStringLiteral("No se permite la operación si el objeto está cerrado"));
}

void Recordset::requireCurrentRow() const {
    requireOpen();
    if (d_->eof)
        throw Error(Error::NoCurrentRecord,
                    QStringLiteral("BOF o EOF es True, o el registro actual se eliminó; "
                                   "la operación requiere un registro actual"));
}

}  // namespace dorvanel
