#include "repository/ListDocuments.h"

#include "platform/Connection.h"
#include "platform/Recordset.h"
#include "repository/DocumentListing_p.h"
#include "repository/IsoTimes.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace dorvanel {

namespace {

using Engine = Connection::Engine;

// Parents one statement names at most: far fewer than any engine's limit on bound values
// (32,766 in SQLite's default build), and enough that ten thousand take twenty statements.
constexpr qsizetype ParentsPerStatement = 500;

// The columns every statement gives, in this order; a statement through links adds the parent
// and the link's flag.
enum Column { Pk, Guid, Name, Type, Description, Keywords, Created, Timestamp, Outside, Size, Parent, Sis };
// The texts of a row, read by column number: those from Guid to Timestamp.
using RowTexts = std::array<QByteArray, Outside>;

// The content's size is read without the content.
QString sizeColumn(Engine engine) {
    return engine == Engine::Sqlite ? QStringLiteral("length(d.Data)") : QStringLiteral("octet_length(d.Data)");
}

QString placeholders(qsizetype count) { return QStringList(count, QStringLiteral("?")).join(QLatin1Char(',')); }

// The statement for a group of the query's parents (none: every document or link).
QString listStatement(Engine engine, const ListingQuery& query, qsizetype parents) {
    const bool throughLinks = query.throughLinks();
    const QString from = throughLinks ? QStringLiteral("j.") : QStringLiteral("d.");
    QString sql = QStringLiteral(
                      "SELECT %1Sys_PK, %1Sys_GUID, %1Name, %1TypeData, %1Description, %1Works, %2, %3, "
                      "%1storeout, %4")
                      .arg(from, IsoTimes::column(engine, from + "Sys_DTCreated"),
                           IsoTimes::column(engine, from + "Sys_TimeStamp"), sizeColumn(engine));
    // Through links the rows are those of qryJoin, as the component's own list reads them; the
    // size comes from the document's own row.
    sql += throughLinks ? QStringLiteral(", j.FK_Parent, j.Sis FROM Docs d JOIN qryJoin j ON j.Sys_PK = d.Sys_PK")
                        : QStringLiteral(" FROM Docs d");
    QStringList conditions;
    if (parents > 0) {
        conditions << QStringLiteral("j.FK_Parent IN (%1)").arg(placeholders(parents))
                   << (query.noSys ? QStringLiteral("j.Sis = 0") : QStringLiteral("j.Sis <> 0"));
    }
    if (!query.type.isEmpty()) conditions << QStringLiteral("d.TypeData = ?");
    if (!conditions.isEmpty()) sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    return sql;
}

ListedDocument documentAt(const Recordset& row, const RowTexts& texts) {
    ListedDocument document;
    document.pk = row.value(Pk).toLongLong();
    document.guid = texts[Guid];
    document.name = texts[Name];
    document.type = texts[Type];
    document.description = texts[Description];
    document.keywords = texts[Keywords];
    document.created = texts[Created];
    document.timestamp = texts[Timestamp];
    document.outside = row.value(Outside).toLongLong() != 0;
    if (const QVariant size = row.value(Size); !document.outside && !size.isNull()) document.size = size.toLongLong();
    return document;
}

}  // namespace

// Fills a listing statement by statement, each document once.
class ListingReader {
public:
    ListingReader(Connection& connection, const ListingQuery& query)
        : connection_(connection), query_(query), listing_(query.throughLinks()), d_(*listing_.d) {}

    // The documents of a group of the query's parents, or of every document (or link) when given
    // none, grouped by parent in the order given.
    void read(const QStringList& parents) {
        QVariantList values(parents.begin(), parents.end());
        if (!query_.type.isEmpty()) values << query_.type;
        const qsizetype start = d_.documents.size();
        const QHash<QString, qsizetype> positions = positionsOf(parents);
        std::vector<qsizetype> parentOrder;
        RowTexts texts;
        const auto rows = connection_.Execute(listStatement(connection_.engine(), query_, parents.size()), values);
        for (; !rows->Eof(); rows->MoveNext()) {
            for (int column = Guid; column <= Timestamp; ++column) texts[column] = rows->utf8(column);
            ListedDocument& document = d_.append(documentAt(*rows, texts));
            if (!query_.throughLinks()) continue;
            document.sis = rows->value(Sis).toLongLong() != 0;
            if (parents.size() > 1)
                parentOrder.push_back(positions.value(rows->value(Parent).toString(), parents.size()));
        }
        if (!parentOrder.empty()) groupByParent(start, parentOrder);
        if (query_.throughLinks()) keepUnlisted(start);
    }

    DocumentListing take() { return std::move(listing_); }

private:
    // Where each parent comes; one a row names otherwise (as with a collation that takes two
    // keys for one) goes after them all.
    static QHash<QString, qsizetype> positionsOf(const QStringList& parents) {
        QHash<QString, qsizetype> positions;
        if (parents.size() > 1)
            for (qsizetype i = 0; i < parents.size(); ++i) positions.insert(parents[i], i);
        return positions;
    }

    // Puts the documents from start on in the order of their parents, each parent's in the order
    // the engine gave them.
    void groupByParent(qsizetype start, const std::vector<qsizetype>& parentOrder) {
        if (std::is_sorted(parentOrder.begin(), parentOrder.end())) return;
        std::vector<qsizetype> order(parentOrder.size());
        for (std::size_t i = 0; i < order.size(); ++i) order[i] = qsizetype(i);
        std::stable_sort(order.begin(), order.end(),
                         [&](qsizetype one, qsizetype other) { return parentOrder[one] < parentOrder[other]; });
        QList<ListedDocument> grouped;
        grouped.reserve(qsizetype(order.size()));
        for (const qsizetype i : order) grouped << d_.documents[start + i];
        std::copy(grouped.begin(), grouped.end(), d_.documents.begin() + start);
    }

    // Keeps the documents from start on that are not listed yet.
    void keepUnlisted(qsizetype start) {
        QList<ListedDocument>& documents = d_.documents;
        qsizetype kept = start;
        for (qsizetype i = start; i < documents.size(); ++i) {
            if (listed_.contains(documents[i].pk)) continue;
            listed_.insert(documents[i].pk);
            documents[kept++] = documents[i];
        }
        documents.resize(kept);
    }

    Connection& connection_;
    const ListingQuery& query_;
    DocumentListing listing_;
    DocumentListing::Private& d_;
    QSet<qint64> listed_;
};

DocumentListing listDocuments(Connection& connection, const ListingQuery& query) {
    QStringList parents = query.parents;
    parents.removeDuplicates();
    std::optional<Connection::Transaction> snapshot;
    if (query.readOnlySnapshot) snapshot.emplace(connection, Connection::Access::ReadOnly);
    ListingReader reader(connection, query);
    if (parents.isEmpty()) reader.read({});
    for (qsizetype start = 0; start < parents.size(); start += ParentsPerStatement)
        reader.read(parents.mid(start, ParentsPerStatement));
    if (snapshot) snapshot->commit();
    return reader.take();
}

}  // namespace dorvanel
