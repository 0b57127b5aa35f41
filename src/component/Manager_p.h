#pragma once

#include "component/Manager.h"
#include "platform/ContentExtractor.h"
#include "platform/RecordedFailure.h"
#include "platform/SystemUser.h"

#include <QList>
#include <QString>
#include <memory>

namespace dorvanel {

// A link as it was before DeleteLink removed it.
struct RemovedLink {
    QString parent;
    QString parentType;
    bool sis = false;
};

// What a Manager holds, kept out of its public header so that it can change without breaking
// hosts. The files that define the Manager's operations and dialog methods read it.
struct Manager::Private {
    std::shared_ptr<Connection> connection;
    std::shared_ptr<UserRights> rights;
    QString canAddDocument;
    QString canAddLink;
    QString canEdit;
    QString canDeleteLink;
    QString canDeleteDocument;
    bool dragAndDrop = false;
    bool documentMiniatures = false;
    bool indexesContent = false;
    qsizetype contentTextCap = ExtractionRequest{}.textCap;
    QString userName = systemUserName();
    bool usesTrash = false;
    // The links DeleteLink removed last while usesTrash is on, so that moving their document to
    // the trash right after (the browse dialog's unlink of its last link) keeps them.
    QString unlinkedDocument;
    QList<RemovedLink> unlinked;
    // Reads the text of what the Manager stores while indexesContent is on; made at the first
    // such store and kept, so that its extraction program serves every later one.
    std::unique_ptr<ContentExtractor> contentReader;
    // LastErr, LastErrDescrip and lastErrCauses.
    RecordedFailure lastFailure;
    // The record holder: the DocRecord or LinkRecord the running document or link operation
    // works on. The operation releases it at its end; one stopped by a failure leaves it held
    // until the next operation replaces it.
    std::shared_ptr<void> record;

    // Puts an operation's fresh record object in the record holder, where it replaces the one
    // held, and gives it back.
    template <typename Record>
    std::shared_ptr<Record> hold(std::shared_ptr<Record> held) {
        record = held;
        return held;
    }
    void releaseRecord() { record.reset(); }
};

}  // namespace dorvanel
