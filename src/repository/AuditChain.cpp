#include "repository/AuditChain.h"

#include "platform/Error.h"

#include <QCoreApplication>
#include <openssl/evp.h>

namespace dorvanel {

namespace {

void addField(QByteArray& fields, const QByteArray& field) {
    fields += QByteArray::number(field.size());
    fields += ':';
    fields += field;
}

// Reads ahead of the walk, for the one look it takes past a fault.
class Lookahead {
public:
    explicit Lookahead(const AuditRowSource& source) : source_(source) {}

    bool next(AuditRow& row) {
        if (!held_) return source_(row);
        row = std::move(*held_);
        held_.reset();
        return true;
    }
    const AuditRow* peek() {
        if (!held_) {
            AuditRow row;
            if (!source_(row)) return nullptr;
            held_ = std::move(row);
        }
        return &*held_;
    }
    // Whether a sealed row after the one peeked at, or that one, has this hash.
    bool laterHas(const QByteArray& hash) {
        if (const AuditRow* following = peek(); following && following->hash == hash) return true;
        AuditRow row;
        while (source_(row))
            if (row.hash == hash) return true;
        return false;
    }

private:
    const AuditRowSource& source_;
    std::optional<AuditRow> held_;
};

// A sealed row at position whose Prev is not the hash of the row before it: which fault that is.
// before is the previous row's hash, beforeThat the one before it.
AuditVerdict::Fault brokenLink(const AuditRow& row, const QByteArray& before, const QByteArray& beforeThat,
                               Lookahead& rest, qint64& position) {
    // It chains past the row before it: that one was put in.
    if (!beforeThat.isNull() && row.prev == beforeThat) {
        --position;
        return AuditVerdict::Fault::Inserted;
    }
    const AuditRow* following = rest.peek();
    const bool followingChainsPast = following && following->prev == before;
    if (rest.laterHas(row.prev)) return AuditVerdict::Fault::Reordered;
    if (followingChainsPast) return AuditVerdict::Fault::Inserted;
    return AuditVerdict::Fault::Removed;
}

}  // namespace

QByteArray firstPrev() { return QByteArray(64, '0'); }

// In one call over the fields laid end to end: a chain of a million entries is hashed a million
// times on every verification.
QByteArray chainHash(const AuditRow& row) {
    thread_local QByteArray fields;
    fields.resize(0);  // keeps its room for the next entry
    for (const QByteArray* field : {&row.at, &row.who, &row.action, &row.doc, &row.parent, &row.sha256, &row.prev})
        addField(fields, *field);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(fields.constData(), std::size_t(fields.size()), digest, &length, EVP_sha256(), nullptr) != 1)
        throw Error(Error::Unexpected,
                    QCoreApplication::translate("dorvanel::AuditLog", "No se pudo calcular el hash SHA-256"));
    return QByteArray(reinterpret_cast<const char*>(digest), int(length)).toHex();
}

AuditVerdict walkChain(const AuditRowSource& source) {
    Lookahead rows(source);
    AuditVerdict verdict;
    QByteArray before = firstPrev();
    QByteArray beforeThat;
    bool pendingBefore = false;
    AuditRow row;
    const auto fault = [&](AuditVerdict::Fault kind, qint64 position) {
        verdict.fault = kind;
        verdict.position = position;
        verdict.lastHash = QString::fromLatin1(before);
        return verdict;
    };
    while (rows.next(row)) {
        if (!row.entry) {
            ++verdict.pending;
            pendingBefore = true;
            continue;
        }
        qint64 position = verdict.entries + 1;
        if (pendingBefore) return fault(AuditVerdict::Fault::Inserted, position);
        if (chainHash(row) != row.hash) return fault(AuditVerdict::Fault::Altered, position);
        if (row.prev != before) {
            const AuditVerdict::Fault kind = brokenLink(row, before, beforeThat, rows, position);
            return fault(kind, position);
        }
        if (*row.entry != position) return fault(AuditVerdict::Fault::Altered, position);
        verdict.entries = position;
        beforeThat = before;
        before = row.hash;
    }
    verdict.lastHash = QString::fromLatin1(before);
    return verdict;
}

}  // namespace dorvanel
