#pragma once

#include "dialogs/CommonDialog.h"
#include "dialogs/DialogFrame.h"
#include "dialogs/PictureSurface.h"
#include "platform/ContentExtractor.h"

#include <memory>

namespace Ui {
class dlgAdd;
}

namespace dorvanel {

class Oskel;

// Adds a new document, a file to import or a URL to link, with its name, description and
// keywords, and links it to every parent in one step. "&Aceptar" stores and links it and hides
// the dialog; "&Cancelar" hides it without storing.
class dlgAdd : public DialogFrame {
    Q_OBJECT
public:
    // Creates the dialog's own services object through the host-class registry, loads the
    // dialog with its design's values, sets up its host control and starts in import mode with
    // every box empty. A failure of any of these is raised.
    dlgAdd();
    ~dlgAdd() override;

    // The filter of the file dialog that "&Examinar" opens.
    static QString PictureFilter();

    // The parent keys, separated by ",", and the type every link is given (may be empty).
    void SetParents(const QString& sParent, const QString& ParentType);
    // Shows the path in txtFile, which proposes a name for it.
    void SetFile(const QString& sFile);
    // True once "&Aceptar" stored the document and linked it to every parent.
    bool Accepted() const { return accepted_; }

    void ResetEntries();
    void ApplyMode();
    // Tells the first missing entry of the selected mode, moves the focus to where it is
    // entered and returns false; true when the entries may be saved.
    bool ValidateEntries();

private:
    enum class Outcome { Invalid, Linked, LinkRefused, Failed };

    void proposeName();
    void chooseFile();
    void storeAndLink();
    Outcome tryStoreAndLink();
    QString storeDocument();
    QString miniatureOf(const QString& file);
    bool linkToParents(const QString& guid);
    bool refuse(const QString& message, QWidget* focus);
    void cancel();

    std::unique_ptr<Ui::dlgAdd> ui_;
    std::shared_ptr<Oskel> services_;
    CommonDialog CMD;
    PictureSurface picMiniature{1800, 1400};
    // Makes the miniatures while the Manager's documentMiniatures is on.
    ContentExtractor miniatureReader_;
    QString parents_;
    QString parentType_;
    bool accepted_ = false;
};

}  // namespace dorvanel
