#pragma once

#include "platform/TextBlocks.h"

#include <QByteArrayView>
#include <initializer_list>

namespace dorvanel {

// Texts kept as valid UTF-8 in text blocks, for as long as the object lives: bytes that are not
// UTF-8, which another host may have written, are replaced as a reader of the text would.
class Utf8Texts {
public:
    QByteArrayView add(QByteArrayView text) { return add({text}); }
    // Adds the pieces end to end, as one text.
    QByteArrayView add(std::initializer_list<QByteArrayView> pieces);

private:
    TextBlocks blocks_;
};

}  // namespace dorvanel
