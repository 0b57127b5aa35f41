#pragma once

#include <QDialog>

class QPushButton;

namespace dorvanel {

class PageBrowser;

// The download page: a small fixed-size tool window that shows the page with its link. The
// link's file is never shown: following it offers to save the file, under the document's name
// when one was given, or opens an outside address with the desktop's handler.
class dlgHtml : public QDialog {
    Q_OBJECT
public:
    explicit dlgHtml(QWidget* parent = nullptr);
    void Navigate(const QString& pageFile);
    // The document's name, which the save dialog proposes (with the file's type) instead of the
    // linked file's own name.
    void SetDocumentName(const QString& name) { documentName_ = name; }

private:
    void save(const QString& file);

    PageBrowser* WB;
    QPushButton* cmdCerrar;
    QString documentName_;
};

}  // namespace dorvanel
