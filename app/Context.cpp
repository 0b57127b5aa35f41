#include "Context.h"

#include "CommandLine.h"
#include "Failure.h"
#include "Texts.h"

#include <Dorvanel/Manager.h>

#include <QDir>
#include <QStandardPaths>
#include <utility>

namespace dorvanel::cli {

namespace {

QString defaultDatabaseFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Dorvanel";
}

}  // namespace

Context::Context(QString requestedUrl, QString userName, QTextStream& stream)
    : out(stream), requestedUrl_(std::move(requestedUrl)), userName_(std::move(userName)) {}

QString Context::databaseUrl() const {
    return requestedUrl_.isEmpty() ? "sqlite:" + defaultDatabaseFolder() + "/dorvanel.sqlite" : requestedUrl_;
}

Session& Context::sessionCreating() {
    if (requestedUrl_.isEmpty()) QDir().mkpath(defaultDatabaseFolder());
    return open(MissingDatabase::Created);
}

QString Context::shownDatabaseName() const {
    return requestedUrl_.isEmpty() ? QStringLiteral("predeterminada") : shownDatabase(requestedUrl_);
}

Session& Context::open(MissingDatabase missing) {
    // SQLite would take either for a temporary database, gone when the command ends.
    if (databaseUrl() == QLatin1String("sqlite:"))
        throw UsageError{Texts::tr("la dirección sqlite: necesita la ruta del archivo (sqlite:RUTA)")};
    if (databaseUrl() == QLatin1String("sqlite::memory:"))
        throw UsageError{
            Texts::tr("sqlite::memory: es una base en memoria que se pierde al acabar la orden; "
                      "nombre un archivo (sqlite:RUTA)")};
    if (!session_) {
        session_.emplace(databaseUrl(), out, missing);
        if (!userName_.isEmpty()) session_->manager().setUserName(userName_);
    }
    return *session_;
}

}  // namespace dorvanel::cli
