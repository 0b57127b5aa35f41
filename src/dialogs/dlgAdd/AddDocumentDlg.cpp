#include "component/Manager.h"
#include "dialogs/ShowDialog.h"
#include "dialogs/dlgAdd/dlgAdd.h"

namespace dorvanel {

bool Manager::AddDocumentDlg(const QString& sParent, const QString& ParentType, const QString& sFile) {
    return showDialog<dlgAdd>(
        [&](dlgAdd& dialog) {
            dialog.SetParents(sParent, ParentType);
            dialog.SetFile(sFile);
        },
        [](const dlgAdd& dialog) { return dialog.Accepted(); });
}

}  // namespace dorvanel
