#include "CommonOptions.h"

#include "DocumentReading.h"
#include "Texts.h"

namespace dorvanel::cli {

const OptionSyntax ParentTypeOption{{"parent-type"},
                                    QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "TIPO"),
                                    QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                                                      "tipo del padre; sin ella, sale de sus otros vínculos")};

const OptionSyntax DedupOption{
    {"dedup"},
    {},
    QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                      "si ya hay un documento con el mismo contenido, lo vincula en lugar de guardarlo otra vez")};

const OptionSyntax ParentsOption{{"parents"},
                                 QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "CLAVES"),
                                 QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                                                   "solo los documentos de esos padres, separados por comas")};
const OptionSyntax TypeFilterOption{{"type"},
                                    QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "TIPO"),
                                    QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "solo los documentos de ese tipo")};
const OptionSyntax NoSysLinksOption{{"no-sys"},
                                    {},
                                    QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                                                      "con --parents, por sus vínculos que no son del sistema")};

const OptionSyntax ScreenshotOption{
    {"screenshot"},
    QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "ARCHIVO"),
    QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                      "escribe una imagen PNG del diálogo en ARCHIVO y lo cierra sin aceptarlo")};

const OptionSyntax NoMiniatureOption{{"no-miniature"},
                                     {},
                                     QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                                                       "no hace la miniatura del documento (su texto sí se indexa)")};

const OptionSyntax ReadDocumentsOption{
    {"read-documents"},
    {},
    QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                      "los documentos que se agregan con el diálogo toman su miniatura (de cualquier archivo) y "
                      "su texto del programa de extracción; sin ella, solo las imágenes tienen miniatura")};

ReadingWanted readingAsked(const Arguments& arguments) {
    return {.miniature = !arguments.isSet(QStringLiteral("no-miniature")), .text = true};
}

int countAsked(const Arguments& arguments, const QString& option, int otherwise) {
    if (!arguments.isSet(option)) return otherwise;
    bool isNumber = false;
    const int count = arguments.value(option).toInt(&isNumber);
    if (!isNumber || count <= 0)
        throw UsageError{Texts::tr("la opción --%1 necesita un número mayor que cero, no «%2»")
                             .arg(option, arguments.value(option))};
    return count;
}

QStringList parentsAsked(const Arguments& arguments) {
    return arguments.value(QStringLiteral("parents")).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

}  // namespace dorvanel::cli
