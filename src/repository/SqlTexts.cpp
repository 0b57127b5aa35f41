#include "repository/SqlTexts.h"

#include "repository/DocumentLists.h"

#include <QStringList>

namespace dorvanel::SqlTexts {

QString Quoted(const QString& value) {
    QString doubled = value;
    return doubled.replace(QLatin1Char('\''), QLatin1String("''"));
}

QString DocumentContent(qint32 sysPk) {
    return QStringLiteral("Select storeout,urlfile,Data,TypeData From Docs Where Sys_PK =") + QString::number(sysPk);
}

QString DocumentMiniature(qint32 sysPk) {
    return QStringLiteral("Select miniData,TypeData From Docs Where Sys_PK =") + QString::number(sysPk);
}

QString ParentsOfDocument(const QString& sGuid) {
    return QStringLiteral("Select Sys_GUID,Fk_Parent From qryJoin Where Sys_GUID = '") + Quoted(sGuid) + QLatin1Char('\'');
}

QString TypeOfParent(const QString& parent) {
    return QStringLiteral("Select TypeParent From DocLinks Where FK_Parent ='") + Quoted(parent) + QLatin1Char('\'');
}

QString DeleteLink(const QString& parent, const QString& sGuid) {
    return QStringLiteral("DELETE FROM DocLink WHERE FK_Parent ='") + Quoted(parent) + QStringLiteral("' and FK_Doc ='") +
           Quoted(sGuid) + QLatin1Char('\'');
}

namespace {

QString parentCondition(const QString& sParents) {
    const QVariant pieces = sParents.split(QLatin1Char(','));
    const QStringList keys = pieces.toStringList();
    QString condition;
    for (qint16 i = ArrayLowerBound(pieces); i <= ArrayUpperBound(pieces); ++i) {
        if (!condition.isEmpty()) condition += QStringLiteral(" or ");
        condition += QStringLiteral("FK_Parent ='") + Quoted(keys[i]) + QLatin1Char('\'');
    }
    return condition;
}

}  // namespace

QString DocumentList(const QString& sParents, bool fromDocs, const QString& sTypes, bool noSys) {
    if (!sParents.isEmpty()) {
        QString sql = QStringLiteral("SELECT * From qryJoin Where ") + parentCondition(sParents);
        if (!sTypes.isEmpty()) sql += QStringLiteral(" and TypeData='") + Quoted(sTypes) + QLatin1Char('\'');
        return sql + (noSys ? QStringLiteral(" and sis =0") : QStringLiteral(" and sis <>0"));
    }
    QString sql = fromDocs ? QStringLiteral("SELECT Name,Description,TypeData,Sys_TimeStamp,Sys_DTCreated,Works,Sys_PK,Sys_Guid From Docs")
                           : QStringLiteral("SELECT * From qryJoin");
    if (!sTypes.isEmpty()) sql += QStringLiteral(" Where TypeData='") + Quoted(sTypes) + QLatin1Char('\'');
    return sql;
}

}  // namespace dorvanel::SqlTexts
