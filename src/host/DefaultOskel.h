#pragma once

#include "component/Oskel.h"

namespace dorvanel {

// The shipped application-services object: Qt's file names, standard folders and desktop.
class DefaultOskel : public Oskel {
public:
    QString FolderWithSeparator(const QString& folder) override;
    bool WriteTextFile(const QString& path, const QString& text) override;
    QString WorkFolder() override;
    QString FileExtension(const QString& fileName) override;
    QString FileBaseName(const QString& path) override;
    qint16 NumberBetween(qint16 low, qint16 high) override;
    void ShellOpen(const QString& path, const QString& verb, qint32 showCommand) override;
    // The shipped object shows no window of its own, so it has no use for the title.
    void SetProductTitle(const QString& /*title*/) override {}
    void SetHelpFile(const QString& helpFile) override { helpFile_ = helpFile; }
    void ShowHelp(qint32 windowHandle, qint32 helpContext) override;

    // The per-user folder for files made for the user (download pages, fetched documents).
    static QString defaultWorkFolder();

private:
    static void offerDownloadPage(const QString& path);

    QString helpFile_;
};

}  // namespace dorvanel
