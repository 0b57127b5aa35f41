#include "platform/Error.h"
#include "platform/NewFile.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace dorvanel;

namespace {

mode_t modeOf(const QByteArray& path) {
    struct stat status {};
    return ::stat(path.constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// By the name's bytes, which a QString may not hold.
QByteArray contentOf(const QByteArray& path) {
    const int descriptor = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return "(none)";
    QByteArray content(256, '\0');
    const ssize_t read = ::read(descriptor, content.data(), std::size_t(content.size()));
    ::close(descriptor);
    return content.left(read < 0 ? 0 : qsizetype(read));
}

// The file appears whole, with the permissions its use asks for, only once committed; until then,
// and whenever it is left unfinished, the file it replaces stays as it was and nothing else is
// left in the folder. A name need not be text in any encoding.
TEST(NewFile, AppearsWholeWithItsPermissionsOnlyOnceCommitted) {
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path()) + '/';
    const mode_t mask = ::umask(022);
    struct Case {
        const char* name;
        const char* before;  // nullptr: no file there
        mode_t beforeMode;
        NewFile::Access access;
        bool committed;
        mode_t mode;
    } const cases[] = {
        {"trabajo.bmp", "antes", 0644, NewFile::Access::OwnerOnly, true, 0600},
        {"copia.bin", "antes", 0640, NewFile::Access::AsUsual, true, 0640},
        {"nueva.bin", nullptr, 0, NewFile::Access::AsUsual, true, 0644},
        {"a-medias.bin", "antes", 0640, NewFile::Access::AsUsual, false, 0640},
        {"sin-\xff-nombre.bin", nullptr, 0, NewFile::Access::OwnerOnly, true, 0600},
    };
    for (const Case& c : cases) {
        const QByteArray path = folder + c.name;
        if (c.before) {
            QFile before(QFile::decodeName(path));
            ASSERT_TRUE(before.open(QIODevice::WriteOnly) && before.write(c.before) > 0);
            before.close();
            ::chmod(path.constData(), c.beforeMode);
        }
        {
            NewFile file(path, QStringLiteral("archivo"), c.access);
            file.write("nuevo ", 6);
            file.device().write("contenido");
            EXPECT_EQ(contentOf(path), c.before ? QByteArray(c.before) : QByteArray("(none)")) << c.name;
            if (c.committed) file.commit();
        }
        EXPECT_EQ(contentOf(path), c.committed ? QByteArray("nuevo contenido") : QByteArray(c.before)) << c.name;
        EXPECT_EQ(modeOf(path), c.mode) << c.name;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).filter(QStringLiteral(".bin.")), QStringList()) << c.name;
    }
    ::umask(mask);
}

// A folder that is not there raises the system's reason, naming the file, and leaves nothing.
TEST(NewFile, FailureNamesTheFileAndTheSystemsReason) {
    QTemporaryDir dir;
    try {
        NewFile file(dir.filePath(QStringLiteral("falta/x.bin")));
        FAIL() << "a file was made in a missing folder";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), Error::FileFailed);
        EXPECT_EQ(error.causes(), QStringList{QStringLiteral("ENOENT")});
        EXPECT_TRUE(error.description().contains(QStringLiteral("falta/x.bin"))) << error.description().toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

}  // namespace
