#include "DemoServices.h"
#include "Texts.h"

#include <Dorvanel/HostClasses.h>

#include <QApplication>
#include <QScreen>
#include <QTextBrowser>

namespace dorvanel::cli {

namespace {

struct HelpPage {
    qint32 context;
    const char* title;  // both translated as shown
    const char* body;   // HTML
};

// One page for each dialog, by the help context the dialog asks for.
const HelpPage HelpPages[] = {
    {10100, QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "Adjuntar documento"),
     QT_TRANSLATE_NOOP(
         "dorvanel::cli::Texts",
         "<p>Guarda un documento nuevo y lo vincula al registro con el que abrió la ventana.</p><ul>"
         "<li><b>Nombre</b>: el nombre con que se verá el documento. Al elegir un archivo se propone el suyo; "
         "un nombre ya escrito no se cambia.</li>"
         "<li><b>Descripción</b> y <b>Palabras clave</b>: texto libre que ayuda a reconocerlo y encontrarlo.</li>"
         "<li><b>Importar desde archivo</b>: el contenido del archivo, cuya ruta escribe o elige con "
         "<b>Examinar</b>, se guarda en la base de datos; de una imagen se guarda además su miniatura.</li>"
         "<li><b>Enlazar una URL</b>: se guarda solo la dirección escrita en <b>URL</b>; el documento sigue "
         "donde está.</li>"
         "<li><b>Aceptar</b> guarda y vincula el documento; <b>Cancelar</b> cierra sin guardar nada.</li></ul>")},
    {10101, QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "Explorar documentos adjuntos"),
     QT_TRANSLATE_NOOP(
         "dorvanel::cli::Texts",
         "<p>Los documentos vinculados al registro, con la miniatura del seleccionado.</p><ul>"
         "<li><b>Agregar documento</b>: abre la ventana para adjuntar uno nuevo.</li>"
         "<li><b>Modificar</b>: cambia la descripción y las palabras clave del seleccionado.</li>"
         "<li><b>Eliminar</b>: quita el vínculo del seleccionado con este registro, y borra el documento si "
         "ningún otro lo tiene.</li>"
         "<li><b>Vista en miniatura</b>: con la casilla marcada, elegir un documento muestra su miniatura.</li>"
         "<li><b>Ver documento</b> (o doble clic en la lista): abre una imagen con el programa del escritorio; "
         "cualquier otro documento se ofrece en la página de descarga.</li>"
         "<li><b>Descargar (Guardar como... )</b>: ofrece el seleccionado en la página de descarga, para "
         "guardarlo donde quiera.</li>"
         "<li><b>Cerrar</b>: cierra la ventana.</li></ul>")},
    {10102, QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "Editar información de registro"),
     QT_TRANSLATE_NOOP("dorvanel::cli::Texts",
                       "<p>Cambia lo que se dice de un documento guardado.</p><ul>"
                       "<li><b>Nombre</b>: el del documento; aquí no se puede cambiar.</li>"
                       "<li><b>Descripción</b> y <b>Palabras clave</b>: escriba los textos nuevos.</li>"
                       "<li><b>Aceptar</b> guarda los dos textos; <b>Cancelar</b> cierra sin cambiar nada.</li></ul>")},
    {10103, QT_TRANSLATE_NOOP("dorvanel::cli::Texts", "Buscar documentos"),
     QT_TRANSLATE_NOOP(
         "dorvanel::cli::Texts",
         "<p>Elija un documento de la lista.</p><ul>"
         "<li><b>Buscar</b>: escriba el principio de un nombre; se selecciona el primer documento que empieza "
         "así y el nombre se completa.</li>"
         "<li><b>Vista en miniatura</b>: con la casilla marcada, hacer clic en un documento muestra su "
         "miniatura.</li>"
         "<li><b>Ver documento</b>: abre el seleccionado (una imagen con el programa del escritorio, lo demás en "
         "la página de descarga).</li>"
         "<li><b>Aceptar</b> elige el documento seleccionado; <b>Cancelar</b> cierra sin elegir ninguno.</li></ul>")},
};

const HelpPage* pageFor(qint32 context) {
    for (const HelpPage& page : HelpPages)
        if (page.context == context) return &page;
    return nullptr;
}

// To the right of the dialog, so that both can be read at once, or to its left where the screen
// ends first.
QPoint besideDialog(const QWidget& dialog, QSize size) {
    constexpr int Gap = 8;
    const QRect frame = dialog.frameGeometry();
    const QRect screen = dialog.screen()->availableGeometry();
    const int right = frame.right() + Gap;
    const int left = qMax(screen.left(), frame.left() - Gap - size.width());
    return {right + size.width() <= screen.right() ? right : left, qMax(screen.top(), frame.top())};
}

// A window of the dialog's own, so that the dialog's modality lets the user read and close it;
// it goes with the dialog.
void showPage(const HelpPage& page, qint32 windowHandle) {
    QWidget* dialog = QWidget::find(WId(quint32(windowHandle)));
    if (!dialog) dialog = QApplication::activeModalWidget();
    auto* window = new QTextBrowser(dialog);
    window->setWindowFlag(Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setObjectName(QStringLiteral("demoHelp"));
    const QString title = Texts::tr(page.title);
    window->setWindowTitle(Texts::tr("Ayuda - ") + title);
    window->setHtml(QStringLiteral("<h3>%1</h3>%2").arg(title, Texts::tr(page.body)));
    window->resize(460, 380);
    if (dialog) window->move(besideDialog(*dialog, window->size()));
    window->show();
}

}  // namespace

void DemoServices::registerForDemo() {
    auto& factory = HostClasses::registered().oskel;
    factory = [shipped = factory] { return std::make_shared<DemoServices>(shipped()); };
}

void DemoServices::ShowHelp(qint32 windowHandle, qint32 helpContext) {
    if (const HelpPage* page = pageFor(helpContext)) return showPage(*page, windowHandle);
    shipped_->ShowHelp(windowHandle, helpContext);
}

}  // namespace dorvanel::cli
