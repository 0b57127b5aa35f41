#pragma once

#include "dorvanel_export.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace dorvanel {

class Connection;

/// What to look for: words that must all appear, each in the name, the description, the
/// keywords or the text of the content (storeDocumentText) of a document, regardless of case and
/// accents, and each as the start of a word there ("contr" finds "Contrato"). Words are
/// separated by blanks; signs around them count for nothing. On PostgreSQL words are compared
/// by their Spanish stem as well.
struct WordQuery {
    /// The words, separated by blanks.
    QString words;
    QStringList parents = {};  ///< none: every document; otherwise those linked to any of them
    QString type = {};         ///< empty: any type
    int limit = 0;             ///< 0: every match
};

/// A document found, as a list shows it.
struct FoundDocument {
    /// Sys_PK
    qint64 pk = 0;
    /// Sys_GUID
    QString guid;
    /// Name
    QString name;
    /// TypeData: the type code
    QString type;
    /// Description
    QString description;
    /// Works: the keywords
    QString keywords;
    /// Sys_DTCreated
    QString created;
    /// Sys_TimeStamp
    QString timestamp;
    bool outside = false;        ///< an outside reference (a URL or a path) rather than a file
    std::optional<qint64> size;  ///< the content's bytes, read without the content; none when outside
    double rank = 0;             ///< how well it matches among those of its tier: higher is better
    /// Whether some word was found only in the text of the content: such documents come after
    /// every one whose name, description and keywords hold all the words.
    bool inContentOnly = false;
    /// When inContentOnly, some 16 words of the content's text around the first word found, each
    /// found word between "[" and "]" and "…" where the text goes on (looked for in the text's
    /// first 100,000 characters: past them, its start); otherwise empty.
    QString snippet;
};

/// The documents that match, best first, through the word index that createSchema makes: those
/// matched in their name, description and keywords, then those matched with the help of their
/// content's text, each group by its rank. A query without words finds nothing.
DORVANEL_EXPORT QList<FoundDocument> findDocumentsByWords(Connection& connection, const WordQuery& query);

/// Whether the database has the word index findDocumentsByWords reads: on SQLite the table
/// DocWords, on PostgreSQL the function Docs_Words its index is made on. A database made before
/// the index, or with only the documented tables, has none until createSchema adds it.
DORVANEL_EXPORT bool hasWordIndex(Connection& connection);

}  // namespace dorvanel
