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
    if (HandleAllocated())
        SendMessageA(FHandle, BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, "BUTTON");
    params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
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
    case CM_DIALOGKEY:
        if (((message.WParam == VK_RETURN && FDefault) || (message.WParam == VK_ESCAPE && FCancel)) &&
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

TClass TCheckBox::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCheckBox>("TCheckBox")
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
    if (HandleAllocated())
        FChecked = SendMessageA(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED;
    return FChecked;
}

void TCheckBox::SetChecked(bool value) {
    FChecked = value;
    if (HandleAllocated())
        SendMessageA(FHandle, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, "BUTTON");
    params.Style |= BS_AUTOCHECKBOX;
}

void TCheckBox::DestroyWnd() {
    Checked(); // keep the state for the next window
    TWinControl::DestroyWnd();
}

void TCheckBox::WndProc(TMessage& message) {
    if (message.Msg == WM_CREATE) {
        TWinControl::WndProc(message);
        SendMessageA(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
        return;
    }
    if (message.Msg == CN_COMMAND) {
        if (HIWORD(message.WParam) == BN_CLICKED) {
            Checked();
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
    static const TClassInfo info = TClassBuilder<TLabel>("TLabel")
                                       .Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent)
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

void TLabel::Paint(HDC dc) {
    RECT r = ClientRect();
    if (!FTransparent) {
        TBrushHandle brush(CreateSolidBrush(ColorRefOf(FColor)));
        FillRect(dc, &r, brush.Get());
    }
    TSelectScope font(dc, Font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorRefOf(FEnabled ? clBtnText : clGrayText));
    const std::string text = Caption();
    UINT flags = DT_LEFT | DT_WORDBREAK;
    if (UseRightToLeftReading())
        flags |= DT_RTLREADING;
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
