// The startup catalogue's system calls on Windows: the registry through TRegistry, the shell's
// folders and icons, the file system.
#pragma once

#include "StartupCatalogue.h"

#include <windows.h>

#include <commctrl.h>

// What a 32-bit program on 64-bit Windows (WOW64) must know to see the whole system: the
// registry has a second view and the system folder is redirected. Tests stand in for it.
class TWow64 {
public:
    virtual ~TWow64() = default;
    // True in a 32-bit program on 64-bit Windows.
    virtual bool IsWow64() = 0;
    // Turns the file-system redirection of the calling thread off; false when it could not.
    // The token goes back to RevertRedirection.
    virtual bool DisableRedirection(void*& token) = 0;
    virtual void RevertRedirection(void* token) = 0;
};

// The running system's answers (the calls are looked up, as older systems lack them).
TWow64& SystemWow64();

class TWinStartupSystem final : public TStartupSystem {
public:
    // owner: the window the shell may show messages for.
    explicit TWinStartupSystem(HWND owner = nullptr, TWow64& wow64 = SystemWow64())
        : FOwner(owner), FWow64(wow64) {}

    // Under WOW64 the machine's run keys are read in both views; the user's keys are shared.
    std::vector<TRegView> Views(TRootKey root) override;
    std::optional<std::vector<std::string>> ValueNames(TRootKey root, const std::string& key,
                                                       TRegView view) override;
    std::optional<std::string> ReadString(TRootKey root, const std::string& key, TRegView view,
                                          const std::string& name) override;
    TDeleteResult DeleteValue(TRootKey root, const std::string& key, TRegView view, const std::string& name,
                              std::string& reason) override;
    // Existence is checked with the file-system redirection off: a 32-bit program would
    // otherwise look for "system32" programs in the 32-bit system folder.
    bool IsFile(const std::string& path) override;
    std::string FindOnSearchPath(const std::string& name) override;
    int FileIconIndex(const std::string& path) override;
    std::string SpecialFolderPath(int csidl) override;
    std::vector<std::string> FolderFiles(const std::string& folder) override;
    TDeleteResult RemoveFile(const std::string& path, std::string& reason) override;
    bool IsWinNT() override;

private:
    HWND FOwner;
    TWow64& FWow64;
};

// The system's small-icon image list (shared, never destroyed by its users).
HIMAGELIST SystemSmallIcons();
