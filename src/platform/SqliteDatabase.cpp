#include "platform/SqliteDatabase.h"

#include "platform/Rows_p.h"
#include "platform/SqlLog.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <sqlite3.h>

#include <utility>

namespace dorvanel {

namespace {

constexpr int BusyTimeoutMs = 10000;
constexpr qsizetype CachedStatements = 32;

// A BLOB is bound in place when value outlives every step of the statement (blobsStay): a
// document's content is then not copied once more on its way to the database.
int bindValue(sqlite3_stmt* statement, int index, const QVariant& value, bool blobsStay) {
    if (value.isNull()) return sqlite3_bind_null(statement, index);
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: return sqlite3_bind_int64(statement, index, value.toLongLong());
    case QMetaType::Double: return sqlite3_bind_double(statement, index, value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();  // shares value's bytes
        return sqlite3_bind_blob64(statement, index, bytes.constData(), sqlite3_uint64(bytes.size()),
                                   blobsStay ? SQLITE_STATIC : SQLITE_TRANSIENT);
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        return sqlite3_bind_text64(statement, index, text.constData(), sqlite3_uint64(text.size()), SQLITE_TRANSIENT,
                                   SQLITE_UTF8);
    }
    }
}

// SQLite's names for the codes a user may have to act on.
QString sqliteCodeName(int code) {
    switch (code) {
    case SQLITE_PERM: return QStringLiteral("SQLITE_PERM");
    case SQLITE_BUSY: return QStringLiteral("SQLITE_BUSY");
    case SQLITE_LOCKED: return QStringLiteral("SQLITE_LOCKED");
    case SQLITE_NOMEM: return QStringLiteral("SQLITE_NOMEM");
    case SQLITE_READONLY: return QStringLiteral("SQLITE_READONLY");
    case SQLITE_IOERR: return QStringLiteral("SQLITE_IOERR");
    case SQLITE_CORRUPT: return QStringLiteral("SQLITE_CORRUPT");
    case SQLITE_FULL: return QStringLiteral("SQLITE_FULL");
    case SQLITE_CANTOPEN: return QStringLiteral("SQLITE_CANTOPEN");
    case SQLITE_TOOBIG: return QStringLiteral("SQLITE_TOOBIG");
    case SQLITE_CONSTRAINT: return QStringLiteral("SQLITE_CONSTRAINT");
    case SQLITE_NOTADB: return QStringLiteral("SQLITE_NOTADB");
    default: return {};
    }
}

// The codes that come from the file system, where errno tells the real cause.
bool fromFileSystem(int code) {
    return code == SQLITE_IOERR || code == SQLITE_FULL || code == SQLITE_CANTOPEN || code == SQLITE_READONLY ||
           code == SQLITE_PERM;
}

// While it lives, statements prepared on the handle read the column as NULL.
class ColumnLeftOut {
public:
    ColumnLeftOut(sqlite3* db, const QString& column) : db_(db), column_(column.toUtf8()) {
        if (!column_.isEmpty()) sqlite3_set_authorizer(db_, ignoreColumn, &column_);
    }
    ~ColumnLeftOut() {
        if (!column_.isEmpty()) sqlite3_set_authorizer(db_, nullptr, nullptr);
    }
    ColumnLeftOut(const ColumnLeftOut&) = delete;
    ColumnLeftOut& operator=(const ColumnLeftOut&) = delete;

private:
    static int ignoreColumn(void* column, int action, const char* /*table*/, const char* columnName,
                            const char* /*database*/, const char* /*trigger*/) {
        const bool leftOut = action == SQLITE_READ && columnName &&
                             sqlite3_stricmp(columnName, static_cast<const QByteArray*>(column)->constData()) == 0;
        return leftOut ? SQLITE_IGNORE : SQLITE_OK;
    }

    sqlite3* db_;
    QByteArray column_;
};

// Holds a statement while it runs; gives it back unless released to a SqliteRows.
class StatementInUse {
public:
    StatementInUse(SqliteDatabase& database, const QByteArray& sql, const QString& leftOut)
        : database_(database),
          sql_(sql),
          cached_(leftOut.isEmpty()),
          statement_(database.takeStatement(sql, leftOut)) {}
    ~StatementInUse() {
        if (!statement_) return;
        if (cached_) {
            database_.giveBack(sql_, statement_);
        } else {
            sqlite3_finalize(statement_);
        }
    }
    StatementInUse(const StatementInUse&) = delete;
    StatementInUse& operator=(const StatementInUse&) = delete;

    sqlite3_stmt* get() const { return statement_; }
    // A statement prepared with a column left out reads differently from its text's, so it
    // is never kept for others.
    bool cached() const { return cached_; }
    sqlite3_stmt* release() { return std::exchange(statement_, nullptr); }

private:
    SqliteDatabase& database_;
    QByteArray sql_;
    bool cached_;
    sqlite3_stmt* statement_;
};

// An empty path would open SQLite's private temporary database, which cannot exist beforehand.
void requireFile(const QString& path) {
    if (path.isEmpty())
        throw Error(Error::OpenFailed,
                    QCoreApplication::translate("dorvanel::SqliteDatabase",
                                                "La dirección sqlite: no nombra ningún archivo de base de datos"));
    if (!QFileInfo(path).isFile())
        throw Error(Error::OpenFailed,
                    QCoreApplication::translate("dorvanel::SqliteDatabase", "No existe el archivo de base de datos %1")
                        .arg(path));
}

}  // namespace

SqliteDatabase::SqliteDatabase(const QString& path, Missing missing) {
    if (missing == Missing::Refused) requireFile(path);
    // A connection serves one thread at a time, so SQLite need not lock it on every call.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX |
                      (missing == Missing::Created ? SQLITE_OPEN_CREATE : 0);
    const int code = sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, flags, nullptr);
    if (code != SQLITE_OK) {
        const Error error = lastError(code);
        sqlite3_close(db_);
        db_ = nullptr;
        throw error;
    }
    sqlite3_busy_timeout(db_, BusyTimeoutMs);
}

SqliteDatabase::~SqliteDatabase() { close(); }

void SqliteDatabase::close() {
    clearStatements();
    // Statements still read by a Recordset are finalized when it ends; the handle goes then.
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

sqlite3* SqliteDatabase::handle() const {
    if (!db_) throw closedError();
    return db_;
}

Error SqliteDatabase::lastError(int code) const { return sqliteError(code, db_); }

Error sqliteError(int code, sqlite3* db) {
    const QString text = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
    QStringList names;
    if (const QString name = sqliteCodeName(code & 0xff); !name.isEmpty()) names << name;
    const int systemCode = db && fromFileSystem(code & 0xff) ? sqlite3_system_errno(db) : 0;
    if (const QString name = systemErrorName(systemCode); !name.isEmpty()) names << name;
    return Error(code, names.isEmpty() ? text : QStringLiteral("%1 (%2)").arg(text, names.join(QStringLiteral(", "))),
                 names);
}

sqlite3_stmt* SqliteDatabase::takeStatement(const QByteArray& sql, const QString& leftOut) {
    if (leftOut.isEmpty())
        if (sqlite3_stmt* kept = statements_.take(sql)) {
            givenBack_.removeOne(sql);
            return kept;
        }
    sqlite3* db = handle();
    ColumnLeftOut columnLeftOut(db, leftOut);
    sqlite3_stmt* statement = nullptr;
    const int code = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr);
    if (code != SQLITE_OK) {
        sqlite3_finalize(statement);
        throw lastError(code);
    }
    if (!statement)
        throw Error(Error::StatementFailed,
                    QCoreApplication::translate("dorvanel::SqliteDatabase", "La sentencia está vacía"));
    return statement;
}

// When the cache is full, the statement given back longest ago makes room: texts run once, such
// as those that carry their values, never keep out the statements run again and again.
void SqliteDatabase::giveBack(const QByteArray& sql, sqlite3_stmt* statement) {
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (!db_ || statements_.contains(sql)) {
        sqlite3_finalize(statement);
        return;
    }
    if (statements_.size() >= CachedStatements) sqlite3_finalize(statements_.take(givenBack_.takeFirst()));
    statements_.insert(sql, statement);
    givenBack_.append(sql);
}

void SqliteDatabase::clearStatements() {
    for (sqlite3_stmt* statement : std::as_const(statements_)) sqlite3_finalize(statement);
    statements_.clear();
    givenBack_.clear();
}

std::unique_ptr<Rows> SqliteDatabase::run(const QString& sql, const QVariantList& values, const RunOptions& options,
                                          qint32* recordsAffected) {
    qCDebug(lcDorvanelSql).noquote() << sql;
    const QByteArray text = sql.toUtf8();
    StatementInUse statement(*this, text, options.leftOut);
    // A statement that gives no rows runs to its end here, while values lives; one that gives
    // rows may still step after this returns.
    const bool stepsOnlyHere = sqlite3_column_count(statement.get()) == 0;
    for (int i = 0; i < values.size(); ++i) {
        const int code = bindValue(statement.get(), i + 1, values[i], stepsOnlyHere);
        if (code != SQLITE_OK) throw lastError(code);
    }
    const int code = sqlite3_step(statement.get());
    if (code != SQLITE_ROW && code != SQLITE_DONE) throw lastError(code);
    if (sqlite3_column_count(statement.get()) == 0) {
        if (recordsAffected) *recordsAffected = sqlite3_changes(db_);
        return nullptr;
    }
    if (recordsAffected) *recordsAffected = -1;
    const bool cached = statement.cached();
    return std::make_unique<SqliteRows>(*this, text, statement.release(), code == SQLITE_ROW, cached);
}

sqlite3* sqliteHandle(Connection& connection) {
    auto* sqlite = dynamic_cast<SqliteDatabase*>(&databaseOf(connection));
    if (!sqlite)
        throw Error(Error::Unexpected,
                    QCoreApplication::translate("dorvanel::SqliteDatabase", "La conexión no es de SQLite"));
    return sqlite->handle();
}

SqliteRows::SqliteRows(SqliteDatabase& database, QByteArray sql, sqlite3_stmt* statement, bool hasRow, bool cached)
    : database_(database), sql_(std::move(sql)), statement_(statement), hasRow_(hasRow), cached_(cached) {}

SqliteRows::~SqliteRows() {
    if (cached_) {
        database_.giveBack(sql_, statement_);
    } else {
        sqlite3_finalize(statement_);
    }
}

bool SqliteRows::step() {
    const int code = sqlite3_step(statement_);
    if (code != SQLITE_ROW && code != SQLITE_DONE) throw database_.lastError(code);
    return code == SQLITE_ROW;
}

bool SqliteRows::next() {
    if (firstStepTaken_) {
        firstStepTaken_ = false;
        return hasRow_;
    }
    if (!hasRow_) return false;
    hasRow_ = step();
    return hasRow_;
}

qint32 SqliteRows::count() {
    // The statement runs once to the end for the count, then again up to its first row.
    sqlite3_reset(statement_);
    qint32 rows = 0;
    while (step()) ++rows;
    sqlite3_reset(statement_);
    hasRow_ = step();
    firstStepTaken_ = true;
    return rows;
}

QVariant SqliteRows::value(int column) const {
    switch (sqlite3_column_type(statement_, column)) {
    case SQLITE_INTEGER: return QVariant(qlonglong(sqlite3_column_int64(statement_, column)));
    case SQLITE_FLOAT: return QVariant(sqlite3_column_double(statement_, column));
    case SQLITE_TEXT:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement_, column)),
                                 sqlite3_column_bytes(statement_, column));
    case SQLITE_BLOB: {
        const void* bytes = sqlite3_column_blob(statement_, column);
        const int size = sqlite3_column_bytes(statement_, column);
        return size == 0 ? QByteArray("") : QByteArray(static_cast<const char*>(bytes), size);
    }
    default: return QVariant();
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
