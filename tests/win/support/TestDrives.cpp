#include "TestDrives.h"

#include <winioctl.h>

#include <algorithm>

namespace twtest {

ScratchFolder::ScratchFolder(const std::string& name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    FPath = std::string(temp) + name + "-" + std::to_string(GetCurrentProcessId());
    RemoveTree(FPath);
    CreateDirectoryA(FPath.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    RemoveTree(FPath);
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    // The guard folder's name ends in dots: only the path taken as it is reaches it.
    RemoveDirectoryA(("\\\\?\\" + path).c_str());
}

namespace {

// The request layout of the mount manager's "define a Unix drive" call.
struct TUnixDrive {
    ULONG Size;
    ULONG Type; // a GetDriveType value
    ULONG FsType;
    DWORD Serial;
    ULONGLONG UnixDevice;
    WCHAR Letter;
    USHORT MountPointOffset;
    USHORT DeviceOffset;
    USHORT LabelOffset;
};
constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

} // namespace

MappedDrive::MappedDrive(char letter, UINT type, const std::string& folder) : FLetter(letter) {
    using UnixName = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName)
        return;
    const std::wstring wide(folder.begin(), folder.end()); // the scratch paths are ASCII
    char* mountPoint = unixName(wide.c_str());
    if (!mountPoint)
        return;
    FMapped = Define(type, mountPoint);
    HeapFree(GetProcessHeap(), 0, mountPoint);
}

MappedDrive::~MappedDrive() {
    if (FMapped)
        Define(DRIVE_UNKNOWN, nullptr);
}

bool MappedDrive::Define(UINT type, const char* mountPoint) const {
    std::string request(sizeof(TUnixDrive), '\0');
    if (mountPoint)
        request.append(mountPoint).push_back('\0');
    TUnixDrive drive{};
    drive.Size = static_cast<ULONG>(request.size());
    drive.Type = type;
    drive.Letter = static_cast<WCHAR>(FLetter - 'A' + 'a');
    drive.MountPointOffset = mountPoint ? static_cast<USHORT>(sizeof drive) : 0;
    request.replace(0, sizeof drive, reinterpret_cast<const char*>(&drive), sizeof drive);
    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE)
        return false;
    DWORD returned = 0;
    const BOOL ok = DeviceIoControl(manager, kDefineUnixDrive, request.data(), drive.Size, nullptr, 0,
                                    &returned, nullptr);
    CloseHandle(manager);
    return ok && GetDriveTypeA(Root().c_str()) == (mountPoint ? type : DRIVE_NO_ROOT_DIR);
}

std::string WindowsPath(std::string path) {
    if (!path.empty() && path.front() == '/')
        path = "Z:" + path;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::vector<char> FreeLetters(std::size_t count) {
    std::vector<char> letters;
    for (char letter = 'Y'; letter >= 'D' && letters.size() < count; --letter)
        if (GetDriveTypeA((std::string(1, letter) + ":\\").c_str()) == DRIVE_NO_ROOT_DIR)
            letters.push_back(letter);
    return letters;
}

} // namespace twtest
