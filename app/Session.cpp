#include "Session.h"

#include "CommandLine.h"
#include "DocumentReading.h"
#include "Failure.h"
#include "LocalFile.h"
#include "PageContent.h"
#include "Texts.h"

#include <Dorvanel/AuditLog.h>
#include <Dorvanel/Connection.h>
#include <Dorvanel/DocumentContent.h>
#include <Dorvanel/DocumentVersions.h>
#include <Dorvanel/Error.h>
#include <Dorvanel/FindDocumentsByWords.h>
#include <Dorvanel/Globals.h>
#include <Dorvanel/Keys.h>
#include <Dorvanel/Manager.h>
#include <Dorvanel/Oskel.h>
#include <Dorvanel/Recordset.h>
#include <Dorvanel/Schema.h>
#include <Dorvanel/Trash.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <QUrl>
#include <optional>

namespace dorvanel::cli {

namespace {

const QString DigestsTable = QStringLiteral("DocDigests");

// The database must be able to hold the whole file; the engine would refuse it only once it
// had been read in.
void requireStorable(const LocalFile& file, Connection& connection) {
    if (!file.isRegular())
        throw Failure{Failed, Texts::tr("%1 no es un archivo regular (es una carpeta, un FIFO o un dispositivo)")
                                  .arg(shownName(file.path()))};
    const qint64 largest = connection.largestValue();
    if (file.size() > largest)
        throw Failure{NoRoom, Texts::tr("%1 ocupa %2 bytes y la base de datos guarda como mucho %3 bytes por "
                                        "documento (%4)")
                                  .arg(shownName(file.path()))
                                  .arg(file.size())
                                  .arg(largest)
                                  .arg(connection.engine() == Connection::Engine::Sqlite
                                           ? Texts::tr("límite de SQLite")
                                           : Texts::tr("límite de bytea en PostgreSQL"))};
}

// what names what the database lacks, and where the name of the table or function that holds it.
void requireAdded(bool present, const QString& what, const QString& where) {
    if (!present)
        throw Failure{Failed, Texts::tr("La base de datos no tiene %1 (%2): la hizo una versión anterior u otro "
                                        "programa. «dorvanel init» la añade sin tocar lo que guarda")
                                  .arg(what, where)};
}

// The connection opens first, so that a failure to open it leaves no Manager behind.
std::shared_ptr<Manager> managerOn(const QString& databaseUrl, MissingDatabase missing) {
    auto connection = missing == MissingDatabase::Created ? Connection::open(databaseUrl)
                                                          : Connection::openExisting(databaseUrl);
    auto manager = Manager::create();
    manager->SetADOCnn(std::move(connection));
    manager->setDragAndDrop(true);
    return manager;
}

}  // namespace

void requireKey(const QString& key, const QString& what) {
    if (!hasKeyLength(key))
        throw UsageError{Texts::tr("la clave %1 «%2» debe tener %3 caracteres, no %4")
                             .arg(what, key)
                             .arg(KeyLength)
                             .arg(key.size())};
}

void requireParentKeys(const QStringList& parents) {
    for (const QString& parent : parents) requireKey(parent, Texts::tr("del padre"));
}

Session::Session(const QString& databaseUrl, QTextStream& out, MissingDatabase missing)
    : out_(out), database_(shownDatabase(databaseUrl)), manager_(managerOn(databaseUrl, missing)) {
    previousPresenter_ =
        setMessagePresenter([this](const QString& prompt, qint32 style, const QString& title) -> qint32 {
            shownMessage_ = prompt;
            if (watched_) return previousPresenter_(prompt, style, title);
            return asksYesNo(style) ? vbNo : vbOK;
        });
    previousShower_ = setDownloadPageShower([this](const QString& pageFile) {
        pageShown_ = true;
        if (watched_) return previousShower_(pageFile);
        out_ << Texts::tr("Página de descarga: ") << pageFile << Qt::endl;
    });
}

Session::~Session() {
    reading_.reset();
    setDownloadPageShower(std::move(previousShower_));
    setMessagePresenter(std::move(previousPresenter_));
    manager_.reset();
    gManager.reset();
}

// A database that gains its record of changes here records this session's writes from now on.
void Session::createSchema() {
    dorvanel::createSchema(connection());
    attachAuditUser(connection(), manager_->userName());
}

QString Session::store(const StoreRequest& request, const QStringList& parents, const QString& parentType,
                       const std::function<void(const QString& guid)>& alongside) {
    requireParentKeys(parents);
    std::optional<LocalFile> file;
    if (!request.isUrl) requireStorable(file.emplace(request.file), connection());
    const QString source = file ? file->readablePath() : request.file;
    // A document that cannot be linked to every parent is not kept either.
    Connection::Transaction transaction(connection());
    resetFailure();
    const QString guid = request.type.isEmpty()
                             ? manager_->StoreDocument(request.name, request.description, request.keywords, QString(),
                                                       source, request.isUrl)
                             : manager_->StoreDocumentAll(request.name, request.description, request.keywords,
                                                          QString(), source, request.type, request.isUrl);
    if (guid.isEmpty()) fail(Texts::tr("No se pudo guardar el documento"));
    for (const QString& parent : parents) addLink(parent, guid, parentType, true);
    if (alongside) alongside(guid);
    transaction.commit();
    return guid;
}

void Session::readStored(const QString& guid, const StoreRequest& request, const ReadingWanted& wanted) {
    if (request.isUrl || !(wanted.miniature || wanted.text)) return;
    const QString typeCode = request.type.isEmpty() ? gOskel->FileExtension(request.file) : request.type;
    reading().readFile(guid, request.file, typeCode, wanted);
}

VersionChange Session::replaceContent(const QString& guid, const QString& file) {
    const LocalFile local(file);
    requireStorable(local, connection());
    return replaceDocumentContent(connection(), guid, local.readablePath(), manager_->userName());
}

void Session::copyVersion(const QString& guid, qint32 number, QIODevice& target, const QString& targetName) {
    if (!copyDocumentVersion(connection(), guid, number, target, targetName))
        throw Failure{NotFound, Texts::tr("El documento %1 no tiene la versión %2").arg(guid).arg(number)};
}

DocumentReading& Session::reading() {
    if (!reading_) reading_ = std::make_unique<DocumentReading>(connection());
    return *reading_;
}

bool Session::link(const QString& parent, const QString& guid, const QString& parentType, bool sis) {
    requireKey(parent, Texts::tr("del padre"));
    requireDocument(guid);
    // The component's AddLink adds a row for every call; from here a link is made once.
    Connection::Transaction transaction(connection());
    if (parents(guid).contains(parent)) return false;
    addLink(parent, guid, parentType, sis);
    transaction.commit();
    return true;
}

void Session::addLink(const QString& parent, const QString& guid, const QString& parentType, bool sis) {
    resetFailure();
    if (manager_->AddLink(parent, guid, parentType, sis)) return;
    if (manager_->LastErr() == Error::NoParentType)
        throw UsageError{Texts::tr("el padre %1 aún no tiene vínculos de los que tomar su tipo: indique "
                                   "--parent-type TIPO")
                             .arg(parent)};
    fail(Texts::tr("La base de datos rechazó el vínculo de %1 con %2").arg(guid, parent));
}

bool Session::unlink(const QString& parent, const QString& guid) {
    requireKey(parent, Texts::tr("del padre"));
    requireKey(guid, Texts::tr("del documento"));
    return manager_->DeleteLink(parent, guid);
}

QStringList Session::parents(const QString& guid) {
    requireDocument(guid);
    QStringList keys = manager_->GetParentList(guid).toStringList();
    // The list ends with an empty string, and "" stands for no parents.
    keys.removeAll(QString());
    return keys;
}

DocumentListing Session::list(ListingQuery query) {
    requireParentKeys(query.parents);
    query.readOnlySnapshot = true;
    try {
        return listDocuments(connection(), query);
    } catch (const Error& error) {
        throw error.retold(Texts::tr("No se pudo listar los documentos de %1: %2").arg(database_, error.description()));
    }
}

void Session::copyContent(const QString& guid, QIODevice& target, const QString& targetName) {
    if (!copyDocumentContent(connection(), guid, target, targetName))
        throw Failure{NotFound, Texts::tr("El documento %1 no tiene contenido").arg(guid)};
}

bool Session::open(const QString& guid, bool saveAs) {
    const DocumentRef document = requireDocument(guid);
    if (document.type.isEmpty())
        throw Failure{Failed, Texts::tr("El documento %1 no tiene tipo: no se sabe cómo abrirlo").arg(guid)};
    resetFailure();
    pageShown_ = false;
    if (saveAs) {
        offerOnPage(guid, document);
    } else {
        manager_->OpenDocument(document.pk, document.type, saveAs);
        // The services object tells a desktop's refusal in a message box, whose question (save it
        // from the download page?) nobody here answers: its first line is why, the way out follows.
        if (!pageShown_ && manager_->LastErr() == 0 && !shownMessage_.isEmpty())
            throw Failure{Failed, Texts::tr("%1 Para guardarlo: dorvanel get %2 -o ARCHIVO, o dorvanel download %2")
                                      .arg(shownMessage_.section(QLatin1Char('\n'), 0, 0), guid)};
    }
    if (const auto failure = reportedFailure()) throw *failure;
    return pageShown_;
}

// The component's own procedure would link every page of a type to one "temp." file, which the
// next download of that type overwrites; the page is made from a content of its own instead.
void Session::offerOnPage(const QString& guid, const DocumentRef& document) {
    if (document.outside) return manager_->SaveAs(document.location);
    const QString content =
        writePageContent(gOskel->WorkFolder(), document.name, document.type,
                         [&](QIODevice& target, const QString& targetName) { copyContent(guid, target, targetName); });
    manager_->SaveAs(content);
    // Kept only for a page printed for later: one someone watched has been closed, and a page
    // that could not be written links nowhere.
    if (watched_ || !pageShown_) QDir(QFileInfo(content).path()).removeRecursively();
}

void Session::remove(const QString& guid) {
    Connection::Transaction transaction(connection());
    for (const QString& parent : parents(guid)) manager_->DeleteLink(parent, guid);
    resetFailure();
    if (!manager_->RemoveDocument(guid)) fail(Texts::tr("No se pudo eliminar el documento %1").arg(guid));
    transaction.commit();
}

bool Session::add(const QString& parents, const QString& file, const QString& parentType) {
    resetFailure();
    return manager_->AddDocumentDlg(parents, parentType, file);
}

void Session::setReadsDocuments(bool reads) {
    manager_->setDocumentMiniatures(reads);
    manager_->setIndexesContent(reads);
}

bool Session::edit(const QString& guid) {
    requireDocument(guid);
    resetFailure();
    const bool saved = manager_->EditDocumentDlg(guid);
    if (const auto failure = reportedFailure(); failure && !saved) throw *failure;
    return saved;
}

QString Session::find(const FindQuery& query) {
    requireParentKeys(query.parents);
    return manager_->SelectDocDlg(query.parents.join(QLatin1Char(',')), QString(), query.type, !query.miniatures,
                                  query.noSys);
}

void Session::browse(const QString& parents, const QString& info, const QString& parentType) {
    requireParentKeys(parents.split(QLatin1Char(',')));
    manager_->BrowseDlg(parents, info, parentType);
}

QString Session::proposedName(const QString& file) { return gOskel->FileBaseName(file); }

void Session::requireWordIndex() {
    requireAdded(hasWordIndex(connection()), Texts::tr("índice de palabras"),
                 connection().engine() == Connection::Engine::Sqlite ? Texts::tr("la tabla DocWords")
                                                                     : Texts::tr("la función Docs_Words"));
}

void Session::requireDigests() {
    requireAdded(keepsDigests(), Texts::tr("resúmenes de contenido"), Texts::tr("la tabla ") + DigestsTable);
}

void Session::requireTrash() {
    requireAdded(keepsTrash(connection()), Texts::tr("papelera"), Texts::tr("las tablas DocsTrash y DocLinkTrash"));
}

void Session::requireAuditLog() {
    requireAdded(connection().hasTable(QStringLiteral("DocAudit")), Texts::tr("registro de cambios"),
                 Texts::tr("la tabla DocAudit"));
}

void Session::requireDocumentTexts() {
    requireAdded(connection().hasTable(QStringLiteral("DocText")), Texts::tr("textos de los contenidos"),
                 Texts::tr("la tabla DocText"));
}

void Session::requireVersions() {
    requireAdded(connection().hasTable(QStringLiteral("DocVersions")), Texts::tr("versiones de los contenidos"),
                 Texts::tr("la tabla DocVersions"));
}

bool Session::keepsDigests() { return connection().hasTable(DigestsTable); }

DocumentRef Session::requireDocument(const QString& guid) {
    requireKey(guid, Texts::tr("del documento"));
    const auto rows = connection().Execute(
        QStringLiteral("SELECT Sys_PK, TypeData, storeout, urlfile, Name FROM Docs WHERE Sys_GUID = ?"), {guid});
    if (!rows || rows->Eof()) throw Failure{NotFound, Texts::tr("No existe el documento %1").arg(guid)};
    return DocumentRef{rows->value(QStringLiteral("Sys_PK")).toInt(),
                       rows->value(QStringLiteral("TypeData")).toString(),
                       rows->value(QStringLiteral("storeout")).toLongLong() != 0,
                       rows->value(QStringLiteral("urlfile")).toString(),
                       rows->value(QStringLiteral("Name")).toString()};
}

void Session::resetFailure() {
    manager_->SetLastErr(0);
    manager_->SetLastErrDescrip(QString());
    shownMessage_.clear();
}

std::optional<Error> Session::reportedFailure() const {
    if (manager_->LastErr() != 0)
        return Error(manager_->LastErr(), manager_->LastErrDescrip(), manager_->lastErrCauses());
    if (!shownMessage_.isEmpty()) return Error(Error::Unexpected, shownMessage_, manager_->lastErrCauses());
    return std::nullopt;
}

void Session::fail(const QString& otherwise) const {
    throw reportedFailure().value_or(Error(Error::Unexpected, otherwise));
}

Connection& Session::connection() const { return *manager_->ADOCnn(); }

}  // namespace dorvanel::cli
