#pragma once

#include <QString>

namespace dorvanel {

// Statement texts the component sends. Values are joined between apostrophes; an apostrophe
// inside a value is doubled, so no value can change a statement's meaning.
namespace SqlTexts {

QString quoted(const QString& value);

QString documentContent(qint32 sysPk);
QString documentMiniature(qint32 sysPk);
QString parentsOfDocument(const QString& sGuid);
QString typeOfParent(const QString& parent);
QString deleteLink(const QString& parent, const QString& sGuid);
// The document list: of given parents (a "," separated list), or of every document or link.
QString documentList(const QString& sParents, bool fromDocs, const QString& sTypes, bool noSys);

}  // namespace SqlTexts

}  // namespace dorvanel
