#include "ListReading.h"

#include "IsoTimes.h"
#include "Texts.h"

#include <Dorvanel/Connection.h>
#include <Dorvanel/Error.h>
#include <Dorvanel/FillDocumentList.h>
#include <Dorvanel/Recordset.h>

#include <QHash>
#include <QSet>
#include <algorithm>
#include <optional>
#include <vector>

namespace dorvanel::cli {

namespace {

using Engine = Connection::Engine;

// Parents a statement of the host's own names at most: far fewer than any engine's limit on
// bound values, and enough that ten thousand take twenty statements.
constexpr qsizetype ParentsPerStatement = 500;

bool isTime(std::size_t subItem) {
    return subItem == DocumentList::TimeStampSubItem || subItem == DocumentList::CreatedSubItem;
}

// The rows one FillDocumentList gives, added at the end of the listing and their texts to its
// store; the rows before them are not the list's. With localTimes, the times are taken for
// local time here and given their offset; without, they are kept as the list gives them.
class ListingEnd final : public DocumentList {
public:
    ListingEnd(DocumentListing& listing, IsoTimes* localTimes)
        : listing_(listing), start_(listing.rows.size()), localTimes_(localTimes) {}

    qint32 Count() const override { return qint32(listing_.rows.size() - start_); }
    qint32 ColumnCount() const override { return qint32(std::tuple_size_v<decltype(DocumentRow::texts)>); }
    qsizetype start() const { return start_; }

protected:
    void clearItems() override { listing_.rows.resize(start_); }
    qint32 addItem(const QString& text) override {
        listing_.rows.emplace_back().texts[0] = listing_.texts.add(text.toUtf8());
        return Count();
    }
    void storeSubItem(qint32 item, qint32 subItem, const QString& value) override {
        store(listing_.rows[start_ + item - 1], std::size_t(subItem), value.toUtf8());
    }
    qint32 storeRowUtf8(QByteArrayView text, std::span<const QByteArrayView> subItems) override {
        DocumentRow& row = listing_.rows.emplace_back();
        row.texts[0] = listing_.texts.add(text);
        for (std::size_t i = 0; i < subItems.size(); ++i) store(row, i + 1, subItems[i]);
        return Count();
    }
    QString subItemAt(qint32 item, qint32 subItem) const override {
        if (subItem < 0 || subItem >= ColumnCount()) return {};
        return QString::fromUtf8(listing_.rows.at(start_ + item - 1).texts[std::size_t(subItem)]);
    }
    QString textAt(qint32 item) const override { return subItemAt(item, 0); }

private:
    void store(DocumentRow& row, std::size_t subItem, QByteArrayView text) {
        const bool withOffset = localTimes_ && isTime(subItem);
        row.texts[subItem] = withOffset ? localTimes_->addWithOffset(text, listing_.texts) : listing_.texts.add(text);
        if (subItem == KeySubItem) row.pk = text.toLongLong();
        if (subItem == SisSubItem) row.sis = text.toLongLong() != 0;
    }

    DocumentListing& listing_;
    qsizetype start_;
    IsoTimes* localTimes_;
};

// Keeps one read transaction open, so that every statement sees the same rows.
class ReadSnapshot {
public:
    explicit ReadSnapshot(Connection& connection) : connection_(connection) {
        connection_.Execute(connection_.engine() == Engine::Sqlite
                                ? QStringLiteral("BEGIN")
                                : QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
    }
    ~ReadSnapshot() {
        try {
            connection_.Execute(QStringLiteral("COMMIT"));
        } catch (const Error&) {
            // Nothing was written, so there is nothing to keep; a destructor does not raise.
        }
    }
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

private:
    Connection& connection_;
};

// On SQLite a stored time is the text the component wrote, local time of the machine that
// wrote it, so the list's text serves. On PostgreSQL it is local time of the session's zone,
// which only the server knows: the details give it with that zone's offset.
bool timesFromDetails(Engine engine) { return engine == Engine::PostgreSql; }

QString placeholders(qsizetype count) { return QStringList(count, QStringLiteral("?")).join(QLatin1Char(',')); }

// The details of the documents the component's list gives for the query and a group of its
// parents: the same rows, found through the same view or table with the same conditions. The
// content's size is read without the content.
QString detailsStatement(Engine engine, const ListQuery& query, qsizetype parents) {
    QString sql = QStringLiteral("SELECT d.Sys_PK, %1(d.Data), d.storeout")
                      .arg(engine == Engine::Sqlite ? QStringLiteral("length") : QStringLiteral("octet_length"));
    if (timesFromDetails(engine)) {
        for (const char* column : {"Sys_DTCreated", "Sys_TimeStamp"})
            sql += QStringLiteral(", to_char(d.%1::timestamptz, 'YYYY-MM-DD\"T\"HH24:MI:SS.MSTZH:TZM')")
                       .arg(QLatin1String(column));
    }
    sql += QStringLiteral(" FROM Docs d");
    if (query.listsLinks()) sql += QStringLiteral(" JOIN qryJoin j ON j.Sys_PK = d.Sys_PK");
    QStringList conditions;
    if (parents > 0) {
        conditions << QStringLiteral("j.FK_Parent IN (%1)").arg(placeholders(parents))
                   << (query.noSys ? QStringLiteral("j.Sis = 0") : QStringLiteral("j.Sis <> 0"));
    }
    if (!query.type.isEmpty()) conditions << QStringLiteral("d.TypeData = ?");
    if (!conditions.isEmpty()) sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    return sql;
}

[[noreturn]] void failUnlike(qint64 pk) {
    throw Error(Error::StatementFailed,
                Texts::tr("la lista del componente no coincide con la base de datos en el documento %1").arg(pk));
}

// Finds a listed document's row by its key. The details usually come in the list's own order,
// so the row after the last one found is tried first; a table of keys is made on first need.
class RowFinder {
public:
    explicit RowFinder(const QList<DocumentRow>& rows) : rows_(rows) {}

    // -1 when the document is not listed.
    qsizetype find(qint64 pk) {
        if (next_ < rows_.size() && rows_[next_].pk == pk) return next_++;
        if (!byKey_) {
            byKey_.emplace();
            for (qsizetype row = 0; row < rows_.size(); ++row) byKey_->insert(rows_[row].pk, row);
        }
        const qsizetype row = byKey_->value(pk, -1);
        if (row >= 0) next_ = row + 1;
        return row;
    }

private:
    const QList<DocumentRow>& rows_;
    qsizetype next_ = 0;
    std::optional<QHash<qint64, qsizetype>> byKey_;
};

// Gives the listed documents the details of the host's own statements.
class DetailsReading {
public:
    DetailsReading(Connection& connection, const ListQuery& query, DocumentListing& listing)
        : connection_(connection), query_(query), listing_(listing), rows_(listing.rows), found_(listing.rows.size()) {}

    // The details of the documents of a group of the query's parents, or of every document the
    // query names when given none.
    void read(const QStringList& parents) {
        QVariantList values(parents.begin(), parents.end());
        if (!query_.type.isEmpty()) values << query_.type;
        const auto rows = connection_.Execute(detailsStatement(connection_.engine(), query_, parents.size()), values);
        for (; !rows->Eof(); rows->MoveNext()) {
            const qint64 pk = rows->value(0).toLongLong();
            const qsizetype row = rows_.find(pk);
            if (row < 0) failUnlike(pk);
            addDetails(listing_.rows[row], *rows);
            found_[std::size_t(row)] = true;
        }
    }

    // Every listed document must have been found again.
    void requireEveryRow() const {
        const auto missing = std::find(found_.begin(), found_.end(), false);
        if (missing != found_.end()) failUnlike(listing_.rows[missing - found_.begin()].pk);
    }

private:
    void addDetails(DocumentRow& row, const Recordset& details) {
        row.outside = details.value(2).toLongLong() != 0;
        const QVariant size = details.value(1);
        if (!row.outside && !size.isNull()) row.size = size.toLongLong();
        if (!timesFromDetails(connection_.engine())) return;
        row.texts[DocumentList::CreatedSubItem] = listing_.texts.add(details.utf8(3));
        row.texts[DocumentList::TimeStampSubItem] = listing_.texts.add(details.utf8(4));
    }

    Connection& connection_;
    const ListQuery& query_;
    DocumentListing& listing_;
    RowFinder rows_;
    std::vector<bool> found_;
};

// Keeps the rows from start on whose documents are not in listed yet, and adds them to it.
void keepUnlisted(QList<DocumentRow>& rows, qsizetype start, QSet<qint64>& listed) {
    qsizetype kept = start;
    for (qsizetype i = start; i < rows.size(); ++i) {
        if (listed.contains(rows[i].pk)) continue;
        listed.insert(rows[i].pk);
        rows[kept++] = rows[i];
    }
    rows.resize(kept);
}

}  // namespace

DocumentListing readListing(Connection& connection, const ListQuery& query) {
    QStringList parents = query.parents;
    parents.removeDuplicates();
    DocumentListing listing{{}, {}, query.listsLinks()};
    IsoTimes localTimes;
    IsoTimes* const listTimes = timesFromDetails(connection.engine()) ? nullptr : &localTimes;
    const ReadSnapshot snapshot(connection);
    // One list holds each document once already; several are merged.
    QSet<qint64> listed;
    const auto list = [&](const QString& sParents) {
        ListingEnd end(listing, listTimes);
        FillDocumentList(sParents, end, !query.listsLinks(), query.type, QString(), query.noSys);
        if (parents.size() > 1) keepUnlisted(listing.rows, end.start(), listed);
    };
    if (parents.isEmpty()) list(QString());
    for (const QString& parent : std::as_const(parents)) list(parent);
    DetailsReading details(connection, query, listing);
    if (parents.isEmpty()) details.read({});
    for (qsizetype start = 0; start < parents.size(); start += ParentsPerStatement)
        details.read(parents.mid(start, ParentsPerStatement));
    details.requireEveryRow();
    return listing;
}

}  // namespace dorvanel::cli
