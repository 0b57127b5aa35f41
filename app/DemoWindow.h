#pragma once

#include "SampleDocuments.h"

#include <QMainWindow>
#include <functional>

class QBoxLayout;
class QTreeWidget;

namespace dorvanel::cli {

class Session;

// A small host application on the session's database: its sample records in a list, and
// buttons that open the component's dialogs on the selected one. The status line tells what a
// dialog answered, or why it could not open.
class DemoWindow : public QMainWindow {
public:
    DemoWindow(Session& session, const QString& databaseUrl);

    // "Documentos...": the browse dialog on the selected record's documents.
    void browseSelected();

private:
    void addToSelected();
    void findForSelected();
    const HostRecord& selected() const;
    void addButton(QBoxLayout& buttons, const QString& text, void (DemoWindow::*action)());
    // Runs the action; a failure it raises is shown in the status line.
    void reportingFailures(const std::function<void()>& action);
    void centreOnScreen();

    Session& session_;
    QTreeWidget* records_;
};

}  // namespace dorvanel::cli
