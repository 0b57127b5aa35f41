#include "platform/ExtractionProtocol.h"

#include <QtEndian>

namespace dorvanel::extraction {

namespace {

template <typename Number>
void append(QByteArray& frame, Number value) {
    const Number little = qToLittleEndian(value);
    frame.append(reinterpret_cast<const char*>(&little), sizeof little);
}

void appendPiece(QByteArray& frame, const QByteArray& piece) {
    append(frame, quint32(piece.size()));
    frame.append(piece);
}

template <typename Number>
std::optional<Number> readNumber(const ReadExactly& read) {
    Number little{};
    if (!read(reinterpret_cast<char*>(&little), sizeof little)) return std::nullopt;
    return qFromLittleEndian(little);
}

// A length-prefixed piece of at most maxBytes; the bound is checked before the piece is allocated.
std::optional<QByteArray> readPiece(const ReadExactly& read, quint64 maxBytes) {
    const auto size = readNumber<quint32>(read);
    if (!size || *size > maxBytes) return std::nullopt;
    QByteArray piece(qsizetype(*size), Qt::Uninitialized);
    if (*size > 0 && !read(piece.data(), piece.size())) return std::nullopt;
    return piece;
}

// UTF-8 takes at most 3 bytes for each UTF-16 unit (4 for a pair of them).
quint64 maxTextBytes(qint64 textCap) { return quint64(qBound<qint64>(0, textCap, MaxTextCap)) * 3; }

}  // namespace

QByteArray encodeRequestHead(const RequestHead& head) {
    QByteArray frame;
    append(frame, head.wanted);
    appendPiece(frame, head.typeCode);
    append(frame, quint64(head.textCap));
    append(frame, quint64(head.size));
    return frame;
}

std::optional<RequestHead> readRequestHead(const ReadExactly& read, qint64 maxDocumentBytes) {
    RequestHead head;
    const auto wanted = readNumber<quint32>(read);
    if (!wanted || (*wanted & ~(WantMiniature | WantText)) != 0) return std::nullopt;
    head.wanted = *wanted;
    const auto typeCode = readPiece(read, MaxTypeCodeBytes);
    if (!typeCode) return std::nullopt;
    head.typeCode = *typeCode;
    const auto textCap = readNumber<quint64>(read);
    const auto size = readNumber<quint64>(read);
    if (!textCap || *textCap > quint64(MaxTextCap) || !size || *size > quint64(maxDocumentBytes)) return std::nullopt;
    head.textCap = qint64(*textCap);
    head.size = qint64(*size);
    return head;
}

QByteArray encodeAnswer(const Answer& answer) {
    QByteArray frame;
    append(frame, quint32(answer.outcome));
    appendPiece(frame, answer.miniature);
    appendPiece(frame, answer.text);
    appendPiece(frame, answer.note);
    return frame;
}

std::optional<Answer> readAnswer(const ReadExactly& read, qint64 textCap) {
    Answer answer;
    const auto outcome = readNumber<quint32>(read);
    if (!outcome || *outcome > quint32(Outcome::OutOfMemory)) return std::nullopt;
    answer.outcome = Outcome(*outcome);
    auto miniature = readPiece(read, MaxMiniatureBytes);
    if (!miniature) return std::nullopt;
    auto text = readPiece(read, maxTextBytes(textCap));
    if (!text) return std::nullopt;
    auto note = readPiece(read, MaxNoteBytes);
    if (!note) return std::nullopt;
    answer.miniature = std::move(*miniature);
    answer.text = std::move(*text);
    answer.note = std::move(*note);
    return answer;
}

}  // namespace dorvanel::extraction
