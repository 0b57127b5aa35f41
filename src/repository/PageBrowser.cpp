#include "repository/PageBrowser.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTextBlock>

namespace dorvanel {

PageBrowser::PageBrowser(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) { follow(hrefResolvedTo(url)); });
}

void PageBrowser::follow(const QString& href) {
    const QString file = fileOf(href);
    if (file.isEmpty()) {
        emit openRequested(targetOf(href));
    } else {
        emit saveRequested(file);
    }
}

// The browser hands on a link as a URL resolved against the page, which reads a "#", "?" or "%"
// in a file's name as URL syntax; the page's own text of that link keeps the name whole.
QString PageBrowser::hrefResolvedTo(const QUrl& url) const {
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QString href = fragment.fragment().charFormat().anchorHref();
            if (!href.isEmpty() && (QUrl(href) == url || source().resolved(QUrl(href)) == url)) return href;
        }
    }
    return url.toString();
}

QString PageBrowser::fileOf(const QString& href) const {
    const QUrl url(href);
    if (url.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) == 0) return url.toLocalFile();
    if (!url.scheme().isEmpty()) return {};
    return QDir(QFileInfo(source().toLocalFile()).path()).absoluteFilePath(href);
}

QUrl PageBrowser::targetOf(const QString& href) const {
    const QString file = fileOf(href);
    return file.isEmpty() ? QUrl(href) : QUrl::fromLocalFile(file);
}

void PageBrowser::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnuPage"));
    const QString href = anchorAt(event->pos());
    if (href.isEmpty()) {
        addTextEntries(menu);
    } else {
        addLinkEntries(menu, href);
    }
    menu.exec(event->globalPos());
}

void PageBrowser::addLinkEntries(QMenu& menu, const QString& href) {
    const QString file = fileOf(href);
    if (!file.isEmpty()) menu.addAction(tr("&Guardar como..."), this, [this, file] { emit saveRequested(file); });
    menu.addAction(tr("&Abrir"), this, [this, href] { emit openRequested(targetOf(href)); });
    menu.addAction(tr("&Copiar la dirección del enlace"), this, [href] { QApplication::clipboard()->setText(href); });
}

void PageBrowser::addTextEntries(QMenu& menu) {
    menu.addAction(tr("&Copiar"), this, &QTextEdit::copy)->setEnabled(textCursor().hasSelection());
    menu.addAction(tr("&Seleccionar todo"), this, &QTextEdit::selectAll);
}

}  // namespace dorvanel
