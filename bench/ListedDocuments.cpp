#include "ListedDocuments.h"

#include "BenchSupport.h"

#include <QString>
#include <sqlite3.h>

namespace dorvanel::bench {

void InsertListedDocuments(RawDatabase& database, int documents, int parents) {
    RawStatement document(database,
                          "INSERT INTO Docs (Sys_GUID, Name, Description, Works, TypeData, storeout, Data) "
                          "VALUES (?1, ?2, ?3, 'contrato cliente', 'pdf', 0, randomblob(64))");
    RawStatement link(database,
                      "INSERT INTO DocLink (FK_Parent, FK_Doc, TypeParent, Sis) VALUES (?1, ?2, 'Cliente', 1)");
    database.execute("BEGIN");
    for (int n = 0; n < documents; ++n) {
        document.bindText(1, DocumentKey(n));
        document.bindText(2, QStringLiteral("Documento %1").arg(n).toUtf8());
        document.bindText(3, QStringLiteral("Descripción del documento número %1").arg(n).toUtf8());
        document.step();
        document.reset();
        link.bindText(1, ParentKey(n % parents));
        link.bindText(2, DocumentKey(n));
        link.step();
        link.reset();
    }
    database.execute("COMMIT");
}

int ReadRowsAsText(const RawDatabase& database, const QByteArray& sql, qint64& textBytes) {
    RawStatement statement(database, sql);
    const int columns = sqlite3_column_count(statement.handle());
    int rows = 0;
    for (; statement.step(); ++rows) {
        for (int column = 0; column < columns; ++column) {
            sqlite3_column_text(statement.handle(), column);  // the text, as a list reads it
            textBytes += sqlite3_column_bytes(statement.handle(), column);
        }
    }
    return rows;
}

}  // namespace dorvanel::bench
