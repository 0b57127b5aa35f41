// Parent lists as the dialogs and FillDocumentList take them ("," separated keys) and as
// "list --parents-from" reads them from a file (one a line). Each list's statement runs on a
// SQLite database of two documents: it must run, and find only documents of the parents named,
// whatever a key holds.

#include "ParentKeys.h"
#include "platform/Connection.h"
#include "platform/Error.h"
#include "platform/Recordset.h"
#include "repository/SqlTexts.h"
#include "support/FuzzDatabase.h"
#include "support/FuzzInput.h"

#include <QSet>

using namespace dorvanel;
using dorvanel::fuzz::fail;

namespace {

// SQLite takes expressions up to 1,000 levels deep, and each parent adds one to the statement's.
constexpr qsizetype MostParentsOnSqlite = 998;

// The parents' documents, by the statement the component sends for them.
void requireOnlyNamedParents(Connection& connection, const QString& sParents, const QString& sTypes, bool noSys) {
    if (sParents.isEmpty()) return;  // no parents: every link, as documented
    const QString sql = SqlTexts::documentList(sParents, false, sTypes, noSys);
    const QStringList pieces = sParents.split(QLatin1Char(','));
    std::shared_ptr<Recordset> rows;
    try {
        rows = connection.Execute(sql);
    } catch (const Error& error) {
        // SQLite ends a statement's text at a NUL character, here always inside a quoted key:
        // the statement is refused, never changed.
        if (sql.contains(QChar(0)) || pieces.size() > MostParentsOnSqlite) return;
        fail("a parent list's statement was refused", sParents + QStringLiteral("\n") + error.description());
    }
    const QSet<QString> named(pieces.begin(), pieces.end());
    for (; !rows->Eof(); rows->MoveNext()) {
        const QString parent = rows->value(QStringLiteral("FK_Parent")).toString();
        if (!named.contains(parent)) fail("a document of a parent not named was listed", sParents + " -> " + parent);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::startQt();
    static const std::shared_ptr<Connection> connection = fuzz::sampleDatabase();
    const QString text = fuzz::textOf(data, size);
    // The first line is the list, the second the type code; the whole is also a file of keys.
    const QStringList lines = text.split(QLatin1Char('\n'));
    const bool noSys = size > 0 && data[size - 1] % 2;
    requireOnlyNamedParents(*connection, lines.value(0), lines.value(1), noSys);
    try {
        const QStringList keys =
            cli::keysInFile(fuzz::writtenFile(QStringLiteral("parents.txt"), fuzz::bytesOf(data, size)));
        for (const QString& key : keys) {
            if (key.isEmpty()) fail("an empty key read", text);
            requireOnlyNamedParents(*connection, key, QString(), noSys);
        }
    } catch (const Error& error) {
        if (error.number() != Error::InvalidArgument)
            fail("a file of keys refused for another reason", error.description());
    }
    return 0;
}
