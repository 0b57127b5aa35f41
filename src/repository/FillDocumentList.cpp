#include "repository/FillDocumentList.h"

#include "component/Globals.h"
#include "component/Manager.h"
#include "platform/Connection.h"
#include "platform/Error.h"
#include "platform/Recordset.h"
#include "repository/DocumentList.h"
#include "repository/FailureStyles.h"
#include "repository/KeyText.h"
#include "repository/SqlTexts.h"

#include <QCoreApplication>
#include <QSequentialIterable>
#include <QStringList>
#include <array>
#include <limits>
#include <optional>
#include <string_view>

namespace dorvanel {

namespace {

constexpr qint32 OverflowNumber = 6;
constexpr std::size_t SubItemCount = DocumentList::SisSubItem;

// The column each sub-item shows, from sub-item 1 on.
constexpr std::array<const char*, SubItemCount> SubItemColumns{"Description",   "TypeData", "Sys_TimeStamp",
                                                               "Sys_DTCreated", "Works",    "Sys_PK",
                                                               "Sys_Guid",      "Sis"};
static_assert(std::string_view(SubItemColumns[DocumentList::KeySubItem - 1]) == "Sys_PK");

// Column positions looked up once per statement, not once per row.
struct ListColumns {
    qint32 name;
    std::array<qint32, SubItemCount> subItems;

    explicit ListColumns(const Recordset& rows) : name(rows.fieldIndex(QStringLiteral("Name"))) {
        for (std::size_t i = 0; i < SubItemCount; ++i) subItems[i] = rows.fieldIndex(QLatin1String(SubItemColumns[i]));
    }
};

// A column's UTF-8 text; NULL, and a column the rows lack, read as an empty text.
QByteArray textAt(const Recordset& rows, qint32 column) { return column < 0 ? QByteArray() : rows.utf8(column); }

// The current row's sub-items 1 to 8, each read once: the key among them serves both the
// duplicate test and its sub-item.
std::array<QByteArray, SubItemCount> subItemTexts(const Recordset& rows, const ListColumns& columns) {
    std::array<QByteArray, SubItemCount> texts;
    for (std::size_t i = 0; i < SubItemCount; ++i) texts[i] = textAt(rows, columns.subItems[i]);
    return texts;
}

// A row whose key is not a number is never taken for one already listed.
bool isListed(const DocumentList& list, const QByteArray& keyText) {
    const std::optional<qint32> key = keyFromText(keyText);
    return key && IsDocumentListed(list, *key);
}

// One item from the current row, unless its document is listed already. A column the row
// lacks leaves its sub-item empty.
void addUnlistedItem(DocumentList& list, const Recordset& rows, const ListColumns& columns, bool fromDocs) {
    const auto texts = subItemTexts(rows, columns);
    if (isListed(list, texts[DocumentList::KeySubItem - 1])) return;
    std::array<QByteArrayView, SubItemCount> subItems;
    std::copy(texts.begin(), texts.end(), subItems.begin());
    // Sis only says something about the link a row came through.
    list.addRowUtf8(textAt(rows, columns.name), std::span(subItems).first(fromDocs ? SubItemCount - 1 : SubItemCount));
}

// Any list a QVariant can hold; a text converts to a one-item list but is not one.
bool holdsArray(const QVariant& value) {
    const int type = value.typeId();
    return type != QMetaType::QString && type != QMetaType::QByteArray && value.canView<QSequentialIterable>();
}

qint16 boundOf(qsizetype bound) {
    if (bound > std::numeric_limits<qint16>::max())
        throw Error(OverflowNumber, QCoreApplication::translate("dorvanel::FillDocumentList", "Desbordamiento"));
    return static_cast<qint16>(bound);
}

}  // namespace

qsizetype mostListedParents(Connection& connection) {
    // SQLite parses "a OR b OR c ..." as a tree as deep as the chain is long; its expression depth
    // limit (1000) leaves room for this many parent conditions beside the rest of the statement.
    constexpr qsizetype MostOnSqlite = 998;
    return connection.engine() == Connection::Engine::Sqlite ? MostOnSqlite : std::numeric_limits<qsizetype>::max();
}

void FillDocumentList(const QString& sParents, DocumentList& List, bool FromDocs, const QString& sTypes,
                      const QString& /*Words: no keyword search is defined*/, bool NoSys) {
    std::shared_ptr<Recordset> rows;
    ContinueOnFailure([&] {
        rows = Required(Required(gManager).ADOCnn()).Execute(SqlTexts::documentList(sParents, FromDocs, sTypes, NoSys));
    });
    const DocumentList::Filling filling(List);
    ContinueOnFailure([&] { List.Clear(); });
    if (!rows) return;
    std::optional<ListColumns> columns;
    if (!ContinueOnFailure([&] { columns.emplace(*rows); })) return;
    while (!rows->Eof()) {
        ContinueOnFailure([&] { addUnlistedItem(List, *rows, *columns, FromDocs); });
        if (!ContinueOnFailure([&] { rows->MoveNext(); })) return;
    }
}

bool IsDocumentListed(const DocumentList& List, qint32 Key) { return List.listsKey(Key); }

qint16 ArrayLowerBound(const QVariant& /*Value: every list starts at index 0*/) { return 0; }

qint16 ArrayUpperBound(const QVariant& Value) {
    if (!holdsArray(Value)) return 0;
    return boundOf(Value.value<QSequentialIterable>().size() - 1);
}

}  // namespace dorvanel
