#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "dorvanel_export.h"

class QIODevice;

namespace dorvanel {

/// A file written beside its final path and moved there only once it is complete, so that no
/// reader ever sees half of it: a failure, or an object destroyed before commit(), leaves the
/// file it was to replace whole and no part of the new one anywhere. It is not synced to disk:
/// the files it makes can be made again. A failure raises Error with the system's reason.
class DORVANEL_EXPORT NewFile {
public:
    /// Who may read the file: its owner only (a work file), or whoever the permissions of the
    /// file it replaces, or those a new file usually gets, allow (a copy a user asked for).
    enum class Access { OwnerOnly, AsUsual };

    /// Begins the new file beside path.
    explicit NewFile(const QString& path, Access access = Access::OwnerOnly);
    /// The same for a path given as the file system's own bytes, which need not be text in any
    /// encoding; shownName names it in messages.
    NewFile(const QByteArray& localPath, const QString& shownName, Access access);
    /// Removes the new file unless commit() ran.
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    /// The new file, open for writing with nothing buffered on the way, so that a failure shows
    /// at the write that meets it.
    QIODevice& device();
    /// Writes length bytes of data to the new file.
    void write(const char* data, qint64 length);
    /// Replaces any file at the path with the new one.
    void commit();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

}  // namespace dorvanel
