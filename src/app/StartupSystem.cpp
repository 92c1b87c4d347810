#include "StartupSystem.h"

#include "Registry.h"
#include "WinHandle.h"

#include <shellapi.h>
#include <shlobj.h>

namespace {

HKEY RootHandle(TRootKey root) {
    return root == TRootKey::rkLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

REGSAM ViewFlag(TRegView view) {
    switch (view) {
    case TRegView::rv64:
        return KEY_WOW64_64KEY;
    case TRegView::rv32:
        return KEY_WOW64_32KEY;
    case TRegView::rvOwn:
        break;
    }
    return 0;
}

// A registry opened at root for full access in the given view.
class TViewRegistry : public TRegistry {
public:
    TViewRegistry(TRootKey root, TRegView view) : TRegistry(KEY_ALL_ACCESS | ViewFlag(view)) {
        SetRootKey(RootHandle(root));
    }
};

// Whether the key is missing in that view, as opposed to there and refusing full access.
bool KeyMissing(TRootKey root, const std::string& key, TRegView view) {
    HKEY opened = nullptr;
    const std::string path = !key.empty() && key.front() == '\\' ? key.substr(1) : key;
    const LONG rc =
        RegOpenKeyExA(RootHandle(root), path.c_str(), 0, KEY_QUERY_VALUE | ViewFlag(view), &opened);
    const TRegKeyHandle owner(rc == ERROR_SUCCESS ? opened : nullptr);
    return rc == ERROR_FILE_NOT_FOUND;
}

// The system's own words for an error code, without the trailing line break.
std::string SystemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length ? std::string(text, length) : "错误代码 " + std::to_string(code);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    return message;
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The file-system redirection of this thread off for the scope's life, under WOW64 only.
class TRedirectionOff {
public:
    explicit TRedirectionOff(TWow64& wow64) : FWow64(wow64) {
        FOff = FWow64.IsWow64() && FWow64.DisableRedirection(FToken);
    }
    TRedirectionOff(const TRedirectionOff&) = delete;
    TRedirectionOff& operator=(const TRedirectionOff&) = delete;
    ~TRedirectionOff() {
        if (FOff)
            FWow64.RevertRedirection(FToken);
    }

private:
    TWow64& FWow64;
    void* FToken = nullptr;
    bool FOff = false;
};

class TSystemWow64 final : public TWow64 {
public:
    TSystemWow64() {
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        FIsWow64Process = Lookup<TIsWow64Process>(kernel, "IsWow64Process");
        FDisable = Lookup<TDisable>(kernel, "Wow64DisableWow64FsRedirection");
        FRevert = Lookup<TRevert>(kernel, "Wow64RevertWow64FsRedirection");
        BOOL wow64 = FALSE;
        FWow64 = FIsWow64Process && FIsWow64Process(GetCurrentProcess(), &wow64) && wow64;
    }
    bool IsWow64() override { return FWow64; }
    bool DisableRedirection(void*& token) override { return FDisable && FDisable(&token); }
    void RevertRedirection(void* token) override {
        if (FRevert)
            FRevert(token);
    }

private:
    using TIsWow64Process = BOOL(WINAPI*)(HANDLE, PBOOL);
    using TDisable = BOOL(WINAPI*)(PVOID*);
    using TRevert = BOOL(WINAPI*)(PVOID);

    template <class F>
    static F Lookup(HMODULE module, const char* name) {
        return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
    }

    TIsWow64Process FIsWow64Process = nullptr;
    TDisable FDisable = nullptr;
    TRevert FRevert = nullptr;
    bool FWow64 = false;
};

} // namespace

TWow64& SystemWow64() {
    static TSystemWow64 system;
    return system;
}

std::vector<TRegView> TWinStartupSystem::Views(TRootKey root) {
    if (root == TRootKey::rkLocalMachine && FWow64.IsWow64())
        return {TRegView::rv64, TRegView::rv32};
    return {TRegView::rvOwn};
}

std::optional<std::vector<std::string>> TWinStartupSystem::ValueNames(TRootKey root, const std::string& key,
                                                                      TRegView view) {
    TViewRegistry registry(root, view);
    if (!registry.OpenKey(key, false))
        return std::nullopt;
    TStringList names;
    registry.GetValueNames(names);
    std::vector<std::string> result;
    for (int i = 0; i < names.Count(); ++i)
        result.push_back(names[i]);
    return result;
}

std::optional<std::string> TWinStartupSystem::ReadString(TRootKey root, const std::string& key, TRegView view,
                                                         const std::string& name) {
    TViewRegistry registry(root, view);
    if (!registry.OpenKey(key, false))
        return std::nullopt;
    try {
        return registry.ReadString(name);
    } catch (const ERegistryException&) {
        return std::nullopt; // not a string value
    }
}

TDeleteResult TWinStartupSystem::DeleteValue(TRootKey root, const std::string& key, TRegView view,
                                             const std::string& name, std::string& reason) {
    TViewRegistry registry(root, view);
    if (!registry.OpenKey(key, false)) {
        if (KeyMissing(root, key, view))
            return TDeleteResult::drAlreadyGone;
        reason = "无法打开注册表项 " + key + "（可能需要管理员权限）";
        return TDeleteResult::drRefused;
    }
    if (!registry.ValueExists(name))
        return TDeleteResult::drAlreadyGone;
    if (!registry.DeleteValue(name)) {
        reason = "系统拒绝删除该注册表值（可能需要管理员权限）";
        return TDeleteResult::drRefused;
    }
    return TDeleteResult::drDeleted;
}

bool TWinStartupSystem::IsFile(const std::string& path) {
    const TRedirectionOff native(FWow64);
    return FileExists(path);
}

std::string TWinStartupSystem::FindOnSearchPath(const std::string& name) {
    const TRedirectionOff native(FWow64);
    char found[MAX_PATH] = {};
    char* filePart = nullptr;
    const DWORD length = SearchPathA(nullptr, name.c_str(), nullptr, MAX_PATH, found, &filePart);
    if (length == 0 || length >= MAX_PATH)
        return {};
    // The search also finds folders ("c:\" of a cut-off command): only a file is a program.
    const std::string path(found, length);
    return FileExists(path) ? path : std::string();
}

int TWinStartupSystem::FileIconIndex(const std::string& path) {
    SHFILEINFOA info{};
    SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_TYPENAME);
    return info.iIcon;
}

std::string TWinStartupSystem::SpecialFolderPath(int csidl) {
    PIDLIST_ABSOLUTE items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(FOwner, csidl, &items)) || !items)
        return {};
    char path[MAX_PATH] = {};
    const bool ok = SHGetPathFromIDListA(items, path);
    CoTaskMemFree(items);
    return ok ? std::string(path) : std::string();
}

std::vector<std::string> TWinStartupSystem::FolderFiles(const std::string& folder) {
    std::vector<std::string> files;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return files;
    do {
        // The folder's own settings file is hidden and system: it is not something that starts.
        const DWORD hiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ||
            (data.dwFileAttributes & hiddenSystem) == hiddenSystem ||
            lstrcmpiA(data.cFileName, "desktop.ini") == 0)
            continue;
        files.emplace_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return files;
}

TDeleteResult TWinStartupSystem::RemoveFile(const std::string& path, std::string& reason) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileA(path.c_str()))
        return TDeleteResult::drDeleted;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return TDeleteResult::drAlreadyGone;
    reason = SystemMessage(error);
    return TDeleteResult::drRefused;
}

bool TWinStartupSystem::IsWinNT() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExA(&version);
#pragma GCC diagnostic pop
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

HIMAGELIST SystemSmallIcons() {
    SHFILEINFOA info{};
    const auto list = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_ICON | SHGFI_SMALLICON));
    if (info.hIcon)
        DestroyIcon(info.hIcon); // asked for with the list, but only the list is kept
    return list;
}
