// The immunizer's system calls on Windows.
#pragma once

#include "DriveImmunizer.h"

class TWinImmunizerSystem final : public TImmunizerPlatform {
public:
    unsigned DriveType(const std::string& root) override;
    std::string WindowsDir() override;
    bool IsFile(const std::string& path) override;
    void ClearAttributesAndDelete(const std::string& path) override;
    void CreateFolder(const std::string& path) override;
    void RemoveFolder(const std::string& path) override;
    unsigned Run(const std::string& commandLine) override;
};
