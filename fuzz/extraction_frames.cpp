// The frames between the content extractor and the extraction program, as each side reads what
// the other wrote: a stream of request heads (the program's side, under a 1 MiB document limit)
// and of answers (the extractor's side, with a text cap taken from the input). Whatever the
// bytes, a frame read stays within its bounds and writes back as the very bytes it came from.

#include "platform/ExtractionProtocol.h"
#include "support/FuzzInput.h"

#include <cstring>

using namespace dorvanel::extraction;

namespace {

constexpr qint64 MaxDocumentBytes = 1 << 20;

// Reads from the input in turn, as a pipe would give it.
class Stream {
public:
    explicit Stream(const QByteArray& bytes) : bytes_(bytes) {}
    ReadExactly reader() {
        return [this](char* buffer, qint64 count) {
            if (count > bytes_.size() - position_) return false;
            std::memcpy(buffer, bytes_.constData() + position_, size_t(count));
            position_ += count;
            return true;
        };
    }
    QByteArray readSince(qsizetype start) const { return bytes_.mid(start, position_ - start); }
    qsizetype position() const { return position_; }

private:
    QByteArray bytes_;
    qsizetype position_ = 0;
};

void checkRequests(const QByteArray& bytes) {
    Stream stream(bytes);
    for (qsizetype start = 0;; start = stream.position()) {
        const auto head = readRequestHead(stream.reader(), MaxDocumentBytes);
        if (!head) return;
        if (head->size < 0 || head->size > MaxDocumentBytes || head->typeCode.size() > qsizetype(MaxTypeCodeBytes) ||
            head->textCap < 0 || head->textCap > MaxTextCap || (head->wanted & ~(WantMiniature | WantText)) != 0)
            dorvanel::fuzz::fail("request head out of bounds", QString::fromLatin1(stream.readSince(start).toHex()));
        if (encodeRequestHead(*head) != stream.readSince(start))
            dorvanel::fuzz::fail("request head does not write back",
                                 QString::fromLatin1(stream.readSince(start).toHex()));
        if (!stream.reader()(QByteArray(head->size, Qt::Uninitialized).data(), head->size)) return;
    }
}

void checkAnswers(const QByteArray& bytes, qint64 textCap) {
    Stream stream(bytes);
    for (qsizetype start = 0;; start = stream.position()) {
        const auto answer = readAnswer(stream.reader(), textCap);
        if (!answer) return;
        if (answer->miniature.size() > qsizetype(MaxMiniatureBytes) || answer->note.size() > qsizetype(MaxNoteBytes) ||
            answer->text.size() > 3 * textCap)
            dorvanel::fuzz::fail("answer out of bounds", QString::fromLatin1(stream.readSince(start).toHex()));
        if (encodeAnswer(*answer) != stream.readSince(start))
            dorvanel::fuzz::fail("answer does not write back", QString::fromLatin1(stream.readSince(start).toHex()));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const QByteArray bytes = dorvanel::fuzz::bytesOf(data, size);
    checkRequests(bytes);
    checkAnswers(bytes.mid(1), bytes.isEmpty() ? 0 : qint64(uchar(bytes[0])));
    return 0;
}
