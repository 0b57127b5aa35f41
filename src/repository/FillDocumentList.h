#pragma once

#include "dorvanel_export.h"

#include <QString>
#include <QVariant>
#include <limits>

namespace dorvanel {

class Connection;
class DocumentList;

/// Fills List with one item per document: of the parents in sParents ("," separated), or with
/// no parent every document (FromDocs) or every link. Never fails: what cannot be read is
/// left out, and a statement that cannot run leaves the list empty.
DORVANEL_EXPORT void FillDocumentList(const QString& sParents, DocumentList& List, bool FromDocs, const QString& sTypes,
                                      const QString& Words, bool NoSys);

/// The most parents FillDocumentList, and so the find and browse dialogs, can list at once on
/// this connection's engine: 998 on SQLite, whose limit on the depth of an expression the
/// statement's one chain of parent conditions meets; no limit on PostgreSQL. A longer list gives
/// an empty list. listDocuments splits long lists and has no such limit.
DORVANEL_EXPORT qsizetype mostListedParents(Connection& connection);

/// Whether an item of List carries Key as its document key (sub-item 6).
DORVANEL_EXPORT bool IsDocumentListed(const DocumentList& List, qint32 Key);

/// First and last index of the list held in Value; 0 when it holds none. A bound that does
/// not fit 16 bits raises Error 6.
///@{
DORVANEL_EXPORT qint16 ArrayLowerBound(const QVariant& Value);
DORVANEL_EXPORT qint16 ArrayUpperBound(const QVariant& Value);
///@}

}  // namespace dorvanel
