#include "platform/QtSqlDatabase.h"

#include "platform/PostgreSqlWire.h"
#include "platform/Rows_p.h"
#include "platform/SqlLog.h"

#include <QAtomicInteger>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QUrl>
#include <QUrlQuery>

namespace dorvanel {

namespace {

QString nextConnectionName() {
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("dorvanel-%1").arg(++counter);
}

void configure(QSqlDatabase& db, const QUrl& url) {
    const QString socketFolder = QUrlQuery(url).queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
    db.setHostName(socketFolder.isEmpty() ? url.host() : socketFolder);
    if (url.port() > 0) db.setPort(url.port());
    db.setUserName(url.userName(QUrl::FullyDecoded));
    db.setPassword(url.password(QUrl::FullyDecoded));
    db.setDatabaseName(url.path(QUrl::FullyDecoded).mid(1));
}

QString quotedIdentifier(QString name) {
    return QLatin1Char('"') + name.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

}  // namespace

Error sqlError(const QSqlError& error) {
    const QString text = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    return serverError(error.nativeErrorCode(), text.trimmed());
}

Error serverError(const QString& sqlState, const QString& text) {
    bool numeric = false;
    const qint32 code = sqlState.toInt(&numeric);
    return Error(numeric && code != 0 ? code : Error::StatementFailed, text);
}

QtSqlDatabase::QtSqlDatabase(const QUrl& url) : name_(nextConnectionName()) {
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name_);
    configure(db_, url);
    if (db_.open()) return;
    const Error error = sqlError(db_.lastError());
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
    throw error;
}

QtSqlDatabase::~QtSqlDatabase() {
    close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
}

void QtSqlDatabase::close() {
    if (db_.isOpen()) db_.close();
}

std::unique_ptr<Rows> QtSqlDatabase::run(const QString& sql, const QVariantList& values, const RunOptions& options,
                                         qint32* recordsAffected) {
    qCDebug(lcDorvanelSql).noquote() << sql;
    QSqlQuery query(db_);
    query.setForwardOnly(!options.countable);
    bool ran = false;
    if (values.isEmpty()) {
        ran = query.exec(options.leftOut.isEmpty() ? sql : withColumnLeftOut(sql, options.leftOut));
    } else if (query.prepare(sql)) {
        for (const QVariant& value : values) query.addBindValue(value);
        ran = query.exec();
    }
    if (!ran) throw sqlError(query.lastError());
    if (recordsAffected) *recordsAffected = query.isSelect() ? -1 : query.numRowsAffected();
    if (!query.isSelect()) return nullptr;
    return std::make_unique<QtRows>(std::move(query));
}

PGconn* QtSqlDatabase::handle() const {
    if (!db_.isOpen()) throw Error(Error::ObjectClosed, QStringLiteral("La conexión está cerrada"));
    const QVariant driverHandle = db_.driver()->handle();
    // Qt names the type after the struct that libpq's PGconn stands for.
    if (qstrcmp(driverHandle.typeName(), "pg_conn*") != 0)
        throw Error(Error::Unexpected, QStringLiteral("El controlador de PostgreSQL no da su conexión"));
    return *static_cast<PGconn* const*>(driverHandle.constData());
}

// The query is prepared as written, which names its columns, and then runs inside a
// projection that gives NULL in the column's place: the server never sends its values.
QString QtSqlDatabase::withColumnLeftOut(const QString& sql, const QString& column) const {
    const QStringList columns = PostgreSqlWire::columnsOf(handle(), sql);
    if (!columns.contains(column, Qt::CaseInsensitive)) return sql;
    QStringList positions;
    QStringList projection;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        positions << QStringLiteral("c%1").arg(i);
        const bool leftOut = columns[i].compare(column, Qt::CaseInsensitive) == 0;
        projection << (leftOut ? QStringLiteral("NULL") : positions.last()) + QStringLiteral(" AS ") +
                          quotedIdentifier(columns[i]);
    }
    return QStringLiteral("SELECT %1 FROM (%2) AS dorvanel_query (%3)")
        .arg(projection.join(QStringLiteral(", ")), sql, positions.join(QStringLiteral(", ")));
}

PGconn* postgreSqlHandle(Connection& connection) {
    auto* postgreSql = dynamic_cast<QtSqlDatabase*>(&databaseOf(connection));
    if (!postgreSql) throw Error(Error::Unexpected, QStringLiteral("La conexión no es de PostgreSQL"));
    return postgreSql->handle();
}

QStringList QtRows::columnNames() const {
    const QSqlRecord record = query_.record();
    QStringList names;
    for (int i = 0; i < record.count(); ++i) names << record.fieldName(i);
    return names;
}

QByteArray QtRows::utf8(int column) const {
    const QVariant value = query_.value(column);
    return value.isNull() ? QByteArray() : value.toString().toUtf8();
}

qint32 QtRows::count() {
    if (query_.driver()->hasFeature(QSqlDriver::QuerySize)) return query_.size();
    const qint32 rows = query_.last() ? query_.at() + 1 : 0;
    query_.seek(QSql::BeforeFirstRow);
    return rows;
}

}  // namespace dorvanel
