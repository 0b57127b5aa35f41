#include "ContentReindex.h"

#include "DocumentReading.h"
#include "ProgressBar.h"
#include "Session.h"
#include "Texts.h"

#include <Dorvanel/Connection.h>
#include <Dorvanel/DocumentText.h>
#include <Dorvanel/Recordset.h>

#include <optional>

namespace dorvanel::cli {

namespace {

// The document's type code, or nothing when the document went meanwhile.
std::optional<QString> typeOf(Session& session, const QString& guid) {
    const auto row = session.connection().Execute(QStringLiteral("SELECT TypeData FROM Docs WHERE Sys_GUID = ?"),
                                                  {guid});
    if (row->Eof()) return std::nullopt;
    return row->value(0).toString();
}

}  // namespace

void readContentTexts(Session& session, QTextStream& out, bool all) {
    qsizetype read = 0;
    forEachShown(
        all ? documentsWithContent(session.connection()) : documentsWithoutText(session.connection()),
        [](const QString& guid) { return guid; },
        [&](const QString& guid) {
            const std::optional<QString> type = typeOf(session, guid);
            if (!type) return;
            session.reading().readStored(guid, *type, {.miniature = false, .text = true});
            ++read;
        });
    out << Texts::tr("Textos leídos: %1").arg(read) << Qt::endl;
}

}  // namespace dorvanel::cli
