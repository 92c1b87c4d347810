#include "StdCtrls.h"

const TIdentMap ModalResultIdents{"TModalResult",
                                  {{"mrNone", mrNone},
                                   {"mrOk", mrOk},
                                   {"mrCancel", mrCancel},
                                   {"mrAbort", mrAbort},
                                   {"mrRetry", mrRetry},
                                   {"mrIgnore", mrIgnore},
                                   {"mrYes", mrYes},
                                   {"mrNo", mrNo}}};

const TEnumType AlignmentType{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};
const TEnumType TextLayoutType{"TTextLayout", {"tlTop", "tlCenter", "tlBottom"}};

bool IsAccel(WPARAM ch, const std::string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return LowerChar(text[i + 1]) == LowerChar(static_cast<char>(ch));
    }
    return false;
}

// ---- TButton -------------------------------------------------------------------------------

TClass TButton::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TButton>("TButton")
            .Bool("Default", &TButton::Default, &TButton::SetDefault)
            .Bool("Cancel", &TButton::Cancel, &TButton::SetCancel)
            .Int("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, &ModalResultIdents)
            .Build();
    return &info;
}

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    FWidth = 75;
    FHeight = 25;
    SetTabStop(true);
}

void TButton::SetDefault(bool value) {
    if (FDefault == value)
        return;
    FDefault = value;
    UpdateActive(FindControl(GetFocus()));
}

// The active button wears the default button's frame, as in a dialog.
void TButton::UpdateActive(TWinControl* focused) {
    const bool active = focused == this || (FDefault && !dynamic_cast<TButton*>(focused));
    if (FActive == active)
        return;
    FActive = active;
    if (HandleAllocated())
        SendMessageA(FHandle, BM_SETSTYLE, active ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, "BUTTON");
    params.Style |= FActive ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::Click() {
    // The form learns the result through its published property; a button knows no forms.
    TWinControl* top = TopLevelControl();
    if (FModalResult != mrNone && top != this && PropType(top, "ModalResult") == tkInteger)
        SetOrdProp(*top, "ModalResult", FModalResult);
    TWinControl::Click();
}

void TButton::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND:
        if (HIWORD(message.WParam) == BN_CLICKED)
            Click();
        return;
    case CM_FOCUSCHANGED:
        UpdateActive(reinterpret_cast<TWinControl*>(message.LParam));
        break;
    case CM_DIALOGKEY:
        if (((message.WParam == VK_RETURN && FActive) || (message.WParam == VK_ESCAPE && FCancel)) &&
            CanFocus()) {
            Click();
            message.Result = 1;
            return;
        }
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(message.WParam, Caption()) && CanFocus()) {
            Click();
            message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TWinControl::WndProc(message);
}

// ---- TCheckBox -----------------------------------------------------------------------------

const TEnumType CheckBoxStateType{"TCheckBoxState", {"cbUnchecked", "cbChecked", "cbGrayed"}};

TClass TCheckBox::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TCheckBox>("TCheckBox")
            .Bool("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed)
            .Enum("State", CheckBoxStateType, &TCheckBox::State, &TCheckBox::SetState)
            .Bool("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked)
            .Build();
    return &info;
}

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    FWidth = 97;
    FHeight = 17;
    SetTabStop(true);
}

bool TCheckBox::Checked() {
    return State() == cbChecked;
}

void TCheckBox::SetChecked(bool value) {
    SetState(value ? cbChecked : cbUnchecked);
}

void TCheckBox::SetAllowGrayed(bool value) {
    if (value == FAllowGrayed)
        return;
    FAllowGrayed = value;
    if (!value && FState == cbGrayed)
        SetState(cbUnchecked);
    RecreateWnd(); // the button style decides whether a click can reach the third state
}

TCheckBoxState TCheckBox::State() {
    if (HandleAllocated()) {
        const LRESULT check = SendMessageA(FHandle, BM_GETCHECK, 0, 0);
        FState = check == BST_CHECKED ? cbChecked : check == BST_INDETERMINATE ? cbGrayed : cbUnchecked;
    }
    return FState;
}

void TCheckBox::SetState(TCheckBoxState value) {
    if (value == cbGrayed && !FAllowGrayed)
        value = cbUnchecked;
    FState = value;
    if (HandleAllocated())
        SendMessageA(FHandle, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void TCheckBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, "BUTTON");
    params.Style |= FAllowGrayed ? BS_AUTO3STATE : BS_AUTOCHECKBOX;
}

void TCheckBox::DestroyWnd() {
    State(); // keep the state for the next window
    TWinControl::DestroyWnd();
}

void TCheckBox::WndProc(TMessage& message) {
    if (message.Msg == WM_CREATE) {
        TWinControl::WndProc(message);
        SendMessageA(FHandle, BM_SETCHECK, static_cast<WPARAM>(FState), 0);
        return;
    }
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == BN_CLICKED) {
            State();
            Click();
        }
        return;
    }
    TWinControl::WndProc(message);
}

// ---- TEdit ---------------------------------------------------------------------------------

TClass TEdit::StaticClass() {
    static const TClassInfo info = TClassBuilder<TEdit>("TEdit")
                                       .Str("Text", &TEdit::Text, &TEdit::SetText)
                                       .Bool("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly)
                                       .Event<TNotifyEvent>("OnChange", &TEdit::OnChange)
                                       .Build();
    return &info;
}

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
    FControlStyle = TControlStyle{csCaptureMouse, csSetCaption, csDoubleClicks};
    FWidth = 121;
    FHeight = 21;
    FParentColor = false;
    FColor = clWindow;
    SetTabStop(true);
}

void TEdit::SetReadOnly(bool value) {
    FReadOnly = value;
    if (HandleAllocated())
        SendMessageA(FHandle, EM_SETREADONLY, value, 0);
}

void TEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, "EDIT");
    params.Style |= ES_AUTOHSCROLL | (FReadOnly ? ES_READONLY : 0);
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::Change() {
    if (OnChange)
        OnChange(this);
}

void TEdit::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == EN_CHANGE && !ComponentState().Contains(csLoading))
            Change();
        return;
    }
    TWinControl::WndProc(message);
}

// ---- TLabel --------------------------------------------------------------------------------

TClass TLabel::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TLabel>("TLabel")
            .Enum("Alignment", AlignmentType, &TLabel::Alignment, &TLabel::SetAlignment)
            .Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize)
            .Enum("Layout", TextLayoutType, &TLabel::Layout, &TLabel::SetLayout)
            .Bool("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar)
            .Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent)
            .Bool("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap)
            .Build();
    return &info;
}

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    FWidth = 65;
    FHeight = 17;
}

void TLabel::SetTransparent(bool value) {
    FTransparent = value;
    Invalidate();
}

void TLabel::SetAutoSize(bool value) {
    if (FAutoSize == value)
        return;
    FAutoSize = value;
    AdjustBounds();
}

void TLabel::SetAlignment(TAlignment value) {
    if (FAlignment == value)
        return;
    FAlignment = value;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout value) {
    if (FLayout == value)
        return;
    FLayout = value;
    Invalidate();
}

void TLabel::SetWordWrap(bool value) {
    if (FWordWrap == value)
        return;
    FWordWrap = value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetShowAccelChar(bool value) {
    if (FShowAccelChar == value)
        return;
    FShowAccelChar = value;
    AdjustBounds();
    Invalidate();
}

UINT TLabel::DrawFlags() const {
    UINT flags = DT_EXPANDTABS;
    if (FWordWrap)
        flags |= DT_WORDBREAK;
    if (!FShowAccelChar)
        flags |= DT_NOPREFIX;
    if (FAlignment == taRightJustify)
        flags |= DT_RIGHT;
    else if (FAlignment == taCenter)
        flags |= DT_CENTER;
    if (UseRightToLeftReading())
        flags |= DT_RTLREADING;
    return flags;
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TLabel::AdjustBounds() {
    if (!FAutoSize || ComponentState().Contains(csLoading))
        return;
    const std::string text = Caption();
    RECT r{0, 0, FWordWrap ? FWidth : 0, 0};
    {
        TWindowDC screen(nullptr);
        TSelectScope font(screen.Get(), Font()->Handle());
        // An empty caption still measures one line high.
        const std::string measured = text.empty() ? std::string(" ") : text;
        DrawTextA(screen.Get(), measured.c_str(), static_cast<int>(measured.size()), &r,
                  DrawFlags() | DT_CALCRECT);
    }
    int left = FLeft;
    const int width = FWordWrap ? FWidth : static_cast<int>(r.right);
    if (FAlignment == taRightJustify && !FWordWrap)
        left = FLeft + FWidth - width; // keeps its right edge
    SetBounds(left, FTop, width, r.bottom);
}

void TLabel::WndProc(TMessage& message) {
    TGraphicControl::WndProc(message);
    if (message.Msg == CM_TEXTCHANGED || message.Msg == CM_FONTCHANGED)
        AdjustBounds();
}

void TLabel::Paint(HDC dc) {
    RECT r = ClientRect();
    if (!FTransparent) {
        TBrushHandle brush(CreateSolidBrush(ColorRefOf(FColor)));
        FillRect(dc, &r, brush.Get());
    }
    const std::string text = Caption();
    if (text.empty())
        return;
    TSelectScope font(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    const UINT flags = DrawFlags();
    if (FLayout != tlTop) {
        RECT measured = r;
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &measured, flags | DT_CALCRECT);
        const int free = (r.bottom - r.top) - (measured.bottom - measured.top);
        r.top += FLayout == tlCenter ? free / 2 : free;
    }
    if (!FEnabled) {
        // Disabled text is embossed: highlight one pixel down and right, shadow on top.
        RECT shifted = r;
        OffsetRect(&shifted, 1, 1);
        SetTextColor(dc, ColorRefOf(clBtnHighlight));
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &shifted, flags);
        SetTextColor(dc, ColorRefOf(clBtnShadow));
    } else {
        SetTextColor(dc, ColorRefOf(Font()->Color()));
    }
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
}

namespace {
const bool kRegistered = [] {
    RegisterClasses({TButton::StaticClass()});
    RegisterClasses({TCheckBox::StaticClass()});
    RegisterClasses({TEdit::StaticClass()});
    RegisterClasses({TLabel::StaticClass()});
    return true;
}();
}
