#pragma once

#include <Dorvanel/Oskel.h>

#include <memory>

namespace dorvanel::cli {

// The demo's application-services object: the shipped one for everything but help, which the
// demo answers itself. A dialog's help button opens a window beside the dialog with a short
// Spanish page on what each of its controls does.
class DemoServices : public Oskel {
public:
    explicit DemoServices(std::shared_ptr<Oskel> shipped) : shipped_(std::move(shipped)) {}

    // From now on every services object the component makes (the Manager's, the add dialog's
    // own) is one of these around the one it would have made. Call before creating the Manager.
    static void registerForDemo();

    QString FolderWithSeparator(const QString& folder) override { return shipped_->FolderWithSeparator(folder); }
    bool WriteTextFile(const QString& path, const QString& text) override {
        return shipped_->WriteTextFile(path, text);
    }
    QString WorkFolder() override { return shipped_->WorkFolder(); }
    QString FileExtension(const QString& fileName) override { return shipped_->FileExtension(fileName); }
    QString FileBaseName(const QString& path) override { return shipped_->FileBaseName(path); }
    qint16 NumberBetween(qint16 low, qint16 high) override { return shipped_->NumberBetween(low, high); }
    void ShellOpen(const QString& path, const QString& verb, qint32 showCommand) override {
        shipped_->ShellOpen(path, verb, showCommand);
    }
    void SetProductTitle(const QString& title) override { shipped_->SetProductTitle(title); }
    void SetHelpFile(const QString& helpFile) override { shipped_->SetHelpFile(helpFile); }
    // A help context of the four dialogs opens the demo's page; any other goes to the shipped object.
    void ShowHelp(qint32 windowHandle, qint32 helpContext) override;

private:
    std::shared_ptr<Oskel> shipped_;
};

}  // namespace dorvanel::cli
