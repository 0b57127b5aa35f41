#pragma once

#include "dialogs/DialogFrame.h"

#include <memory>

namespace Ui {
class dlgBrowse;
}

namespace dorvanel {

class DocumentList;

// Shows the documents linked to one or more parent records, with the selected one's miniature,
// and lets the user open, download, add, edit and unlink them; unlinking a document's last
// link deletes it. Every action reaches the repository through gManager, and a step that fails
// is skipped; the list is refreshed after every change.
class dlgBrowse : public DialogFrame {
    Q_OBJECT
public:
    // Loads the dialog with its design's values and sets up its host control; a control that
    // refuses a property raises Error.
    dlgBrowse();
    ~dlgBrowse() override;

    // The parent key, or keys separated by ",", whose documents are shown; passed unchanged to
    // every operation that needs the parent.
    void SetParents(const QString& sParents) { parents_ = sParents; }
    // The parent type the add dialog gives the documents it adds.
    void SetParentType(const QString& TParent) { parentType_ = TParent; }
    // Fills the list and shows the first document's miniature.
    void IniciarBrw();

    const DocumentList& DocumentItems() const;

private:
    void refreshList();
    void fillList();
    void previewSelected();
    void selectionStep(qint32 item);
    bool hasSelection() const;
    QString selectedGuid() const;
    void takeDragAndDrop();
    void addDocuments(const QStringList& files);
    void editDocument();
    void unlinkDocument();
    void deleteIfUnlinked(const QString& guid);

    std::unique_ptr<Ui::dlgBrowse> ui_;
    QString parents_;
    QString parentType_;
    bool showMiniature_ = false;
};

}  // namespace dorvanel
