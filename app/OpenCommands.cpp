#include "Command.h"
#include "Context.h"
#include "Dialogs.h"
#include "Texts.h"

namespace dorvanel::cli {

namespace {

// Handing a picture to the desktop needs one; without a display nothing would open.
void openDocument(Context& context, const Arguments& arguments, bool saveAs) {
    const QString guid = arguments.positional(0);
    if (!saveAs) requireDesktop(Texts::tr("dorvanel get %1 -o ARCHIVO, o dorvanel download %1").arg(guid));
    // A download page shows as a window where someone sees it; otherwise its path is printed.
    context.session().setWatched(windowsAreSeen());
    if (!context.session().open(guid, saveAs))
        context.out << Texts::tr("Documento %1 entregado al escritorio para abrirlo").arg(guid) << Qt::endl;
}

}  // namespace

Command openCommand() {
    return {{"open",
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                               "abre una imagen en el escritorio; lo demás, como download (necesita pantalla)"),
             {QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "CLAVE")}},
            exitingZero([](Context& context, const Arguments& arguments) { openDocument(context, arguments, false); }),
            Shows::Windows};
}

Command downloadCommand() {
    return {{"download",
             QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "ofrece el documento en una página de descarga"),
             {QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "CLAVE")}},
            exitingZero([](Context& context, const Arguments& arguments) { openDocument(context, arguments, true); }),
            Shows::Windows};
}

}  // namespace dorvanel::cli
