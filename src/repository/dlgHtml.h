#pragma once

#include <QDialog>

class QPushButton;
class QTextBrowser;

namespace dorvanel {

// The download page: a small fixed-size tool window that shows the page with its link.
class dlgHtml : public QDialog {
    Q_OBJECT
public:
    explicit dlgHtml(QWidget* parent = nullptr);
    void Navigate(const QString& pageFile);

private:
    QTextBrowser* WB;
    QPushButton* cmdCerrar;
};

}  // namespace dorvanel
