#include "Command.h"
#include "Context.h"
#include "DemoServices.h"
#include "DemoWindow.h"
#include "Dialogs.h"
#include "SampleDocuments.h"

#include <optional>

namespace dorvanel::cli {

namespace {

// The first record is the one selected, so its browse dialog is the one photographed. The
// dialogs' help buttons open the demo's own pages.
void runDemo(Context& context, const Arguments& arguments) {
    DemoServices::registerForDemo();
    const QString screenshot = arguments.value(QStringLiteral("screenshot"));
    std::optional<DemoWindow> window;
    const auto makeWindow = [&]() -> QWidget& {
        Session& session = context.sessionCreating();
        provideSampleDocuments(session);
        session.setWatched(screenshot.isEmpty());
        return window.emplace(session, context.databaseUrl());
    };
    runWindow(
        makeWindow, [&] { window->browseSelected(); }, screenshot);
}

}  // namespace

Command demoCommand() {
    return {
        {"demo",
         QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                           "abre una pequeña aplicación anfitriona con registros y documentos de ejemplo"),
         {},
         {{{"screenshot"},
           QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "ARCHIVO"),
           QT_TRANSLATE_NOOP(
               "dorvanel::cli::Texts",
               "escribe una imagen PNG de la ventana con los documentos del primer registro abiertos, y termina")}}},
        exitingZero(runDemo),
        Shows::Windows};
}

}  // namespace dorvanel::cli
