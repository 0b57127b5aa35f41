#include "platform/Connection_p.h"
#include "platform/Error.h"
#include "platform/Rows_p.h"
#include "platform/SqlLog.h"

#include <sqlite3.h>

#include <utility>

namespace dorvanel {

namespace {

Error statementError(sqlite3* db, int code) {
    return Error(code, QString::fromUtf8(sqlite3_errmsg(db)));
}

int bindValue(sqlite3_stmt* statement, int index, const QVariant& value) {
    if (value.isNull()) return sqlite3_bind_null(statement, index);
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return sqlite3_bind_int64(statement, index, value.toLongLong());
    case QMetaType::Double:
        return sqlite3_bind_double(statement, index, value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob64(statement, index, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        return sqlite3_bind_text64(statement, index, text.constData(), sqlite3_uint64(text.size()), SQLITE_TRANSIENT,
                                   SQLITE_UTF8);
    }
    }
}

constexpr qsizetype CachedStatements = 32;

// Holds a statement while it runs; gives it back to the cache unless released to a SqliteRows.
class StatementInUse {
public:
    StatementInUse(Connection& connection, const QByteArray& sql) : connection_(connection), sql_(sql) {
        statement_ = connection.d().statements.Take(sql);
        if (statement_) return;
        sqlite3* db = sqliteHandle(connection);
        const int code = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement_, nullptr);
        if (code != SQLITE_OK) {
            sqlite3_finalize(statement_);
            throw statementError(db, code);
        }
        if (!statement_) throw Error(Error::StatementFailed, QStringLiteral("La sentencia está vacía"));
    }
    ~StatementInUse() {
        if (statement_) connection_.d().statements.GiveBack(sql_, statement_);
    }
    StatementInUse(const StatementInUse&) = delete;
    StatementInUse& operator=(const StatementInUse&) = delete;

    sqlite3_stmt* get() const { return statement_; }
    sqlite3_stmt* release() { return std::exchange(statement_, nullptr); }

private:
    Connection& connection_;
    QByteArray sql_;
    sqlite3_stmt* statement_ = nullptr;
};

}  // namespace

sqlite3_stmt* StatementCache::Take(const QByteArray& sql) { return statements_.take(sql); }

void StatementCache::GiveBack(const QByteArray& sql, sqlite3_stmt* statement) {
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (statements_.contains(sql) || statements_.size() >= CachedStatements) {
        sqlite3_finalize(statement);
        return;
    }
    statements_.insert(sql, statement);
}

void StatementCache::Clear() {
    for (sqlite3_stmt* statement : std::as_const(statements_)) sqlite3_finalize(statement);
    statements_.clear();
}

std::unique_ptr<Rows> runOnSqlite(Connection& connection, const QString& sql, const QVariantList& values,
                                  qint32* recordsAffected) {
    qCDebug(lcDorvanelSql).noquote() << sql;
    sqlite3* db = sqliteHandle(connection);
    const QByteArray text = sql.toUtf8();
    StatementInUse statement(connection, text);
    int code = SQLITE_OK;
    for (int i = 0; i < values.size(); ++i) {
        code = bindValue(statement.get(), i + 1, values[i]);
        if (code != SQLITE_OK) throw statementError(db, code);
    }
    code = sqlite3_step(statement.get());
    if (code != SQLITE_ROW && code != SQLITE_DONE) throw statementError(db, code);
    if (sqlite3_column_count(statement.get()) == 0) {
        if (recordsAffected) *recordsAffected = sqlite3_changes(db);
        return nullptr;
    }
    if (recordsAffected) *recordsAffected = -1;
    auto rows = std::make_unique<SqliteRows>(connection, text, statement.release());
    rows->hasRow_ = code == SQLITE_ROW;
    return rows;
}

SqliteRows::SqliteRows(Connection& connection, QByteArray sql, sqlite3_stmt* statement)
    : connection_(connection), sql_(std::move(sql)), statement_(statement) {}

SqliteRows::~SqliteRows() {
    if (connection_.IsOpen()) {
        connection_.d().statements.GiveBack(sql_, statement_);
    } else {
        sqlite3_finalize(statement_);
    }
}

bool SqliteRows::next() {
    if (firstStepTaken_) {
        firstStepTaken_ = false;
        return hasRow_;
    }
    if (!hasRow_) return false;
    const int code = sqlite3_step(statement_);
    if (code != SQLITE_ROW && code != SQLITE_DONE) throw statementError(sqliteHandle(connection_), code);
    hasRow_ = code == SQLITE_ROW;
    return hasRow_;
}

QVariant SqliteRows::value(int column) const {
    switch (sqlite3_column_type(statement_, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(statement_, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(statement_, column));
    case SQLITE_TEXT:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement_, column)),
                                 sqlite3_column_bytes(statement_, column));
    case SQLITE_BLOB: {
        const void* bytes = sqlite3_column_blob(statement_, column);
        const int size = sqlite3_column_bytes(statement_, column);
        return size == 0 ? QByteArray("") : QByteArray(static_cast<const char*>(bytes), size);
    }
    default:
        return QVariant();
    }
}

QByteArray SqliteRows::utf8(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return text ? QByteArray::fromRawData(text, sqlite3_column_bytes(statement_, column)) : QByteArray();
}

QStringList SqliteRows::columnNames() const {
    QStringList names;
    for (int i = 0; i < sqlite3_column_count(statement_); ++i)
        names << QString::fromUtf8(sqlite3_column_name(statement_, i));
    return names;
}

}  // namespace dorvanel
