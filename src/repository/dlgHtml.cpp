#include "repository/dlgHtml.h"

#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>

namespace dorvanel {

namespace {
// Sizes are laid out in twips: 15 to a pixel at 96 dpi.
constexpr int px(int twips) { return twips / 15; }
}  // namespace

dlgHtml::dlgHtml(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      WB(new QTextBrowser(this)),
      cmdCerrar(new QPushButton(QStringLiteral("&Cerrar"), this)) {
    setObjectName(QStringLiteral("dlgHtml"));
    setWindowTitle(QStringLiteral("Descargar archivo"));
    setFixedSize(px(4680), px(3090));
    WB->setObjectName(QStringLiteral("WB"));
    WB->setGeometry(px(15), px(15), px(4635), px(2520));
    WB->setOpenExternalLinks(true);
    cmdCerrar->setObjectName(QStringLiteral("cmdCerrar"));
    cmdCerrar->setGeometry(px(3060), px(2565), px(1575), px(510));
    cmdCerrar->setAutoDefault(false);
    connect(cmdCerrar, &QPushButton::clicked, this, &QDialog::accept);
}

void dlgHtml::Navigate(const QString& pageFile) { WB->setSource(QUrl::fromLocalFile(pageFile)); }

}  // namespace dorvanel
