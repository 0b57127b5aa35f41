#include "component/Globals.h"
#include "component/HostClasses.h"
#include "component/Manager.h"
#include "component/Manager_p.h"
#include "component/Oskel.h"
#include "repository/ContentIndexing.h"
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
    QString type;
    bool saved = false;
    StopAndTell(*this, [&] {
        auto record = d_->hold(createDocRecord());
        record->SetADOCnn(d_->connection);
        record->AddNew();
        record->SetName(sName);
        record->SetDescription(sDescription);
        record->SetWords(sKeywords);
        type = typeData();
        record->SetTypeData(type);
        record->Setstoreout(isUrl);
        if (isUrl) {
            record->Seturlfile(sFile);
        } else {
            record->SetMiniData(sMiniFile);
            record->SetData(sFile);
        }
        saved = record->Update();
        if (!saved) d_->lastFailure.record(record->LastErr(), record->LastErrDescrip(), record->lastErrCauses());
        result = record->Sys_GUID();
        d_->releaseRecord();
    });
    if (d_->indexesContent && saved && !isUrl && !result.isEmpty() && d_->connection) indexContent(result, sFile, type);
    return result;
}

// After the record is saved, so that reading the text never holds up or undoes the store.
void Manager::indexContent(const QString& guid, const QString& sFile, const QString& typeData) {
    if (!d_->contentReader) d_->contentReader = std::make_unique<ContentExtractor>();
    indexStoredFile(*d_->contentReader, *d_->connection, guid, sFile, typeData, d_->contentTextCap);
}

}  // namespace dorvanel
