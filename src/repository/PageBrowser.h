#pragma once

#include <QTextBrowser>

class QMenu;

namespace dorvanel {

// The download page's browser control. It shows the page and never follows a link itself, so
// it never shows what a link leads to. As a browser does, a click or Enter on a link to a file
// asks to save the file, and one on an outside address asks to open it; the menu on a link
// offers both ("Guardar como..." for a file). Its menus speak Spanish.
class PageBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit PageBrowser(QWidget* parent);

signals:
    void saveRequested(const QString& file);
    void openRequested(const QUrl& target);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void follow(const QString& href);
    QString hrefResolvedTo(const QUrl& url) const;
    // The local file a link names: a path as written (relative ones from the page's folder) or
    // a file: URL; "" for an outside address.
    QString fileOf(const QString& href) const;
    QUrl targetOf(const QString& href) const;
    void addLinkEntries(QMenu& menu, const QString& href);
    void addTextEntries(QMenu& menu);
};

}  // namespace dorvanel
