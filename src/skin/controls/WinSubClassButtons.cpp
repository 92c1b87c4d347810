#include "WinSubClassButtons.h"

#include "SkinDraw.h"
#include "SysUtils.h"
#include "TypInfo.h"
#include "WinSkinDataShared.h"

#include <algorithm>

TClass TSkinButton::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinButton>("TSkinButton").Build();
    return &info;
}

TSkinButton::TSkinButton(TComponent* owner) : TSkinControl(owner) {
    FBuffer.SetPixelFormat(pf32bit);
}

void TSkinButton::AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) {
    TSkinControl::AttachControl(form, skinData, ownColor, canvas);
    FVariant = 0;
    if (!FControl)
        return;
    // These libraries' buttons keep their own mouse-down handling.
    const std::string name = LowerCase(FControl->ClassName());
    if (name.rfind("trz", 0) == 0 || name.rfind("tel", 0) == 0)
        FVariant = 1;
    FTransparent = FControl->Tag() == 5555 || (FSkinData && FSkinData->Options().Contains(xoTransparent));
}

// ---- messages -------------------------------------------------------------------------------

bool TSkinButton::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        PaintClient(message);
        return false;
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    case WM_TIMER:
        KillTimer(FHandle, 1);
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The native button never sees the press: it neither captures the mouse nor clicks by
        // itself; the release below decides.
        if (GetFocus() != FHandle)
            SetFocus(FHandle);
        FMouseState |= msPressed;
        PaintNow(nullptr);
        if (FVariant == 0 && FControl)
            ForwardMouseDown(message);
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinButton::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_SETTEXT:
        PaintNow(nullptr);
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (message.WParam == VK_SPACE) {
            if (message.Msg == WM_KEYDOWN)
                FMouseState |= msPressed;
            else
                FMouseState &= ~msPressed;
            Redraw();
        }
        break;
    case WM_MOUSEMOVE:
        if (!(GetStyle(FHandle, GWL_STYLE) & WS_DISABLED) && !(FMouseState & msHot)) {
            FMouseState |= msHot;
            Redraw();
        }
        SkinTrackMouseLeave(FHandle);
        break;
    case WM_LBUTTONUP:
        if (FMouseState & msPressed) {
            FMouseState &= ~msPressed;
            Redraw();
            Click();
        }
        break;
    case WM_MOUSELEAVE:
        FMouseState &= ~(msHot | msPressed);
        Redraw();
        break;
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case CM_DIALOGKEY:
    case CM_FOCUSCHANGED:
        // The native button paints its default frame and pushed state on its own.
        Redraw();
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinButton::Click() {
    if (FControl) {
        FControl->Click();
        return;
    }
    char name[32] = {};
    GetClassNameA(FHandle, name, sizeof name);
    const WPARAM id = LowerCase(name) == "tbutton" ? 0 : static_cast<WPARAM>(GetDlgCtrlID(FHandle));
    PostMessageA(GetParent(FHandle), WM_COMMAND, id, reinterpret_cast<LPARAM>(FHandle));
}

// ---- painting -------------------------------------------------------------------------------

TDataSkinButton* TSkinButton::ButtonElement() const {
    TDataSkinButton* element = FSkinData ? FSkinData->Elements().Buttons.get() : nullptr;
    return element && !element->Bitmap.Empty() ? element : nullptr;
}

void TSkinButton::ReadState() {
    FFocused = GetFocus() == FHandle;
    FEnabled = !(GetStyle(FHandle, GWL_STYLE) & WS_DISABLED);
    FCaption = FControl ? GetTextProp(FControl, "Caption") : GetWindowCaption(FHandle);
}

int TSkinButton::StateFrame() const {
    if (!FEnabled)
        return frDisabled;
    if (FMouseState & msPressed)
        return frPressed;
    if (FMouseState & msHot)
        return frHot;
    return FFocused ? frFocused : frNormal;
}

void TSkinButton::PaintFace(const TRect& r, int frame) {
    FBuffer.SetSize(RectWidth(r), RectHeight(r));
    const HDC dc = FBuffer.Canvas()->Handle();
    const TRect whole{0, 0, RectWidth(r), RectHeight(r)};
    if (FTransparent && FControl && FControl->Parent())
        PaintParentBackground(FControl->Parent()->Handle(), FControl->BoundsRect(), dc);
    else
        FillFace(dc, whole);
    DrawElement(dc, whole, ButtonElement()->Frame, frame, *ButtonElement());
}

void TSkinButton::PrepareFont(TCanvas& canvas, int frame) {
    TDataSkinButton& element = *ButtonElement();
    TObject* control = FControl ? static_cast<TObject*>(FControl) : FGraphicControl;
    if (auto* font = dynamic_cast<TFont*>(GetObjectPropOf(control, "Font", TFont::StaticClass()))) {
        canvas.Font()->Assign(font);
    } else {
        if (auto wndFont = reinterpret_cast<HFONT>(SendMessageA(FHandle, WM_GETFONT, 0, 0)))
            canvas.Font()->SetHandle(wndFont);
        canvas.Font()->SetColor(FSkinData->Elements().Colors.ButtonText);
    }
    if (frame == frNormal && element.HasNormalColour2)
        canvas.Font()->SetColor(element.NormalColour2);
    else if (frame == frHot && element.HasMouseOverColour2)
        canvas.Font()->SetColor(element.MouseOverColour2);
    else if (frame == frPressed && element.HasPressedColour2)
        canvas.Font()->SetColor(element.PressedColour2);
    else if (frame == frDisabled)
        canvas.Font()->SetColor(clBtnShadow);
}

void TSkinButton::DrawFocusRectangle(TCanvas& canvas, const TRect& text) {
    if (!FFocused || (FSkinData && FSkinData->Options().Contains(xoNoFocusRect)))
        return;
    TRect around = text;
    InflateRect(&around, 2, 2);
    DrawFocusRect(canvas.Handle(), &around);
}

void TSkinButton::DrawButtonText(TCanvas& canvas, const TRect& r, UINT alignment, std::wstring_view text) {
    FCaption = ReplaceFirst(text, L"||", L"\r\n");
    TRect measured = r;
    InflateRect(&measured, -2, -2);
    const HDC dc = canvas.Handle();
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    canvas.TextRect(measured, FCaption, alignment | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
    TRect target{0, 0, RectWidth(measured), RectHeight(measured)};
    const int dy = (RectHeight(r) - RectHeight(target)) / 2 - 1;
    if (alignment == DT_CENTER) {
        OffsetRect(&target, (RectWidth(r) - RectWidth(target)) / 2, dy);
    } else {
        OffsetRect(&target, 0, dy);
        target.left = r.left;
        target.right = r.right;
    }
    canvas.TextRect(target, FCaption, RightToLeftFlags(*this, alignment | DT_EXPANDTABS | DT_WORDBREAK));
    SetBkMode(dc, oldMode);
    DrawFocusRectangle(canvas, target);
}

SIZE TSkinButton::MeasureCaption(TCanvas& canvas, const TRect& r) {
    FCaption = ReplaceFirst(FCaption, L"||", L"\r\n");
    if (FCaption.empty())
        return SIZE{0, 0};
    TRect measured = r;
    canvas.TextRect(measured, FCaption, DT_CALCRECT | DT_WORDBREAK);
    return SIZE{RectWidth(measured), RectHeight(measured)};
}

void TSkinButton::DrawPlacedCaption(TCanvas& canvas, const TRect& text, UINT flags, bool rightToLeft) {
    const HDC dc = canvas.Handle();
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    if (!FCaption.empty()) {
        TRect target = text;
        canvas.TextRect(target, FCaption, rightToLeft ? RightToLeftFlags(*this, flags) : flags);
    }
    SetBkMode(dc, oldMode);
    DrawFocusRectangle(canvas, text);
}

void TSkinButton::DrawSkin(HDC dc, const TRect& r) {
    if (!ButtonElement())
        return;
    ReadState();
    const int frame = StateFrame();
    PaintFace(r, frame);
    TCanvas& canvas = *FBuffer.Canvas();
    PrepareFont(canvas, frame);
    DrawButtonText(canvas, TRect{0, 0, RectWidth(r), RectHeight(r)}, DT_CENTER, FCaption);
    BitBlt(dc, r.left, r.top, RectWidth(r), RectHeight(r), canvas.Handle(), 0, 0, SRCCOPY);
    // The buffer lets the window's font go again.
    canvas.Refresh();
}

// ---- TSkinMenuButton ------------------------------------------------------------------------

TClass TSkinMenuButton::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinMenuButton>("TSkinMenuButton").Build();
    return &info;
}

void TSkinMenuButton::DrawSkin(HDC dc, const TRect& r) {
    if (!ButtonElement())
        return;
    ReadState();
    int frame = (FMouseState & msPressed)             ? frPressed
                : (FFocused || (FMouseState & msHot)) ? frHot
                                                      : frNormal;
    if (!FEnabled)
        frame = frDisabled;
    PaintFace(r, frame);
    TCanvas& canvas = *FBuffer.Canvas();
    PrepareFont(canvas, frame);
    // The caption is centred in what the 17 pixels of the arrow leave.
    constexpr int arrowWidth = 17;
    const int width = RectWidth(r), height = RectHeight(r);
    TRect room{2, 2, width - arrowWidth - 2, height - 2};
    const SIZE text = MeasureCaption(canvas, room);
    const int x = (width - arrowWidth - text.cx) / 2 + 2;
    const int y = (height - text.cy + 1) / 2;
    const TColor ink = FEnabled ? clWindowText : clBtnShadow;
    canvas.Brush()->SetColor(ink);
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Pen()->SetColor(ink);
    const int m = height / 2 + 2;
    const POINT arrow[] = {{width - 12, m}, {width - 15, m - 3}, {width - 9, m - 3}};
    canvas.Polygon(arrow);
    DrawPlacedCaption(canvas, TRect{x, y, x + text.cx, y + text.cy}, DT_WORDBREAK);
    BitBlt(dc, r.left, r.top, width, height, canvas.Handle(), 0, 0, SRCCOPY);
    canvas.Refresh();
}
