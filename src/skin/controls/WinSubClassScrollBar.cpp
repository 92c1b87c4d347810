// TWScrollbar: the overlay window over one native scroll bar.
#include "WinSubClassScroll.h"

#include "SkinDraw.h"
#include "TypInfo.h"
#include "WinHandle.h"
#include "WinSkinDataShared.h"

#include <algorithm>
#include <cstdlib>

TClass TWScrollbar::StaticClass() {
    static const TClassInfo info = TClassBuilder<TWScrollbar>("TWScrollbar").Build();
    return &info;
}

int ScrollBarPartAt(int pos, int length, int arrowSize, int thumbTop, int thumbBottom) {
    if (pos < arrowSize)
        return spFirstArrow;
    if (pos < thumbTop)
        return spTrackBefore;
    if (pos < thumbBottom)
        return spThumb;
    if (pos < length - arrowSize)
        return spTrackAfter;
    return spSecondArrow;
}

TThumbSpan ControlThumb(const SCROLLINFO& info, int length, int arrowSize) {
    const int a = arrowSize;
    const int range = info.nMax != info.nMin ? info.nMax - info.nMin : 9999999;
    const int offset = info.nPos - info.nMin;
    int thumb = 0;
    int top = 0;
    if (info.nPage != 0) {
        thumb = MulDiv(length - 2 * a, static_cast<int>(info.nPage) - 1, range);
        if (thumb < 8) {
            thumb = 8;
            top = a + MulDiv(length - 2 * a - 8, offset, range);
        } else {
            top = a + MulDiv(length - 2 * a, offset, range);
        }
    } else {
        thumb = a;
        top = a + MulDiv(length - 3 * a, offset, range);
    }
    if (info.nPos == info.nMin)
        top = a;
    return TThumbSpan{top, top + thumb};
}

namespace {

TDataSkinObject* WithImage(const std::unique_ptr<TDataSkinObject>& element) {
    return element && !element->Bitmap.Empty() ? element.get() : nullptr;
}

int AlongAxis(POINT p, int orientation) {
    return orientation == bkVertical ? p.y : p.x;
}

POINT LParamPoint(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

} // namespace

TWScrollbar::TWScrollbar(TComponent* owner) : TCustomPanel(owner) {
    FArrowSize = GetSystemMetrics(SM_CXHSCROLL);
    FVisible = false;
    SetTabStop(false);
}

void TWScrollbar::CreateParams(TCreateParams& params) {
    TCustomPanel::CreateParams(params);
    params.ExStyle = WS_EX_TOOLWINDOW;
    params.Style &= ~static_cast<DWORD>(WS_TABSTOP);
}

void TWScrollbar::AttachToControl(TSkinControl* skinner, TWinControl* control, int kind) {
    FTargetControl = control;
    if (kind == bkControl)
        FOrientation = GetEnumText(control, "Kind") == "sbhorizontal" ? bkHorizontal : bkVertical;
    Attach(skinner, control->Handle(), kind);
}

void TWScrollbar::AttachToWindow(TSkinControl* skinner, HWND wnd, int kind) {
    Attach(skinner, wnd, kind == bkVertical ? bkVertical : bkHorizontal);
}

void TWScrollbar::Attach(TSkinControl* skinner, HWND wnd, int kind) {
    FSkinner = skinner;
    FTarget = wnd;
    FKind = kind;
    if (kind != bkControl)
        FOrientation = kind;
    // Between a bar's repaints the parent's colour shows, as it would around the control.
    TColor color = clBtnFace;
    if (TSkinData* skinData = ScrollSkinData(skinner))
        color = static_cast<TColor>(skinData->Elements().Colors.ButtonFace);
    TWinControl* parent = FTargetControl ? FTargetControl->Parent() : nullptr;
    if (parent && PropType(parent, "Color") == tkInteger)
        color = static_cast<TColor>(GetIntProp(parent, "Color"));
    SetColor(color);
    SetParentWindow(GetParent(wnd));
    HandleNeeded();
    Place();
}

// ---- bar information ----------------------------------------------------------------------------

bool TWScrollbar::ReadBarInfo(SCROLLBARINFO& info) {
    info = SCROLLBARINFO{};
    info.cbSize = sizeof info;
    if (!FTarget)
        return false;
    if (FKind == bkControl)
        return ComputeControlInfo(info);
    return SkinGetScrollBarInfo(FTarget, FKind == bkHorizontal ? OBJID_HSCROLL : OBJID_VSCROLL, info);
}

bool TWScrollbar::ComputeControlInfo(SCROLLBARINFO& info) {
    RECT bounds{};
    if (!GetWindowRect(FTarget, &bounds))
        return false;
    SCROLLINFO scroll{sizeof scroll, SIF_ALL, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(FTarget, SB_CTL, &scroll))
        return false;
    info.rcScrollBar = bounds;
    FLength = FOrientation == bkVertical ? bounds.bottom - bounds.top : bounds.right - bounds.left;
    const TThumbSpan thumb = ControlThumb(scroll, FLength, FArrowSize);
    info.dxyLineButton = FArrowSize;
    info.xyThumbTop = thumb.Top;
    info.xyThumbBottom = thumb.Bottom;
    if (!IsWindowEnabled(FTarget))
        info.rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
    if (!IsWindowVisible(FTarget))
        info.rgstate[0] |= STATE_SYSTEM_INVISIBLE;
    return true;
}

// Where the thumb starts at a press: a control's own fields for a scroll-bar control.
int TWScrollbar::DownThumbTop(const SCROLLBARINFO& info) {
    if (FKind != bkControl || !FTargetControl)
        return info.xyThumbTop;
    const int position = static_cast<int>(GetIntProp(FTargetControl, "Position"));
    const int min = static_cast<int>(GetIntProp(FTargetControl, "Min"));
    const int max = static_cast<int>(GetIntProp(FTargetControl, "Max"));
    const int page = static_cast<int>(GetIntProp(FTargetControl, "PageSize"));
    const int a = FArrowSize;
    // An empty range only shifts the remembered start (MulDiv gives -1).
    if (page != 0)
        return a + MulDiv(FLength - 2 * a, position - min, max - min);
    return a + MulDiv(FLength - 3 * a, position - min, max - min);
}

// ---- placing --------------------------------------------------------------------------------------

void TWScrollbar::ShowOverlay(bool show) {
    FVisible = show;
    ShowWindow(Handle(), show ? SW_SHOWNA : SW_HIDE);
}

void TWScrollbar::Place() {
    SCROLLBARINFO info;
    if (!ReadBarInfo(info)) {
        FShown = false;
        return;
    }
    const bool targetVisible = (GetWindowLongPtrA(FTarget, GWL_STYLE) & WS_VISIBLE) != 0;
    if (!targetVisible || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) {
        ShowOverlay(false);
        FShown = false;
        return;
    }
    RECT bar = info.rcScrollBar;
    const int width = bar.right - bar.left;
    const int height = bar.bottom - bar.top;
    FBarPos = POINT{bar.left, bar.top};
    if (FKind == bkControl) {
        FBarRect = TRect{0, 0, width, height};
    } else {
        MapWindowPoints(nullptr, FTarget, reinterpret_cast<POINT*>(&bar), 2);
        FBarRect = bar;
    }
    FLength = FOrientation == bkVertical ? height : width;
    POINT at = FBarPos;
    ::ScreenToClient(GetParent(FTarget), &at);
    HWND self = Handle();
    // Directly above the target, so the target's own painting is clipped by the overlay.
    HWND above = GetWindow(FTarget, GW_HWNDPREV);
    const UINT order = above == self ? SWP_NOZORDER : 0;
    SetWindowPos(self, above ? above : HWND_TOP, at.x, at.y, width, height, order | SWP_NOACTIVATE);
    ShowOverlay(true);
    MoveWindow(self, at.x, at.y, width, height, TRUE);
    FShown = true;
}

void TWScrollbar::HideBar() {
    ShowWindow(Handle(), SW_HIDE);
    FShown = false;
    FVisible = false;
}

void TWScrollbar::InvalidateBar() {
    if (HandleAllocated())
        InvalidateRect(Handle(), nullptr, FALSE);
}

int TWScrollbar::HitTest(POINT p) const {
    return ScrollBarPartAt(AlongAxis(p, FOrientation), FLength, FArrowSize, FThumbTop, FThumbBottom);
}

// ---- mouse ----------------------------------------------------------------------------------------

void TWScrollbar::MouseMoved(TMessage& message) {
    const POINT at{LOWORD(message.LParam), HIWORD(message.LParam)};
    const int part = HitTest(at);
    if (part != FHotPart) {
        FHotPart = part;
        InvalidateBar();
    }
    SkinTrackMouseLeave(Handle());
}

void TWScrollbar::ButtonDown(TMessage& message) {
    GetCursorPos(&FDownCursor);
    SCROLLBARINFO info;
    if (ReadBarInfo(info)) {
        FDownThumbTop = DownThumbTop(info);
        FThumbTop = info.xyThumbTop;
        FThumbBottom = info.xyThumbBottom;
    }
    POINT at = LParamPoint(message.LParam);
    FHotPart = HitTest(at);
    if (FKind != bkControl) {
        FBarPos = POINT{info.rcScrollBar.left, info.rcScrollBar.top};
        at.x += FBarPos.x;
        at.y += FBarPos.y;
    }
    FPressed = true;
    InvalidateBar();
    ReleaseCapture();
    // The target's own scrolling loop runs inside this call, until the button is released.
    if (FKind == bkControl)
        SendMessageA(FTarget, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    else
        SendMessageA(FTarget, WM_NCLBUTTONDOWN, FKind == bkHorizontal ? HTHSCROLL : HTVSCROLL,
                     MAKELPARAM(at.x, at.y));
    FPressed = false;
    ReleaseCapture();
    // The pressed look goes, for every kind: the native loop is over.
    InvalidateBar();
}

void TWScrollbar::ButtonUp(TMessage& message) {
    POINT at = LParamPoint(message.LParam);
    if (FKind != bkControl) {
        at.x += FBarPos.x;
        at.y += FBarPos.y;
    }
    FPressed = false;
    ReleaseCapture();
    if (FKind == bkControl) {
        PostMessageA(FTarget, WM_LBUTTONUP, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        InvalidateBar();
    } else {
        PostMessageA(FTarget, WM_NCLBUTTONUP, FKind == bkHorizontal ? HTHSCROLL : HTVSCROLL,
                     MAKELPARAM(at.x, at.y));
    }
}

void TWScrollbar::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_ERASEBKGND:
        message.Result = 1;
        return;
    case WM_MOUSEMOVE:
        TCustomPanel::WndProc(message);
        MouseMoved(message);
        return;
    case WM_MOUSELEAVE:
        TCustomPanel::WndProc(message);
        if (!FPressed) {
            FHotPart = spNone;
            InvalidateBar();
        }
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        TCustomPanel::WndProc(message);
        ButtonDown(message);
        return;
    case WM_LBUTTONUP:
        TCustomPanel::WndProc(message);
        ButtonUp(message);
        return;
    default:
        TCustomPanel::WndProc(message);
        return;
    }
}

// ---- painting -------------------------------------------------------------------------------------

int TWScrollbar::GripSize(TBitmap& image) const {
    const int height = image.Height();
    return std::abs(height - FArrowSize) > 2 ? FArrowSize : height;
}

void TWScrollbar::Paint(HDC dc) {
    TSkinData* skinData = ScrollSkinData(FSkinner);
    if (!skinData)
        return;
    const TSkinElements& elements = skinData->Elements();
    TDataSkinObject* strip = WithImage(elements.Scrollbar);
    if (!strip)
        return;
    SCROLLBARINFO info;
    if (!ReadBarInfo(info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE))
        return;
    // A disabled window's bars look disabled too, whatever their own state says.
    const bool disabled = (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) != 0 || !IsWindowEnabled(FTarget);
    const bool vertical = FOrientation == bkVertical;

    RECT client{};
    GetClientRect(Handle(), &client);
    TRect b{0, 0, info.rcScrollBar.right - info.rcScrollBar.left,
            info.rcScrollBar.bottom - info.rcScrollBar.top};
    if (b.right <= 0 || b.bottom <= 0 || b.right > client.right || b.bottom > client.bottom)
        return;
    FLength = vertical ? b.bottom : b.right;

    // A scroll-bar control is drawn at the skin's thickness and stretched to the control; a
    // window's bar keeps its size and gets the skin's thickness drawn into it.
    const int grip = GripSize(strip->Bitmap);
    if (FKind == bkControl)
        (vertical ? b.right : b.bottom) = grip;
    TRect d = b;
    (vertical ? d.right : d.bottom) = grip;

    const int a = FArrowSize;
    const int arrow = FLength < 2 * a ? FLength / 2 : a;
    auto arrowFrame = [this](int base, int part) {
        if (FHotPart != part)
            return base;
        return base + (FPressed ? 1 : 3);
    };
    TDataSkinObject* trackElement = WithImage(vertical ? elements.VertScroll : elements.HorzScroll);
    const TBackgroundKey key{b.right,
                             b.bottom,
                             grip,
                             disabled ? 3 : 1,
                             arrowFrame(vertical ? 9 : 1, spFirstArrow),
                             arrowFrame(vertical ? 13 : 5, spSecondArrow),
                             elements.Colors.ButtonFace,
                             strip->Bitmap.Handle(),
                             trackElement ? trackElement->Bitmap.Handle() : nullptr};
    // Track and arrows change far less often than the thumb: composed once per look.
    if (!(key == FBackgroundKey) || FBackground.Empty()) {
        FBackgroundKey = key;
        FBackground.SetSize(b.right, b.bottom);
        TCanvas& back = *FBackground.Canvas();
        HDC dcBack = back.Handle();
        SetStretchBltMode(dcBack, COLORONCOLOR);
        TBrushHandle face(CreateSolidBrush(ColorToRGB(static_cast<TColor>(elements.Colors.ButtonFace))));
        FillRect(dcBack, &b, face.Get());
        TRect track = d;
        (vertical ? track.top : track.left) += a;
        (vertical ? track.bottom : track.right) -= a;
        if (trackElement && track.right > track.left && track.bottom > track.top)
            DrawSkinRect(dcBack, track, trackElement->Bitmap, false, trackElement->Tile == 1,
                         trackElement->Trans == 1, 4, key.TrackFrame, trackElement->Margins());
        const TRect first = vertical ? TRect{0, 0, d.right, arrow} : TRect{0, 0, arrow, d.bottom};
        const TRect second = vertical ? TRect{0, FLength - arrow, d.right, FLength}
                                      : TRect{FLength - arrow, 0, FLength, d.bottom};
        DrawStripFrame(back, first, 23, key.FirstArrow, strip->Bitmap);
        DrawStripFrame(back, second, 23, key.SecondArrow, strip->Bitmap);
    }
    FWork.SetSize(b.right, b.bottom);
    TCanvas& canvas = *FWork.Canvas();
    HDC work = canvas.Handle();
    SetStretchBltMode(work, COLORONCOLOR);
    BitBlt(work, 0, 0, b.right, b.bottom, FBackground.Canvas()->Handle(), 0, 0, SRCCOPY);

    int top = info.xyThumbTop;
    int bottom = info.xyThumbBottom;
    const bool dragging = FPressed && FHotPart == spThumb;
    if (dragging && FKind != bkControl) {
        const int thumb = bottom - top;
        POINT cursor{};
        GetCursorPos(&cursor);
        top = FDownThumbTop + AlongAxis(cursor, FOrientation) - AlongAxis(FDownCursor, FOrientation);
        top = std::max(a, std::min(top, FLength - a - thumb));
        bottom = top + thumb;
    }
    FThumbTop = top;
    FThumbBottom = bottom;

    if (!disabled) {
        const int thumbFrame = FHotPart == spThumb ? (FPressed ? 2 : 3) : 1;
        const int extent = vertical ? b.bottom : b.right;
        TDataSkinObject* thumbElement =
            WithImage(vertical ? elements.VertScrollThumb : elements.HorzScrollThumb);
        if (thumbElement && top >= 0 && bottom <= extent && bottom > top) {
            const int frames = std::max(1, static_cast<int>(thumbElement->Frame));
            const TRect r = vertical ? TRect{0, top, grip, bottom} : TRect{top, 0, bottom, grip};
            DrawSkinRect(work, r, thumbElement->Bitmap, false, false, thumbElement->Trans == 1, frames,
                         std::min(thumbFrame, frames), thumbElement->Margins());
        }
        const int length = bottom - top;
        const int offset = top + (length - grip) / 2;
        if (grip < length + 2 && offset >= 0 && offset + grip <= extent) {
            const int gripFrame = (vertical ? 20 : 17) + (dragging ? 1 : FHotPart == spThumb ? 2 : 0);
            const TRect r =
                vertical ? TRect{0, offset, grip, offset + grip} : TRect{offset, 0, offset + grip, grip};
            DrawStripFrame(canvas, r, 23, gripFrame, strip->Bitmap);
        }
    }

    if (FKind == bkControl) {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, 0, 0, client.right, client.bottom, work, 0, 0, b.right, b.bottom, SRCCOPY);
    } else {
        BitBlt(dc, 0, 0, b.right, b.bottom, work, 0, 0, SRCCOPY);
    }
}
