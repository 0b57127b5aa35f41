#include "platform/QtSqlDatabase.h"

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

}  // namespace

Error sqlError(const QSqlError& error) {
    bool numeric = false;
    const qint32 code = error.nativeErrorCode().toInt(&numeric);
    const QString text = error.databaseText().isEmpty() ? error.driverText() : error.databaseText();
    return Error(numeric && code != 0 ? code : Error::StatementFailed, text.trimmed());
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
        ran = query.exec(sql);
    } else if (query.prepare(sql)) {
        for (const QVariant& value : values) query.addBindValue(value);
        ran = query.exec();
    }
    if (!ran) throw sqlError(query.lastError());
    if (recordsAffected) *recordsAffected = query.isSelect() ? -1 : query.numRowsAffected();
    if (!query.isSelect()) return nullptr;
    return std::make_unique<QtRows>(std::move(query));
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
