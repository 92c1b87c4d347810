// The startup catalogue's system calls on Windows: the registry through TRegistry, the shell's
// folders and icons, the file system.
#pragma once

#include "StartupCatalogue.h"

#include <windows.h>

#include <commctrl.h>

class TWinStartupSystem final : public TStartupSystem {
public:
    // owner: the window the shell may show messages for.
    explicit TWinStartupSystem(HWND owner = nullptr) : FOwner(owner) {}

    std::optional<std::vector<std::string>> ValueNames(TRootKey root, const std::string& key) override;
    std::optional<std::string> ReadString(TRootKey root, const std::string& key,
                                          const std::string& name) override;
    bool DeleteValue(TRootKey root, const std::string& key, const std::string& name,
                     std::string& reason) override;
    bool IsFile(const std::string& path) override;
    std::string FindOnSearchPath(const std::string& name) override;
    int FileIconIndex(const std::string& path) override;
    std::string SpecialFolderPath(int csidl) override;
    std::vector<std::string> FolderFiles(const std::string& folder) override;
    bool RemoveFile(const std::string& path, std::string& reason) override;
    bool IsWinNT() override;

private:
    HWND FOwner;
};

// The system's small-icon image list (shared, never destroyed by its users).
HIMAGELIST SystemSmallIcons();
