#include "CommonOptions.h"

namespace dorvanel::cli {

const OptionSyntax ParentTypeOption{{"parent-type"}, "TIPO", "tipo del padre; sin ella, sale de sus otros vínculos"};

const OptionSyntax DedupOption{
    {"dedup"}, {}, "si ya hay un documento con el mismo contenido, lo vincula en lugar de guardarlo otra vez"};

const OptionSyntax ParentsOption{{"parents"}, "CLAVES", "solo los documentos de esos padres, separados por comas"};
const OptionSyntax TypeFilterOption{{"type"}, "TIPO", "solo los documentos de ese tipo"};
const OptionSyntax NoSysLinksOption{{"no-sys"}, {}, "con --parents, por sus vínculos que no son del sistema"};

const OptionSyntax ScreenshotOption{{"screenshot"},
                                    "ARCHIVO",
                                    "escribe una imagen PNG del diálogo en ARCHIVO y lo cierra sin aceptarlo"};

QStringList parentsAsked(const Arguments& arguments) {
    return arguments.value(QStringLiteral("parents")).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

}  // namespace dorvanel::cli
