#include "repository/DocumentLists.h"

#include "component/Globals.h"
#include "component/Manager.h"
#include "platform/Connection.h"
#include "platform/Error.h"
#include "platform/Recordset.h"
#include "repository/DocumentList.h"
#include "repository/FailureStyles.h"
#include "repository/SqlTexts.h"

#include <QStringList>
#include <array>
#include <limits>
#include <optional>

namespace dorvanel {

namespace {

constexpr qint32 OverflowNumber = 6;
constexpr qint32 SisSubItem = 8;

// Sub-items 1 to 7, in order, and the column each one shows.
constexpr std::array<const char*, 7> SubItemColumns{"Description", "TypeData",  "Sys_TimeStamp", "Sys_DTCreated",
                                                    "Works",       "Sys_PK",    "Sys_Guid"};

// Column positions looked up once per statement, not once per row.
struct ListColumns {
    qint32 name;
    std::array<qint32, SubItemColumns.size()> subItems;
    qint32 sis;
    qint32 key;

    explicit ListColumns(const Recordset& rows)
        : name(rows.FieldIndex(QStringLiteral("Name"))),
          sis(rows.FieldIndex(QStringLiteral("Sis"))),
          key(rows.FieldIndex(QStringLiteral("Sys_PK"))) {
        for (std::size_t i = 0; i < SubItemColumns.size(); ++i)
            subItems[i] = rows.FieldIndex(QLatin1String(SubItemColumns[i]));
    }
};

// A column's UTF-8 text; NULL, and a column the rows lack, read as an empty text.
QByteArray textAt(const Recordset& rows, qint32 column) { return column < 0 ? QByteArray() : rows.Utf8(column); }

qint32 keyAt(const Recordset& rows, qint32 column) {
    bool numeric = false;
    const qint32 key = textAt(rows, column).toInt(&numeric);
    if (!numeric) throw Error(Error::Unexpected, QStringLiteral("La clave del documento no es un número"));
    return key;
}

// One item from the current row. A column the row lacks leaves its sub-item empty.
void addDocumentItem(DocumentList& list, const Recordset& rows, const ListColumns& columns, bool fromDocs) {
    std::array<QByteArray, SisSubItem> texts;
    for (std::size_t i = 0; i < columns.subItems.size(); ++i) texts[i] = textAt(rows, columns.subItems[i]);
    texts[SisSubItem - 1] = textAt(rows, columns.sis);
    std::array<QByteArrayView, SisSubItem> subItems;
    std::copy(texts.begin(), texts.end(), subItems.begin());
    // Sis only says something about the link a row came through.
    list.AddRowUtf8(textAt(rows, columns.name), std::span(subItems).first(fromDocs ? SisSubItem - 1 : SisSubItem));
}

qint16 boundOf(qsizetype bound) {
    if (bound > std::numeric_limits<qint16>::max())
        throw Error(OverflowNumber, QStringLiteral("Desbordamiento"));
    return static_cast<qint16>(bound);
}

}  // namespace

void FillDocumentList(const QString& sParents, DocumentList& List, bool FromDocs, const QString& sTypes,
                      const QString& /*Words: no keyword search is defined*/, bool NoSys) {
    std::shared_ptr<Recordset> rows;
    ContinueOnFailure([&] { rows = gManager->ADOCnn()->Execute(SqlTexts::DocumentList(sParents, FromDocs, sTypes, NoSys)); });
    ContinueOnFailure([&] { List.Clear(); });
    if (!rows) return;
    std::optional<ListColumns> columns;
    if (!ContinueOnFailure([&] { columns.emplace(*rows); })) return;
    while (!rows->Eof()) {
        bool listed = false;
        ContinueOnFailure([&] { listed = IsDocumentListed(List, keyAt(*rows, columns->key)); });
        if (!listed) ContinueOnFailure([&] { addDocumentItem(List, *rows, *columns, FromDocs); });
        if (!ContinueOnFailure([&] { rows->MoveNext(); })) return;
    }
}

bool IsDocumentListed(const DocumentList& List, qint32 Key) { return List.ListsKey(Key); }

qint16 ArrayLowerBound(const QVariant& /*Value: every list starts at index 0*/) { return 0; }

qint16 ArrayUpperBound(const QVariant& Value) {
    if (Value.typeId() != QMetaType::QStringList) return 0;
    return boundOf(Value.toStringList().size() - 1);
}


std::shared_ptr<DocumentList> Manager::GetDocumentsList(const QString& /*sParents*/, const QString& /*sTypes*/,
                                                        bool /*NoMiniature*/) {
    return nullptr;
}

std::shared_ptr<DocumentList> Manager::SearchDocuments(const QString& /*Words*/, const QString& /*sParents*/,
                                                       const QString& /*sTypes*/, bool /*NoMiniature*/) {
    return nullptr;
}

}  // namespace dorvanel
