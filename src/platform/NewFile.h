#pragma once

#include <QString>
#include <QTemporaryFile>

namespace dorvanel {

// A file written beside its final path and moved there only once it is complete, so that no
// reader ever sees half of it. It is created readable and writable by its owner only (0600). It
// is not synced to disk: the files it makes can be made again.
class NewFile {
public:
    // Who may read the file: its owner only (a work file), or whoever the permissions of the
    // file it replaces, or those a new file usually gets, allow (a copy a user asked for).
    enum class Access { OwnerOnly, AsUsual };

    // Raises Error when the folder cannot take the file.
    explicit NewFile(const QString& path, Access access = Access::OwnerOnly);
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    void write(const char* data, qint64 length);
    // Replaces any file at the path; until then the partial file is removed on destruction.
    void commit();

private:
    QString path_;
    QTemporaryFile partial_;
};

}  // namespace dorvanel
