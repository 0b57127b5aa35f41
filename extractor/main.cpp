// dorvanel-extract: reads documents' bytes for the content extractor of the library, which
// starts it beside the library and keeps it for a batch of documents. Each request comes on
// standard input and its answer goes to standard output (platform/ExtractionProtocol.h); the
// program ends when its input closes. The parsers run here, under the limits of its command
// line, so that a damaged document can end this program but never the host.

#include "Answering.h"
#include "Limits.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstdio>
#include <new>
#include <unistd.h>

using namespace dorvanel;
using namespace dorvanel::extractor;

namespace {

constexpr int ExitDone = 0;
constexpr int ExitUsage = 2;
constexpr int ExitBrokenRequest = 3;
constexpr int ExitOutOfMemory = 4;

// Where the answers go: standard output as the program found it. Standard output itself then
// points at standard error, so that nothing a library prints can break a frame.
int answerFile = -1;

void keepOnlyStandardFiles() {
    for (int fd = 3, last = int(sysconf(_SC_OPEN_MAX)); fd < last && fd < 65536; ++fd) close(fd);
    answerFile = dup(STDOUT_FILENO);
    dup2(STDERR_FILENO, STDOUT_FILENO);
}

bool readExactly(char* buffer, qint64 bytes) {
    while (bytes > 0) {
        const ssize_t got = read(STDIN_FILENO, buffer, size_t(qMin<qint64>(bytes, 1 << 20)));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        buffer += got;
        bytes -= got;
    }
    return true;
}

bool writeAll(const QByteArray& frame) {
    const char* next = frame.constData();
    qint64 left = frame.size();
    while (left > 0) {
        const ssize_t written = write(answerFile, next, size_t(left));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        next += written;
        left -= written;
    }
    return true;
}

// Qt's notices (a damaged file's warnings among them) stay out of the way unless asked for.
void quietMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

// Answers requests until the input ends; the exit status says how the run ended.
int serve(const Limits& limits) {
    for (;;) {
        bool started = false;
        const auto readHead = [&started](char* buffer, qint64 bytes) {
            const bool read = readExactly(buffer, bytes);
            started = started || read;
            return read;
        };
        const auto request = extraction::readRequestHead(readHead, limits.documentBytes);
        if (!request) return started ? ExitBrokenRequest : ExitDone;
        try {
            QByteArray bytes(request->size, Qt::Uninitialized);
            if (!readExactly(bytes.data(), bytes.size())) return ExitBrokenRequest;
            startDocumentClock(limits);
            const extraction::Answer answer = answerFor(*request, bytes);
            stopDocumentClock();
            if (!writeAll(extraction::encodeAnswer(answer))) return ExitBrokenRequest;
        } catch (const std::bad_alloc&) {
            writeAll(extraction::encodeAnswer({extraction::Outcome::OutOfMemory, {}, {}, {}}));
            return ExitOutOfMemory;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    keepOnlyStandardFiles();
    const auto limits = parseLimits(argc, argv);
    if (!limits) {
        std::fprintf(stderr, "usage: dorvanel-extract [--memory-bytes N] [--milliseconds N] [--document-bytes N]\n");
        return ExitUsage;
    }
    if (qEnvironmentVariableIsEmpty("DORVANEL_DEBUG")) qInstallMessageHandler(quietMessages);
    QCoreApplication application(argc, argv);
    applyProcessLimits(*limits);
    return serve(*limits);
}
