#pragma once

#include "platform/Error.h"

#include <QString>
#include <QStringList>

namespace dorvanel {

// The most recent failure an object recorded, as its LastErr, LastErrDescrip and lastErrCauses
// tell it: the Manager and the shipped record classes each keep theirs in one.
struct RecordedFailure {
    qint32 number = 0;
    QString description;
    QStringList causes;

    void record(qint32 failureNumber, const QString& failureDescription, const QStringList& failureCauses = {}) {
        number = failureNumber;
        description = failureDescription;
        causes = failureCauses;
    }
    void record(const Error& error) { record(error.number(), error.description(), error.causes()); }
};

// Stop-and-record style: a failure ends the body and is recorded in failure. True when the
// body ran to its end.
template <typename Body>
bool StopAndRecord(RecordedFailure& failure, Body&& body) {
    try {
        body();
        return true;
    } catch (...) {
        failure.record(Error::fromCurrentException());
        return false;
    }
}

}  // namespace dorvanel
