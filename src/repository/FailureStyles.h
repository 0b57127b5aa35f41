#pragma once

#include "component/Manager.h"
#include "platform/Error.h"
#include "platform/MessageBox.h"
#include "platform/RecordedFailure.h"

#include <QCoreApplication>

namespace dorvanel {

// The object a step works on; an empty reference raises Error 91 so that the step fails.
template <typename Object>
Object& Required(const std::shared_ptr<Object>& object) {
    if (!object)
        throw Error(Error::ObjectNotSet,
                    QCoreApplication::translate("dorvanel::FailureStyles", "Variable de objeto no establecida"));
    return *object;
}

// Continue style: runs one step; a failing step is skipped. True when it ran to its end.
template <typename Step>
bool ContinueOnFailure(Step&& step) noexcept {
    try {
        step();
        return true;
    } catch (...) {
        return false;
    }
}

// Stop-and-tell style: a failure ends the operation and its description is shown in a
// style-0 message box; its causes are kept in lastErrCauses.
template <typename Body>
void StopAndTell(Manager& manager, Body&& body) {
    try {
        body();
    } catch (...) {
        const Error error = Error::fromCurrentException();
        manager.setLastErrCauses(error.causes());
        msgBox(error.description(), vbOKOnly);
    }
}

}  // namespace dorvanel
