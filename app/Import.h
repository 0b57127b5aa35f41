#pragma once

#include "DocumentReading.h"

#include <QString>
#include <QTextStream>

namespace dorvanel::cli {

class Session;

struct ImportRequest {
    QString folder;
    QString parent;
    QString parentType;
    bool recursive = false;    // into subfolders too
    bool hidden = false;       // names that start with "." too
    bool again = false;        // files already imported stored once more
    bool dedup = false;        // a content already stored links its document instead
    bool followLinks = false;  // links that lead out of the folder followed too
    ReadingWanted reading;     // read from each file stored, once committed
};

struct ImportCounts {
    int stored = 0;
    int linked = 0;   // with dedup: held already by a document, which was linked instead
    int skipped = 0;  // left out as asked: hidden, subfolders, already imported, not regular files
    int failed = 0;   // could not be stored
};

// Stores every regular file of the folder, in name order, and links each to the parent; each
// file in a transaction of its own. Prints "KEY  name" per document on out, the name relative
// to the folder; every file not stored is named on standard error with the reason, and so is
// the summary. A file the folder had when last imported to that parent, with the same size and
// time, is left out unless asked again: the table dorvanel_imports remembers what was imported.
// A file that cannot be stored, or a subfolder that cannot be read, is reported and the import
// goes on; a database that is busy, out of reach or out of room stops it. A link that leads out
// of the folder is left out, and said so, unless followLinks.
ImportCounts importFolder(Session& session, QTextStream& out, const ImportRequest& request);

}  // namespace dorvanel::cli
