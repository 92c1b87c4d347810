// TRadioButton: a plain BS_RADIOBUTTON whose check the control keeps itself, so that siblings
// are unchecked by the toolkit and every change runs through SetChecked.
#include "StdCtrls.h"

#include <vector>

TClass TRadioButton::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TRadioButton>("TRadioButton")
            .Enum("Alignment", AlignmentType, &TRadioButton::Alignment, &TRadioButton::SetAlignment)
            .Bool("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked)
            .Build();
    return &info;
}

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    FWidth = 113;
    FHeight = 17;
}

void TRadioButton::SetChecked(bool value) {
    if (FChecked == value)
        return;
    FChecked = value;
    SetTabStop(value);
    if (HandleAllocated())
        SendMessageA(FHandle, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!value)
        return;
    TurnSiblingsOff();
    if (!ComponentState().Contains(csLoading))
        Click();
}

void TRadioButton::SetAlignment(TAlignment value) {
    if (FAlignment == value)
        return;
    FAlignment = value;
    RecreateWnd();
}

void TRadioButton::TurnSiblingsOff() {
    if (!Parent())
        return;
    for (int i = 0; i < Parent()->ControlCount(); ++i)
        if (auto* sibling = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); sibling && sibling != this)
            sibling->SetChecked(false);
}

// Moves the check to the next (or previous) enabled radio button of the parent in tab order,
// wrapping around, as the arrow keys do in a group of radio buttons.
bool TRadioButton::MoveCheck(bool forward) {
    if (!Parent())
        return false;
    std::vector<TRadioButton*> group;
    std::vector<TWinControl*> order;
    Parent()->GetTabOrderList(order);
    for (TWinControl* c : order)
        if (auto* radio = dynamic_cast<TRadioButton*>(c); radio && radio->Parent() == Parent())
            group.push_back(radio);
    const auto n = static_cast<int>(group.size());
    int self = 0;
    while (self < n && group[static_cast<size_t>(self)] != this)
        ++self;
    for (int step = 1; step < n; ++step) {
        TRadioButton* next = group[static_cast<size_t>(((forward ? self + step : self - step) % n + n) % n)];
        if (next->CanFocus()) {
            next->SetFocus();
            next->SetChecked(true);
            return true;
        }
    }
    return false;
}

void TRadioButton::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, "BUTTON");
    params.Style |= BS_RADIOBUTTON;
    if (FAlignment == taLeftJustify)
        params.Style |= BS_LEFTTEXT;
}

void TRadioButton::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_CREATE:
        TWinControl::WndProc(message);
        SendMessageA(FHandle, BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
        return;
    case CN_COMMAND:
        switch (HIWORD(message.WParam)) {
        case BN_CLICKED:
            SetChecked(true);
            break;
        case BN_DOUBLECLICKED:
            DblClick();
            break;
        default:
            break;
        }
        return;
    case CN_KEYDOWN:
        switch (message.WParam) {
        case VK_UP:
        case VK_LEFT:
        case VK_DOWN:
        case VK_RIGHT:
            if (MoveCheck(message.WParam == VK_DOWN || message.WParam == VK_RIGHT)) {
                message.Result = 1;
                return;
            }
            break;
        default:
            break;
        }
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(message.WParam, Caption()) && CanFocus()) {
            SetFocus();
            SetChecked(true);
            message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TWinControl::WndProc(message);
}

namespace {
const bool kRegistered = (RegisterClasses({TRadioButton::StaticClass()}), true);
}
