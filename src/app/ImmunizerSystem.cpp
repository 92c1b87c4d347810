#include "ImmunizerSystem.h"

#include "DriveCommand.h"
#include "ProcessStart.h"

#include <windows.h>

namespace {

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The name exactly as written: "\\?\" keeps the path from being normalized, trailing dots
// included.
std::string Verbatim(const std::string& path) {
    std::string verbatim = "\\\\?\\" + path;
    if (verbatim.back() == '\\')
        verbatim.pop_back();
    return verbatim;
}

} // namespace

bool TWinImmunizerSystem::PumpThreadMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

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
    TKernelHandle process;
    const unsigned started = StartProgram({}, commandLine, SW_HIDE, &process);
    if (!process)
        return started;
    const HANDLE handle = process.Get();
    const DWORD begin = GetTickCount();
    const auto waitLimit = static_cast<DWORD>(kCommandWait.count());
    // Messages first: what was queued before the command started is handled while it runs.
    while (FPump()) {
        const DWORD waited = GetTickCount() - begin; // wraps harmlessly
        if (waited >= waitLimit)
            break;
        const DWORD woken =
            MsgWaitForMultipleObjectsEx(1, &handle, waitLimit - waited, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken != WAIT_OBJECT_0 + 1)
            break; // the command ended, the time is up, or the wait failed
    }
    return started;
}

std::optional<bool> TWinImmunizerSystem::FolderExists(const std::string& path) {
    return IsFolder(path);
}

bool TWinImmunizerSystem::GuardLosesDots() {
    if (FGuardLosesDots)
        return *FGuardLosesDots;
    char temp[MAX_PATH] = {};
    const DWORD length = GetTempPathA(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH)
        return false; // not known: a "vox" folder is left alone
    const std::string root =
        std::string(temp) + "tw-guard-probe-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(root.c_str(), nullptr);
    Run(ImmunizeCommandLine(WindowsDir(), root));
    const std::string dotted = Verbatim(GuardFolderPath(root));
    const std::string dotless = DotlessGuardFolderPath(root);
    FGuardLosesDots = IsFolder(dotless) && !IsFolder(dotted);
    RemoveDirectoryA(dotted.c_str());
    RemoveDirectoryA(dotless.c_str());
    RemoveDirectoryA((root + "autorun.inf").c_str());
    RemoveDirectoryA(root.c_str());
    return *FGuardLosesDots;
}

void TWinImmunizerSystem::BeginDriveProbe() {
    if (FProbeDepth++ == 0) {
        FErrorModeBefore = SetErrorMode(SEM_FAILCRITICALERRORS);
        SetErrorMode(FErrorModeBefore | SEM_FAILCRITICALERRORS);
    }
}

void TWinImmunizerSystem::EndDriveProbe() {
    if (FProbeDepth > 0 && --FProbeDepth == 0)
        SetErrorMode(FErrorModeBefore);
}
