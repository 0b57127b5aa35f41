#pragma once

#include "dorvanel_export.h"

#include <QString>
#include <functional>

namespace dorvanel {

/// Message-box styles the component uses: the platform's button and icon flags.
enum MessageStyle : qint32 {
    vbOKOnly = 0,
    vbInformation = 64,
    vbYesNoStopDefaultNo = 276,  ///< Yes/No buttons, stop icon, No is the default
    vbYesNoQuestion = 36,        ///< Yes/No buttons, question icon, Yes is the default
};

/// Answers a message box returns.
enum MessageAnswer : qint32 { vbOK = 1, vbYes = 6, vbNo = 7 };

/// Whether a box of this style asks Yes or No rather than only informs.
inline bool asksYesNo(qint32 style) { return (style & 0x0F) == 4; }

/// Shows one message box and returns the button pressed. With a QApplication running it is a
/// QMessageBox; in a console it is one line on standard error (a question answers No).
DORVANEL_EXPORT qint32 msgBox(const QString& prompt, qint32 style = vbOKOnly, const QString& title = QString());

/// Replaces how message boxes are shown (a console host prints them its own way, a test
/// scripts the answers); an empty function restores the shipped one. Returns the one it replaces.
///@{
using MessagePresenter = std::function<qint32(const QString& prompt, qint32 style, const QString& title)>;
DORVANEL_EXPORT MessagePresenter setMessagePresenter(MessagePresenter presenter);
///@}

}  // namespace dorvanel
