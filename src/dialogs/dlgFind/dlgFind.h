#pragma once

#include "dialogs/DialogFrame.h"

#include <memory>

namespace Ui {
class dlgFind;
}

namespace dorvanel {

class DocumentList;

// Lets the user pick one document from a list: typing in "Buscar:" jumps to the first
// document whose name begins with the text and completes the name in the box; clicking a
// document previews its miniature; "Ver documento" opens it. "&Aceptar" hides the dialog with
// the selected document chosen, "Cancelar" without one.
class dlgFind : public DialogFrame {
    Q_OBJECT
public:
    // Loads the dialog with its design's values and sets up its host control; a control that
    // refuses a property raises Error.
    dlgFind();
    ~dlgFind() override;

    // Whether clicking a document shows its miniature; the check box shows the same.
    void SetShowMiniature(bool show);
    bool ShowMiniature() const { return showMiniature_; }
    // The list, for FillDocumentList. Nothing in the dialog fills it again.
    DocumentList& DocumentItems();

    bool Accepted() const { return accepted_; }
    // The chosen document's Sys_GUID, once "&Aceptar" was pressed on a selected document.
    const QString& SelectedGuid() const { return selectedGuid_; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void IncrementalFind();
    void completeWith(const QString& name);
    void previewItem(qint32 item);
    void chooseSelected();
    void cancel();

    std::unique_ptr<Ui::dlgFind> ui_;
    bool showMiniature_ = false;
    bool accepted_ = false;
    QString selectedGuid_;
    // Whether the last key pressed in the search box erases (Backspace or Delete): the name is
    // then not completed again.
    bool erasingKey_ = false;
};

}  // namespace dorvanel
