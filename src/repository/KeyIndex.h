#pragma once

#include <QHash>
#include <vector>

namespace dorvanel {

// How many items of a list carry each document key. Keys numbered by the database are small
// and close together, so they are counted in an array indexed by the key, which stays in the
// processor's cache where a hash table of a hundred thousand keys would not; any other key is
// counted in a hash table.
class KeyIndex {
public:
    void Add(qint64 key, int change);
    bool Contains(qint64 key) const;
    void Clear();

private:
    bool fitsDense(qint64 key) const;

    std::vector<qint32> dense_;
    QHash<qint64, qint32> sparse_;
    qint64 keysHeld_ = 0;
};

}  // namespace dorvanel
