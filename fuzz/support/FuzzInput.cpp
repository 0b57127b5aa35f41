#include "support/FuzzInput.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace dorvanel::fuzz {

QByteArray bytesOf(const uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

QString textOf(const uint8_t* data, std::size_t size) { return QString::fromUtf8(bytesOf(data, size)); }

void startQt(bool gui) {
    // Never destroyed: libFuzzer ends the run with exit(), and Qt's own objects that outlive the
    // application (a database connection, a loaded plugin) would be torn down in the wrong order.
    static QCoreApplication* application = nullptr;
    if (application) return;
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    if (!gui) {
        application = new QCoreApplication(argc, argv);
        return;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    application = new QGuiApplication(argc, argv);
}

QString writtenFile(const QString& name, const QByteArray& bytes) {
    static QTemporaryDir folder;
    if (!folder.isValid()) fail("no temporary folder", folder.errorString());
    const QString path = folder.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail("cannot write a file for the input", path + QStringLiteral(": ") + file.errorString());
    return path;
}

void fail(const char* what, const QString& detail) {
    // A NUL in the detail would end the line early.
    const QByteArray shown = detail.toUtf8().replace('\0', "\\0");
    std::fprintf(stderr, "\nFUZZ FAILURE: %s\n%s\n", what, shown.constData());
    std::abort();
}

}  // namespace dorvanel::fuzz
