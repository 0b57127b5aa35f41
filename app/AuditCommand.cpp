#include "Command.h"
#include "Context.h"
#include "ShownTimes.h"
#include "Texts.h"

#include <Dorvanel/AuditLog.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace dorvanel::cli {

namespace {

const QString VerifyWord = QStringLiteral("verify");

QString spanishAction(const QString& action) {
    static const QHash<QString, const char*> names{
        {QStringLiteral("stored"), QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "guardado")},
        {QStringLiteral("edited"), QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "editado")},
        {QStringLiteral("replaced"), QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "reemplazado")},
        {QStringLiteral("linked"), QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "vinculado")},
        {QStringLiteral("unlinked"), QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "desvinculado")},
        {QStringLiteral("removed"), QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "a la papelera")},
        {QStringLiteral("restored"), QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "restaurado")},
        {QStringLiteral("purged"), QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "eliminado")},
    };
    const auto name = names.constFind(action);
    return name == names.cend() ? action : translated(QString::fromUtf8(*name));
}

// SQLite has no users: a plain client's entry names nobody.
QString shownWho(const QString& who) { return who.isEmpty() ? Texts::tr("(SQL directo)") : who; }

QString entryLine(const AuditEntry& entry) {
    const QString position = entry.entry > 0 ? QString::number(entry.entry) : Texts::tr("pendiente");
    return QStringList{position.rightJustified(9),
                       shownTime(entry.at),
                       shownWho(entry.who),
                       spanishAction(entry.action),
                       entry.document,
                       entry.parent.isEmpty() ? QStringLiteral("-") : entry.parent,
                       entry.sha256.isEmpty() ? QStringLiteral("-") : entry.sha256.left(12)}
               .join(u' ') +
           u'\n';
}

QByteArray entriesJson(const QList<AuditEntry>& entries) {
    QJsonArray array;
    for (const AuditEntry& entry : entries)
        array.append(QJsonObject{{QStringLiteral("entry"), entry.entry > 0 ? QJsonValue(entry.entry) : QJsonValue()},
                                 {QStringLiteral("at"), shownTime(entry.at)},
                                 {QStringLiteral("who"), entry.who},
                                 {QStringLiteral("action"), entry.action},
                                 {QStringLiteral("document"), entry.document},
                                 {QStringLiteral("parent"), entry.parent},
                                 {QStringLiteral("sha256"), entry.sha256}});
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

QDateTime sinceOf(const QString& text) {
    if (text.isEmpty()) return {};
    QDateTime since = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!since.isValid()) since = QDate::fromString(text, Qt::ISODate).startOfDay();
    if (!since.isValid())
        throw UsageError{
            Texts::tr("--since espera una fecha u hora ISO 8601 (2026-12-06 o 2026-12-06T10:00:00+01:00): %1")
                .arg(text)};
    return since;
}

QString faultText(const AuditVerdict& verdict) {
    switch (verdict.fault) {
    case AuditVerdict::Fault::Altered:
        return Texts::tr("entrada %1 alterada: su hash no corresponde a sus datos o a su posición");
    case AuditVerdict::Fault::Removed:
        return Texts::tr("falta la entrada %1: la siguiente no encadena con la anterior");
    case AuditVerdict::Fault::Inserted:
        return Texts::tr(
            "entrada %1 insertada: las de alrededor encadenan sin ella, o se escribió sin sellar entre "
            "las selladas");
    case AuditVerdict::Fault::Reordered: return Texts::tr("entrada %1 fuera de orden: encadena con una posterior");
    case AuditVerdict::Fault::None: break;
    }
    return {};
}

int verify(Context& context) {
    const AuditVerdict verdict = verifyAuditLog(context.session().connection());
    if (!verdict.intact()) {
        context.out << Texts::tr("registro de cambios dañado: ") << faultText(verdict).arg(verdict.position) << '\n';
        return 1;
    }
    context.out << Texts::tr("íntegro: %1 entradas, último hash %2").arg(verdict.entries).arg(verdict.lastHash);
    if (verdict.pending > 0) context.out << Texts::tr(" (%1 pendientes de sellar)").arg(verdict.pending);
    context.out << '\n';
    return 0;
}

int runAudit(Context& context, const Arguments& arguments) {
    Session& session = context.session();
    session.requireAuditLog();
    const QString first = arguments.positional(0);
    if (first == VerifyWord) return verify(context);
    if (!first.isEmpty()) requireKey(first, Texts::tr("del documento"));
    const QList<AuditEntry> entries = auditEntries(session.connection(), first,
                                                   sinceOf(arguments.value(QStringLiteral("since"))));
    if (arguments.isSet(QStringLiteral("json"))) {
        context.out << entriesJson(entries);
        return 0;
    }
    for (const AuditEntry& entry : entries) context.out << entryLine(entry);
    return 0;
}

}  // namespace

Command auditCommand() {
    return {{"audit",
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                               "lista el registro de cambios (todo, o el del documento); «audit verify» comprueba su "
                               "cadena y sale con 1 si está dañada"),
             {},
             {{{"since"},
               QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "FECHA"),
               QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "solo las entradas desde esa fecha u hora (ISO 8601)")},
              {{"json"}, {}, QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "como arreglo JSON en lugar de texto")}},
             {QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "CLAVE|verify")}},
            runAudit};
}

}  // namespace dorvanel::cli
