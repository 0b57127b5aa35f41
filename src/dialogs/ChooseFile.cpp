#include "dialogs/ChooseFile.h"

#include "dialogs/CommonDialog.h"
#include "repository/FailureStyles.h"

namespace dorvanel {

QString ChooseFile(const QString& Filter, CommonDialog& Dialog) {
    QString result;
    Dialog.SetFileName(QString());
    Dialog.SetCancelError(true);
    Dialog.SetFilter(Filter);
    // With CancelError set, a cancel is one of the failures.
    if (ContinueOnFailure([&] { Dialog.ShowOpen(); })) result = Dialog.FileName();
    return result;
}

}  // namespace dorvanel
