#include "StartupSystem.h"

#include "Registry.h"

#include <shellapi.h>
#include <shlobj.h>

namespace {

HKEY RootHandle(TRootKey root) {
    return root == TRootKey::rkLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
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

} // namespace

std::optional<std::vector<std::string>> TWinStartupSystem::ValueNames(TRootKey root, const std::string& key) {
    TRegistry registry(KEY_ALL_ACCESS);
    registry.SetRootKey(RootHandle(root));
    if (!registry.OpenKey(key, false))
        return std::nullopt;
    TStringList names;
    registry.GetValueNames(names);
    std::vector<std::string> result;
    for (int i = 0; i < names.Count(); ++i)
        result.push_back(names[i]);
    return result;
}

std::optional<std::string> TWinStartupSystem::ReadString(TRootKey root, const std::string& key,
                                                         const std::string& name) {
    TRegistry registry(KEY_ALL_ACCESS);
    registry.SetRootKey(RootHandle(root));
    if (!registry.OpenKey(key, false))
        return std::nullopt;
    try {
        return registry.ReadString(name);
    } catch (const ERegistryException&) {
        return std::nullopt; // not a string value
    }
}

bool TWinStartupSystem::DeleteValue(TRootKey root, const std::string& key, const std::string& name,
                                    std::string& reason) {
    TRegistry registry(KEY_ALL_ACCESS);
    registry.SetRootKey(RootHandle(root));
    if (!registry.OpenKey(key, false)) {
        reason = "无法打开注册表项 " + key + "（可能需要管理员权限）";
        return false;
    }
    if (!registry.ValueExists(name)) {
        reason = "该启动项已不存在";
        return false;
    }
    if (!registry.DeleteValue(name)) {
        reason = "系统拒绝删除该注册表值（可能需要管理员权限）";
        return false;
    }
    return true;
}

bool TWinStartupSystem::IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string TWinStartupSystem::FindOnSearchPath(const std::string& name) {
    char found[MAX_PATH] = {};
    char* filePart = nullptr;
    const DWORD length = SearchPathA(nullptr, name.c_str(), nullptr, MAX_PATH, found, &filePart);
    if (length == 0 || length >= MAX_PATH)
        return {};
    // The search also finds folders ("c:\" of a cut-off command): only a file is a program.
    const std::string path(found, length);
    return IsFile(path) ? path : std::string();
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

bool TWinStartupSystem::RemoveFile(const std::string& path, std::string& reason) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileA(path.c_str()))
        return true;
    reason = SystemMessage(GetLastError());
    return false;
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
