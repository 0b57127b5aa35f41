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
    void SetProductTitle(const QString& title) override { productTitle_ = title; }
    void SetHelpFile(const QString& helpFile) override { helpFile_ = helpFile; }
    void ShowHelp(qint32 windowHandle, qint32 helpContext) override;

    QString ProductTitle() const { return productTitle_; }
    QString HelpFile() const { return helpFile_; }

    // The per-user folder for files made for the user (download pages, fetched documents).
    static QString DefaultWorkFolder();

private:
    QString productTitle_;
    QString helpFile_;
};

}  // namespace dorvanel
