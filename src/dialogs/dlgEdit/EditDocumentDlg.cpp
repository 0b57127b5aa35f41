#include "component/Keys.h"
#include "component/Manager.h"
#include "dialogs/ShowDialog.h"
#include "dialogs/dlgEdit/dlgEdit.h"

namespace dorvanel {

bool Manager::EditDocumentDlg(const QString& sGuid) {
    if (!hasKeyLength(sGuid)) return false;
    return showDialog<dlgEdit>([&](dlgEdit& dialog) { dialog.SetValues(sGuid); },
                               [](const dlgEdit& dialog) { return dialog.Saved(); });
}

}  // namespace dorvanel
