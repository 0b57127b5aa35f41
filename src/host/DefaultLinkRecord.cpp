#include "host/DefaultLinkRecord.h"

#include "host/BoundValues.h"
#include "platform/Connection.h"
#include "platform/Error.h"
#include "platform/RecordedFailure.h"

#include <QCoreApplication>

namespace dorvanel {

void DefaultLinkRecord::AddNew() {
    adding_ = true;
    parent_.clear();
    document_.clear();
    typeParent_.clear();
    sis_ = true;
}

bool DefaultLinkRecord::Update() {
    return StopAndRecord(failure_, [&] {
        if (!adding_)
            throw Error(Error::NoCurrentRecord, QCoreApplication::translate("dorvanel::DefaultLinkRecord",
                                                                            "No hay un vínculo nuevo que guardar"));
        if (!connection_)
            throw Error(Error::ObjectNotSet,
                        QCoreApplication::translate("dorvanel::DefaultLinkRecord", "El registro no tiene conexión"));
        connection_->Execute(QStringLiteral(
                                 "INSERT INTO DocLink (FK_Parent, FK_Doc, TypeParent, Sis) VALUES (?, ?, ?, ?)"),
                             {Text(parent_), Text(document_), Text(typeParent_), Flag(sis_)});
        adding_ = false;
    });
}

}  // namespace dorvanel
