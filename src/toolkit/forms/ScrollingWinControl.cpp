// Scrolling controls: the scroll bars of forms and scroll boxes, which follow the extent of the
// controls inside and move them when scrolled.
#include "Forms.h"

#include <algorithm>

namespace {

const TEnumType BorderStyleType{"TBorderStyle", {"bsNone", "bsSingle"}};

int BarOf(TScrollBarKind kind) {
    return kind == sbHorizontal ? SB_HORZ : SB_VERT;
}

// The farthest right and bottom edges of the visible unaligned controls, in content
// coordinates (as if nothing were scrolled).
SIZE ContentExtent(TWinControl& control, int scrolledX, int scrolledY) {
    SIZE extent{0, 0};
    for (int i = 0; i < control.ControlCount(); ++i) {
        TControl* c = control.Controls(i);
        if (!c->Visible() || c->Align() != alNone)
            continue;
        extent.cx = std::max<LONG>(extent.cx, c->Left() + c->Width() + scrolledX);
        extent.cy = std::max<LONG>(extent.cy, c->Top() + c->Height() + scrolledY);
    }
    return extent;
}

// A control's rectangle in the client coordinates of one of its ancestors.
RECT RectIn(TWinControl& ancestor, TControl* control) {
    RECT r = control->BoundsRect();
    for (TWinControl* p = control->Parent(); p && p != &ancestor; p = p->Parent())
        OffsetRect(&r, p->Left(), p->Top());
    return r;
}

} // namespace

// ---- TControlScrollBar ---------------------------------------------------------------------

int TControlScrollBar::MaxPosition() const {
    return FVisible ? std::max(0, FRange - FPage) : 0;
}

void TControlScrollBar::SetPosition(int value) {
    value = std::clamp(value, 0, MaxPosition());
    if (value == FPosition)
        return;
    const int delta = FPosition - value;
    FPosition = value;
    if (FKind == sbHorizontal)
        FControl.ScrollBy(delta, 0);
    else
        FControl.ScrollBy(0, delta);
    if (FControl.HandleAllocated())
        Apply(FControl.Handle());
}

void TControlScrollBar::Scroll(WORD request) {
    switch (request) {
    case SB_LINEUP:
        SetPosition(FPosition - FIncrement);
        break;
    case SB_LINEDOWN:
        SetPosition(FPosition + FIncrement);
        break;
    case SB_PAGEUP:
        SetPosition(FPosition - std::max(FPage, 1));
        break;
    case SB_PAGEDOWN:
        SetPosition(FPosition + std::max(FPage, 1));
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        // The 32-bit track position: the message's 16 bits would cut long content short.
        SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        if (GetScrollInfo(FControl.Handle(), BarOf(FKind), &si))
            SetPosition(si.nTrackPos);
        break;
    }
    case SB_TOP:
        SetPosition(0);
        break;
    case SB_BOTTOM:
        SetPosition(MaxPosition());
        break;
    default:
        break;
    }
}

void TControlScrollBar::Apply(HWND wnd) {
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    if (FVisible) {
        si.nMax = FRange - 1;
        si.nPage = static_cast<UINT>(FPage);
        si.nPos = FPosition;
    }
    SetScrollInfo(wnd, BarOf(FKind), &si, TRUE);
    ShowScrollBar(wnd, BarOf(FKind), FVisible);
}

// ---- TScrollingWinControl ------------------------------------------------------------------

TClass TScrollingWinControl::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TScrollingWinControl>("TScrollingWinControl")
            .Bool("AutoScroll", &TScrollingWinControl::AutoScroll, &TScrollingWinControl::SetAutoScroll)
            .Build();
    return &info;
}

TScrollingWinControl::TScrollingWinControl(TComponent* owner) : TWinControl(owner) {
    FControlStyle.Include(csAcceptsControls);
}

void TScrollingWinControl::SetAutoScroll(bool value) {
    if (FAutoScroll == value)
        return;
    FAutoScroll = value;
    Realign();
}

void TScrollingWinControl::AlignControls(RECT& rect) {
    // The bars first: they decide how much client area the aligned controls share.
    UpdateScrollBars();
    rect = ClientRect();
    TWinControl::AlignControls(rect);
}

// Shows each bar while the content does not fit along its axis, counting the room the other
// bar takes when it is shown; positions stay within the new ranges.
void TScrollingWinControl::UpdateScrollBars() {
    // A minimised window has no client area to measure: the bars wait for the restore.
    if (!HandleAllocated() || FUpdatingScrollBars || IsIconic(FHandle))
        return;
    FUpdatingScrollBars = true;
    const SIZE extent = ContentExtent(*this, FHorzScrollBar.FPosition, FVertScrollBar.FPosition);
    RECT client;
    GetClientRect(FHandle, &client);
    const auto style = GetWindowLongPtrA(FHandle, GWL_STYLE);
    const int barWidth = GetSystemMetrics(SM_CXVSCROLL);
    const int barHeight = GetSystemMetrics(SM_CYHSCROLL);
    const int width = client.right + ((style & WS_VSCROLL) ? barWidth : 0);
    const int height = client.bottom + ((style & WS_HSCROLL) ? barHeight : 0);
    bool horz = FAutoScroll && extent.cx > width;
    bool vert = FAutoScroll && extent.cy > height;
    if (FAutoScroll && vert && !horz)
        horz = extent.cx > width - barWidth;
    if (FAutoScroll && horz && !vert)
        vert = extent.cy > height - barHeight;

    FHorzScrollBar.FRange = extent.cx;
    FHorzScrollBar.FPage = width - (vert ? barWidth : 0);
    FHorzScrollBar.FVisible = horz;
    FVertScrollBar.FRange = extent.cy;
    FVertScrollBar.FPage = height - (horz ? barHeight : 0);
    FVertScrollBar.FVisible = vert;
    const int x = std::min(FHorzScrollBar.FPosition, FHorzScrollBar.MaxPosition());
    const int y = std::min(FVertScrollBar.FPosition, FVertScrollBar.MaxPosition());
    if (x != FHorzScrollBar.FPosition || y != FVertScrollBar.FPosition) {
        ScrollBy(FHorzScrollBar.FPosition - x, FVertScrollBar.FPosition - y);
        FHorzScrollBar.FPosition = x;
        FVertScrollBar.FPosition = y;
    }
    FHorzScrollBar.Apply(FHandle);
    FVertScrollBar.Apply(FHandle);
    FUpdatingScrollBars = false;
}

void TScrollingWinControl::ScrollBy(int deltaX, int deltaY) {
    if (deltaX == 0 && deltaY == 0)
        return;
    DisableAlign();
    try {
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* c = Controls(i);
            if (c->Align() == alNone)
                c->SetBounds(c->Left() + deltaX, c->Top() + deltaY, c->Width(), c->Height());
        }
    } catch (...) {
        EnableAlign();
        throw;
    }
    Invalidate();
    EnableAlign();
}

void TScrollingWinControl::ScrollInView(TControl* control) {
    if (!control || control == this || !ContainsControl(control) || !HandleAllocated())
        return;
    const RECT r = RectIn(*this, control);
    const RECT client = ClientRect();
    auto into = [](TControlScrollBar& bar, LONG low, LONG high, LONG page) {
        if (high > page)
            bar.SetPosition(bar.Position() + std::min(high - page, low));
        else if (low < 0)
            bar.SetPosition(bar.Position() + low);
    };
    into(FHorzScrollBar, r.left, r.right, client.right);
    into(FVertScrollBar, r.top, r.bottom, client.bottom);
}

void TScrollingWinControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (message.LParam != 0)
            break; // a scroll-bar control's notification, reflected to it
        (message.Msg == WM_HSCROLL ? FHorzScrollBar : FVertScrollBar).Scroll(LOWORD(message.WParam));
        message.Result = 0;
        return;
    case WM_MOUSEWHEEL:
        if (FVertScrollBar.IsScrollBarVisible()) {
            const int notches = GET_WHEEL_DELTA_WPARAM(message.WParam) / WHEEL_DELTA;
            FVertScrollBar.SetPosition(FVertScrollBar.Position() - notches * 3 * FVertScrollBar.Increment());
            message.Result = 0;
            return;
        }
        break;
    case CM_FOCUSCHANGED:
        if (FAutoScroll)
            ScrollInView(reinterpret_cast<TControl*>(message.LParam));
        break;
    default:
        break;
    }
    TWinControl::WndProc(message);
}

// ---- TScrollBox ----------------------------------------------------------------------------

TClass TScrollBox::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TScrollBox>("TScrollBox")
            .Enum("BorderStyle", BorderStyleType, &TScrollBox::BorderStyle, &TScrollBox::SetBorderStyle)
            .Build();
    return &info;
}

TScrollBox::TScrollBox(TComponent* owner) : TScrollingWinControl(owner) {
    FWidth = 185;
    FHeight = 41;
}

void TScrollBox::SetBorderStyle(TFormBorderStyle value) {
    value = value == bsNone ? bsNone : bsSingle;
    if (FBorderStyle == value)
        return;
    FBorderStyle = value;
    RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& params) {
    TScrollingWinControl::CreateParams(params);
    if (FBorderStyle == bsSingle)
        params.ExStyle |= WS_EX_CLIENTEDGE;
}

namespace {
const bool kRegistered = (RegisterClasses({TScrollBox::StaticClass()}), true);
}
