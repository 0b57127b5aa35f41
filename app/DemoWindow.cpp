#include "DemoWindow.h"

#include "Session.h"
#include "Texts.h"

#include <Dorvanel/Error.h>

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace dorvanel::cli {

namespace {

QTreeWidget* recordList() {
    auto* list = new QTreeWidget;
    list->setHeaderLabels({QStringLiteral("Nombre"), QStringLiteral("Tipo"), QStringLiteral("Clave")});
    list->setRootIsDecorated(false);
    for (const HostRecord& record : sampleRecords()) new QTreeWidgetItem(list, {record.name, record.type, record.key});
    list->setCurrentItem(list->topLevelItem(0));
    list->resizeColumnToContents(0);
    return list;
}

}  // namespace

DemoWindow::DemoWindow(Session& session, const QString& databaseUrl) : session_(session), records_(recordList()) {
    setWindowTitle(Texts::tr("Dorvanel - aplicación de demostración"));
    connect(records_, &QTreeWidget::itemDoubleClicked, this, &DemoWindow::browseSelected);

    auto* buttons = new QVBoxLayout;
    addButton(*buttons, QStringLiteral("Documentos..."), &DemoWindow::browseSelected);
    addButton(*buttons, Texts::tr("Agregar documento..."), &DemoWindow::addToSelected);
    addButton(*buttons, Texts::tr("Buscar documento..."), &DemoWindow::findForSelected);
    buttons->addStretch();

    auto* records = new QVBoxLayout;
    records->addWidget(new QLabel(Texts::tr("Clientes y obras de ejemplo. Elija uno y trabaje con sus documentos:")));
    records->addWidget(records_);

    auto* central = new QWidget;
    auto* layout = new QHBoxLayout(central);
    layout->addLayout(records, 1);
    layout->addLayout(buttons);
    setCentralWidget(central);
    statusBar()->showMessage(Texts::tr("Base de datos: ") + databaseUrl);
    // Smaller where the screen is: at 144 dpi it holds fewer device-independent pixels.
    resize(QSize(900, 600).boundedTo(screen()->availableGeometry().size()));
    centreOnScreen();
}

void DemoWindow::browseSelected() {
    const HostRecord& record = selected();
    reportingFailures([&] { session_.browse(record.key, record.name, record.type); });
}

void DemoWindow::addToSelected() {
    const HostRecord& record = selected();
    reportingFailures([&] {
        const bool added = session_.add(record.key, QString(), record.type);
        statusBar()->showMessage(added ? Texts::tr("Documento agregado a ") + record.name
                                       : Texts::tr("No se agregó ningún documento"));
    });
}

void DemoWindow::findForSelected() {
    const HostRecord& record = selected();
    reportingFailures([&] {
        FindQuery query;
        query.parents = QStringList{record.key};
        query.miniatures = true;
        const QString chosen = session_.find(query);
        statusBar()->showMessage(chosen.isEmpty() ? Texts::tr("Búsqueda cancelada")
                                                  : Texts::tr("Documento elegido: ") + chosen);
    });
}

// The list starts with its first record current, and a click can only move it.
const HostRecord& DemoWindow::selected() const {
    return sampleRecords()[records_->indexOfTopLevelItem(records_->currentItem())];
}

void DemoWindow::addButton(QBoxLayout& buttons, const QString& text, void (DemoWindow::*action)()) {
    auto* button = new QPushButton(text);
    connect(button, &QPushButton::clicked, this, action);
    buttons.addWidget(button);
}

// A failure must not leave a slot: Qt's event loop cannot pass it on.
void DemoWindow::reportingFailures(const std::function<void()>& action) {
    try {
        action();
    } catch (...) {
        const Error error = Error::fromCurrentException();
        statusBar()->showMessage(Texts::tr("Error %1: %2").arg(error.number()).arg(error.description()));
    }
}

void DemoWindow::centreOnScreen() { move(screen()->availableGeometry().center() - rect().center()); }

}  // namespace dorvanel::cli
