#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <functional>
#include <optional>

// The frames that the content extractor (ContentExtractor) and the extraction program
// (dorvanel-extract) exchange on the program's standard input and output. Compiled into both,
// so that neither side can drift from the other. Numbers are little-endian; neither side trusts
// what it reads: every length is checked against its bound before anything is allocated.
//
//   request: u32 parts wanted (1 miniature, 2 text), u32 type code's length, its UTF-8,
//            u64 text cap (characters), u64 document's size, then the document's bytes
//   answer:  u32 outcome, then the miniature (BMP), the text (UTF-8) and the note (UTF-8),
//            each as a u32 length and its bytes
namespace dorvanel::extraction {

constexpr quint32 WantMiniature = 1;
constexpr quint32 WantText = 2;

constexpr quint32 MaxTypeCodeBytes = 255;
constexpr qint64 MaxTextCap = 100'000'000;
constexpr quint32 MaxMiniatureBytes = 16 * 1024 * 1024;
constexpr quint32 MaxNoteBytes = 64 * 1024;

// How the program fared with a document.
enum class Outcome : quint32 {
    Done = 0,         // the parts it found (and the parsers' note)
    OutOfMemory = 1,  // its memory limit was reached; it ends after this answer
};

// The request's head; the document's bytes follow it.
struct RequestHead {
    quint32 wanted = 0;
    QByteArray typeCode;
    qint64 textCap = 0;
    qint64 size = 0;
};

struct Answer {
    Outcome outcome = Outcome::Done;
    QByteArray miniature;
    QByteArray text;
    QByteArray note;
};

// Fills the buffer with exactly that many bytes, or says it could not (end of input, failure).
using ReadExactly = std::function<bool(char* buffer, qint64 bytes)>;

QByteArray encodeRequestHead(const RequestHead& head);
// Empty when the input ended cleanly before a request or broke off, or when the head is out of
// bounds (a document larger than maxDocumentBytes among them).
std::optional<RequestHead> readRequestHead(const ReadExactly& read, qint64 maxDocumentBytes);

QByteArray encodeAnswer(const Answer& answer);
// Empty when the answer broke off or is out of bounds (a text longer than textCap characters
// can take in UTF-8 among them).
std::optional<Answer> readAnswer(const ReadExactly& read, qint64 textCap);

}  // namespace dorvanel::extraction
