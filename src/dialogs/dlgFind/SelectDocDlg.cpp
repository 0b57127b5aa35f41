#include "component/Manager.h"
#include "dialogs/ShowDialog.h"
#include "dialogs/dlgFind/dlgFind.h"
#include "repository/FillDocumentList.h"

namespace dorvanel {

QString Manager::SelectDocDlg(const QString& sParents, const QString& Words, const QString& sTypes, bool NoMiniature,
                              bool NoSys) {
    return showDialog<dlgFind>(
        [&](dlgFind& dialog) {
            dialog.SetShowMiniature(!NoMiniature);
            FillDocumentList(sParents, dialog.DocumentItems(), true, sTypes, Words, NoSys);
        },
        [](const dlgFind& dialog) { return dialog.Accepted() ? dialog.SelectedGuid() : QString(); });
}

}  // namespace dorvanel
