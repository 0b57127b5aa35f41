#pragma once

#include <QString>

namespace dorvanel {

// Statement texts the component sends. Values are joined between apostrophes; an apostrophe
// inside a value is doubled, so no value can change a statement's meaning.
namespace SqlTexts {

QString Quoted(const QString& value);

QString DocumentContent(qint32 sysPk);
QString DocumentMiniature(qint32 sysPk);
QString ParentsOfDocument(const QString& sGuid);
QString TypeOfParent(const QString& parent);
QString DeleteLink(const QString& parent, const QString& sGuid);
// The document list: of given parents (a "," separated list), or of every document or link.
QString DocumentList(const QString& sParents, bool fromDocs, const QString& sTypes, bool noSys);

}  // namespace SqlTexts

}  // namespace dorvanel
