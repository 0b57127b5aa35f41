#include "platform/Connection_p.h"

#include "platform/Error.h"
#include "platform/Recordset.h"
#include "platform/Rows_p.h"
#include "platform/SqlLog.h"

#include <QAtomicInteger>
#include <QSqlDriver>
#include <QUrl>
#include <QUrlQuery>

namespace dorvanel {

namespace {

constexpr int SqliteBusyTimeoutMs = 10000;

QString nextConnectionName() {
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("dorvanel-%1").arg(++counter);
}

QSqlDatabase openSqlite(const QString& name, const QString& path) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(SqliteBusyTimeoutMs));
    return db;
}

QSqlDatabase openPostgreSql(const QString& name, const QUrl& url) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    const QString socketFolder = QUrlQuery(url).queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
    db.setHostName(socketFolder.isEmpty() ? url.host() : socketFolder);
    if (url.port() > 0) db.setPort(url.port());
    db.setUserName(url.userName(QUrl::FullyDecoded));
    db.setPassword(url.password(QUrl::FullyDecoded));
    db.setDatabaseName(url.path(QUrl::FullyDecoded).mid(1));
    return db;
}

}  // namespace

sqlite3* sqliteHandle(Connection& connection) {
    const QVariant handle = connection.d().db.driver()->handle();
    if (connection.engine() != Connection::Engine::Sqlite || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw Error(Error::Unexpected, QStringLiteral("La conexión no es de SQLite"));
    return *static_cast<sqlite3* const*>(handle.constData());
}

Error sqlError(const QSqlError& error) {
    bool numeric = false;
    const qint32 code = error.nativeErrorCode().toInt(&numeric);
    const QString text = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    return Error(numeric && code != 0 ? code : Error::StatementFailed, text.trimmed());
}

void runStatement(QSqlQuery& query, const QString& sql, const QVariantList& values) {
    qCDebug(lcDorvanelSql).noquote() << sql;
    bool ran = false;
    if (values.isEmpty()) {
        ran = query.exec(sql);
    } else if (query.prepare(sql)) {
        for (const QVariant& value : values) query.addBindValue(value);
        ran = query.exec();
    }
    if (!ran) throw sqlError(query.lastError());
}

std::shared_ptr<Connection> Connection::Open(const QString& url) {
    auto d = std::make_unique<Private>();
    d->connectionName = nextConnectionName();
    if (url.startsWith(QLatin1String("sqlite:"))) {
        d->engine = Engine::Sqlite;
        d->db = openSqlite(d->connectionName, url.mid(7));
    } else if (url.startsWith(QLatin1String("postgresql://")) || url.startsWith(QLatin1String("postgres://"))) {
        d->engine = Engine::PostgreSql;
        d->db = openPostgreSql(d->connectionName, QUrl(url));
    } else {
        throw Error(Error::OpenFailed,
                    QStringLiteral("Dirección de base de datos no reconocida: %1 (use sqlite:RUTA o postgresql://...)").arg(url));
    }
    if (!d->db.open()) {
        const Error error = sqlError(d->db.lastError());
        const QString name = d->connectionName;
        d->db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        throw Error(Error::OpenFailed, QStringLiteral("No se pudo abrir la base de datos: %1").arg(error.description()));
    }
    std::shared_ptr<Connection> connection(new Connection(std::move(d)));
    if (connection->engine() == Engine::Sqlite) {
        // WAL lets readers and one writer of other processes share the file.
        connection->Execute(QStringLiteral("PRAGMA journal_mode=WAL"));
        connection->Execute(QStringLiteral("PRAGMA synchronous=NORMAL"));
    }
    return connection;
}

Connection::Connection(std::unique_ptr<Private> d) : d_(std::move(d)) {}

Connection::~Connection() {
    Close();
    d_->db = QSqlDatabase();
    QSqlDatabase::removeDatabase(d_->connectionName);
}

std::shared_ptr<Recordset> Connection::Execute(const QString& sql, qint32* recordsAffected) {
    return Execute(sql, QVariantList(), recordsAffected);
}

std::shared_ptr<Recordset> Connection::Execute(const QString& sql, const QVariantList& values,
                                               qint32* recordsAffected) {
    if (!IsOpen()) throw Error(Error::ObjectClosed, QStringLiteral("La conexión está cerrada"));
    std::unique_ptr<Rows> rows = d_->engine == Engine::Sqlite ? runOnSqlite(*this, sql, values, recordsAffected)
                                                              : runWithQt(sql, values, recordsAffected);
    return rows ? Recordset::FromRows(std::move(rows), shared_from_this()) : nullptr;
}

std::unique_ptr<Rows> Connection::runWithQt(const QString& sql, const QVariantList& values, qint32* recordsAffected) {
    QSqlQuery query(d_->db);
    query.setForwardOnly(true);
    runStatement(query, sql, values);
    if (recordsAffected) *recordsAffected = query.isSelect() ? -1 : query.numRowsAffected();
    if (!query.isSelect()) return nullptr;
    return std::make_unique<QtRows>(std::move(query));
}

Connection::Engine Connection::engine() const { return d_->engine; }

bool Connection::IsOpen() const { return d_->db.isOpen(); }

void Connection::Close() {
    d_->statements.Clear();
    if (d_->db.isOpen()) d_->db.close();
}

Connection::Transaction::Transaction(Connection& connection)
    : connection_(connection), depth_(connection.d().openTransactions) {
    if (depth_ == 0) {
        qCDebug(lcDorvanelSql).noquote() << "BEGIN";
        if (!connection_.d().db.transaction()) throw sqlError(connection_.d().db.lastError());
    } else {
        connection_.Execute(QStringLiteral("SAVEPOINT ") + savepointName());
    }
    ++connection_.d().openTransactions;
}

Connection::Transaction::~Transaction() {
    if (!open_) return;
    --connection_.d().openTransactions;
    if (depth_ == 0) {
        qCDebug(lcDorvanelSql).noquote() << "ROLLBACK";
        connection_.d().db.rollback();
        return;
    }
    try {
        connection_.Execute(QStringLiteral("ROLLBACK TO SAVEPOINT ") + savepointName());
        connection_.Execute(QStringLiteral("RELEASE SAVEPOINT ") + savepointName());
    } catch (const Error&) {
        // The outer transaction's end decides what stays; a destructor does not raise.
    }
}

void Connection::Transaction::Commit() {
    if (depth_ == 0) {
        qCDebug(lcDorvanelSql).noquote() << "COMMIT";
        if (!connection_.d().db.commit()) throw sqlError(connection_.d().db.lastError());
    } else {
        connection_.Execute(QStringLiteral("RELEASE SAVEPOINT ") + savepointName());
    }
    --connection_.d().openTransactions;
    open_ = false;
}

QString Connection::Transaction::savepointName() const { return QStringLiteral("dorvanel_%1").arg(depth_); }

}  // namespace dorvanel
