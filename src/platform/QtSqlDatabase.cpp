#include "platform/QtSqlDatabase.h"

#include "platform/PostgreSqlWire.h"
#include "platform/Rows_p.h"
#include "platform/SqlLog.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QUrl>
#include <QUrlQuery>

#include <libpq-fe.h>

namespace dorvanel {

namespace {

QString nextConnectionName() {
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("dorvanel-%1").arg(++counter);
}

// The query parameters of a libpq URL that the driver takes as settings of its own; they win
// over the URL's other parts, as in libpq.
const QStringList SettingParameters{QStringLiteral("host"), QStringLiteral("port"), QStringLiteral("user"),
                                    QStringLiteral("password"), QStringLiteral("dbname")};
// Those that go to libpq as they are, among its connection options.
const QStringList OptionParameters{QStringLiteral("sslmode"),
                                   QStringLiteral("sslrootcert"),
                                   QStringLiteral("sslcert"),
                                   QStringLiteral("sslkey"),
                                   QStringLiteral("connect_timeout"),
                                   QStringLiteral("application_name"),
                                   QStringLiteral("target_session_attrs")};

[[noreturn]] void refuseUrl(const QString& why) {
    throw Error(
        Error::OpenFailed,
        QCoreApplication::translate("dorvanel::QtSqlDatabase", "Dirección de PostgreSQL no válida: %1").arg(why));
}

// A value as libpq reads it in a connection string. The driver joins the options with ";",
// which it turns into spaces, so a value cannot hold one.
QString connectionOption(const QString& name, QString value) {
    if (value.contains(QLatin1Char(';')))
        refuseUrl(
            QCoreApplication::translate("dorvanel::QtSqlDatabase", "el valor de %1 no puede contener «;»").arg(name));
    value.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QStringLiteral("%1='%2'").arg(name, value);
}

int portNumber(const QString& text) {
    bool numeric = false;
    const int port = text.toInt(&numeric);
    if (!numeric || port < 1 || port > 65535)
        refuseUrl(QCoreApplication::translate("dorvanel::QtSqlDatabase", "el puerto «%1» no es un número de puerto")
                      .arg(text));
    return port;
}

}  // namespace

// The URL's parts, then its query parameters over them; a parameter neither kind knows is refused,
// rather than left out without a word.
void configureFromUrl(QSqlDatabase& db, const QUrl& url) {
    // An invalid URL reads as empty, which libpq would take for its default server.
    if (!url.isValid()) refuseUrl(url.errorString());
    if (url.port() > 0) db.setPort(url.port());
    db.setHostName(url.host());
    db.setUserName(url.userName(QUrl::FullyDecoded));
    db.setPassword(url.password(QUrl::FullyDecoded));
    db.setDatabaseName(url.path(QUrl::FullyDecoded).mid(1));
    QStringList options;
    for (const auto& [name, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
        if (name == QLatin1String("host")) {
            db.setHostName(value);
        } else if (name == QLatin1String("port")) {
            db.setPort(portNumber(value));
        } else if (name == QLatin1String("user")) {
            db.setUserName(value);
        } else if (name == QLatin1String("password")) {
            db.setPassword(value);
        } else if (name == QLatin1String("dbname")) {
            db.setDatabaseName(value);
        } else if (OptionParameters.contains(name)) {
            options << connectionOption(name, value);
        } else {
            refuseUrl(
                QCoreApplication::translate("dorvanel::QtSqlDatabase", "no se admite el parámetro «%1»; se admiten %2")
                    .arg(name, (SettingParameters + OptionParameters).join(QStringLiteral(", "))));
        }
    }
    db.setConnectOptions(options.join(QLatin1Char(';')));
}

namespace {

QString quotedIdentifier(QString name) {
    return QLatin1Char('"') + name.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

// The server's notices ("table ... does not exist, skipping") go with the statements to the
// SQL log, not to standard error, where libpq prints them unless told otherwise.
void logNotice(void* /*unused*/, const char* message) {
    qCDebug(lcDorvanelSql).noquote() << QString::fromUtf8(message).trimmed();
}

}  // namespace

Error sqlError(const QSqlError& error, bool connectionLost) {
    QString text = (error.databaseText().isEmpty() ? error.driverText() : error.databaseText()).trimmed();
    // Qt's driver ends the server's text with "(XXXXX)", which serverError tells as the cause.
    const QString state = error.nativeErrorCode();
    if (const QString ending = QStringLiteral("(%1)").arg(state); !state.isEmpty() && text.endsWith(ending))
        text = text.chopped(ending.size()).trimmed();
    return serverError(state, text, connectionLost);
}

Error serverError(QString sqlState, const QString& text, bool connectionLost) {
    // libpq gives no SQLSTATE of its own when the server went away; 08006 is PostgreSQL's code
    // for a connection that failed.
    if (sqlState.isEmpty() && connectionLost) sqlState = QStringLiteral("08006");
    bool numeric = false;
    const qint32 code = sqlState.toInt(&numeric);
    if (sqlState.isEmpty()) return Error(Error::StatementFailed, text);
    const QString cause = QStringLiteral("SQLSTATE ") + sqlState;
    return Error(numeric && code != 0 ? code : Error::StatementFailed, QStringLiteral("%1 (%2)").arg(text, cause),
                 {cause});
}

QtSqlDatabase::QtSqlDatabase(const QUrl& url) : name_(nextConnectionName()) {
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name_);
    try {
        configureFromUrl(db_, url);
        if (!db_.open()) throw sqlError(db_.lastError(), false);
    } catch (const Error&) {
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(name_);
        throw;
    }
    PQsetNoticeProcessor(handle(), logNotice, nullptr);
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
    if (!ran) throw failure(query.lastError());
    if (recordsAffected) *recordsAffected = query.isSelect() ? -1 : query.numRowsAffected();
    if (!query.isSelect()) return nullptr;
    return std::make_unique<QtRows>(std::move(query));
}

Error QtSqlDatabase::failure(const QSqlError& error) {
    // The driver closes the connection once it finds the server gone.
    const bool lost = !db_.isOpen() || PQstatus(handle()) == CONNECTION_BAD;
    const Error raised = sqlError(error, lost);
    if (raised.causes() == QStringList{QStringLiteral("SQLSTATE 25P02")} && abortedBy_) return *abortedBy_;
    abortedBy_ = raised;
    if (lost) lostBy = raised;
    return raised;
}

PGconn* QtSqlDatabase::handle() const {
    if (!db_.isOpen()) throw closedError();
    const QVariant driverHandle = db_.driver()->handle();
    // Qt names the type after the struct that libpq's PGconn stands for.
    if (qstrcmp(driverHandle.typeName(), "pg_conn*") != 0)
        throw Error(Error::Unexpected, QCoreApplication::translate("dorvanel::QtSqlDatabase",
                                                                   "El controlador de PostgreSQL no da su conexión"));
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
    if (!postgreSql)
        throw Error(Error::Unexpected,
                    QCoreApplication::translate("dorvanel::QtSqlDatabase", "La conexión no es de PostgreSQL"));
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
