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

// A column's text; NULL reads as an empty text and a missing column raises.
QString textAt(const Recordset& rows, qint32 column) {
    if (column < 0) throw Error(Error::ItemNotFound, QStringLiteral("No se encontró la columna en la colección"));
    const QVariant value = rows.Fields(column);
    return value.isNull() ? QString() : value.toString();
}

qint32 keyAt(const Recordset& rows, qint32 column) {
    bool numeric = false;
    const qint32 key = textAt(rows, column).toInt(&numeric);
    if (!numeric) throw Error(Error::Unexpected, QStringLiteral("La clave del documento no es un número"));
    return key;
}

void addDocumentItem(DocumentList& list, const Recordset& rows, const ListColumns& columns, bool fromDocs) {
    qint32 item = 0;
    if (!ContinueOnFailure([&] { item = list.Add(textAt(rows, columns.name)); })) return;
    for (std::size_t i = 0; i < columns.subItems.size(); ++i)
        ContinueOnFailure([&] { list.SetSubItem(item, qint32(i) + 1, textAt(rows, columns.subItems[i])); });
    if (!fromDocs) ContinueOnFailure([&] { list.SetSubItem(item, SisSubItem, textAt(rows, columns.sis)); });
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
        if (!listed) addDocumentItem(List, *rows, *columns, FromDocs);
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
