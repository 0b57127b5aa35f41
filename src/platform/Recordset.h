#pragma once

#include "dorvanel_export.h"

#include <QString>
#include <QVariant>
#include <memory>

namespace dorvanel {

class Connection;
class Rows;

/// Rows of one query, read from the first to the last. A NULL column reads as a null QVariant,
/// an empty one as an empty value. Field names are matched without regard to case.
class DORVANEL_EXPORT Recordset {
public:
    /// How Open reads the rows: a keyset or static cursor counts them, a forward-only one does not.
    enum CursorType : qint32 { adOpenForwardOnly = 0, adOpenKeyset = 1, adOpenDynamic = 2, adOpenStatic = 3 };
    /// The lock Open is asked for; the rows are only read.
    enum LockType : qint32 { adLockReadOnly = 1, adLockPessimistic = 2, adLockOptimistic = 3 };
    /// What State answers.
    enum ObjectState : qint32 { adStateClosed = 0, adStateOpen = 1 };

    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    /// Runs the query. A keyset or static cursor knows its RecordCount; a forward-only one
    /// answers -1, as it cannot count without reading every row.
    void Open(const QString& sql, const std::shared_ptr<Connection>& connection, qint32 cursorType = adOpenForwardOnly,
              qint32 lockType = adLockReadOnly);
    /// Called before Open: the column reads as NULL and its values are never loaded (a BLOB
    /// that is streamed on its own). The statement log still shows the query as written.
    void leaveOut(const QString& column);
    /// Lets the rows go; the Recordset can be opened again.
    void Close();
    /// Whether the rows are open.
    qint32 State() const;

    /// How many rows the query gave, or -1 (see Open).
    qint32 RecordCount() const;
    /// Whether the position is before the first row: true when there are no rows.
    bool BOF() const;
    /// Whether the position is past the last row: true when there are no rows.
    bool Eof() const;  // EOF is a macro of the C library
    /// Moves to the next row; raises Error when there is no current row.
    void MoveNext();

    /// The current row's value of the column with that name, or at that index; raises Error when
    /// there is no such column or no current row.
    ///@{
    QVariant value(const QString& name) const;
    QVariant value(qint32 index) const;
    ///@}
    /// The value at index as UTF-8 text, NULL as an empty one: the cheap way to read a long
    /// list. It may point into the current row, so it lasts until the next move.
    QByteArray utf8(qint32 index) const;
    /// The column's position, or -1 when the rows have no such column.
    qint32 fieldIndex(const QString& name) const;

private:
    friend class Connection;
    // The rows of a statement the Connection ran.
    static std::shared_ptr<Recordset> fromRows(std::unique_ptr<Rows> rows, std::shared_ptr<Connection> connection);

    struct Private;
    std::unique_ptr<Private> d_;
    void positionOnFirstRow();
    void requireOpen() const;
    void requireCurrentRow() const;
};

}  // namespace dorvanel
