#include "Command.h"
#include "CommonOptions.h"
#include "Context.h"
#include "DocumentReading.h"
#include "Failure.h"
#include "ShownTimes.h"
#include "Texts.h"

#include <Dorvanel/DocumentVersions.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace dorvanel::cli {

namespace {

// As many hexadecimal digits of a digest as tell contents apart at a glance.
constexpr qsizetype ShortDigest = 12;

void runReplace(Context& context, const Arguments& arguments) {
    const QString guid = arguments.positional(0);
    const QString file = arguments.positional(1);
    Session& session = context.session();
    const DocumentRef document = session.requireDocument(guid);
    session.requireVersions();
    const VersionChange change = session.replaceContent(guid, file);
    if (!change.added) {
        context.out << Texts::tr("Sin cambios: el archivo es el contenido actual, versión %1").arg(change.current)
                    << Qt::endl;
        return;
    }
    context.out << change.current << Qt::endl;
    session.reading().readFile(guid, file, document.type, readingAsked(arguments));
}

QString versionLine(const DocumentVersion& version) {
    return QStringLiteral("%1%2  %3  %4  %5  %6\n")
        .arg(version.current ? QStringLiteral("*") : QStringLiteral(" "))
        .arg(version.number, 3)
        .arg(shownTime(version.madeAt), version.madeBy.isEmpty() ? QStringLiteral("-") : version.madeBy)
        .arg(Texts::tr("%1 bytes").arg(version.content.size), -16)
        .arg(QString::fromLatin1(version.content.sha256.left(ShortDigest)));
}

QByteArray versionsJson(const QList<DocumentVersion>& versions) {
    QJsonArray array;
    for (const DocumentVersion& version : versions)
        array.append(QJsonObject{{QStringLiteral("version"), version.number},
                                 {QStringLiteral("madeAt"), shownTime(version.madeAt)},
                                 {QStringLiteral("madeBy"), version.madeBy},
                                 {QStringLiteral("size"), version.content.size},
                                 {QStringLiteral("sha256"), QString::fromLatin1(version.content.sha256)},
                                 {QStringLiteral("current"), version.current}});
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

void runVersions(Context& context, const Arguments& arguments) {
    const QString guid = arguments.positional(0);
    Session& session = context.session();
    if (session.requireDocument(guid).outside)
        throw Failure{Failed, Texts::tr("El documento %1 es externo: no guarda contenido ni versiones").arg(guid)};
    session.requireVersions();
    const QList<DocumentVersion> versions = documentVersions(session.connection(), guid);
    if (arguments.isSet(QStringLiteral("json"))) {
        context.out << versionsJson(versions);
        return;
    }
    for (const DocumentVersion& version : versions) context.out << versionLine(version);
}

}  // namespace

Command replaceCommand() {
    return {{"replace",
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                               "hace de ARCHIVO el contenido del documento, guardando el anterior como versión, y "
                               "escribe el número de la nueva"),
             {QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "CLAVE"), QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "ARCHIVO")},
             {NoMiniatureOption}},
            exitingZero(runReplace)};
}

Command versionsCommand() {
    return {{"versions",
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                               "lista las versiones del contenido: número, fecha, autor, tamaño y resumen; * marca "
                               "la actual"),
             {QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "CLAVE")},
             {{{"json"}, {}, QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "como arreglo JSON en lugar de texto")}}},
            exitingZero(runVersions)};
}

}  // namespace dorvanel::cli
