#pragma once

#include "platform/FileDialogRunner.h"

namespace dorvanel::test {

// Answers every file dialog shown while it lives.
class ScriptedFileDialog {
public:
    explicit ScriptedFileDialog(FileDialogRunner runner) : previous_(SetFileDialogRunner(std::move(runner))) {}
    ~ScriptedFileDialog() { SetFileDialogRunner(std::move(previous_)); }
    ScriptedFileDialog(const ScriptedFileDialog&) = delete;
    ScriptedFileDialog& operator=(const ScriptedFileDialog&) = delete;

private:
    FileDialogRunner previous_;
};

}  // namespace dorvanel::test
