#include "SkinViewCapture.h"

#include "PngEncoder.h"
#include "WinHandle.h"
#include "WinSkinForm.h"
#include "WinSkinManage.h"

#include <algorithm>

namespace {

bool Skinned(HWND wnd) {
    const TSkinManage* watcher = SkinManage();
    const TWinSkinForm* painter = watcher ? watcher->FindSkinForm(wnd) : nullptr;
    return painter && painter->SkinState() == TWinSkinForm::ssActive;
}

// Handles what is queued now; true when there was anything.
bool PumpQueued() {
    bool any = false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        any = true;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return any;
}

bool DeadlinePassed(DWORD start, DWORD timeoutMs) {
    return GetTickCount() - start > timeoutMs;
}

} // namespace

bool WaitSkinnedAndPainted(std::span<const HWND> windows, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!std::all_of(windows.begin(), windows.end(), Skinned)) {
        if (DeadlinePassed(start, timeoutMs))
            return false;
        if (!PumpQueued())
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT); // the watcher starts on a timer
    }
    // Everything painted again now, frames and children included, so that the capture shows the
    // skin whatever order the painters started in.
    for (HWND wnd : windows)
        RedrawWindow(wnd, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    while (PumpQueued() || HIWORD(GetQueueStatus(QS_PAINT | QS_POSTMESSAGE | QS_SENDMESSAGE)) != 0)
        if (DeadlinePassed(start, timeoutMs))
            return false;
    GdiFlush();
    return true;
}

RECT BoundsOf(std::span<const HWND> windows) {
    RECT bounds{};
    for (HWND wnd : windows) {
        RECT r{};
        GetWindowRect(wnd, &r);
        UnionRect(&bounds, &bounds, &r);
    }
    return bounds;
}

std::vector<std::uint8_t> CaptureScreenPng(const RECT& area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    TBitmapHandle dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    TMemoryDC memory(CreateCompatibleDC(nullptr));
    if (!dib || !memory)
        return {};
    {
        TSelectScope select(memory.Get(), dib.Get());
        TWindowDC screen(nullptr);
        if (!BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), area.left, area.top, SRCCOPY))
            return {};
    }
    GdiFlush();
    return EncodePng(
        TConstPixelView(width, height, DibStride(width, 24), 24, static_cast<const std::uint8_t*>(bits)));
}
