#include "Command.h"
#include "CommonOptions.h"
#include "Context.h"
#include "ShownTimes.h"
#include "TerminalText.h"
#include "Texts.h"

#include <Dorvanel/Trash.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace dorvanel::cli {

namespace {

QString removedAtText(const TrashedDocument& document) { return shownTime(document.removedAt); }

QStringList parentsOf(const TrashedDocument& document) {
    QStringList parents;
    for (const TrashedLink& link : document.links) parents << link.parent;
    return parents;
}

QByteArray trashJson(const QList<TrashedDocument>& documents) {
    QJsonArray array;
    for (const TrashedDocument& document : documents) {
        QJsonArray links;
        for (const TrashedLink& link : document.links)
            links.append(QJsonObject{{QStringLiteral("parent"), link.parent},
                                     {QStringLiteral("parentType"), link.parentType},
                                     {QStringLiteral("sis"), link.sis}});
        array.append(QJsonObject{{QStringLiteral("guid"), document.guid},
                                 {QStringLiteral("name"), document.name},
                                 {QStringLiteral("type"), document.typeData},
                                 {QStringLiteral("size"), document.size},
                                 {QStringLiteral("removedAt"), removedAtText(document)},
                                 {QStringLiteral("removedBy"), document.removedBy},
                                 {QStringLiteral("links"), links}});
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

// One line a document: key, when and by whom it was removed, its name, the parents it returns to.
QString trashText(const QList<TrashedDocument>& documents) {
    if (documents.isEmpty()) return Texts::tr("La papelera está vacía") + QLatin1Char('\n');
    QString text;
    for (const TrashedDocument& document : documents)
        text += QStringList{document.guid, removedAtText(document), terminalText(document.removedBy),
                            terminalText(document.name), parentsOf(document).join(QLatin1Char(','))}
                    .join(QLatin1Char('\t')) +
                QLatin1Char('\n');
    return text;
}

void runTrash(Context& context, const Arguments& arguments) {
    Session& session = context.session();
    session.requireTrash();
    const QList<TrashedDocument> documents = trashedDocuments(session.connection());
    if (arguments.isSet(QStringLiteral("json"))) {
        context.out << trashJson(documents);
    } else {
        context.out << trashText(documents);
    }
}

void runPurge(Context& context, const Arguments& arguments) {
    const QString option = QStringLiteral("older-than");
    const std::optional<int> days = arguments.isSet(option) ? std::optional<int>(countAsked(arguments, option, 0))
                                                            : std::nullopt;
    Session& session = context.session();
    session.requireTrash();
    const qint32 purged = purgeTrash(session.connection(), days);
    context.out << Texts::tr("Documentos eliminados para siempre: %1").arg(purged) << Qt::endl;
}

}  // namespace

Command trashCommand() {
    return {{"trash",
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                               "lista la papelera: clave, cuándo y quién eliminó cada documento, su nombre y los "
                               "padres a los que vuelve"),
             {},
             {{{"json"}, {}, QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "como arreglo JSON en lugar de texto")}}},
            exitingZero(runTrash)};
}

Command purgeCommand() {
    return {{"purge",
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "elimina para siempre lo que hay en la papelera"),
             {},
             {{{"older-than"},
               QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "DÍAS"),
               QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "solo lo que se eliminó hace más de DÍAS días")}}},
            exitingZero(runPurge)};
}

}  // namespace dorvanel::cli
