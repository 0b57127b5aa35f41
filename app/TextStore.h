#pragma once

#include <QByteArrayView>
#include <initializer_list>
#include <memory>
#include <vector>

namespace dorvanel::cli {

// Texts packed end to end into blocks that never move, as valid UTF-8: a hundred thousand
// documents cost a few dozen allocations rather than a million, and a text stays where it was
// put for as long as the store lives.
class TextStore {
public:
    // Invalid UTF-8 is kept with its faulty bytes replaced.
    QByteArrayView add(QByteArrayView text) { return add({text}); }
    // Adds the pieces end to end, as one text.
    QByteArrayView add(std::initializer_list<QByteArrayView> pieces);

private:
    struct Block {
        std::unique_ptr<char[]> bytes;
        qsizetype used = 0;
        qsizetype capacity = 0;
    };
    Block& blockWithRoom(qsizetype bytes);

    std::vector<Block> blocks_;
};

}  // namespace dorvanel::cli
