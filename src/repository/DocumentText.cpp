#include "repository/DocumentText.h"

#include "platform/Connection.h"
#include "platform/Error.h"
#include "platform/ExtractionProtocol.h"
#include "platform/Recordset.h"
#include "repository/ContentHolders.h"
#include "repository/DocumentTextSchema.h"

#include <QCoreApplication>

namespace dorvanel {

namespace {

// The reader caps the text it reads at what its caller asked (1,000,000 characters unless
// told otherwise); a text from elsewhere is cut here at the most the extraction program ever
// gives, so that no caller can put more than that in the index.
constexpr qsizetype TextCap = extraction::MaxTextCap;

// At most length characters, never half of a pair of surrogates.
QString startOf(const QString& text, qsizetype length) {
    if (length < text.size() && length > 0 && text[length - 1].isHighSurrogate()) --length;
    return text.left(length);
}

// At most TextCap characters, never half of a pair of surrogates, and without NUL, which a
// PostgreSQL text cannot hold (and would end the text for FTS5's tokenizer).
QString keptText(const QString& text) {
    QString kept = startOf(text, TextCap);
    kept.replace(QChar(0), QLatin1Char(' '));
    return kept.isNull() ? QStringLiteral("") : kept;  // a null QString binds as NULL
}

// PostgreSQL refuses a tsvector over 1 MiB (SQLSTATE 54000), which a text of 1,000,000
// characters that seldom repeats a word can reach.
bool tooLongToIndex(const Error& error) { return error.causes().contains(QStringLiteral("SQLSTATE 54000")); }

void replaceText(Connection& connection, const QString& guid, const QString& text, const QString& note) {
    const QString insert = QStringLiteral(
                               "INSERT INTO DocText (Sys_PK, Fields, Text, Note) SELECT d.Sys_PK, %1, ?, ? "
                               "FROM Docs d WHERE d.Sys_GUID = ?")
                               .arg(DocumentFieldsSql(QStringLiteral("d")));
    Connection::Transaction transaction(connection);
    connection.Execute(QStringLiteral(
                           "DELETE FROM DocText WHERE Sys_PK = (SELECT Sys_PK FROM Docs WHERE Sys_GUID = ?)"),
                       {guid});
    connection.Execute(insert, {text, note.isEmpty() ? QVariant() : QVariant(note), guid});
    transaction.commit();
}

// Content kept inside the database: an outside document's location is no content to read.
const QString InsideContent = QStringLiteral("coalesce(storeout, 0) = 0");

}  // namespace

// A text too long for the index keeps its first half, again until it fits, and says so.
void storeDocumentText(Connection& connection, const QString& guid, const QString& text, const QString& note) {
    QString kept = keptText(text);
    QString why = note;
    for (;;) {
        try {
            return replaceText(connection, guid, kept, why);
        } catch (const Error& error) {
            if (!tooLongToIndex(error) || kept.size() < 2) throw;
            kept = startOf(kept, kept.size() / 2);
            why = QCoreApplication::translate("dorvanel::DocumentText",
                                              "texto recortado a %1 caracteres: no cabía en el índice de palabras")
                      .arg(kept.size());
            if (!note.isEmpty()) why = note + QStringLiteral("; ") + why;
        }
    }
}

QStringList documentsWithoutText(Connection& connection) {
    return documentsHoldingContent(
        connection,
        InsideContent + QStringLiteral(" AND NOT EXISTS (SELECT 1 FROM DocText t WHERE t.Sys_PK = d.Sys_PK)"));
}

QStringList documentsWithContent(Connection& connection) { return documentsHoldingContent(connection, InsideContent); }

}  // namespace dorvanel
