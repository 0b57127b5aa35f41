#include "component/Manager.h"

namespace dorvanel {

std::shared_ptr<DocumentList> Manager::GetDocumentsList(const QString& /*sParents*/, const QString& /*sTypes*/,
                                                        bool /*NoMiniature*/) {
    return nullptr;
}

std::shared_ptr<DocumentList> Manager::SearchDocuments(const QString& /*Words*/, const QString& /*sParents*/,
                                                       const QString& /*sTypes*/, bool /*NoMiniature*/) {
    return nullptr;
}

}  // namespace dorvanel
