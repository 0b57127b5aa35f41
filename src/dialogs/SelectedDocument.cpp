#include "dialogs/SelectedDocument.h"

#include "component/Globals.h"
#include "component/Manager.h"
#include "component/ProductTitle.h"
#include "dialogs/lists/ReportListView.h"
#include "repository/DocumentList.h"
#include "repository/DownloadName.h"
#include "repository/FailureStyles.h"
#include "repository/KeyText.h"

namespace dorvanel {

void OpenSelectedDocument(const ReportListView& list, bool saveAs) {
    const qint32 item = list.SelectedItem();
    const DocumentList& items = list.ListItems();
    if (items.Count() == 0 || item == 0) return;
    // Sub-item 6 is always a key FillDocumentList wrote; any other text opens nothing.
    const std::optional<qint32> key = keyFromText(items.SubItem(item, DocumentList::KeySubItem).toUtf8());
    if (!key) return;
    // A download page proposes to save the file under the document's name.
    const DownloadName naming(items.Text(item));
    ContinueOnFailure([&] {
        Required(gManager).OpenDocument(*key, items.SubItem(item, DocumentList::TypeDataSubItem), saveAs);
        ReportRecordedFailure();
    });
}

void ReportRecordedFailure() {
    const Manager& manager = Required(gManager);
    if (manager.LastErr() != 0) msgBox(manager.LastErrDescrip(), vbInformation, ProductTitle);
}

}  // namespace dorvanel
