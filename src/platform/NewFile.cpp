#include "platform/NewFile.h"

#include "platform/Error.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvanel {

namespace {

// Those of the file at path, or those the process's mask leaves a new file.
mode_t usualPermissions(const QByteArray& path) {
    struct stat replaced {};
    if (::stat(path.constData(), &replaced) == 0) return replaced.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

struct NewFile::Private {
    QByteArray target;
    QString shownName;
    QByteArray partialName;
    QFile partial;
    bool committed = false;

    [[noreturn]] void fail(const char* what, int code) const {
        throw systemError(Error::FileFailed,
                          QStringLiteral("%1 %2: %3")
                              .arg(QCoreApplication::translate("dorvanel::NewFile", what), shownName,
                                   deviceErrorText(partial, code)),
                          code);
    }
    [[noreturn]] void failToWrite(int code) const {
        fail(QT_TRANSLATE_NOOP("dorvanel::NewFile", "No se pudo escribir el archivo"), code);
    }

    // Removes the partial file, if one was made and not moved to its place.
    void discard() {
        partial.close();
        if (!committed && !partialName.isEmpty()) ::unlink(partialName.constData());
    }

    void open(Access access) {
        const int descriptor = ::mkostemp(partialName.data(), O_CLOEXEC);
        if (descriptor < 0) {
            const int code = errno;
            partialName.clear();
            fail(QT_TRANSLATE_NOOP("dorvanel::NewFile", "No se pudo crear un archivo junto a"), code);
        }
        if (!partial.open(descriptor, QIODevice::WriteOnly | QIODevice::Unbuffered, QFile::AutoCloseHandle)) {
            ::close(descriptor);
            failToWrite(0);
        }
        // A temporary file is made for its owner only.
        if (access != Access::AsUsual) return;
        if (const auto code = failedCall([&] { return ::fchmod(descriptor, usualPermissions(target)) == 0; }))
            failToWrite(*code);
    }
};

NewFile::NewFile(const QString& path, Access access) : NewFile(QFile::encodeName(path), path, access) {}

NewFile::NewFile(const QByteArray& localPath, const QString& shownName, Access access)
    : d(std::make_unique<Private>()) {
    d->target = localPath;
    d->shownName = shownName;
    d->partialName = localPath + ".XXXXXX";
    try {
        d->open(access);
    } catch (...) {
        d->discard();
        throw;
    }
}

NewFile::~NewFile() { d->discard(); }

QIODevice& NewFile::device() { return d->partial; }

void NewFile::write(const char* data, qint64 length) {
    if (const auto code = failedCall([&] { return d->partial.write(data, length) == length; })) d->failToWrite(*code);
}

void NewFile::commit() {
    d->partial.close();
    if (const auto code =
            failedCall([&] { return std::rename(d->partialName.constData(), d->target.constData()) == 0; }))
        d->failToWrite(*code);
    d->committed = true;
}

}  // namespace dorvanel
