#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace dorvanel::cli {

// File names as the file system keeps them are bytes, which need not be valid UTF-8. Such a
// name travels in a QString without loss: each byte that is not part of valid UTF-8 becomes
// the lone surrogate U+DC00 + byte, and goes back to that byte on the way out.
QString decodeLocalName(const QByteArray& bytes);
QByteArray encodeLocalName(const QString& name);
// The name as a message or a document's name shows it: each such byte as "\xNN".
QString shownName(const QString& name);
// The path made absolute, as the file system's bytes. Qt's own file classes would turn such
// bytes into replacement characters on the way.
QByteArray absoluteLocalPath(const QString& path);

// A file opened for reading by its local name. Opening never waits on a FIFO or a device, and
// what it finds is what is read afterwards. Raises Failure when the file cannot be opened.
class LocalFile {
public:
    explicit LocalFile(const QString& path);
    ~LocalFile();
    LocalFile(const LocalFile&) = delete;
    LocalFile& operator=(const LocalFile&) = delete;

    const QString& path() const { return path_; }
    bool isRegular() const { return regular_; }
    qint64 size() const { return size_; }
    // Nanoseconds since the epoch.
    qint64 modified() const { return modified_; }
    // A path by which Qt, and so the component, opens this file: the path itself when its name is
    // valid UTF-8, otherwise a link of this object's own whose name is the shown one.
    QString readablePath() const;

private:
    QString path_;
    int descriptor_ = -1;
    bool regular_ = false;
    qint64 size_ = 0;
    qint64 modified_ = 0;
    mutable std::unique_ptr<QTemporaryDir> linkFolder_;
    mutable QString link_;
};

// Raises a Failure that names path and the system's reason for errno code.
[[noreturn]] void failOnFile(const QString& what, const QString& path, int code);
// Runs action; a failure of a local file it raises (Error, which names the file and the system's
// reason) becomes a Failure told as failOnFile tells one.
void onLocalFile(const std::function<void()>& action);

}  // namespace dorvanel::cli
