#pragma once

#include "dorvanel_export.h"

#include <QString>

namespace dorvanel {

/// The host's application-services object: file names, the work folder, the shell, help.
class DORVANEL_EXPORT Oskel {
public:
    virtual ~Oskel() = default;

    /// The folder with a separator at its end, so that a file name can be appended.
    virtual QString FolderWithSeparator(const QString& folder) = 0;
    /// Writes text to the file at path, replacing it; true when it was written whole.
    virtual bool WriteTextFile(const QString& path, const QString& text) = 0;
    /// The folder where the component writes its work files.
    virtual QString WorkFolder() = 0;
    /// The extension without its dot.
    virtual QString FileExtension(const QString& fileName) = 0;
    /// A name proposed for a document made from this file.
    virtual QString FileBaseName(const QString& path) = 0;
    /// A number picked at random from low to high, both included.
    virtual qint16 NumberBetween(qint16 low, qint16 high) = 0;
    /// Hands the file or address at path to the desktop's handler for verb ("open").
    virtual void ShellOpen(const QString& path, const QString& verb, qint32 showCommand) = 0;
    /// The title of the product the component works for.
    virtual void SetProductTitle(const QString& title) = 0;
    /// The help file whose pages ShowHelp shows.
    virtual void SetHelpFile(const QString& helpFile) = 0;
    /// Shows the help file's page for helpContext (a dialog's help button asks for its own).
    virtual void ShowHelp(qint32 windowHandle, qint32 helpContext) = 0;
};

}  // namespace dorvanel
