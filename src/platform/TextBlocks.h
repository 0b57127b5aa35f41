#pragma once

#include <QByteArrayView>
#include <initializer_list>
#include <memory>
#include <vector>

namespace dorvanel {

// Texts packed end to end into blocks that never move: a hundred thousand documents cost a few
// dozen allocations rather than a million strings, and a text stays where it was put until the
// blocks are cleared or destroyed. Blocks double in size as they fill, up to LargestBlock.
class TextBlocks {
public:
    static constexpr qsizetype FirstBlock = 16 * 1024;
    static constexpr qsizetype LargestBlock = 2 * 1024 * 1024;

    // Where a text lies: 12 bytes rather than a view's 16, for a list that keeps a great many.
    struct Place {
        quint32 block = 0;
        quint32 start = 0;
        quint32 length = 0;
    };

    // Makes room for bytes more in one block, so that the texts added next, up to that many
    // bytes in all, lie end to end.
    void reserve(qsizetype bytes);
    QByteArrayView add(QByteArrayView text) { return at(place(text)); }
    Place place(QByteArrayView text);
    // The text at a place given by this object (and not cleared since).
    QByteArrayView at(Place place) const {
        return QByteArrayView(blocks_[place.block].bytes.get() + place.start, place.length);
    }
    // Adds the pieces end to end, as one text.
    QByteArrayView add(std::initializer_list<QByteArrayView> pieces);
    void clear() { blocks_.clear(); }

private:
    struct Block {
        std::unique_ptr<char[]> bytes;
        qsizetype used = 0;
        qsizetype capacity = 0;
    };
    // The last block, which has room for the text; the caller has reserved it.
    char* appendTo(qsizetype bytes);

    std::vector<Block> blocks_;
};

}  // namespace dorvanel
