#include "Import.h"

#include "Failure.h"
#include "LocalFile.h"
#include "ProgressBar.h"
#include "Session.h"
#include "StoreOnce.h"
#include "TerminalText.h"
#include "Texts.h"

#include <Dorvanel/Connection.h>
#include <Dorvanel/Error.h>
#include <Dorvanel/Recordset.h>

#include <QDir>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <memory>
#include <optional>
#include <sys/stat.h>

namespace dorvanel::cli {

namespace {

// A file found in the folder: to store, left out for the reason given, or a folder that could
// not be read (failed, with the reason).
struct Entry {
    QString path;
    QString shown;  // relative to the folder
    QString leftOut;
    QString failed;
};

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

// The names in a folder, as the file system has them, in order.
QStringList namesIn(const QString& folder) {
    const std::unique_ptr<DIR, DirCloser> dir(opendir(encodeLocalName(folder).constData()));
    if (!dir) failOnFile(Texts::tr("No se puede leer la carpeta"), folder, errno);
    QStringList names;
    while (const dirent* entry = readdir(dir.get())) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..") names << decodeLocalName(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Where the path finally leads, every link followed, as the file system's bytes; empty when it
// leads nowhere.
QByteArray resolvedPath(const QString& path) {
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(encodeLocalName(path).constData(), nullptr),
                                                               &std::free);
    return resolved ? QByteArray(resolved.get()) : QByteArray();
}

bool isWithin(const QByteArray& path, const QByteArray& folder) {
    return path == folder || path.startsWith(folder.endsWith('/') ? folder : folder + '/');
}

using Identity = std::pair<dev_t, ino_t>;

Identity identityOf(const struct stat& status) { return {status.st_dev, status.st_ino}; }

// Walks the folder, and its subfolders when asked, each folder once even where links loop (back
// to the folder itself too). A link that leads out of the folder is left out unless asked to
// follow links: a folder unpacked from elsewhere could otherwise bring in any file the user can
// read.
class FolderWalk {
public:
    explicit FolderWalk(const ImportRequest& request) : request_(request), root_(resolvedPath(request.folder)) {}

    QList<Entry> entries() {
        struct stat status {};
        if (::stat(encodeLocalName(request_.folder).constData(), &status) == 0) visited_ << identityOf(status);
        visit(request_.folder, QString(), namesIn(request_.folder));
        return entries_;
    }

private:
    void visit(const QString& folder, const QString& prefix, const QStringList& names) {
        for (const QString& name : names) {
            const QString path = QDir(folder).filePath(name);
            const QString shown = terminalText(shownName(prefix + name));
            struct stat status {};
            if (!request_.hidden && name.startsWith(QLatin1Char('.'))) {
                entries_ << Entry{path, shown, Texts::tr("oculto; se guarda con --hidden"), {}};
            } else if (const QByteArray outside = outsideTarget(path); !outside.isEmpty()) {
                entries_ << Entry{path,
                                  shown,
                                  Texts::tr("enlace a %1, fuera de la carpeta; se sigue con --follow-links")
                                      .arg(shownName(decodeLocalName(outside))),
                                  {}};
            } else if (::stat(encodeLocalName(path).constData(), &status) != 0) {
                entries_ << Entry{path, shown, {}, {}};  // storing it tells why it cannot be read
            } else if (S_ISDIR(status.st_mode)) {
                enter(path, shown, status);
            } else if (!S_ISREG(status.st_mode)) {
                entries_ << Entry{path, shown, Texts::tr("no es un archivo regular (FIFO, dispositivo o socket)"), {}};
            } else {
                entries_ << Entry{path, shown, {}, {}};
            }
        }
    }

    // Where a link at path leads when that is outside the folder and links are not followed;
    // otherwise nothing.
    QByteArray outsideTarget(const QString& path) const {
        struct stat status {};
        if (request_.followLinks || ::lstat(encodeLocalName(path).constData(), &status) != 0 ||
            !S_ISLNK(status.st_mode))
            return {};
        const QByteArray target = resolvedPath(path);
        return target.isEmpty() || isWithin(target, root_) ? QByteArray() : target;
    }

    // A subfolder that cannot be read is reported, and the walk goes on beside it.
    void enter(const QString& path, const QString& shown, const struct stat& status) {
        if (!request_.recursive) {
            entries_ << Entry{path, shown + '/', Texts::tr("carpeta; se entra con --recursive"), {}};
            return;
        }
        if (visited_.contains(identityOf(status))) return;
        visited_ << identityOf(status);
        QStringList names;
        try {
            names = namesIn(path);
        } catch (const Failure& failure) {
            entries_ << Entry{path, shown + '/', {}, failure.message};
            return;
        }
        visit(path, shown + '/', names);
    }

    const ImportRequest& request_;
    QByteArray root_;  // the folder, every link followed
    QList<Entry> entries_;
    QSet<Identity> visited_;
};

const QString ImportsTable = QStringLiteral("dorvanel_imports");

// What was imported from where: a file's absolute path (its bytes percent-encoded, as a name
// need not be UTF-8), the parent it went to, its size and modification time then, and the
// document it became.
class ImportLog {
public:
    explicit ImportLog(Connection& connection) : connection_(connection) {
        connection_.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (path TEXT NOT NULL, parent TEXT NOT NULL, "
                                           "size BIGINT NOT NULL, modified BIGINT NOT NULL, guid TEXT NOT NULL, "
                                           "PRIMARY KEY (path, parent))")
                                .arg(ImportsTable));
    }

    // How the log names a file.
    static QString key(const LocalFile& file) {
        return QString::fromLatin1(absoluteLocalPath(file.path()).toPercentEncoding("/"));
    }

    // Whether the file, as it is now, became a document that still exists.
    bool holds(const QString& key, const LocalFile& file, const QString& parent) {
        const auto rows =
            connection_.Execute(QStringLiteral("SELECT i.guid FROM %1 i JOIN Docs d ON d.Sys_GUID = i.guid "
                                               "WHERE i.path = ? AND i.parent = ? AND i.size = ? AND i.modified = ?")
                                    .arg(ImportsTable),
                                {key, parent, file.size(), file.modified()});
        return rows && !rows->Eof();
    }

    void record(const QString& key, const LocalFile& file, const QString& parent, const QString& guid) {
        connection_.Execute(QStringLiteral("INSERT INTO %1 (path, parent, size, modified, guid) VALUES (?, ?, ?, ?, ?) "
                                           "ON CONFLICT (path, parent) DO UPDATE SET size = excluded.size, "
                                           "modified = excluded.modified, guid = excluded.guid")
                                .arg(ImportsTable),
                            {key, parent, file.size(), file.modified(), guid});
    }

private:
    Connection& connection_;
};

// A failure of the database rather than of the file ends the import: the next files would
// only meet it again.
bool stopsTheImport(const Failure& failure) {
    return failure.status == DatabaseBusy || failure.status == DatabaseUnavailable || failure.status == NoRoom;
}

class Importer {
public:
    Importer(Session& session, QTextStream& out, const ImportRequest& request)
        : session_(session), out_(out), request_(request), log_(session.connection()) {}

    void import(const Entry& entry) {
        if (!entry.leftOut.isEmpty()) return leaveOut(entry, entry.leftOut);
        if (!entry.failed.isEmpty()) return fail(entry, entry.failed);
        try {
            store(entry);
        } catch (const Failure& failure) {
            fail(entry, failure.message);
        } catch (const Error& error) {
            const Failure failure = failureOf(error, QString());
            if (stopsTheImport(failure)) throw;
            fail(entry, failure.message);
        }
    }

    const ImportCounts& counts() const { return counts_; }

private:
    void store(const Entry& entry) {
        const LocalFile file(entry.path);
        const QString logged = ImportLog::key(file);
        if (!request_.again && log_.holds(logged, file, request_.parent))
            return leaveOut(entry, Texts::tr("ya importado con el mismo tamaño y fecha; se guarda con --again"));
        StoreRequest store;
        store.file = entry.path;
        store.name = session_.proposedName(shownName(entry.path));
        const HeldContent held =
            storeOnce(session_, store, {request_.parent}, request_.parentType, request_.dedup,
                      [&](const QString& key) { log_.record(logged, file, request_.parent, key); });
        ++(held.existed ? counts_.linked : counts_.stored);
        out_ << held.guid << "  " << entry.shown << Qt::endl;
        if (!held.existed) session_.readStored(held.guid, store, request_.reading);
    }

    void leaveOut(const Entry& entry, const QString& why) {
        ++counts_.skipped;
        err_ << Texts::tr("omitido: %1: %2").arg(entry.shown, why) << Qt::endl;
    }

    void fail(const Entry& entry, const QString& why) {
        ++counts_.failed;
        err_ << Texts::tr("no guardado: %1: %2").arg(entry.shown, why) << Qt::endl;
    }

    Session& session_;
    QTextStream& out_;
    const ImportRequest& request_;
    ImportLog log_;
    QTextStream err_{stderr};
    ImportCounts counts_;
};

}  // namespace

ImportCounts importFolder(Session& session, QTextStream& out, const ImportRequest& request) {
    requireKey(request.parent, Texts::tr("del padre"));
    // Said once here rather than for every file.
    if (request.dedup) session.requireDigests();
    const QList<Entry> entries = FolderWalk(request).entries();
    Importer importer(session, out, request);
    forEachShown(
        entries, [](const Entry& entry) { return entry.shown; }, [&](const Entry& entry) { importer.import(entry); });
    const ImportCounts& counts = importer.counts();
    QTextStream(stderr) << Texts::tr(
                               "importados de %1: %2 nuevos y %3 que ya estaban guardados, vinculados a %4; "
                               "omitidos: %5; no guardados: %6")
                               .arg(shownName(QDir(request.folder).absolutePath()), QString::number(counts.stored),
                                    QString::number(counts.linked), request.parent, QString::number(counts.skipped),
                                    QString::number(counts.failed))
                        << Qt::endl;
    return counts;
}

}  // namespace dorvanel::cli
