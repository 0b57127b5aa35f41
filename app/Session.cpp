#include "Session.h"

#include <Dorvanel/Connection.h>
#include <Dorvanel/Error.h>
#include <Dorvanel/Globals.h>
#include <Dorvanel/Keys.h>
#include <Dorvanel/MakeMiniatureFile.h>
#include <Dorvanel/Manager.h>
#include <Dorvanel/Oskel.h>
#include <Dorvanel/Recordset.h>
#include <Dorvanel/Schema.h>

#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace dorvanel::cli {

namespace {

void requireReadableFile(const QString& file) {
    const QFileInfo info(file);
    if (!info.isFile() || !info.isReadable())
        throw Error(Error::FileFailed, QStringLiteral("No existe el archivo o no se puede leer: %1").arg(file));
}

void requireParentKeys(const QStringList& parents) {
    for (const QString& parent : parents) requireKey(parent, QStringLiteral("del padre"));
}

// The connection opens first, so that a failure to open it leaves no Manager behind.
std::shared_ptr<Manager> managerOn(const QString& databaseUrl, MissingDatabase missing) {
    auto connection = missing == MissingDatabase::Created ? Connection::Open(databaseUrl)
                                                          : Connection::OpenExisting(databaseUrl);
    auto manager = Manager::Create();
    manager->SetADOCnn(std::move(connection));
    return manager;
}

// The database's URL without its password.
QString shownDatabase(const QString& databaseUrl) {
    return databaseUrl.startsWith(QLatin1String("sqlite:")) ? databaseUrl
                                                            : QUrl(databaseUrl).toDisplayString(QUrl::RemovePassword);
}

}  // namespace

void requireKey(const QString& key, const QString& what) {
    if (!HasKeyLength(key))
        throw Error(Error::InvalidArgument, QStringLiteral("La clave %1 «%2» debe tener %3 caracteres, no %4")
                                                .arg(what, key)
                                                .arg(KeyLength)
                                                .arg(key.size()));
}

FetchedDocument::~FetchedDocument() {
    if (!outside_) QFile::remove(path_);
}

Session::Session(const QString& databaseUrl, QTextStream& out, MissingDatabase missing)
    : out_(out), database_(shownDatabase(databaseUrl)), manager_(managerOn(databaseUrl, missing)) {
    previousPresenter_ =
        SetMessagePresenter([this](const QString& prompt, qint32 style, const QString& title) -> qint32 {
            shownMessage_ = prompt;
            if (watched_) return previousPresenter_(prompt, style, title);
            return style == vbYesNoStopDefaultNo ? vbNo : vbOK;
        });
    previousShower_ = SetDownloadPageShower([this](const QString& pageFile) {
        pageShown_ = true;
        if (watched_) return previousShower_(pageFile);
        out_ << QStringLiteral("Página de descarga: ") << pageFile << Qt::endl;
    });
}

Session::~Session() {
    SetDownloadPageShower(std::move(previousShower_));
    SetMessagePresenter(std::move(previousPresenter_));
    manager_.reset();
    gManager.reset();
}

void Session::createSchema() { CreateSchema(connection()); }

QString Session::store(const StoreRequest& request, const QStringList& parents, const QString& parentType) {
    requireParentKeys(parents);
    if (!request.isUrl) requireReadableFile(request.file);
    // A document that cannot be linked to every parent is not kept either.
    Connection::Transaction transaction(connection());
    resetFailure();
    // A picture gets the miniature the add dialog would give it, so that it previews alike.
    const QString miniature = request.isUrl ? QString() : MakeMiniatureFile(request.file);
    const QString guid = request.type.isEmpty()
                             ? manager_->StoreDocument(request.name, request.description, request.keywords, miniature,
                                                       request.file, request.isUrl)
                             : manager_->StoreDocumentAll(request.name, request.description, request.keywords,
                                                          miniature, request.file, request.type, request.isUrl);
    if (guid.isEmpty()) fail(QStringLiteral("No se pudo guardar el documento"));
    for (const QString& parent : parents) addLink(parent, guid, parentType, true);
    transaction.Commit();
    return guid;
}

void Session::link(const QString& parent, const QString& guid, const QString& parentType, bool sis) {
    requireKey(parent, QStringLiteral("del padre"));
    requireDocument(guid);
    addLink(parent, guid, parentType, sis);
}

void Session::addLink(const QString& parent, const QString& guid, const QString& parentType, bool sis) {
    resetFailure();
    if (!manager_->AddLink(parent, guid, parentType, sis))
        fail(QStringLiteral("La base de datos rechazó el vínculo de %1 con %2").arg(guid, parent));
}

bool Session::unlink(const QString& parent, const QString& guid) {
    requireKey(parent, QStringLiteral("del padre"));
    requireKey(guid, QStringLiteral("del documento"));
    return manager_->DeleteLink(parent, guid);
}

QStringList Session::parents(const QString& guid) {
    requireDocument(guid);
    QStringList keys = manager_->GetParentList(guid).toStringList();
    // The list ends with an empty string, and "" stands for no parents.
    keys.removeAll(QString());
    return keys;
}

DocumentListing Session::list(const ListQuery& query) {
    requireParentKeys(query.parents);
    try {
        return readListing(connection(), query);
    } catch (const Error& error) {
        throw Error(error.number(),
                    QStringLiteral("No se pudo listar los documentos de %1: %2").arg(database_, error.description()));
    }
}

FetchedDocument Session::fetch(const QString& guid) {
    const DocumentRef document = requireDocument(guid);
    const QString path = manager_->GetDocumentFile(guid);
    if (path.isEmpty()) throw Error(Error::FileFailed, QStringLiteral("El documento %1 no tiene contenido").arg(guid));
    return FetchedDocument(path, document.outside);
}

bool Session::open(const QString& guid, bool saveAs) {
    const DocumentRef document = requireDocument(guid);
    if (document.type.isEmpty())
        throw Error(Error::InvalidArgument,
                    QStringLiteral("El documento %1 no tiene tipo: no se sabe cómo abrirlo").arg(guid));
    resetFailure();
    pageShown_ = false;
    manager_->OpenDocument(document.pk, document.type, saveAs);
    if (const auto failure = reportedFailure()) throw *failure;
    return pageShown_;
}

void Session::remove(const QString& guid) {
    Connection::Transaction transaction(connection());
    for (const QString& parent : parents(guid)) manager_->DeleteLink(parent, guid);
    resetFailure();
    if (!manager_->RemoveDocument(guid)) fail(QStringLiteral("No se pudo eliminar el documento %1").arg(guid));
    transaction.Commit();
}

bool Session::add(const QString& parents, const QString& file, const QString& parentType) {
    resetFailure();
    return manager_->AddDocumentDlg(parents, parentType, file);
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

DocumentRef Session::requireDocument(const QString& guid) {
    requireKey(guid, QStringLiteral("del documento"));
    const auto rows =
        connection().Execute(QStringLiteral("SELECT Sys_PK, TypeData, storeout FROM Docs WHERE Sys_GUID = ?"), {guid});
    if (!rows || rows->Eof())
        throw Error(Error::NoCurrentRecord, QStringLiteral("No existe el documento %1").arg(guid));
    return DocumentRef{rows->Fields(QStringLiteral("Sys_PK")).toInt(),
                       rows->Fields(QStringLiteral("TypeData")).toString(),
                       rows->Fields(QStringLiteral("storeout")).toLongLong() != 0};
}

void Session::resetFailure() {
    manager_->SetLastErr(0);
    manager_->SetLastErrDescrip(QString());
    shownMessage_.clear();
}

std::optional<Error> Session::reportedFailure() const {
    if (manager_->LastErr() != 0) return Error(manager_->LastErr(), manager_->LastErrDescrip());
    if (!shownMessage_.isEmpty()) return Error(Error::Unexpected, shownMessage_);
    return std::nullopt;
}

void Session::fail(const QString& otherwise) const {
    throw reportedFailure().value_or(Error(Error::Unexpected, otherwise));
}

Connection& Session::connection() const { return *manager_->ADOCnn(); }

}  // namespace dorvanel::cli
