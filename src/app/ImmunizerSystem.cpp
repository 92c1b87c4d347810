#include "ImmunizerSystem.h"

#include "WinHandle.h"

#include <windows.h>

namespace {

struct TKernelHandleTraits {
    using handle_type = HANDLE;
    static void Free(HANDLE h) { CloseHandle(h); }
};
using TKernelHandle = THandle<TKernelHandleTraits>;

// WinExec's value for a start that failed: the system's error code when it is one of the
// small ones callers know, else 0.
unsigned StartError(DWORD code) {
    return code <= 31 ? static_cast<unsigned>(code) : 0;
}

} // namespace

unsigned TWinImmunizerSystem::DriveType(const std::string& root) {
    return GetDriveTypeA(root.c_str());
}

std::string TWinImmunizerSystem::WindowsDir() {
    char buffer[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
    return length < sizeof buffer ? std::string(buffer, length) : std::string();
}

bool TWinImmunizerSystem::IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void TWinImmunizerSystem::ClearAttributesAndDelete(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

void TWinImmunizerSystem::CreateFolder(const std::string& path) {
    CreateDirectoryA(path.c_str(), nullptr);
}

void TWinImmunizerSystem::RemoveFolder(const std::string& path) {
    RemoveDirectoryA(path.c_str());
}

unsigned TWinImmunizerSystem::Run(const std::string& commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info{};
    std::string line = commandLine; // CreateProcessA may write into its command line
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return StartError(GetLastError());
    const TKernelHandle process(info.hProcess);
    const TKernelHandle thread(info.hThread);
    WaitForSingleObject(process.Get(), static_cast<DWORD>(kCommandWait.count()));
    return 33;
}

std::optional<bool> TWinImmunizerSystem::FolderExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
