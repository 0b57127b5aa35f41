#include "component/Manager.h"
#include "dialogs/ShowDialog.h"
#include "dialogs/dlgBrowse/dlgBrowse.h"

#include <QCoreApplication>

namespace dorvanel {

bool Manager::BrowseDlg(const QString& sParents, const QString& Info, const QString& TParent) {
    return showDialog<dlgBrowse>(
        [&](dlgBrowse& dialog) {
            dialog.setWindowTitle(
                QCoreApplication::translate("dorvanel::dlgBrowse", "Explorar documentos adjuntos - ") + Info);
            dialog.SetParentType(TParent);
            dialog.SetParents(sParents);
            dialog.IniciarBrw();
        },
        [](const dlgBrowse&) { return false; });
}

}  // namespace dorvanel
