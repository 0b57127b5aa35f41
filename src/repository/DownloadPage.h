#pragma once

#include "dorvanel_export.h"

#include <QString>
#include <functional>

namespace dorvanel {

/// Shows a download page file in the download dialog and returns when it is closed. Without
/// a QApplication it writes the page's name on standard error instead.
DORVANEL_EXPORT void showDownloadPage(const QString& pageFile);

/// Replaces how download pages are shown (a console host announces them its own way); an empty
/// function restores the dialog. Returns the one it replaces.
///@{
using DownloadPageShower = std::function<void(const QString& pageFile)>;
DORVANEL_EXPORT DownloadPageShower setDownloadPageShower(DownloadPageShower shower);
///@}

}  // namespace dorvanel
