#pragma once

#include "platform/FileDialogRunner.h"

#include <QString>

namespace dorvanel {

// The file-open dialog that a form keeps for choosing files: its settings live here between
// showings, and ShowOpen shows a Qt file dialog made from them.
class CommonDialog {
public:
    // The error a cancelled dialog raises when CancelError is set.
    static constexpr qint32 cdlCancel = 32755;

    const QString& FileName() const { return fileName_; }
    void SetFileName(const QString& fileName) { fileName_ = fileName; }
    void SetCancelError(bool cancelError) { cancelError_ = cancelError; }
    // Descriptions and pattern lists, all separated by "|": "Texto (*.txt)|*.txt|Todos|*.*".
    void SetFilter(const QString& filter) { filter_ = filter; }

    // Shows the modal open dialog. On confirmation FileName holds the chosen file's full path;
    // on cancel it is left as it was, and with CancelError set an Error cdlCancel is raised.
    void ShowOpen();

private:
    QString fileName_;
    QString filter_;
    bool cancelError_ = false;
};

}  // namespace dorvanel
