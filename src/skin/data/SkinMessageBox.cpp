#include "SkinMessage.h"

#include <windows.h>

void DefaultSkinMessageSink(const std::string& text) {
    // Owned by the active window so the program stays modal behind it, as the framework's own
    // message boxes do; the caption is the program's file name.
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string caption(path, length);
    const auto slash = caption.find_last_of("\\/:");
    if (slash != std::string::npos)
        caption.erase(0, slash + 1);
    const auto dot = caption.rfind('.');
    if (dot != std::string::npos && dot > 0)
        caption.erase(dot);
    // Without an active window, task-modal keeps the program's other windows disabled meanwhile.
    const HWND owner = GetActiveWindow();
    const UINT modality = owner ? MB_APPLMODAL : MB_TASKMODAL;
    MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING | modality);
}
