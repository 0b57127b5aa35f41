#include "ContentCopy.h"

#include "Failure.h"
#include "LocalFile.h"
#include "TerminalText.h"
#include "Texts.h"

#include <Dorvanel/Error.h>
#include <Dorvanel/NewFile.h>

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvanel::cli {

namespace {

// Read right after the failing call, while errno still holds its cause.
[[noreturn]] void failToWrite(const QString& path) { failOnFile(Texts::tr("No se pudo escribir"), path, errno); }

// Writes through a descriptor this takes over. Nothing is buffered on the way, so a failure
// shows at the write that meets it.
void writeThrough(int descriptor, const QString& path, const ContentWriter& write) {
    QFile file;
    if (!file.open(descriptor, QIODevice::WriteOnly | QIODevice::Unbuffered, QFile::AutoCloseHandle)) {
        ::close(descriptor);
        failToWrite(path);
    }
    write(file, shownName(path));
}

}  // namespace

void writeToFile(const QString& path, const ContentWriter& write) {
    const QByteArray target = encodeLocalName(path);
    struct stat existing {};
    const bool exists = ::stat(target.constData(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        const int descriptor = ::open(target.constData(), O_WRONLY | O_CLOEXEC);
        if (descriptor < 0) failOnFile(Texts::tr("No se puede abrir"), path, errno);
        writeThrough(descriptor, path, write);
        return;
    }
    std::optional<NewFile> file;
    onLocalFile([&] { file.emplace(target, terminalText(shownName(path)), NewFile::Access::AsUsual); });
    write(file->device(), shownName(path));
    onLocalFile([&] { file->commit(); });
}

void writeToStandardOutput(const ContentWriter& write) {
    const QString name = Texts::tr("la salida estándar");
    QFile out;
    // By its descriptor: through stdout's FILE, the writes would wait in its buffer, and a failure
    // would show only when it is flushed at the exit, where nobody hears of it.
    if (const auto code =
            failedCall([&] { return out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered); }))
        failOnFile(Texts::tr("No se pudo escribir en"), name, *code);
    write(out, name);
}

void writeBytesToStandardOutput(std::string_view bytes) {
    writeToStandardOutput([&](QIODevice& out, const QString& name) {
        if (const auto code =
                failedCall([&] { return out.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()); }))
            failOnFile(Texts::tr("No se pudo escribir en"), name, *code);
    });
}

}  // namespace dorvanel::cli
