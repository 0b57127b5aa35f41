#include "component/HostClasses.h"
#include "component/Manager.h"
#include "component/Manager_p.h"
#include "repository/DocRecord.h"
#include "repository/FailureStyles.h"
#include "repository/Trash.h"

namespace dorvanel {

namespace {

// The links DeleteLink removed from this document last, which go to the trash with it; they are
// forgotten either way, so that they never join a later removal.
QList<TrashedLink> takeUnlinked(QString& document, QList<RemovedLink>& unlinked, const QString& guid) {
    QList<TrashedLink> links;
    if (document == guid)
        for (const RemovedLink& link : unlinked) links.append({link.parent, link.parentType, link.sis});
    document.clear();
    unlinked.clear();
    return links;
}

}  // namespace

bool Manager::RemoveDocument(const QString& sGuid) {
    if (d_->usesTrash) {
        const QList<TrashedLink> also = takeUnlinked(d_->unlinkedDocument, d_->unlinked, sGuid);
        return StopAndRecord(d_->lastFailure,
                             [&] { moveDocumentToTrash(Required(d_->connection), sGuid, d_->userName, also); });
    }
    bool result = false;
    std::shared_ptr<DocRecord> record;
    ContinueOnFailure([&] { record = d_->hold(createDocRecord()); });
    ContinueOnFailure([&] { Required(record).LoadFromADOConnection(0, sGuid, d_->connection); });
    ContinueOnFailure([&] { result = Required(record).Delete(); });
    if (!result)
        ContinueOnFailure([&] {
            d_->lastFailure.record(Required(record).LastErr(), record->LastErrDescrip(), record->lastErrCauses());
        });
    d_->releaseRecord();
    return result;
}

}  // namespace dorvanel
