// The immunizer's system calls on Windows.
#pragma once

#include "DriveImmunizer.h"

#include <chrono>

class TWinImmunizerSystem final : public TImmunizerPlatform {
public:
    // How long Run waits for the command interpreter before the result is looked at.
    static constexpr std::chrono::milliseconds kCommandWait{10000};

    unsigned DriveType(const std::string& root) override;
    std::string WindowsDir() override;
    bool IsFile(const std::string& path) override;
    void ClearAttributesAndDelete(const std::string& path) override;
    void CreateFolder(const std::string& path) override;
    void RemoveFolder(const std::string& path) override;
    // Started hidden like WinExec, but waited for: the command's work is done when the
    // immunizer looks at the drive.
    unsigned Run(const std::string& commandLine) override;
    std::optional<bool> FolderExists(const std::string& path) override;
};
