#pragma once

#include <QString>
#include <functional>

namespace dorvanel {

// The text of the page that offers sF for download. Quotes and angle brackets in sF are
// escaped so that it can only be the link's target; an ordinary location is kept as it is.
QString DownloadPageText(const QString& sF);

// Shows the page file in the download dialog (dlgHtml) and returns when it is closed.
// Without a QApplication it writes the page's name on standard error instead.
void ShowDownloadPage(const QString& pageFile);

// Replaces what ShowDownloadPage does (tests, console hosts); returns the previous one.
using DownloadPageShower = std::function<void(const QString& pageFile)>;
DownloadPageShower SetDownloadPageShower(DownloadPageShower shower);

}  // namespace dorvanel
