#include "DocumentListing.h"

#include <Dorvanel/DocumentList.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace dorvanel::cli {

namespace {

constexpr qsizetype DateTimeLength = 19;  // "YYYY-MM-DD HH:MM:SS"
const QString ColumnGap = QStringLiteral("  ");

DocumentRow rowAt(const DocumentList& list, qint32 item) {
    return DocumentRow{list.SubItem(item, DocumentList::KeySubItem).toLongLong(),
                       list.Text(item),
                       list.SubItem(item, DocumentList::DescriptionSubItem),
                       list.SubItem(item, DocumentList::TypeDataSubItem),
                       list.SubItem(item, DocumentList::TimeStampSubItem),
                       list.SubItem(item, DocumentList::CreatedSubItem),
                       list.SubItem(item, DocumentList::WorksSubItem),
                       list.SubItem(item, DocumentList::GuidSubItem),
                       list.SubItem(item, DocumentList::SisSubItem).toLongLong() != 0};
}

// A cell stays on one line, whatever the text holds.
QString oneLine(QString text) {
    for (QChar& c : text)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t')) c = QLatin1Char(' ');
    return text;
}

// Both engines' date forms ("T" or " " between date and time, with fractions) shown alike.
QString shownDateTime(const QString& value) {
    return value.left(DateTimeLength).replace(QLatin1Char('T'), QLatin1Char(' '));
}

QStringList headerCells(bool withSis) {
    QStringList cells{QStringLiteral("Sys_PK"),      QStringLiteral("Nombre"),         QStringLiteral("Tipo"),
                      QStringLiteral("Descripción"), QStringLiteral("Palabras clave"), QStringLiteral("Creado"),
                      QStringLiteral("Sys_GUID")};
    if (withSis) cells << QStringLiteral("Sis");
    return cells;
}

QStringList rowCells(const DocumentRow& row, bool withSis) {
    QStringList cells{QString::number(row.pk), oneLine(row.name),          oneLine(row.type), oneLine(row.description),
                      oneLine(row.keywords),   shownDateTime(row.created), row.guid};
    if (withSis) cells << (row.sis ? QStringLiteral("sí") : QStringLiteral("no"));
    return cells;
}

QList<qsizetype> columnWidths(const QList<QStringList>& lines) {
    QList<qsizetype> widths(lines.first().size(), 0);
    for (const QStringList& cells : lines)
        for (qsizetype column = 0; column < cells.size(); ++column)
            widths[column] = std::max(widths[column], cells[column].size());
    return widths;
}

// Cells padded to their column's width, without trailing blanks.
QString alignedTable(const QList<QStringList>& lines) {
    const QList<qsizetype> widths = columnWidths(lines);
    QString table;
    for (const QStringList& cells : lines) {
        QString line;
        for (qsizetype column = 0; column < cells.size(); ++column)
            line += cells[column].leftJustified(widths[column]) + ColumnGap;
        table += line.trimmed() + QLatin1Char('\n');
    }
    return table;
}

QJsonObject jsonOf(const DocumentRow& row, bool withSis) {
    QJsonObject object{{QStringLiteral("name"), row.name},       {QStringLiteral("description"), row.description},
                       {QStringLiteral("type"), row.type},       {QStringLiteral("timestamp"), row.timestamp},
                       {QStringLiteral("created"), row.created}, {QStringLiteral("keywords"), row.keywords},
                       {QStringLiteral("pk"), row.pk},           {QStringLiteral("guid"), row.guid}};
    if (withSis) object.insert(QStringLiteral("sis"), row.sis);
    return object;
}

}  // namespace

DocumentListing listingOf(const DocumentList& list, bool withSis) {
    DocumentListing listing{{}, withSis};
    for (qint32 item = 1; item <= list.Count(); ++item) listing.rows << rowAt(list, item);
    return listing;
}

QString documentTable(const DocumentListing& listing) {
    QList<QStringList> lines{headerCells(listing.withSis)};
    for (const DocumentRow& row : listing.rows) lines << rowCells(row, listing.withSis);
    return alignedTable(lines);
}

QByteArray documentJson(const DocumentListing& listing) {
    QJsonArray array;
    for (const DocumentRow& row : listing.rows) array.append(jsonOf(row, listing.withSis));
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

}  // namespace dorvanel::cli
