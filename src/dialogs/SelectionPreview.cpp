#include "dialogs/SelectionPreview.h"

#include "component/Globals.h"
#include "component/Manager.h"
#include "component/Oskel.h"
#include "component/WorkFiles.h"
#include "dialogs/ImageBox.h"
#include "platform/ComponentFile.h"
#include "repository/DocumentToTempFile.h"
#include "repository/FailureStyles.h"
#include "repository/KeyText.h"
#include "repository/SqlTexts.h"

namespace dorvanel {

namespace {

// The miniature's temporary file, or "" when the document has none. A sub-item that is no
// key names no document, and no statement is built from it.
QString fetchMiniature(const QString& sysPkText) {
    const std::optional<qint32> key = keyFromText(sysPkText.toUtf8());
    if (!key) return QString();
    return DocumentToTempFile(Required(gManager).ADOCnn(), SqlTexts::documentMiniature(*key),
                              QStringLiteral("Minidata"), *key);
}

void showNotAvailable(ImageBox& box) {
    ContinueOnFailure([&] { box.LoadPicture(NotAvailablePictureFile()); });
}

}  // namespace

QString NotAvailablePictureFile() {
    return Required(gOskel).FolderWithSeparator(ComponentFile::folder()) + QStringLiteral("resource/NoDisponible.jpg");
}

void ShowSelectionPreview(ImageBox& box, const QString& sysPkText, bool showMiniature, BeforePlaceholder how) {
    if (!showMiniature) return showNotAvailable(box);
    QString file;
    ContinueOnFailure([&] { file = fetchMiniature(sysPkText); });
    if (!file.isEmpty()) {
        ContinueOnFailure([&] { box.LoadPicture(file); });
        WorkFiles::Remove(file);
        return;
    }
    if (how == BeforePlaceholder::ClearPicture) box.Clear();
    showNotAvailable(box);
}

}  // namespace dorvanel
