#include "WinSkinPopMenu.h"

#include "SkinDraw.h"
#include "WinHandle.h"
#include "WinSkinDataComponent.h"
#include "WinSkinDataWatcher.h"
#include "WinSkinMessages.h"

namespace {

constexpr DWORD DCX_USESTYLE_FLAG = 0x10000;

bool WatcherActive() {
    const ISkinWatcher* watcher = SkinWatcher();
    return watcher && watcher->Active();
}

TRect WindowSize(HWND wnd) {
    RECT window{};
    GetWindowRect(wnd, &window);
    return TRect{0, 0, window.right - window.left, window.bottom - window.top};
}

// A clipping region and background mode on a DC for a scope.
class TClipScope {
public:
    TClipScope(HDC dc, const TRect& inner)
        : FDC(dc), FRegion(CreateRectRgn(inner.left, inner.top, inner.right, inner.bottom)),
          FOldMode(SetBkMode(dc, TRANSPARENT)) {
        SelectClipRgn(dc, FRegion.Get());
    }
    TClipScope(const TClipScope&) = delete;
    TClipScope& operator=(const TClipScope&) = delete;
    ~TClipScope() {
        SelectClipRgn(FDC, nullptr);
        SetBkMode(FDC, FOldMode);
    }

private:
    HDC FDC;
    TRegionHandle FRegion;
    int FOldMode;
};

} // namespace

TWinSkinPopMenu::~TWinSkinPopMenu() {
    // A window still running through the thunk must not call into freed memory.
    Detach();
}

void TWinSkinPopMenu::Attach(HWND menuWnd, TSkinData& skinData, HMENU menu) {
    if (Attached() || !IsWindow(menuWnd))
        return;
    FMenuWnd = menuWnd;
    FSkinData = &skinData;
    FMenuHandle = menu;
    // The system's menu windows are Unicode: replacing their procedure through the ANSI call
    // would make every message pass through a translation.
    // A failure leaves the menu to its own drawing.
    FWindowHook.SetOnFailure([this] { Detach(); });
    FWindowHook.Install(menuWnd, TWndMethod(this, &TWinSkinPopMenu::WndProc),
                        IsWindowUnicode(menuWnd) != FALSE);
}

void TWinSkinPopMenu::Detach() {
    if (!Attached())
        return;
    FWindowHook.Remove();
    FBackground.SetSize(0, 0);
}

void TWinSkinPopMenu::WndProc(TMessage& message) {
    if (message.Msg == WMS_ISSKINNED) {
        message.Result = 1;
        return;
    }
    if (!WatcherActive()) {
        Default(message);
        return;
    }
    switch (message.Msg) {
    case WM_DESTROY:
        // Let go first; the previous procedure still gets the message.
        Detach();
        Default(message);
        return;
    case WM_ERASEBKGND:
        if (!FSkinData || !FSkinData->Options().Contains(xoMenuBG))
            Default(message);
        message.Result = 1;
        return;
    case WM_NCPAINT:
        NcPaint(message);
        return;
    case WM_PRINT:
        Print(message);
        return;
    case WM_PAINT:
        Paint(message);
        return;
    default:
        Default(message);
    }
}

bool TWinSkinPopMenu::BuildBackground() {
    if (!FSkinData || FSkinData->SkinLoading())
        return false;
    TDataSkinObject* element = FSkinData->Elements().MenuBackground.get();
    if (!element || element->Bitmap.Empty())
        return false;
    const TRect size = WindowSize(FMenuWnd);
    if (RectWidth(size) <= 0 || RectHeight(size) <= 0)
        return false;
    // The element's own frame count is not used: the whole image is the one frame.
    const auto built =
        BuildSkinBitmap(size, element->Bitmap, element->Margins(), false, element->Tile == 1, 1, 1);
    FBackground.Assign(built.get());
    RECT window{};
    GetWindowRect(FMenuWnd, &window);
    POINT client{0, 0};
    ClientToScreen(FMenuWnd, &client);
    FClientOrigin = POINT{client.x - window.left, client.y - window.top};
    return true;
}

void TWinSkinPopMenu::NcPaint(TMessage& message) {
    if (!BuildBackground()) {
        Default(message);
        return;
    }
    HRGN region = message.WParam > 1 ? reinterpret_cast<HRGN>(message.WParam) : nullptr;
    const DWORD flags = DCX_WINDOW | DCX_USESTYLE_FLAG | (region ? DCX_INTERSECTRGN : 0);
    // GetDCEx takes the update region over: a copy keeps the caller's.
    HRGN copy = nullptr;
    if (region) {
        copy = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(copy, region, nullptr, RGN_COPY);
    }
    if (HDC dc = GetDCEx(FMenuWnd, copy, flags)) {
        BitBlt(dc, 0, 0, FBackground.Width(), FBackground.Height(), FBackground.Canvas()->Handle(), 0, 0,
               SRCCOPY);
        ReleaseDC(FMenuWnd, dc);
    } else if (copy) {
        DeleteObject(copy);
    }
    // The system frame is never drawn.
    message.Result = 0;
}

void TWinSkinPopMenu::Print(TMessage& message) {
    RECT window{};
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    if (!dc || !GetWindowRect(FMenuWnd, &window) || !BuildBackground()) {
        Default(message);
        return;
    }
    BitBlt(dc, 0, 0, FBackground.Width(), FBackground.Height(), FBackground.Canvas()->Handle(), 0, 0,
           SRCCOPY);
    TRect inner = WindowSize(FMenuWnd);
    InflateRect(&inner, -BorderWidth, -BorderWidth);
    TClipScope clip(dc, inner);
    Default(message);
}

// Where the system draws the menu's frame inside the client area (no non-client border), the
// skinned picture goes under the items the same way as when printed.
void TWinSkinPopMenu::Paint(TMessage& message) {
    RECT client{};
    GetClientRect(FMenuWnd, &client);
    const TRect size = WindowSize(FMenuWnd);
    if (client.right != RectWidth(size) || client.bottom != RectHeight(size) || !BuildBackground()) {
        Default(message);
        return;
    }
    {
        TWindowDC dc(FMenuWnd);
        TRect inner = size;
        InflateRect(&inner, -BorderWidth, -BorderWidth);
        // The border ring only: the items repaint themselves over the background.
        const TRegionHandle ring(CreateRectRgn(0, 0, size.right, size.bottom));
        const TRegionHandle hole(CreateRectRgn(inner.left, inner.top, inner.right, inner.bottom));
        CombineRgn(ring.Get(), ring.Get(), hole.Get(), RGN_DIFF);
        Default(message);
        SelectClipRgn(dc.Get(), ring.Get());
        BitBlt(dc.Get(), 0, 0, FBackground.Width(), FBackground.Height(), FBackground.Canvas()->Handle(), 0,
               0, SRCCOPY);
        SelectClipRgn(dc.Get(), nullptr);
    }
}
