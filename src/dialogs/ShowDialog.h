#pragma once

#include "dialogs/DialogFrame.h"
#include "platform/SpanishStandardParts.h"

#include <utility>

namespace dorvanel {

// How every dialog method of Manager shows its dialog once its own checks allow it: a fresh
// dialog (loading it sets up its host control), given its inputs, shown modally without an
// owner, its result read after it hid or closed itself, then closed and released. A failure
// before the showing reaches the caller, and no window appears. Meanwhile the parts Qt draws
// speak Spanish unless the host chose their language.
template <typename Dialog, typename HandInputs, typename ReadResult>
auto showDialog(HandInputs&& handInputs, ReadResult&& readResult) {
    DialogFrame::requireWindowing();
    const SpanishStandardParts language;
    Dialog dialog;
    handInputs(dialog);
    dialog.exec();
    auto result = readResult(std::as_const(dialog));
    dialog.close();
    return result;
}

}  // namespace dorvanel
