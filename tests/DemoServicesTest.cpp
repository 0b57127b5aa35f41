// The demo host's answer to the dialogs' help buttons.

#include "DemoServices.h"
#include "support/QtPrinting.h"
#include "support/RecordingOskel.h"

#include <gtest/gtest.h>
#include <QTextBrowser>
#include <QWidget>

using namespace dorvanel;

namespace {

// Each dialog's help context opens a window of the dialog's own whose page names each of its
// controls; a context the demo does not know goes to the shipped services object.
TEST(DemoServices, EachDialogsHelpContextOpensItsPageBesideTheDialog) {
    const struct {
        qint32 context;
        QStringList captions;
    } cases[] = {
        {10100,
         {"Nombre", "Descripción", "Palabras clave", "Importar desde archivo", "Examinar", "Enlazar una URL", "URL",
          "Aceptar", "Cancelar"}},
        {10101,
         {"Agregar documento", "Modificar", "Eliminar", "Vista en miniatura", "Ver documento",
          "Descargar (Guardar como... )", "Cerrar"}},
        {10102, {"Nombre", "Descripción", "Palabras clave", "Aceptar", "Cancelar"}},
        {10103, {"Buscar", "Vista en miniatura", "Ver documento", "Aceptar", "Cancelar"}},
        {4711, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.context);
        auto shipped = std::make_shared<test::RecordingOskel>();
        QWidget dialog;
        dialog.show();
        cli::DemoServices(shipped).ShowHelp(qint32(dialog.winId()), c.context);
        auto* help = dialog.findChild<QTextBrowser*>(QStringLiteral("demoHelp"));
        if (c.captions.isEmpty()) {
            EXPECT_EQ(help, nullptr);
            EXPECT_EQ(shipped->calls, QStringList{QStringLiteral("ShowHelp %1 4711").arg(qint32(dialog.winId()))});
            continue;
        }
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible() && help->isWindow());
        for (const QString& caption : c.captions)
            EXPECT_TRUE(help->toPlainText().contains(caption)) << caption.toStdString();
        EXPECT_TRUE(shipped->calls.isEmpty());
    }
}

}  // namespace
