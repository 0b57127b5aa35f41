// A stand-in for the extraction program that misbehaves on command, for the content
// extractor's tests. It speaks the program's frames; each request's type code says what to do:
//
//   crash    starts its answer, then aborts          alarm    ends by SIGALRM, as a time limit does
//   hang     never answers                           exit     ends without answering
//   garbage  answers with an unknown outcome         huge     announces a miniature over the bound
//   widebmp  answers with a miniature whose BMP header says 65,535 pixels wide
//
// Any other type code gets a good answer whose text is "PID:" and the document's bytes, so that
// a test tells whether the program was started afresh.

#include "platform/ExtractionProtocol.h"

#include <QtEndian>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

using namespace dorvanel::extraction;

namespace {

bool readExactly(char* buffer, qint64 bytes) { return std::fread(buffer, 1, size_t(bytes), stdin) == size_t(bytes); }

void send(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

QByteArray wideBitmapHeader() {
    QByteArray header(54, '\0');
    header[0] = 'B';
    header[1] = 'M';
    qToLittleEndian<quint32>(quint32(header.size()), header.data() + 2);
    qToLittleEndian<qint32>(65535, header.data() + 18);
    qToLittleEndian<qint32>(1, header.data() + 22);
    return header;
}

void misbehave(const QByteArray& how, const QByteArray& document) {
    if (how == "crash") {
        send(encodeAnswer({Outcome::Done, QByteArray(100, 'B'), {}, {}}).left(10));
        std::abort();
    }
    if (how == "alarm") raise(SIGALRM);
    if (how == "hang") pause();
    if (how == "exit") std::exit(0);
    if (how == "garbage") return send(QByteArray(64, '\x7f'));
    if (how == "huge") return send(QByteArray::fromHex("00000000f0ffffff"));
    if (how == "widebmp") return send(encodeAnswer({Outcome::Done, wideBitmapHeader(), "sus palabras", {}}));
    send(encodeAnswer({Outcome::Done, {}, QByteArray::number(qint64(getpid())) + ':' + document, {}}));
}

}  // namespace

int main() {
    while (const auto request = readRequestHead(readExactly, 1 << 20)) {
        QByteArray document(request->size, Qt::Uninitialized);
        if (!readExactly(document.data(), document.size())) return 1;
        misbehave(request->typeCode, document);
    }
    return 0;
}
