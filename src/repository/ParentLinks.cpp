#include "component/HostClasses.h"
#include "component/Manager.h"
#include "platform/Connection.h"
#include "platform/Recordset.h"
#include "repository/FailureStyles.h"
#include "repository/LinkRecord.h"
#include "repository/SqlTexts.h"

#include <QStringList>

namespace dorvanel {

namespace {
constexpr qint32 KeyLength = 32;
constexpr qint32 NoParentTypeNumber = -99;
}  // namespace

bool Manager::AddLink(const QString& Parent, const QString& sGuid, const QString& ParentType, bool Sis) {
    bool result = false;
    std::shared_ptr<LinkRecord> record;
    ContinueOnFailure([&] { record_ = record = CreateLinkRecord(); });
    if (Parent.length() != KeyLength || sGuid.length() != KeyLength) return false;
    ContinueOnFailure([&] {
        Required(record).SetADOCnn(connection_);
        record->AddNew();
        record->SetFK_Parent(Parent);
        record->SetFK_Doc(sGuid);
    });
    QString type = ParentType;
    if (type.isEmpty()) ContinueOnFailure([&] { type = LookupParentType(Parent); });
    if (type.isEmpty()) {
        recordFailure(NoParentTypeNumber, QStringLiteral("No existe ParentType"));
        return false;
    }
    ContinueOnFailure([&] {
        Required(record).SetTypeParent(type);
        record->SetSis(Sis);
        result = record->Update();
        record_.reset();
    });
    return result;
}

QString Manager::LookupParentType(const QString& Parent) {
    auto rows = Required(connection_).Execute(SqlTexts::TypeOfParent(Parent));
    return rows ? rows->Fields(QStringLiteral("TypeParent")).toString() : QString();
}

bool Manager::DeleteLink(const QString& Parent, const QString& sGuid) {
    qint32 deleted = 0;
    Required(connection_).Execute(SqlTexts::DeleteLink(Parent, sGuid), &deleted);
    return deleted > 0;
}

QVariant Manager::GetParentList(const QString& sGuid, const QString& /*ParentTypes: no filter is defined*/) {
    QVariant result = QStringLiteral("");
    if (sGuid.length() != KeyLength) return result;
    std::shared_ptr<Recordset> rows;
    ContinueOnFailure([&] { rows = Required(connection_).Execute(SqlTexts::ParentsOfDocument(sGuid)); });
    bool noRows = true;
    ContinueOnFailure([&] { noRows = !rows || (rows->BOF() && rows->Eof()); });
    if (noRows) return result;
    QString keys;
    ContinueOnFailure([&] {
        for (; !rows->Eof(); rows->MoveNext()) keys += rows->Fields(QStringLiteral("Fk_Parent")).toString() + QLatin1Char(';');
    });
    // The text ends with ";", so the list ends with one empty string.
    result = keys.split(QLatin1Char(';'));
    return result;
}

}  // namespace dorvanel
