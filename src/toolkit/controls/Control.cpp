// TControl: bounds, visibility, colour, text and mouse handling shared by every control.
#include "Controls.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

const TIdentMap CursorIdents{"TCursor",
                             {{"crDefault", crDefault},
                              {"crNone", crNone},
                              {"crArrow", crArrow},
                              {"crCross", crCross},
                              {"crIBeam", crIBeam},
                              {"crSizeNESW", crSizeNESW},
                              {"crSizeNS", crSizeNS},
                              {"crSizeNWSE", crSizeNWSE},
                              {"crSizeWE", crSizeWE},
                              {"crUpArrow", crUpArrow},
                              {"crHourGlass", crHourGlass},
                              {"crHSplit", crHSplit},
                              {"crVSplit", crVSplit},
                              {"crNo", crNo},
                              {"crAppStart", crAppStart},
                              {"crHelp", crHelp},
                              {"crHandPoint", crHandPoint},
                              {"crSizeAll", crSizeAll}}};

HCURSOR CursorHandle(TCursor cursor) {
    const char* id = nullptr;
    switch (cursor) {
    case crArrow:
        id = IDC_ARROW;
        break;
    case crCross:
        id = IDC_CROSS;
        break;
    case crIBeam:
        id = IDC_IBEAM;
        break;
    case crSizeNESW:
        id = IDC_SIZENESW;
        break;
    case crSizeNS:
    case crVSplit:
        id = IDC_SIZENS;
        break;
    case crSizeNWSE:
        id = IDC_SIZENWSE;
        break;
    case crSizeWE:
    case crHSplit:
        id = IDC_SIZEWE;
        break;
    case crUpArrow:
        id = IDC_UPARROW;
        break;
    case crHourGlass:
        id = IDC_WAIT;
        break;
    case crNo:
        id = IDC_NO;
        break;
    case crAppStart:
        id = IDC_APPSTARTING;
        break;
    case crHelp:
        id = IDC_HELP;
        break;
    case crHandPoint:
        id = IDC_HAND;
        break;
    case crSizeAll:
        id = IDC_SIZEALL;
        break;
    default:
        return nullptr; // crDefault, and crNone (no pointer) is handled by the caller
    }
    // Shared cursors: loaded, never destroyed.
    return LoadCursorA(nullptr, id);
}

const TEnumType AlignType{"TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}};
const TEnumType BiDiModeType{
    "TBiDiMode", {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"}};

TShiftState KeysToShiftState(WPARAM keys) {
    TShiftState s;
    if (keys & MK_SHIFT)
        s.Include(ssShift);
    if (keys & MK_CONTROL)
        s.Include(ssCtrl);
    if (keys & MK_LBUTTON)
        s.Include(ssLeft);
    if (keys & MK_RBUTTON)
        s.Include(ssRight);
    if (keys & MK_MBUTTON)
        s.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0)
        s.Include(ssAlt);
    return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0)
        s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0)
        s.Include(ssCtrl);
    if (keyData & 0x20000000)
        s.Include(ssAlt);
    return s;
}

TClass TControl::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TControl>("TControl")
            .Int("Left", &TControl::Left, &TControl::SetLeft)
            .Int("Top", &TControl::Top, &TControl::SetTop)
            .Int("Width", &TControl::Width, &TControl::SetWidth)
            .Int("Height", &TControl::Height, &TControl::SetHeight)
            .Enum("Align", AlignType, &TControl::Align, &TControl::SetAlign)
            .Str("Caption", &TControl::Caption, &TControl::SetCaption)
            .Int("Color", &TControl::Color, &TControl::SetColor, &ControlColorIdents)
            .Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
            .Obj<TFont>("Font", &TControl::Font, &TControl::SetFont)
            .Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
            .Int("Cursor", &TControl::Cursor, &TControl::SetCursor, &CursorIdents)
            .Enum("BiDiMode", BiDiModeType, &TControl::BiDiMode, &TControl::SetBiDiMode)
            .Bool("ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode)
            .Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled)
            .Bool("Visible", &TControl::Visible, &TControl::SetVisible)
            .Event<TNotifyEvent>("OnClick", &TControl::OnClick)
            .Event<TNotifyEvent>("OnDblClick", &TControl::OnDblClick)
            .Event<TMouseEvent>("OnMouseDown", &TControl::OnMouseDown)
            .Event<TMouseEvent>("OnMouseUp", &TControl::OnMouseUp)
            .Event<TMouseMoveEvent>("OnMouseMove", &TControl::OnMouseMove)
            .Event<TNotifyEvent>("OnMouseEnter", &TControl::OnMouseEnter)
            .Event<TNotifyEvent>("OnMouseLeave", &TControl::OnMouseLeave)
            .Event<TNotifyEvent>("OnResize", &TControl::OnResize)
            .Build();
    return &info;
}

TControl::TControl(TComponent* owner) : TComponent(owner), FFont(std::make_unique<TFont>()) {
    WindowProc = TWndMethod(this, &TControl::WndProc);
    FFont->SetOnChange(TNotifyEvent(this, &TControl::FontChanged));
}

TControl::~TControl() {
    if (FParent)
        FParent->RemoveControl(this);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    if (WindowProc)
        WindowProc(m);
    else
        WndProc(m);
    return m.Result;
}

void TControl::WMMouseButton(TMessage& message, TMouseButton button, bool down, bool dbl) {
    const int x = GET_X_LPARAM(message.LParam);
    const int y = GET_Y_LPARAM(message.LParam);
    TShiftState shift = KeysToShiftState(message.WParam);
    if (down) {
        if (button == mbLeft)
            FControlState.Include(csLButtonDown).Include(csClicked);
        if (dbl) {
            shift.Include(ssDouble);
            if (FControlStyle.Contains(csDoubleClicks))
                DblClick();
        }
        MouseDown(button, shift, x, y);
        return;
    }
    const bool clicked = button == mbLeft && FControlState.Contains(csClicked);
    if (button == mbLeft)
        FControlState.Exclude(csLButtonDown).Exclude(csClicked);
    MouseUp(button, shift, x, y);
    if (clicked && FControlStyle.Contains(csClickEvents) && x >= 0 && y >= 0 && x < FWidth && y < FHeight)
        Click();
}

void TControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        WMMouseButton(message, mbLeft, true, message.Msg == WM_LBUTTONDBLCLK);
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        WMMouseButton(message, mbRight, true, message.Msg == WM_RBUTTONDBLCLK);
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        WMMouseButton(message, mbMiddle, true, message.Msg == WM_MBUTTONDBLCLK);
        break;
    case WM_LBUTTONUP:
        WMMouseButton(message, mbLeft, false, false);
        break;
    case WM_RBUTTONUP:
        WMMouseButton(message, mbRight, false, false);
        break;
    case WM_MBUTTONUP:
        WMMouseButton(message, mbMiddle, false, false);
        break;
    case WM_MOUSEMOVE:
        MouseMove(KeysToShiftState(message.WParam), GET_X_LPARAM(message.LParam),
                  GET_Y_LPARAM(message.LParam));
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (message.LParam == 0) {
            const TNotifyEvent& event = message.Msg == CM_MOUSEENTER ? OnMouseEnter : OnMouseLeave;
            if (event)
                event(this);
        }
        if (FParent)
            FParent->Perform(message.Msg, 0,
                             message.LParam ? message.LParam : reinterpret_cast<LPARAM>(this));
        return;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_TEXTCHANGED:
    case CM_VISIBLECHANGED:
    case CM_FONTCHANGED:
        Invalidate();
        return;
    case CM_PARENTFONTCHANGED:
        if (FParentFont)
            AdoptParentFont();
        return;
    case CM_PARENTCOLORCHANGED:
        if (FParentColor && FParent && FColor != FParent->FColor) {
            FColor = FParent->FColor;
            Perform(CM_COLORCHANGED);
        }
        return;
    default:
        break;
    }
    DefaultHandler(message);
}

void TControl::DefaultHandler(TMessage& message) {
    switch (message.Msg) {
    case WM_GETTEXT: {
        if (message.WParam == 0 || message.LParam == 0)
            return;
        const size_t n = std::min<size_t>(FText.size(), message.WParam - 1);
        std::memcpy(reinterpret_cast<char*>(message.LParam), FText.data(), n);
        reinterpret_cast<char*>(message.LParam)[n] = '\0';
        message.Result = static_cast<LRESULT>(n);
        return;
    }
    case WM_GETTEXTLENGTH:
        message.Result = static_cast<LRESULT>(FText.size());
        return;
    case WM_SETTEXT:
        FText = message.LParam ? reinterpret_cast<const char*>(message.LParam) : "";
        message.Result = TRUE;
        return;
    default:
        return;
    }
}

std::string TControl::Text() {
    const auto length = static_cast<size_t>(Perform(WM_GETTEXTLENGTH));
    std::string s(length + 1, '\0');
    const auto copied =
        static_cast<size_t>(Perform(WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data())));
    s.resize(std::min(copied, length));
    return s;
}

void TControl::SetText(const std::string& value) {
    if (Text() == value)
        return;
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
    Perform(CM_TEXTCHANGED);
}

void TControl::SetParent(TWinControl* parent) {
    if (FParent == parent)
        return;
    if (parent == this)
        throw EInvalidOperation("A control cannot be its own parent");
    if (FParent)
        FParent->RemoveControl(this);
    if (parent)
        parent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const {
    return FParent;
}

void TControl::SetParentComponent(TComponent* value) {
    if (auto* parent = dynamic_cast<TWinControl*>(value))
        SetParent(parent);
}

void TControl::RequestAlign() {
    if (FParent)
        FParent->Realign();
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight)
        return;
    Invalidate();
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    Invalidate();
    RequestAlign();
    Resize();
}

void TControl::UpdateBoundsRect(const RECT& r) {
    FLeft = r.left;
    FTop = r.top;
    FWidth = r.right - r.left;
    FHeight = r.bottom - r.top;
}

RECT TControl::ClientRect() {
    return RECT{0, 0, FWidth, FHeight};
}

void TControl::SetClientWidth(int value) {
    SetWidth(value);
}
void TControl::SetClientHeight(int value) {
    SetHeight(value);
}

POINT TControl::ClientOrigin() {
    POINT p{FLeft, FTop};
    if (FParent) {
        const POINT o = FParent->ClientOrigin();
        p.x += o.x;
        p.y += o.y;
    }
    return p;
}

POINT TControl::ClientToScreen(POINT p) {
    const POINT o = ClientOrigin();
    return POINT{p.x + o.x, p.y + o.y};
}

POINT TControl::ScreenToClient(POINT p) {
    const POINT o = ClientOrigin();
    return POINT{p.x - o.x, p.y - o.y};
}

void TControl::SetAlign(TAlign value) {
    if (FAlign == value)
        return;
    FAlign = value;
    RequestAlign();
}

void TControl::SetVisible(bool value) {
    if (FVisible == value)
        return;
    VisibleChanging();
    if (!value)
        Invalidate();
    FVisible = value;
    Perform(CM_VISIBLECHANGED, value);
    RequestAlign();
}

void TControl::SetEnabled(bool value) {
    if (FEnabled == value)
        return;
    FEnabled = value;
    Perform(CM_ENABLEDCHANGED);
}

TColor TControl::ParentColorValue() const {
    return FParent ? FParent->FColor : FColor;
}

void TControl::SetColor(TColor value) {
    FParentColor = false;
    if (FColor == value)
        return;
    FColor = value;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
    FParentColor = value;
    if (value && FParent && FColor != FParent->FColor) {
        FColor = FParent->FColor;
        Perform(CM_COLORCHANGED);
    }
}

void TControl::SetFont(TFont* font) {
    if (font)
        FFont->Assign(font); // FontChanged does the rest
}

void TControl::FontChanged(TObject*) {
    if (!FAdoptingFont)
        FParentFont = false;
    Perform(CM_FONTCHANGED);
}

void TControl::AdoptParentFont() {
    if (!FParent)
        return;
    FAdoptingFont = true;
    try {
        FFont->Assign(FParent->FFont.get());
    } catch (...) {
        FAdoptingFont = false;
        throw;
    }
    FAdoptingFont = false;
}

void TControl::SetParentFont(bool value) {
    if (FParentFont == value)
        return;
    FParentFont = value;
    if (value)
        AdoptParentFont();
}

void TControl::SetCursor(TCursor value) {
    FCursor = value;
}

void TControl::SetBiDiMode(TBiDiMode value) {
    FParentBiDiMode = false;
    if (FBiDiMode == value)
        return;
    FBiDiMode = value;
    Perform(CM_BIDIMODECHANGED);
}

void TControl::SetParentBiDiMode(bool value) {
    FParentBiDiMode = value;
    if (value && FParent && FParent->FBiDiMode != FBiDiMode) {
        FBiDiMode = FParent->FBiDiMode;
        Perform(CM_BIDIMODECHANGED);
    }
}

void TControl::Invalidate() {
    if (FParent && FParent->HandleAllocated() && FVisible) {
        const RECT r = BoundsRect();
        InvalidateRect(FParent->FHandle, &r, !FControlStyle.Contains(csOpaque));
    }
}

void TControl::Update() {
    if (FParent)
        FParent->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    if (!FParent)
        return;
    auto& list = FParent->FControls;
    std::erase(list, this);
    list.push_back(this);
    if (auto* win = dynamic_cast<TWinControl*>(this); win && win->HandleAllocated())
        SetWindowPos(win->FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

void TControl::SendToBack() {
    if (!FParent)
        return;
    auto& list = FParent->FControls;
    std::erase(list, this);
    list.insert(list.begin(), this);
    if (auto* win = dynamic_cast<TWinControl*>(this); win && win->HandleAllocated())
        SetWindowPos(win->FHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TControl::Click() {
    if (OnClick)
        OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::Resize() {
    if (OnResize)
        OnResize(this);
}

// ---- TGraphicControl / TCustomControl ------------------------------------------------------

TClass TGraphicControl::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGraphicControl>("TGraphicControl").Build();
    return &info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), FCanvas(std::make_unique<TCanvas>()) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::Paint(HDC) {}

void TGraphicControl::WndProc(TMessage& message) {
    if (message.Msg == WM_PAINT) {
        const auto dc = reinterpret_cast<HDC>(message.WParam);
        FCanvas->SetHandle(dc);
        try {
            Paint(dc);
        } catch (...) {
            FCanvas->SetHandle(nullptr);
            throw;
        }
        FCanvas->SetHandle(nullptr);
        message.Result = 0;
        return;
    }
    TControl::WndProc(message);
}

TClass TCustomControl::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCustomControl>("TCustomControl").Build();
    return &info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {
    FControlStyle.Include(csAcceptsControls);
}

void TCustomControl::Paint(HDC) {}

void TCustomControl::PaintWindow(HDC dc) {
    Paint(dc);
}

namespace {
const bool kRegistered = [] {
    RegisterClasses({TControl::StaticClass()});
    RegisterClasses({TGraphicControl::StaticClass()});
    RegisterClasses({TCustomControl::StaticClass()});
    return true;
}();
}
