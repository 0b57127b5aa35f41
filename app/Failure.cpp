#include "Failure.h"
#include "Texts.h"

#include <Dorvanel/Error.h>

#include <QStringList>
#include <QUrl>
#include <QUrlQuery>
#include <optional>
#include <utility>

namespace dorvanel::cli {

namespace {

// One kind of failure: the causes that make it, and how it is told.
struct Kind {
    QStringList causes;
    ExitStatus status;
    QString words;  // %1: the database
    QString advice = {};
};

const QList<Kind>& kinds() {
    static const QList<Kind> table{
        {{"SQLITE_BUSY", "SQLITE_LOCKED", "SQLSTATE 55P03", "SQLSTATE 40P01"},
         DatabaseBusy,
         Texts::tr("base de datos %1 ocupada por otro proceso"),
         Texts::tr("no se liberó en el tiempo de espera: vuelva a intentarlo")},
        {{"ENOSPC", "EDQUOT", "SQLITE_FULL", "SQLSTATE 53100"}, NoRoom, Texts::tr("disco lleno")},
        {{"SQLITE_TOOBIG", "SQLSTATE 54000"}, NoRoom, Texts::tr("el documento no cabe en la base de datos %1")},
        {{"EACCES", "EPERM", "EROFS", "SQLITE_READONLY", "SQLITE_PERM", "SQLSTATE 42501"},
         Failed,
         Texts::tr("permiso denegado")},
        {{"ENOENT", "ENOTDIR"}, NotFound, Texts::tr("no existe")},
        {{"SQLITE_CORRUPT", "SQLITE_NOTADB"}, Failed, Texts::tr("%1 está dañada o no es una base SQLite")},
        {{"SQLITE_CANTOPEN"}, DatabaseUnavailable, Texts::tr("no se pudo abrir la base de datos %1")},
        {{"SQLSTATE 08000", "SQLSTATE 08003", "SQLSTATE 08006", "SQLSTATE 57P01", "SQLSTATE 57P02", "SQLSTATE 57P03"},
         DatabaseUnavailable,
         Texts::tr("se perdió la conexión con %1")},
    };
    return table;
}

// The most telling of the error's causes that a kind is known for: the system's, when the
// engine's came from it.
std::optional<std::pair<const Kind*, QString>> kindOf(const QStringList& causes) {
    for (auto cause = causes.crbegin(); cause != causes.crend(); ++cause)
        for (const Kind& kind : kinds())
            if (kind.causes.contains(*cause)) return std::pair{&kind, *cause};
    return std::nullopt;
}

// The description without the causes' names that end it, since the message names the cause.
QString withoutCauses(const Error& error) {
    const QString ending = QStringLiteral(" (%1)").arg(error.causes().join(QStringLiteral(", ")));
    const QString& description = error.description();
    return description.endsWith(ending) ? description.chopped(ending.size()) : description;
}

// The component's own number helps whoever reads the message to the developers. The numbers
// that stand for "unexpected", "statement refused" or "cannot open" say nothing the text does
// not, and an engine's number is told by its cause's name.
QString shownNumber(const Error& error) {
    if (error.number() < 0 || !error.causes().isEmpty()) return {};
    return Texts::tr(" [error %1]").arg(error.number());
}

}  // namespace

QString shownDatabase(const QString& url) {
    if (url.startsWith(QLatin1String("sqlite:"))) return url.mid(7);
    QUrl shown(url);
    QUrlQuery query(shown);
    query.removeAllQueryItems(QStringLiteral("password"));
    shown.setQuery(query);
    return shown.toDisplayString(QUrl::RemovePassword);
}

Failure failureOf(const Error& error, const QString& database) {
    const QString number = shownNumber(error);
    if (const auto found = kindOf(error.causes())) {
        const auto& [kind, cause] = *found;
        const QString words = kind->words.contains(QLatin1String("%1")) ? kind->words.arg(database) : kind->words;
        const QString advice = kind->advice.isEmpty() ? QString() : QStringLiteral("; ") + kind->advice;
        return {kind->status, QStringLiteral("%1 (%2): %3").arg(words, cause, withoutCauses(error)) + advice + number};
    }
    if (error.number() == Error::OpenFailed)
        return {DatabaseUnavailable, Texts::tr("base de datos %1: %2").arg(database, error.description())};
    if (error.number() == Error::NoCurrentRecord) return {NotFound, error.description() + number};
    return {Failed, error.description() + number};
}

}  // namespace dorvanel::cli
