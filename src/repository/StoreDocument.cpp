#include "component/Globals.h"
#include "component/HostClasses.h"
#include "component/Manager.h"
#include "component/Manager_p.h"
#include "component/Oskel.h"
#include "repository/DocRecord.h"
#include "repository/FailureStyles.h"

namespace dorvanel {

QString Manager::StoreDocument(const QString& sName, const QString& sDescription, const QString& sKeywords,
                               const QString& sMiniFile, const QString& sFile, bool IsURL) {
    return storeNewDocument(sName, sDescription, sKeywords, sMiniFile, sFile, IsURL,
                            [&] { return Required(gOskel).FileExtension(sFile); });
}

QString Manager::StoreDocumentAll(const QString& sName, const QString& sDescription, const QString& sKeywords,
                                  const QString& sMiniFile, const QString& sFile, const QString& stype, bool IsURL) {
    return storeNewDocument(sName, sDescription, sKeywords, sMiniFile, sFile, IsURL, [&] { return stype; });
}

QString Manager::storeNewDocument(const QString& sName, const QString& sDescription, const QString& sKeywords,
                                  const QString& sMiniFile, const QString& sFile, bool isUrl,
                                  const std::function<QString()>& typeData) {
    QString result;
    StopAndTell(*this, [&] {
        auto record = d_->hold(createDocRecord());
        record->SetADOCnn(d_->connection);
        record->AddNew();
        record->SetName(sName);
        record->SetDescription(sDescription);
        record->SetWords(sKeywords);
        record->SetTypeData(typeData());
        record->Setstoreout(isUrl);
        if (isUrl) {
            record->Seturlfile(sFile);
        } else {
            record->SetMiniData(sMiniFile);
            record->SetData(sFile);
        }
        if (!record->Update())
            d_->lastFailure.record(record->LastErr(), record->LastErrDescrip(), record->lastErrCauses());
        result = record->Sys_GUID();
        d_->releaseRecord();
    });
    return result;
}

}  // namespace dorvanel
