// TSkinDateTime and TArrowButton: a date picker's flat border, and the skinned arrow that
// covers its drop-down button and hands every click on to the picker.
#include "WinSubClassSpin.h"

#include "SkinDraw.h"
#include "WinHandle.h"

#include <commctrl.h>

TClass TSkinDateTime::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinDateTime>("TSkinDateTime").Build();
    return &info;
}

TClass TArrowButton::StaticClass() {
    static const TClassInfo info = TClassBuilder<TArrowButton>("TArrowButton").Build();
    return &info;
}

namespace {

TDataSkinObject* ArrowElement(TSkinData* skinData) {
    TDataSkinObject* arrow = skinData ? skinData->Elements().ComboxArrow.get() : nullptr;
    return arrow && !arrow->Bitmap.Empty() && arrow->Frame > 0 ? arrow : nullptr;
}

} // namespace

// ---- TArrowButton ------------------------------------------------------------------------------

TArrowButton::TArrowButton(TComponent* owner) : TCustomControl(owner) {
    FSize = GetSystemMetrics(SM_CXHSCROLL);
    SetTabStop(false);
}

void TArrowButton::Attach(TSkinDateTime* skinner, TWinControl* control) {
    FSkinner = skinner;
    FControl = control;
    FTarget = control->Handle();
    SetParentWindow(FTarget);
    RECT picker{};
    GetWindowRect(FTarget, &picker);
    const bool leftSide = GetWindowLongPtrA(FTarget, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR;
    const int left = leftSide ? 2 : static_cast<int>(picker.right - picker.left) - FSize - 4;
    SetBounds(left, 0, FSize, FSize + 1);
    // The picker must not paint over its cover.
    SetWindowLongPtrA(FTarget, GWL_STYLE, GetWindowLongPtrA(FTarget, GWL_STYLE) | WS_CLIPCHILDREN);
    HandleNeeded();
    ShowWindow(Handle(), SW_SHOWNA);
}

void TArrowButton::SetHot(bool hot) {
    if (!IsWindowEnabled(FTarget))
        return;
    FHot = hot ? 1 : 0;
    Invalidate();
}

void TArrowButton::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        TCustomControl::WndProc(message);
        SetHot(message.Msg == CM_MOUSEENTER);
        return;
    case WM_LBUTTONDOWN: {
        TCustomControl::WndProc(message);
        // The picker sees a click on its own button, at the same place.
        const LPARAM at = MAKELPARAM(static_cast<short>(LOWORD(message.LParam)) + Left(),
                                     static_cast<short>(HIWORD(message.LParam)) + Top());
        PostMessageA(FTarget, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(FTarget, WM_LBUTTONUP, 0, at);
        Invalidate();
        return;
    }
    case WM_LBUTTONUP:
        TCustomControl::WndProc(message);
        ::SetFocus(FTarget);
        return;
    default:
        TCustomControl::WndProc(message);
        return;
    }
}

void TArrowButton::Paint(HDC dc) {
    RECT client{};
    GetClientRect(Handle(), &client);
    TSkinData* skinData = FSkinner ? FSkinner->SkinData() : nullptr;
    const TColor face = skinData ? static_cast<TColor>(skinData->Elements().Colors.ButtonFace) : clBtnFace;
    TBrushHandle brush(CreateSolidBrush(ColorToRGB(face)));
    FillRect(dc, &client, brush.Get());
    if (TDataSkinObject* arrow = ArrowElement(skinData))
        DrawStripFrameDC(dc, client, arrow->Frame, Hot() ? 4 : 1, arrow->Bitmap);
}

// ---- TSkinDateTime -------------------------------------------------------------------------------

TSkinDateTime::~TSkinDateTime() = default;

void TSkinDateTime::AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) {
    if (FAttached)
        return;
    TSkinEdit::AttachControl(form, skinData, ownColor, canvas);
    // A picker in up-down or time mode has spin buttons, no drop-down button to cover; and
    // without an arrow image the native button stays.
    if (!FAttached || (GetStyle(FHandle, GWL_STYLE) & DTS_UPDOWN) || !ArrowElement(FSkinData))
        return;
    FArrow.reset(new TArrowButton(nullptr));
    FArrow->Attach(this, FControl);
}

void TSkinDateTime::DrawSkin(HDC dc, const TRect& r) {
    DrawBorder(dc, r, 2);
}
