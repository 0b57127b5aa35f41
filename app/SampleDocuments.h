#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QTemporaryDir>

namespace dorvanel::cli {

class Session;

// A file a sample document is made of.
struct SampleFile {
    QString fileName;
    QByteArray bytes;
    QString name;
    QString description;
};

// A temporary folder that sample files are written to before they are stored; removed with
// everything in it when this ends.
class SampleFolder {
public:
    // Raises Error when the folder cannot be made.
    SampleFolder();

    // Writes the sample under its file name; gives the file's path.
    QString write(const SampleFile& sample) const;

private:
    QTemporaryDir dir_;
};

// The picture encoded in the format ("PNG", "JPEG").
QByteArray encodedPicture(const QImage& picture, const char* format);

// A record of the host application that documents are linked to.
struct HostRecord {
    QString key;
    QString name;
    QString type;  // the parent type its links get
};

// Customers and works of a small builder, each with a key of its own that never changes.
const QList<HostRecord>& sampleRecords();

// On a database that holds no document (its tables made first when it has none), stores
// sample documents linked to the sample records: texts, a table and pictures with their
// miniatures. A database with documents is left as it is.
void provideSampleDocuments(Session& session);

}  // namespace dorvanel::cli
