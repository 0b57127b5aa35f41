#pragma once

#include "dorvanel_export.h"

#include <QString>

namespace dorvanel {

// The host's application-services object: file names, the work folder, the shell, help.
class DORVANEL_EXPORT Oskel {
public:
    virtual ~Oskel() = default;

    // The folder with a separator at its end, so that a file name can be appended.
    virtual QString FolderWithSeparator(const QString& folder) = 0;
    virtual bool WriteTextFile(const QString& path, const QString& text) = 0;
    virtual QString WorkFolder() = 0;
    // The extension without its dot.
    virtual QString FileExtension(const QString& fileName) = 0;
    // A name proposed for a document made from this file.
    virtual QString FileBaseName(const QString& path) = 0;
    virtual qint16 NumberBetween(qint16 low, qint16 high) = 0;
    virtual void ShellOpen(const QString& path, const QString& verb, qint32 showCommand) = 0;
    virtual void SetProductTitle(const QString& title) = 0;
    virtual void SetHelpFile(const QString& helpFile) = 0;
    virtual void ShowHelp(qint32 windowHandle, qint32 helpContext) = 0;
};

}  // namespace dorvanel
