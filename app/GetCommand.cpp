#include "Command.h"
#include "CommonOptions.h"
#include "ContentCopy.h"
#include "Context.h"
#include "DatabaseFiles.h"
#include "Texts.h"

#include <QIODevice>

namespace dorvanel::cli {

namespace {

// The content goes from the database straight to its destination, with no copy on the way.
void runGet(Context& context, const Arguments& arguments) {
    const QString guid = arguments.positional(0);
    const QString target = arguments.value(QStringLiteral("o"));
    if (arguments.isSet(QStringLiteral("o")) && target.isEmpty())
        throw UsageError{
            Texts::tr("la opción -o necesita el nombre de un archivo; sin ella, get escribe en la "
                      "salida estándar")};
    Session& session = context.session();
    const DocumentRef document = session.requireDocument(guid);
    const int version = countAsked(arguments, QStringLiteral("version"), 0);  // 0: the current content
    if (document.outside && version == 0) {
        context.out << document.location << Qt::endl;
        if (!target.isEmpty())
            QTextStream(stderr) << Texts::tr("Es un documento externo: no se escribió %1").arg(target) << Qt::endl;
        return;
    }
    if (version > 0) session.requireVersions();
    const ContentWriter copy = [&](QIODevice& to, const QString& name) {
        if (version > 0) {
            session.copyVersion(guid, version, to, name);
        } else {
            session.copyContent(guid, to, name);
        }
    };
    if (target.isEmpty()) {
        context.out.flush();
        writeToStandardOutput(copy);
    } else {
        if (const QString url = context.databaseUrl(); url.startsWith(QLatin1String("sqlite:")))
            refuseDatabaseFile(target, url.mid(7));
        writeToFile(target, copy);
    }
}

}  // namespace

Command getCommand() {
    return {{"get",
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "escribe el contenido o, si es externo, su dirección"),
             {QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "CLAVE")},
             {{{"o"},
               QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "ARCHIVO"),
               QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "escribe en ARCHIVO y no en la salida estándar")},
              {{"version"},
               QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "N"),
               QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "escribe la versión N del contenido (véase versions)")}}},
            exitingZero(runGet)};
}

}  // namespace dorvanel::cli
