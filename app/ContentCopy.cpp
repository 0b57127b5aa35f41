#include "ContentCopy.h"

#include "Failure.h"
#include "LocalFile.h"
#include "Texts.h"

#include <Dorvanel/Error.h>

#include <QFile>

#include <cerrno>
#include <fcntl.h>
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

// What a new file gets: the permissions of the one it replaces, or the usual ones of a new file.
mode_t permissionsFor(const struct stat* replaced) {
    if (replaced) return replaced->st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void writeBesideAndRename(const QByteArray& target, const struct stat* replaced, const QString& path,
                          const ContentWriter& write) {
    QByteArray partial = target + ".XXXXXX";
    const int descriptor = ::mkstemp(partial.data());
    if (descriptor < 0) failOnFile(Texts::tr("No se pudo crear un archivo junto a"), path, errno);
    try {
        if (::fchmod(descriptor, permissionsFor(replaced)) != 0) failToWrite(path);
        writeThrough(descriptor, path, write);
        if (::rename(partial.constData(), target.constData()) != 0) failToWrite(path);
    } catch (...) {
        ::unlink(partial.constData());
        throw;
    }
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
    writeBesideAndRename(target, exists ? &existing : nullptr, path, write);
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
