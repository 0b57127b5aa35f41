#include "repository/SqlTexts.h"

#include "repository/FillDocumentList.h"

#include <QStringList>

namespace dorvanel::SqlTexts {

QString quoted(const QString& value) {
    QString doubled = value;
    return doubled.replace(QLatin1Char('\''), QLatin1String("''"));
}

QString documentContent(qint32 sysPk) {
    return QStringLiteral("Select storeout,urlfile,Data,TypeData From Docs Where Sys_PK =") + QString::number(sysPk);
}

QString documentMiniature(qint32 sysPk) {
    return QStringLiteral("Select miniData,TypeData From Docs Where Sys_PK =") + QString::number(sysPk);
}

QString parentsOfDocument(const QString& sGuid) {
    return QStringLiteral("Select Sys_GUID,Fk_Parent From qryJoin Where Sys_GUID = '") + quoted(sGuid) +
           QLatin1Char('\'');
}

QString typeOfParent(const QString& parent) {
    return QStringLiteral("Select TypeParent From DocLinks Where FK_Parent ='") + quoted(parent) + QLatin1Char('\'');
}

QString deleteLink(const QString& parent, const QString& sGuid) {
    return QStringLiteral("DELETE FROM DocLink WHERE FK_Parent ='") + quoted(parent) +
           QStringLiteral("' and FK_Doc ='") + quoted(sGuid) + QLatin1Char('\'');
}

namespace {

QString parentCondition(const QString& sParents) {
    const QVariant pieces = sParents.split(QLatin1Char(','));
    const QStringList keys = pieces.toStringList();
    QString condition;
    // The bounds are 16-bit, but the index is not: past the last of 32,768 parents it would wrap.
    for (int i = ArrayLowerBound(pieces); i <= ArrayUpperBound(pieces); ++i) {
        if (!condition.isEmpty()) condition += QStringLiteral(" or ");
        condition += QStringLiteral("FK_Parent ='") + quoted(keys[i]) + QLatin1Char('\'');
    }
    return condition;
}

}  // namespace

QString documentList(const QString& sParents, bool fromDocs, const QString& sTypes, bool noSys) {
    if (!sParents.isEmpty()) {
        // The type and sis conditions are appended without grouping the parent comparisons, so
        // with several parents SQL's precedence (and before or) ties them to the last parent
        // only: "FK_Parent ='A' or FK_Parent ='B' and TypeData='pdf' and sis =0". Hosts rely on
        // this text as it stands; a single parent is not affected.
        QString sql = QStringLiteral("SELECT * From qryJoin Where ") + parentCondition(sParents);
        if (!sTypes.isEmpty()) sql += QStringLiteral(" and TypeData='") + quoted(sTypes) + QLatin1Char('\'');
        return sql + (noSys ? QStringLiteral(" and sis =0") : QStringLiteral(" and sis <>0"));
    }
    QString sql =
        fromDocs ? QStringLiteral(
                       "SELECT Name,Description,TypeData,Sys_TimeStamp,Sys_DTCreated,Works,Sys_PK,Sys_Guid From Docs")
                 : QStringLiteral("SELECT * From qryJoin");
    if (!sTypes.isEmpty()) sql += QStringLiteral(" Where TypeData='") + quoted(sTypes) + QLatin1Char('\'');
    return sql;
}

}  // namespace dorvanel::SqlTexts
