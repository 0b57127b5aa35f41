#pragma once

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

struct sqlite3_stmt;

namespace dorvanel {

class Connection;

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
};

// Rows of a Qt SQL query.
class QtRows final : public Rows {
public:
    explicit QtRows(QSqlQuery&& query) : query_(std::move(query)) {}
    bool next() override { return query_.next(); }
    QVariant value(int column) const override { return query_.value(column); }
    QByteArray utf8(int column) const override;
    QStringList columnNames() const override;

private:
    QSqlQuery query_;
};

// Rows read straight from SQLite's statement: a list of many rows costs little more than
// SQLite's own stepping through them.
class SqliteRows final : public Rows {
public:
    SqliteRows(Connection& connection, QByteArray sql, sqlite3_stmt* statement);
    ~SqliteRows() override;
    SqliteRows(const SqliteRows&) = delete;
    SqliteRows& operator=(const SqliteRows&) = delete;

    bool next() override;
    QVariant value(int column) const override;
    QByteArray utf8(int column) const override;
    QStringList columnNames() const override;

private:
    Connection& connection_;
    QByteArray sql_;
    sqlite3_stmt* statement_;
    bool firstStepTaken_ = true;  // the statement already stands on its first row, if any
    bool hasRow_ = false;
    friend std::unique_ptr<Rows> runOnSqlite(Connection&, const QString&, const QVariantList&, qint32*);
};

// Logs and runs one statement on a SQLite connection: its rows when it is a query, nullptr
// otherwise (with the count of changed rows in recordsAffected).
std::unique_ptr<Rows> runOnSqlite(Connection& connection, const QString& sql, const QVariantList& values,
                                  qint32* recordsAffected);

}  // namespace dorvanel
