#pragma once

#include "repository/AuditLog.h"

#include <QByteArray>
#include <functional>
#include <optional>

namespace dorvanel {

// One row of DocAudit as the chain sees it. A NULL field reads as an empty one: the two mean
// the same in an entry, so the chain does not tell them apart.
struct AuditRow {
    qint64 id = 0;
    std::optional<qint64> entry;  // none while unsealed
    QByteArray at, who, action, doc, parent, sha256, prev, hash;
};

// What the first entry chains to.
QByteArray firstPrev();

// The SHA-256 hash (64 lowercase hexadecimal digits) of the row's fields and the hash it chains
// to. Each field goes in prefixed with its length, so that no two different lists of fields
// hash alike.
QByteArray chainHash(const AuditRow& row);

// Gives the next row in chain order into row; false at the end.
using AuditRowSource = std::function<bool(AuditRow& row)>;

// Walks the rows in chain order and names the first bad sealed one. Unsealed rows are counted
// as pending; one that comes before a sealed row was put there out of order.
AuditVerdict walkChain(const AuditRowSource& next);

}  // namespace dorvanel
