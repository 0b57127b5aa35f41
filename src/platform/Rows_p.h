#pragma once

#include <QByteArray>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

struct sqlite3_stmt;

namespace dorvanel {

class SqliteDatabase;

// The rows of one result, read forwards. A Recordset walks them.
class Rows {
public:
    virtual ~Rows() = default;
    // Moves to the next row (the first, the first time); false past the last.
    virtual bool next() = 0;
    virtual QVariant value(int column) const = 0;
    // The value as UTF-8 text, NULL as an empty one; it may point into the current row and
    // then lasts until the next move.
    virtual QByteArray utf8(int column) const = 0;
    virtual QStringList columnNames() const = 0;
    // How many rows there are; called before the first move.
    virtual qint32 count() = 0;
};

// Rows of a Qt SQL query.
class QtRows final : public Rows {
public:
    explicit QtRows(QSqlQuery&& query) : query_(std::move(query)) {}
    bool next() override { return query_.next(); }
    QVariant value(int column) const override { return query_.value(column); }
    QByteArray utf8(int column) const override;
    QStringList columnNames() const override;
    qint32 count() override;

private:
    QSqlQuery query_;
};

// Rows read straight from a SQLite statement that already took its first step: a list of
// many rows costs little more than SQLite's own stepping through them.
class SqliteRows final : public Rows {
public:
    // cached: the statement goes back to the database's cache when the rows end.
    SqliteRows(SqliteDatabase& database, QByteArray sql, sqlite3_stmt* statement, bool hasRow, bool cached);
    ~SqliteRows() override;
    SqliteRows(const SqliteRows&) = delete;
    SqliteRows& operator=(const SqliteRows&) = delete;

    bool next() override;
    QVariant value(int column) const override;
    QByteArray utf8(int column) const override;
    QStringList columnNames() const override;
    qint32 count() override;

private:
    // Steps the statement; true on a row.
    bool step();

    SqliteDatabase& database_;
    QByteArray sql_;
    sqlite3_stmt* statement_;
    bool hasRow_;
    bool cached_;
    bool firstStepTaken_ = true;  // the statement already stands on its first row, if any
};

}  // namespace dorvanel
