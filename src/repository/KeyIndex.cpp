#include "repository/KeyIndex.h"

namespace dorvanel {

namespace {
// The array may reach this many entries, or eight for every key held, whichever is more.
constexpr qint64 SmallestDenseReach = 1 << 16;
constexpr qint64 DenseEntriesPerKey = 8;
}  // namespace

bool KeyIndex::fitsDense(qint64 key) const {
    return key >= 0 && (key < qint64(dense_.size()) || key < qMax(SmallestDenseReach, DenseEntriesPerKey * (keysHeld_ + 1)));
}

void KeyIndex::Add(qint64 key, int change) {
    if (fitsDense(key) && !sparse_.contains(key)) {
        if (key >= qint64(dense_.size())) dense_.resize(std::size_t(qMax(key + 1, qint64(dense_.size()) * 2)), 0);
        dense_[std::size_t(key)] += change;
    } else {
        qint32& count = sparse_[key];
        count += change;
        if (count <= 0) sparse_.remove(key);
    }
    keysHeld_ += change;
}

bool KeyIndex::Contains(qint64 key) const {
    if (key >= 0 && key < qint64(dense_.size()) && dense_[std::size_t(key)] > 0) return true;
    return sparse_.contains(key);
}

void KeyIndex::Clear() {
    dense_.clear();
    sparse_.clear();
    keysHeld_ = 0;
}

}  // namespace dorvanel
