// TCustomComboBox: the system COMBOBOX with its items kept in a string list, so that they,
// the selection and the typed text outlive a re-created window.
#include "StdCtrls.h"

#include <algorithm>

const TEnumType ComboBoxStyleType{"TComboBoxStyle", {"csDropDown", "csSimple", "csDropDownList"}};

TClass TCustomComboBox::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCustomComboBox>("TCustomComboBox").Build();
    return &info;
}

TClass TComboBox::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TComboBox>("TComboBox")
            .Enum("Style", ComboBoxStyleType, &TComboBox::Style, &TComboBox::SetStyle)
            .Int("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount)
            .Bool("Sorted", &TComboBox::Sorted, &TComboBox::SetSorted)
            .Obj<TStrings>("Items", &TComboBox::Items, &TComboBox::SetItems)
            .Int("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex)
            .Str("Text", &TComboBox::Text, &TComboBox::SetText)
            .Event<TNotifyEvent>("OnChange", &TComboBox::OnChange)
            .Event<TNotifyEvent>("OnSelect", &TComboBox::OnSelect)
            .Event<TNotifyEvent>("OnDropDown", &TComboBox::OnDropDown)
            .Event<TNotifyEvent>("OnCloseUp", &TComboBox::OnCloseUp)
            .Build();
    return &info;
}

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner), FItems(std::make_unique<TStringList>()) {
    FItems->OnChange = TNotifyEvent(this, &TCustomComboBox::ItemsChanged);
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    FWidth = 145;
    FHeight = 21;
    FParentColor = false;
    FColor = clWindow;
    SetTabStop(true);
}

TCustomComboBox::~TCustomComboBox() = default;

void TCustomComboBox::SetItems(TStrings* items) {
    if (items)
        FItems->Assign(items);
}

int TCustomComboBox::ItemIndex() {
    if (HandleAllocated())
        FItemIndex = static_cast<int>(SendMessageA(FHandle, CB_GETCURSEL, 0, 0));
    return FItemIndex;
}

void TCustomComboBox::SetItemIndex(int value) {
    if (value < -1 || value >= FItems->Count())
        value = -1;
    FItemIndex = value;
    if (HandleAllocated())
        SendMessageA(FHandle, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
    else
        FText = value >= 0 ? FItems->Get(value) : std::string();
}

void TCustomComboBox::SetText(const std::string& value) {
    if (FStyle == csDropDownList) {
        // A list without an edit can only show one of its items.
        SetItemIndex(FItems->IndexOf(value));
        return;
    }
    FItemIndex = -1;
    TControl::SetText(value);
}

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
    if (FStyle == value)
        return;
    FStyle = value;
    RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(int value) {
    FDropDownCount = std::max(1, value);
    SizeDropDown();
}

bool TCustomComboBox::DroppedDown() {
    return HandleAllocated() && SendMessageA(FHandle, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool value) {
    SendMessageA(Handle(), CB_SHOWDROPDOWN, value, 0);
}

// The height of the open list: DropDownCount items (the list shrinks to fewer items itself).
int TCustomComboBox::ListHeight() const {
    int itemHeight = 16;
    if (FHandle) {
        const auto h = static_cast<int>(SendMessageA(FHandle, CB_GETITEMHEIGHT, 0, 0));
        if (h > 0)
            itemHeight = h;
    }
    return itemHeight * FDropDownCount + 2;
}

// The system combo box takes the height of its window as the height with the list dropped;
// the closed box keeps the height its font gives it.
void TCustomComboBox::SizeDropDown() {
    if (!FHandle || FStyle == csSimple)
        return;
    SetWindowPos(FHandle, nullptr, 0, 0, FWidth, FHeight + ListHeight(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomComboBox::SetBounds(int left, int top, int width, int height) {
    if (FHandle && FStyle != csSimple) {
        if (left == FLeft && top == FTop && width == FWidth)
            return; // the closed height is the font's
        FLeft = left;
        FTop = top;
        FWidth = width;
        SetWindowPos(FHandle, nullptr, left, top, width, FHeight + ListHeight(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        RequestAlign();
        return;
    }
    TWinControl::SetBounds(left, top, width, height);
}

void TCustomComboBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, "COMBOBOX");
    params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL;
    switch (FStyle) {
    case csDropDown:
        params.Style |= CBS_DROPDOWN;
        break;
    case csSimple:
        params.Style |= CBS_SIMPLE;
        break;
    case csDropDownList:
        params.Style |= CBS_DROPDOWNLIST;
        break;
    }
    if (FStyle != csSimple)
        params.Height = FHeight + ListHeight();
}

void TCustomComboBox::CreateWnd() {
    const std::string text = FText;
    const int index = FItemIndex;
    TWinControl::CreateWnd();
    FillList();
    if (index >= 0)
        SendMessageA(FHandle, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    else if (FStyle != csDropDownList)
        SetWindowTextA(FHandle, text.c_str());
    SizeDropDown();
}

void TCustomComboBox::DestroyWnd() {
    ItemIndex(); // the selection lives on in the control, as the text does
    TWinControl::DestroyWnd();
}

void TCustomComboBox::FillList() {
    FFilling = true;
    SendMessageA(FHandle, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < FItems->Count(); ++i) {
        const std::string item = FItems->Get(i);
        SendMessageA(FHandle, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    FFilling = false;
}

void TCustomComboBox::ItemsChanged(TObject*) {
    if (!HandleAllocated()) {
        if (FItemIndex >= FItems->Count())
            FItemIndex = -1;
        return;
    }
    // Emptying the list empties the edit too: the typed text is kept, a selection is kept
    // while its index is still an item.
    const std::string text = TControl::Text();
    const int index = ItemIndex();
    FillList();
    if (index >= 0 && index < FItems->Count()) {
        SendMessageA(FHandle, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    } else {
        FItemIndex = -1;
        if (FStyle != csDropDownList)
            SetWindowTextA(FHandle, text.c_str());
    }
}

void TCustomComboBox::Change() {
    if (OnChange)
        OnChange(this);
}

void TCustomComboBox::Select() {
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

void TCustomComboBox::WndProc(TMessage& message) {
    if (message.Msg == CN_COMMAND) {
        if (FFilling || ComponentState().Contains(csLoading))
            return;
        switch (HIWORD(message.WParam)) {
        case CBN_EDITCHANGE:
            FItemIndex = -1;
            Change();
            break;
        case CBN_SELCHANGE: {
            // The edit shows the new item only after this notification: put it there now so
            // that handlers read the chosen text.
            const int index = ItemIndex();
            if (index >= 0 && FStyle != csDropDownList)
                SetWindowTextA(FHandle, FItems->Get(index).c_str());
            Click();
            Select();
            break;
        }
        case CBN_DROPDOWN:
            if (OnDropDown)
                OnDropDown(this);
            break;
        case CBN_CLOSEUP:
            if (OnCloseUp)
                OnCloseUp(this);
            break;
        default:
            break;
        }
        return;
    }
    TWinControl::WndProc(message);
}

namespace {
const bool kRegistered = (RegisterClasses({TComboBox::StaticClass()}), true);
}
