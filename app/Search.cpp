#include "Search.h"

#include "ListingOutput.h"
#include "TerminalText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace dorvanel::cli {

namespace {

// The documents found, as a listing holds them: the same texts, and times in the same form.
DocumentListing listingOfFound(const QList<FoundDocument>& found) {
    DocumentListing listing;
    for (const FoundDocument& document : found) {
        const QByteArray texts[] = {document.guid.toUtf8(),     document.name.toUtf8(),
                                    document.type.toUtf8(),     document.description.toUtf8(),
                                    document.keywords.toUtf8(), document.created.toUtf8(),
                                    document.timestamp.toUtf8()};
        listing.add({document.pk, texts[0], texts[1], texts[2], texts[3], texts[4], texts[5], texts[6], document.size,
                     document.outside});
    }
    return listing;
}

}  // namespace

// The list's table: after the line of each document found only through its content's text, a
// line with the snippet of that text, indented and on one line.
QString foundTable(const QList<FoundDocument>& found) {
    const QStringList lines = QString::fromUtf8(written(listingOfFound(found), writeTable)).split(QLatin1Char('\n'));
    QString table = lines.first() + QLatin1Char('\n');
    for (qsizetype i = 0; i < found.size(); ++i) {
        table += lines[i + 1] + QLatin1Char('\n');
        if (found[i].inContentOnly)
            table += QStringLiteral("    ") + terminalText(found[i].snippet.simplified()) + QLatin1Char('\n');
    }
    return table;
}

// The list's objects, each with its rank, where its words were found and its snippet added.
QByteArray foundJson(const QList<FoundDocument>& found) {
    QJsonArray rows = QJsonDocument::fromJson(written(listingOfFound(found), writeJson)).array();
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QJsonObject row = rows[i].toObject();
        row.insert(QStringLiteral("rank"), found[i].rank);
        row.insert(QStringLiteral("matched"),
                   found[i].inContentOnly ? QStringLiteral("content") : QStringLiteral("fields"));
        row.insert(QStringLiteral("snippet"),
                   found[i].inContentOnly ? QJsonValue(found[i].snippet) : QJsonValue(QJsonValue::Null));
        rows[i] = row;
    }
    return QJsonDocument(rows).toJson(QJsonDocument::Indented);
}

}  // namespace dorvanel::cli
