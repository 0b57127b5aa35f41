#pragma once

#include "dialogs/DialogFrame.h"

#include <memory>

namespace Ui {
class dlgEdit;
}

namespace dorvanel {

class DocRecord;

// Edits a stored document's description and keywords; its name is shown but cannot change.
// "&Aceptar" saves through a DocRecord and closes, "Cancelar" closes without writing.
class dlgEdit : public DialogFrame {
    Q_OBJECT
public:
    // Loads the dialog with its design's values and sets up its host control; a control that
    // refuses a property raises Error.
    dlgEdit();
    ~dlgEdit() override;

    // Creates the document's record on gManager's connection, loads it and fills the boxes.
    // A failure is raised. A key without a row leaves the boxes empty, and "&Aceptar" then
    // shows the record's own refusal to save nothing.
    void SetValues(const QString& sGuid);
    // True once "&Aceptar" saved the row.
    bool Saved() const { return saved_; }

private:
    void saveAndClose();
    void cancel();
    void saveRecord();
    void reportRecordFailure();

    std::unique_ptr<Ui::dlgEdit> ui_;
    std::shared_ptr<DocRecord> record_;
    bool saved_ = false;
};

}  // namespace dorvanel
