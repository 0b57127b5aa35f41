#pragma once

#include <QString>

namespace dorvanel {

class ImageBox;

// The picture that stands for a miniature that cannot be shown: "resource/NoDisponible.jpg"
// in the component's folder, installed beside the library.
QString NotAvailablePictureFile();

// Whether the box is cleared before the not-available picture is loaded into it, so that a
// placeholder that cannot be loaded leaves the box empty rather than showing the last picture.
enum class BeforePlaceholder { KeepPicture, ClearPicture };

// Shows what a list's selected document looks like: with showMiniature, its miniature fetched
// to the component's temporary file, loaded and the file deleted, or the not-available picture
// when it has none; without, the not-available picture. sysPkText is the list's sub-item 6.
// Every step that fails is skipped, and nothing is reported.
void ShowSelectionPreview(ImageBox& box, const QString& sysPkText, bool showMiniature, BeforePlaceholder how);

}  // namespace dorvanel
