#pragma once

#include <Dorvanel/DownloadPage.h>
#include <Dorvanel/Error.h>
#include <Dorvanel/ListDocuments.h>
#include <Dorvanel/MessageBox.h>

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <memory>
#include <optional>

class QIODevice;

namespace dorvanel {
class Connection;
class Manager;
struct VersionChange;
}  // namespace dorvanel

namespace dorvanel::cli {

class DocumentReading;
struct ReadingWanted;

struct StoreRequest {
    QString file;  // a path, or with isUrl the outside location
    QString name;
    QString description;
    QString keywords;
    QString type;  // empty: taken from the file's extension
    bool isUrl = false;
};

struct FindQuery {
    QStringList parents;  // none: every document
    QString type;
    bool noSys = false;
    bool miniatures = false;  // clicking a document shows its miniature
};

// A stored document as the host finds it by its key.
struct DocumentRef {
    qint32 pk = 0;
    QString type;
    bool outside = false;
    QString location;  // an outside document's
    QString name;
};

// What opening a database does when its SQLite file is missing: only the commands that make a
// database create one.
enum class MissingDatabase { Refused, Created };

// The component on one database. Runs the Manager's operations and raises each failure as an
// Error, whichever way the component reports it.
class Session {
public:
    Session(const QString& databaseUrl, QTextStream& out, MissingDatabase missing);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // While someone watches the dialogs, the component's message boxes and download pages show
    // as its own windows. Otherwise a message is only kept, as the failure it may report, and a
    // question is answered No; a download page is announced on out.
    void setWatched(bool watched) { watched_ = watched; }

    void createSchema();
    // Stores the document and links it to every parent, all or nothing; gives its key. A file
    // that is not a regular one, or larger than the database takes, is refused before anything
    // is written. alongside runs with the new key before the whole is committed, as part of it.
    QString store(const StoreRequest& request, const QStringList& parents = {}, const QString& parentType = {},
                  const std::function<void(const QString& guid)>& alongside = {});
    // Gives the document the request stored, once committed, the parts wanted: its miniature
    // and its text, read by the extraction program (see DocumentReading). A part that cannot be
    // made is a note on standard error; nothing here raises.
    void readStored(const QString& guid, const StoreRequest& request, const ReadingWanted& wanted);
    // Makes the file the document's content, keeping the one it had as a version under the
    // Manager's user name. The file is checked as store checks one.
    VersionChange replaceContent(const QString& guid, const QString& file);
    // Copies that version of the document's content to target as it is read; raises Failure
    // NotFound when the document has no such version.
    void copyVersion(const QString& guid, qint32 number, QIODevice& target, const QString& targetName);
    // Reads stored documents, with one extraction program for the whole session.
    DocumentReading& reading();
    // Links the document to the parent unless they are linked already; false when they were.
    bool link(const QString& parent, const QString& guid, const QString& parentType, bool sis);
    // False when there was no such link.
    bool unlink(const QString& parent, const QString& guid);
    QStringList parents(const QString& guid);
    // The documents the query names, all read in one snapshot of the database; a failure is
    // told as the listing's of this database.
    DocumentListing list(ListingQuery query);
    // Copies the stored document's content to target as it is read from the database; the
    // caller has required the document already.
    void copyContent(const QString& guid, QIODevice& target, const QString& targetName);
    // True when the document was offered on a download page rather than handed to the desktop.
    // With saveAs the page links to a content file of its own (see writePageContent).
    bool open(const QString& guid, bool saveAs);
    // Unlinks the document from every parent and deletes it.
    void remove(const QString& guid);
    // Shows the add dialog for the parents ("," separated), with the file proposed when one is
    // given; true when the user stored the document and it was linked to every parent.
    bool add(const QString& parents, const QString& file, const QString& parentType);
    // Has the dialogs' stores read each document through the extraction program: every file's
    // miniature and its text for the word index (the Manager's documentMiniatures and
    // indexesContent). Off, they keep the component's documented miniatures of pictures only.
    void setReadsDocuments(bool reads);
    // Shows the edit dialog on the document; true when the user saved it. A save the record
    // refused is raised.
    bool edit(const QString& guid);
    // Shows the find dialog on the documents the query names; gives the key of the one the
    // user chose, or "" when the dialog was cancelled.
    QString find(const FindQuery& query);
    // Shows the browse dialog on the documents linked to the parents ("," separated), captioned
    // with info; the documents the user adds there get parentType.
    void browse(const QString& parents, const QString& info, const QString& parentType);
    // The name the services object proposes for a document made from this file.
    QString proposedName(const QString& file);

    DocumentRef requireDocument(const QString& guid);
    // Raise a Failure when the database lacks the word index, or the contents' digests, that init
    // adds beside the documented tables (it was made by an earlier version, or by the host itself).
    void requireWordIndex();
    void requireDigests();
    // The same when it lacks the table of the contents' texts, or the record of changes.
    void requireDocumentTexts();
    void requireAuditLog();
    // The same when it lacks the trash's tables.
    void requireTrash();
    // The same when it lacks the tables of the contents' versions.
    void requireVersions();
    // Whether the database keeps the contents' digests.
    bool keepsDigests();
    // The database itself, for the operations that take it rather than the Manager.
    Connection& connection() const;
    // The component, for its settings: the name changes are recorded under, the trash.
    Manager& manager() const { return *manager_; }

private:
    void addLink(const QString& parent, const QString& guid, const QString& parentType, bool sis);
    void offerOnPage(const QString& guid, const DocumentRef& document);
    void resetFailure();
    // What the last call reported through LastErr or a message box, if anything.
    std::optional<Error> reportedFailure() const;
    [[noreturn]] void fail(const QString& otherwise) const;

    QTextStream& out_;
    QString database_;  // as messages name it
    std::shared_ptr<Manager> manager_;
    std::unique_ptr<DocumentReading> reading_;
    QString shownMessage_;
    bool pageShown_ = false;
    bool watched_ = false;
    MessagePresenter previousPresenter_;
    DownloadPageShower previousShower_;
};

// Raises a UsageError unless key has the 32 characters of a key; what names it.
void requireKey(const QString& key, const QString& what);
void requireParentKeys(const QStringList& parents);

}  // namespace dorvanel::cli
