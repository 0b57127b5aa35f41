#include "repository/dlgHtml.h"

#include "platform/Twips.h"

#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>

namespace dorvanel {

dlgHtml::dlgHtml(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      WB(new QTextBrowser(this)),
      cmdCerrar(new QPushButton(QStringLiteral("&Cerrar"), this)) {
    setObjectName(QStringLiteral("dlgHtml"));
    setWindowTitle(QStringLiteral("Descargar archivo"));
    setFixedSize(twipsToPixels(4680), twipsToPixels(3090));
    WB->setObjectName(QStringLiteral("WB"));
    WB->setGeometry(twipsToPixels(15), twipsToPixels(15), twipsToPixels(4635), twipsToPixels(2520));
    WB->setOpenExternalLinks(true);
    cmdCerrar->setObjectName(QStringLiteral("cmdCerrar"));
    cmdCerrar->setGeometry(twipsToPixels(3060), twipsToPixels(2565), twipsToPixels(1575), twipsToPixels(510));
    cmdCerrar->setAutoDefault(false);
    connect(cmdCerrar, &QPushButton::clicked, this, &QDialog::accept);
}

void dlgHtml::Navigate(const QString& pageFile) { WB->setSource(QUrl::fromLocalFile(pageFile)); }

}  // namespace dorvanel
