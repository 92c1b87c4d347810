#include "ImmunizerSystem.h"

#include <windows.h>

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
    return WinExec(commandLine.c_str(), SW_HIDE);
}
