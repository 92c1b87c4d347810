// TListBox and TScrollBar over the standard LISTBOX and SCROLLBAR window classes.
#include "StdCtrlsLists.h"

#include "TypInfo.h"

#include <algorithm>

const TEnumType ListBorderStyleType{"TBorderStyle", {"bsNone", "bsSingle"}};
const TEnumType ScrollBarKindType{"TScrollBarKind", {"sbHorizontal", "sbVertical"}};

// ---- TListBox ------------------------------------------------------------------------------

TClass TListBox::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TListBox>("TListBox")
            .Enum("BorderStyle", ListBorderStyleType, &TListBox::BorderStyle, &TListBox::SetBorderStyle)
            .Build();
    return &info;
}

TListBox::TListBox(TComponent* owner) : TWinControl(owner) {
    FWidth = 121;
    FHeight = 97;
    FParentColor = false;
    FColor = clWindow;
    SetTabStop(true);
}

void TListBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, "LISTBOX");
    params.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    if (FBorderStyle == lbsSingle)
        params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TListBox::CreateWnd() {
    TWinControl::CreateWnd();
    for (const std::string& item : FItems)
        SendMessageA(FHandle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void TListBox::AddItem(const std::string& text) {
    FItems.push_back(text);
    if (FHandle)
        SendMessageA(FHandle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TListBox::Clear() {
    FItems.clear();
    if (FHandle)
        SendMessageA(FHandle, LB_RESETCONTENT, 0, 0);
}

int TListBox::TopIndex() {
    return FHandle ? static_cast<int>(SendMessageA(FHandle, LB_GETTOPINDEX, 0, 0)) : 0;
}

void TListBox::SetTopIndex(int value) {
    SendMessageA(Handle(), LB_SETTOPINDEX, static_cast<WPARAM>(value), 0);
}

void TListBox::SetBorderStyle(TListBorderStyle value) {
    if (FBorderStyle == value)
        return;
    FBorderStyle = value;
    // Through the message, so that whoever watches the control's messages sees the new window
    // coming.
    if (FHandle)
        Perform(CM_RECREATEWND);
}

// ---- TScrollBar ----------------------------------------------------------------------------

TClass TScrollBar::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TScrollBar>("TScrollBar")
            .Enum("Kind", ScrollBarKindType, &TScrollBar::Kind, &TScrollBar::SetKind)
            .Int("Position", &TScrollBar::Position, &TScrollBar::SetPosition)
            .Int("Min", &TScrollBar::Min, &TScrollBar::SetMin)
            .Int("Max", &TScrollBar::Max, &TScrollBar::SetMax)
            .Int("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize)
            .Build();
    return &info;
}

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
    FWidth = 121;
    FHeight = GetSystemMetrics(SM_CYHSCROLL);
    SetTabStop(true);
}

void TScrollBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, "SCROLLBAR");
    params.Style |= FKind == sbkVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateWnd() {
    TWinControl::CreateWnd();
    ApplyInfo();
}

void TScrollBar::SetKind(TScrollBarControlKind value) {
    if (FKind == value)
        return;
    FKind = value;
    // A standing bar is as wide as a lying one is high.
    SetBounds(FLeft, FTop, FHeight, FWidth);
    if (FHandle)
        RecreateWnd();
}

void TScrollBar::SetParams(int position, int min, int max) {
    if (max < min)
        max = min;
    FMin = min;
    FMax = max;
    FPageSize = std::clamp(FPageSize, 0, max - min + 1);
    const int old = FPosition;
    FPosition = std::clamp(position, FMin, std::max(FMin, Top()));
    ApplyInfo();
    if (old != FPosition && OnChange)
        OnChange(this);
}

void TScrollBar::SetPosition(int value) {
    SetParams(value, FMin, FMax);
}

void TScrollBar::SetPageSize(int value) {
    FPageSize = std::clamp(value, 0, FMax - FMin + 1);
    SetParams(FPosition, FMin, FMax);
}

void TScrollBar::ApplyInfo() {
    if (!FHandle)
        return;
    SCROLLINFO info{sizeof info, SIF_ALL, FMin, FMax, static_cast<UINT>(FPageSize), FPosition, 0};
    SetScrollInfo(FHandle, SB_CTL, &info, TRUE);
}

void TScrollBar::Scroll(int request) {
    int position = FPosition;
    switch (request) {
    case SB_LINEUP:
        position -= FSmallChange;
        break;
    case SB_LINEDOWN:
        position += FSmallChange;
        break;
    case SB_PAGEUP:
        position -= std::max(FLargeChange, FPageSize);
        break;
    case SB_PAGEDOWN:
        position += std::max(FLargeChange, FPageSize);
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(FHandle, SB_CTL, &info);
        position = info.nTrackPos;
        break;
    }
    case SB_TOP:
        position = FMin;
        break;
    case SB_BOTTOM:
        position = FMax;
        break;
    default:
        return;
    }
    SetPosition(position);
}

void TScrollBar::WndProc(TMessage& message) {
    if (message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL) {
        Scroll(LOWORD(message.WParam));
        message.Result = 0;
        return;
    }
    TWinControl::WndProc(message);
}

namespace {
const bool kRegistered = (RegisterClasses({TListBox::StaticClass(), TScrollBar::StaticClass()}), true);
}
