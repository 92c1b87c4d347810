// Frame geometry and painting: border sizes from the skin, the client rectangle inside them,
// borders and title bar drawn from the border images, the window icon, and the window region
// cut from the transparent border pixels.
#include "WinSkinForm.h"

#include "SkinDraw.h"
#include "SkinFormFault.h"
#include "WinSkinMenu.h"

namespace {

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

int FramesOf(const TDataSkinObject& element) {
    return element.Frame > 0 ? element.Frame : 1;
}

// Sizes the window so that its client area is `client` again under the frame it has now.
void KeepClientSize(HWND wnd, const RECT& client) {
    RECT now{};
    GetClientRect(wnd, &now);
    const int dx = Width(client) - Width(now);
    const int dy = Height(client) - Height(now);
    if (dx == 0 && dy == 0)
        return;
    RECT window{};
    GetWindowRect(wnd, &window);
    SetWindowPos(wnd, nullptr, 0, 0, Width(window) + dx, Height(window) + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A region that takes ownership of what it is combined with.
void Join(TRegionHandle& into, TRegionHandle part) {
    if (part)
        CombineRgn(into.Get(), into.Get(), part.Get(), RGN_OR);
}

} // namespace

TDataSkinBorder* TWinSkinForm::BorderElement(int index) const {
    if (!FSkinData)
        return nullptr;
    const TSkinElements& e = FSkinData->Elements();
    switch (index) {
    case 1:
        return e.BorderLeft.get();
    case 2:
        return e.BorderRight.get();
    case 3:
        return e.BorderTop.get();
    case 4:
        return e.BorderBottom.get();
    default:
        return nullptr;
    }
}

// ---- geometry ------------------------------------------------------------------------------

void TWinSkinForm::BuildFrame() {
    if (!FSkinData || FSkinData->SkinLoading())
        return;
    FBorderParts = {};
    if (FBorderKind == bkNone) {
        FBorderLeft = FBorderTop = FBorderRight = FBorderBottom = 0;
        FMenuHeight = 0;
    } else {
        const TSkinElements& e = FSkinData->Elements();
        FBorderTop = e.BorderTop->Bitmap.Height() / FramesOf(*e.BorderTop);
        FBorderLeft = e.BorderLeft->Bitmap.Width() / FramesOf(*e.BorderLeft);
        FBorderRight = e.BorderRight->Bitmap.Width() / FramesOf(*e.BorderRight);
        FBorderBottom = e.BorderBottom->Bitmap.Height() / FramesOf(*e.BorderBottom);
    }
    CreateButtons();
}

void TWinSkinForm::CaptureIcon() {
    const int cx = GetSystemMetrics(SM_CXSMICON);
    const int cy = GetSystemMetrics(SM_CYSMICON);
    if (FIconBitmap.Width() != cx || FIconBitmap.Height() != cy) {
        // Transparent until an icon is drawn in.
        FIconBitmap.SetSize(cx, cy);
        TCanvas& canvas = *FIconBitmap.Canvas();
        canvas.Brush()->SetColor(SkinKeyColor);
        canvas.FillRect(TRect{0, 0, cx, cy});
    }
    FIconSize = cx;
    FIcon = WindowIcon();
    if (!FIcon)
        return;
    TIconHandle copy(static_cast<HICON>(CopyImage(FIcon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE)));
    if (copy)
        DrawIconEx(FIconBitmap.Canvas()->Handle(), 0, 0, copy.Get(), cx, cy, 0, nullptr, DI_NORMAL);
}

// The icon the native frame would show: the window's own, else its class's.
HICON TWinSkinForm::WindowIcon() const {
    for (WPARAM kind : {ICON_SMALL, ICON_BIG})
        if (auto icon = reinterpret_cast<HICON>(SendMessageA(FHandle, WM_GETICON, kind, 0)))
            return icon;
    for (int index : {GCLP_HICONSM, GCLP_HICON})
        if (auto icon = reinterpret_cast<HICON>(GetClassLongPtrA(FHandle, index)))
            return icon;
    return nullptr;
}

void TWinSkinForm::DrawIcon(HDC dc, const TRect& rect) {
    if (FIcon) {
        TIconHandle copy(
            static_cast<HICON>(CopyImage(FIcon, IMAGE_ICON, FIconSize, FIconSize, LR_COPYFROMRESOURCE)));
        if (copy)
            DrawIconEx(dc, rect.left, rect.top, copy.Get(), FIconSize, FIconSize, 0, nullptr, DI_NORMAL);
        return;
    }
    DrawTransparent(dc, rect, FIconBitmap, SkinKeyColor);
}

void TWinSkinForm::CalcClient(TMessage& message) {
    Default(message);
    if (LOBYTE(message.WParam) == 0) {
        message.Result = 0;
        return;
    }
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam);
    if (IsMDIChildMaxOrMin() || FBorderKind == bkNone) {
        params->rgrc[1] = params->rgrc[0];
    } else {
        const WINDOWPOS& pos = *params->lppos;
        const RECT client{pos.x + FBorderLeft, pos.y + FBorderTop + FMenuHeight,
                          pos.x + pos.cx - FBorderRight, pos.y + pos.cy - FBorderBottom};
        params->rgrc[0] = client;
        params->rgrc[1] = client;
    }
    message.Result = WVR_VALIDRECTS;
}

// ---- painting ------------------------------------------------------------------------------

void TWinSkinForm::NcPaint(TMessage& message) {
    SetSysMenuStyle(false);
    if (FSkinData && !FSkinData->FramePainting()) {
        message.Result = 0;
        return;
    }
    if ((FMDIKind == mdChild && FWinState == wsMaximized) || FBorderKind == bkNone) {
        Default(message);
        return;
    }
    PaintFrame();
    message.Result = 0;
}

void TWinSkinForm::NcActivate(TMessage& message) {
    FActive = message.WParam != 0;
    SetHoverTimer(FActive);
    if (FMDIKind == mdFrame && FClientWnd)
        SendMessageA(FClientWnd, WM_NCACTIVATE, message.WParam, 0);
    else if (FMDIKind == mdChild)
        Default(message);
    if (!(FMDIKind == mdChild && FWinState == wsMaximized))
        PaintFrame();
    message.Result = 1;
}

void TWinSkinForm::PaintFrame(HDC dc) {
    if (!SkinWorkBitmap() || (FSkinState != ssActive && FSkinState != ssRefreshing) ||
        FBorderKind == bkNone || (FMDIKind == mdChild && FWinState == wsMaximized) || !SkinReady() ||
        FSkinFailed)
        return;
    std::unique_ptr<TWindowDC> own;
    if (!dc) {
        own = std::make_unique<TWindowDC>(FHandle, true);
        dc = own->Get();
    }
    try {
        if (FButtonsReleased)
            CreateButtons();
        GetWindowRect(FHandle, &FWindowRect);
        const int w = Width(FWindowRect);
        const int h = Height(FWindowRect);
        FWindowWidth = w;
        FWindowHeight = h;
        if (FWinState == wsMinimized) {
            PaintTitle(dc);
        } else {
            const int l = FBorderLeft, t = FBorderTop, r = FBorderRight, b = FBorderBottom;
            TBitmap* left = BuildBorderPart(1, l, h);
            TBitmap* right = BuildBorderPart(2, r, h);
            if (left)
                BitBlt(dc, 0, 0, l, h, left->Canvas()->Handle(), 0, 0, SRCCOPY);
            if (right)
                BitBlt(dc, w - r, 0, r, h, right->Canvas()->Handle(), 0, 0, SRCCOPY);
            PaintBorderPart(4, TRect{l, h - b, w - r, h}, dc);
            PaintTitle(dc, left, right);
            if (FMenuHeight > 0) {
                const RECT band{l, t, w - r, t + FMenuHeight};
                if (FMenuBar)
                    FMenuBar->PaintBar(dc, band);
                else
                    FillRect(dc, &band, FSkinData->Elements().ButtonFaceBrush.Get());
            }
        }
    } catch (...) {
        // A broken skin image must not take the window down; the frame stays as it was.
    }
    FHotObject = nullptr;
}

// Border element 1 left, 2 right, 3 top, 4 bottom composed at a size, in the frame that
// matches the window's activity; null when there is nothing to draw. Parts are kept until the
// size, the frame or the skin changes, so repainting an unchanged frame only copies them.
TBitmap* TWinSkinForm::BuildBorderPart(int index, int w, int h) {
    TDataSkinBorder* element = BorderElement(index);
    if (w <= 0 || h <= 0 || !element || element->Bitmap.Empty())
        return nullptr;
    const int frames = FramesOf(*element);
    const int frame = (FActive || frames == 1) ? 1 : 2;
    TBorderPartCache& cached = FBorderParts.at(static_cast<size_t>(index - 1));
    if (!cached.Bitmap || cached.Width != w || cached.Height != h || cached.Frame != frame) {
        cached.Bitmap = BuildSkinBitmap(TRect{0, 0, w, h}, element->Bitmap, element->Margins(), index > 2,
                                        element->Tile != 1, frames, frame);
        cached.Width = w;
        cached.Height = h;
        cached.Frame = frame;
    }
    return cached.Bitmap.get();
}

void TWinSkinForm::PaintBorderPart(int index, const TRect& rect, HDC dc) {
    const int w = Width(rect);
    const int h = Height(rect);
    if (TBitmap* part = BuildBorderPart(index, w, h))
        BitBlt(dc, rect.left, rect.top, w, h, part->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TWinSkinForm::PaintTitle(HDC dc, TBitmap* leftPart, TBitmap* rightPart) {
    TCanvas& canvas = *FTitleBitmap.Canvas();
    if (FWinState == wsMinimized) {
        FTitleBitmap.SetSize(FWindowWidth, FWindowHeight);
        const RECT all{0, 0, FWindowWidth, FWindowHeight};
        FillRect(canvas.Handle(), &all, FSkinData->Elements().ButtonFaceBrush.Get());
        PaintBorderPart(3, TRect{0, 0, FWindowWidth, FBorderTop}, canvas.Handle());
    } else {
        FTitleBitmap.SetSize(FWindowWidth, FBorderTop);
        // The tops of the side borders run beside the title image. They come from the parts
        // just built rather than from the screen, which may show another window there.
        if (leftPart)
            BitBlt(canvas.Handle(), 0, 0, FBorderLeft, FBorderTop, leftPart->Canvas()->Handle(), 0, 0,
                   SRCCOPY);
        if (rightPart)
            BitBlt(canvas.Handle(), FWindowWidth - FBorderRight, 0, FBorderRight, FBorderTop,
                   rightPart->Canvas()->Handle(), 0, 0, SRCCOPY);
        PaintBorderPart(3, TRect{FBorderLeft, 0, FWindowWidth - FBorderRight, FBorderTop}, canvas.Handle());
    }
    PaintTitleText(canvas);
    LayoutButtons();
    DrawButtons(canvas);
    BitBlt(dc, 0, 0, FTitleBitmap.Width(), FTitleBitmap.Height(), canvas.Handle(), 0, 0, SRCCOPY);
    SetBkMode(dc, OPAQUE);
}

// ---- region --------------------------------------------------------------------------------

// The shape of one border part: its opaque pixels when the element is transparent, else its
// rectangle. `rect` is where the part lies in the window.
TRegionHandle TWinSkinForm::BorderRegion(int index, const TRect& rect, int width, int height) {
    TDataSkinBorder* element = BorderElement(index);
    const bool cut = element && element->Trans == 1 && width > 0 && height > 0;
    if (cut) {
        TBitmap work;
        work.SetSize(width, height);
        PaintBorderPart(index, TRect{0, 0, width, height}, work.Canvas()->Handle());
        return RegionFromBitmap(work, rect.left, rect.top, 1, 1, 1, SkinKeyColor);
    }
    return TRegionHandle(CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom));
}

void TWinSkinForm::BuildRegion() {
    if (FSkinState == ssDestroyed || !FSkinFrame || !SkinReady() || FSkinFailed)
        return;
    SkinFormStep(TSkinFormStep::BuildRegion);
    RECT window{};
    GetWindowRect(FHandle, &window);
    const int w = Width(window);
    const int h = Height(window);
    if (w * h == 0)
        return;
    if (FMDIKind == mdChild && FWinState != wsNormal)
        return;
    if (w == FRegionWidth && h == FRegionHeight && FMDIKind != mdChild && FSkinState != ssRefreshing)
        return;
    FRegion.Reset();
    FHasRegion = false;

    const TSkinElements& e = FSkinData->Elements();
    const bool shaped = e.BorderLeft->Trans || e.BorderRight->Trans || e.BorderTop->Trans;
    TRegionHandle region;
    if (shaped) {
        FRegionWidth = w;
        FRegionHeight = h;
        const int l = FBorderLeft, t = FBorderTop, r = FBorderRight, b = FBorderBottom;
        region.Reset(CreateRectRgn(l, t, w - r, h - b));
        if (FBorderKind != bkNone) {
            const int middle = w - l - r;
            TRegionHandle sides = BorderRegion(1, TRect{0, 0, l, h}, h > 1 ? l : 0, h);
            Join(sides, BorderRegion(2, TRect{w - r, 0, w, h}, h > 1 ? r : 0, h));
            TRegionHandle top = BorderRegion(3, TRect{l, 0, w - r, t}, t > 1 ? middle : 0, t);
            Join(top, BorderRegion(4, TRect{l, h - b, w - r, h}, b >= 2 ? middle : 0, b));
            Join(sides, std::move(top));
            Join(region, std::move(sides));
        }
    } else {
        // The size is not recorded: the next call builds the full rectangle again.
        region.Reset(CreateRectRgn(0, 0, w, h));
    }
    FRegion = std::move(region);
    // The window owns the region it is given; keep a copy for this object's bookkeeping.
    TRegionHandle given(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(given.Get(), FRegion.Get(), nullptr, RGN_COPY);
    if (SetWindowRgn(FHandle, given.Get(), TRUE))
        given.Detach();
    FHasRegion = true;
}

void TWinSkinForm::RemoveRegion() {
    if (!FHasRegion)
        return;
    FRegion.Reset();
    SetWindowRgn(FHandle, nullptr, FMDIKind == mdChild);
    FHasRegion = false;
}

// ---- skin changes and failures ---------------------------------------------------------------

void TWinSkinForm::ReleaseSkinElements() {
    FreeSysButtons();
    FBorderParts = {};
    FButtonsReleased = true;
}

void TWinSkinForm::FallBackToNative() {
    if (FSkinFailed)
        return;
    FSkinFailed = true;
    SetHoverTimer(false);
    FHotObject = nullptr;
    if (!IsWindow(FHandle))
        return;
    RestoreFormLook();
    if (!FSkinFrame)
        return;
    if (FMenuBar)
        FMenuBar->RestoreNativeMenu();
    // Measured first: taking the region away already brings the native frame back.
    RECT before{};
    GetClientRect(FHandle, &before);
    if (SkinFormWatcher().HideNewWindows()) {
        // Hidden until the start message, which may be what failed.
        SkinFormWatcher().SetHideNewWindows(false);
        const LONG_PTR style = WindowLong(GWL_STYLE);
        if (!(style & WS_VISIBLE))
            SetWindowLongValue(GWL_STYLE, style | WS_VISIBLE);
    }
    FRegion.Reset();
    FHasRegion = false;
    FRegionWidth = FRegionHeight = 0;
    SetWindowRgn(FHandle, nullptr, TRUE);
    SetCaption(true);
    SetSysMenuStyle(true);
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ReadWinState();
    if (FWinState == wsNormal && !(FIsChild && FMDIKind != mdChild))
        KeepClientSize(FHandle, before);
}
