// TToolBar and TToolButton: the comctl32 toolbar with one native button per tool button.
// The native buttons are rebuilt whenever a tool button changes; each tool button's bounds
// then follow the native layout, so that hit tests, custom drawing and drop-down menus agree
// with what the toolbar shows.
#include "ComCtrls.h"

#include "Menus.h"

#include <algorithm>

const TEnumType ToolButtonStyleType{"TToolButtonStyle",
                                    {"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator", "tbsDivider"}};

// ---- TToolButton ---------------------------------------------------------------------------

TClass TToolButton::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TToolButton>("TToolButton")
            .Obj<TPopupMenu>("DropdownMenu", &TToolButton::DropdownMenu, &TToolButton::SetDropdownMenu)
            .Bool("Down", &TToolButton::Down, &TToolButton::SetDown)
            .Bool("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped)
            .Int("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex)
            .Bool("Indeterminate", &TToolButton::Indeterminate, &TToolButton::SetIndeterminate)
            .Bool("Marked", &TToolButton::Marked, &TToolButton::SetMarked)
            .Obj<TMenuItem>("MenuItem", &TToolButton::MenuItem, &TToolButton::SetMenuItem)
            .Enum("Style", ToolButtonStyleType, &TToolButton::Style, &TToolButton::SetStyle)
            .Bool("Wrap", &TToolButton::Wrap, &TToolButton::SetWrap)
            .Build();
    return &info;
}

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {
    FWidth = 23;
    FHeight = 22;
}

TToolButton::~TToolButton() {
    if (FToolBar)
        FToolBar->RemoveButton(this);
}

void TToolButton::SetParent(TWinControl* parent) {
    TGraphicControl::SetParent(parent);
    auto* bar = dynamic_cast<TToolBar*>(parent);
    if (bar == FToolBar)
        return;
    if (FToolBar)
        FToolBar->RemoveButton(this);
    FToolBar = bar;
    if (bar)
        bar->InsertButton(this);
}

void TToolButton::SetBounds(int left, int top, int width, int height) {
    if (FToolBar && !FToolBar->FUpdating && !FToolBar->ComponentState().Contains(csLoading)) {
        // The toolbar places its buttons; only a separator's width is the button's own.
        if ((FStyle == tbsSeparator || FStyle == tbsDivider) && width != FWidth) {
            FWidth = width;
            Changed();
        }
        return;
    }
    TGraphicControl::SetBounds(left, top, width, height);
}

void TToolButton::SetButtonBounds(const RECT& r) {
    UpdateBoundsRect(r);
}

int TToolButton::Index() const {
    if (!FToolBar)
        return -1;
    const auto& list = FToolBar->FButtons;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TToolButton::Changed() {
    if (FToolBar)
        FToolBar->RecreateButtons();
}

void TToolButton::SetStyle(TToolButtonStyle value) {
    if (FStyle == value)
        return;
    FStyle = value;
    Changed();
}

void TToolButton::SetImageIndex(int value) {
    if (FImageIndex == value)
        return;
    FImageIndex = value;
    Changed();
}

bool TToolButton::Down() {
    if (FStyle == tbsCheck && FToolBar && FToolBar->HandleAllocated())
        FDown = SendMessageA(FToolBar->Handle(), TB_ISBUTTONCHECKED, static_cast<WPARAM>(FCommand), 0) != 0;
    return FDown;
}

void TToolButton::SetDown(bool value) {
    if (Down() == value)
        return;
    FDown = value;
    if (FToolBar && FToolBar->HandleAllocated())
        SendMessageA(FToolBar->Handle(), FStyle == tbsCheck ? TB_CHECKBUTTON : TB_PRESSBUTTON,
                     static_cast<WPARAM>(FCommand), MAKELPARAM(value, 0));
}

void TToolButton::SetGrouped(bool value) {
    if (FGrouped == value)
        return;
    FGrouped = value;
    Changed();
}

void TToolButton::SetIndeterminate(bool value) {
    if (FIndeterminate == value)
        return;
    FIndeterminate = value;
    Changed();
}

void TToolButton::SetMarked(bool value) {
    if (FMarked == value)
        return;
    FMarked = value;
    Changed();
}

void TToolButton::SetWrap(bool value) {
    if (FWrap == value)
        return;
    FWrap = value;
    Changed();
}

void TToolButton::SetDropdownMenu(TPopupMenu* value) {
    if (FDropdownMenu == value)
        return;
    if (FDropdownMenu)
        FDropdownMenu->RemoveFreeNotification(this);
    FDropdownMenu = value;
    if (value)
        value->FreeNotification(this);
}

void TToolButton::SetMenuItem(TMenuItem* value) {
    if (FMenuItem == value)
        return;
    if (FMenuItem)
        FMenuItem->RemoveFreeNotification(this);
    FMenuItem = value;
    if (value) {
        value->FreeNotification(this);
        SetCaption(value->Caption());
    }
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FDropdownMenu)
        FDropdownMenu = nullptr;
    if (component == FMenuItem)
        FMenuItem = nullptr;
}

void TToolButton::Click() {
    if (FMenuItem)
        FMenuItem->Click();
    TGraphicControl::Click();
}

bool TToolButton::CheckMenuDropdown() {
    if (!FToolBar || !FToolBar->HandleAllocated())
        return false;
    const bool hasItems = FMenuItem && FMenuItem->Count() > 0;
    if (!FDropdownMenu && !hasItems)
        return false;
    HWND bar = FToolBar->Handle();
    RECT r{};
    SendMessageA(bar, TB_GETITEMRECT, static_cast<WPARAM>(Index()), reinterpret_cast<LPARAM>(&r));
    POINT p{r.left, r.bottom};
    ::ClientToScreen(bar, &p);
    const int command = FCommand;
    SendMessageA(bar, TB_PRESSBUTTON, static_cast<WPARAM>(command), MAKELPARAM(TRUE, 0));
    if (FDropdownMenu) {
        FDropdownMenu->SetPopupComponent(this);
        FDropdownMenu->Popup(p.x, p.y);
    } else {
        PopupMenuItems(FMenuItem, p.x, p.y);
    }
    // The chosen item's handler may have freed the toolbar's window.
    if (IsWindow(bar))
        SendMessageA(bar, TB_PRESSBUTTON, static_cast<WPARAM>(command), MAKELPARAM(FALSE, 0));
    return true;
}

void TToolButton::WndProc(TMessage& message) {
    TGraphicControl::WndProc(message);
    switch (message.Msg) {
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED:
    case CM_VISIBLECHANGED:
        Changed();
        break;
    default:
        break;
    }
}

// ---- TToolBar ------------------------------------------------------------------------------

TClass TToolBar::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TToolBar>("TToolBar")
            .Int("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight)
            .Int("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth)
            .Obj<TCustomImageList>("DisabledImages", &TToolBar::DisabledImages, &TToolBar::SetDisabledImages)
            .Bool("Flat", &TToolBar::Flat, &TToolBar::SetFlat)
            .Obj<TCustomImageList>("HotImages", &TToolBar::HotImages, &TToolBar::SetHotImages)
            .Obj<TCustomImageList>("Images", &TToolBar::Images, &TToolBar::SetImages)
            .Int("Indent", &TToolBar::Indent, &TToolBar::SetIndent)
            .Bool("List", &TToolBar::List, &TToolBar::SetList)
            .Obj<TMainMenu>("Menu", &TToolBar::Menu, &TToolBar::SetMenu)
            .Bool("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions)
            .Bool("Transparent", &TToolBar::Transparent, &TToolBar::SetTransparent)
            .Bool("Wrapable", &TToolBar::Wrapable, &TToolBar::SetWrapable)
            .Event<TTBCustomDrawEvent>("OnCustomDraw", &TToolBar::OnCustomDraw)
            .Event<TTBCustomDrawBtnEvent>("OnCustomDrawButton", &TToolBar::OnCustomDrawButton)
            .Build();
    return &info;
}

TToolBar::TToolBar(TComponent* owner)
    : TWinControl(owner), FImages(*this, TNotifyEvent(this, &TToolBar::ImageListChanged)),
      FDisabledImages(*this, TNotifyEvent(this, &TToolBar::ImageListChanged)),
      FHotImages(*this, TNotifyEvent(this, &TToolBar::ImageListChanged)),
      FCanvas(std::make_unique<TCanvas>()) {
    InitCommonControl(ICC_BAR_CLASSES);
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks};
    FAlign = alTop;
    FWidth = 150;
    FHeight = 29;
    FParentColor = false;
    FColor = clBtnFace;
}

TToolBar::~TToolBar() = default;

TToolButton* TToolBar::Buttons(int index) const {
    if (index < 0 || index >= ButtonCount())
        throw EListError(FormatMsg("List index out of bounds (%s)", {IntToStr(index)}));
    return FButtons[static_cast<size_t>(index)];
}

void TToolBar::SetButtonWidth(int value) {
    if (FButtonWidth == value)
        return;
    FButtonWidth = value;
    RecreateButtons();
}

void TToolBar::SetButtonHeight(int value) {
    if (FButtonHeight == value)
        return;
    FButtonHeight = value;
    RecreateButtons();
}

void TToolBar::SetFlat(bool value) {
    if (FFlat == value)
        return;
    FFlat = value;
    RecreateWnd();
}

void TToolBar::SetShowCaptions(bool value) {
    if (FShowCaptions == value)
        return;
    FShowCaptions = value;
    RecreateButtons();
}

void TToolBar::SetList(bool value) {
    if (FList == value)
        return;
    FList = value;
    RecreateWnd();
}

void TToolBar::SetWrapable(bool value) {
    if (FWrapable == value)
        return;
    FWrapable = value;
    RecreateWnd();
}

void TToolBar::SetTransparent(bool value) {
    if (FTransparent == value)
        return;
    FTransparent = value;
    RecreateWnd();
}

void TToolBar::SetIndent(int value) {
    if (FIndent == value)
        return;
    FIndent = value;
    if (HandleAllocated()) {
        SendMessageA(FHandle, TB_SETINDENT, static_cast<WPARAM>(value), 0);
        UpdateButtonBounds();
    }
}

void TToolBar::SetMenu(TMainMenu* value) {
    if (FMenu == value)
        return;
    if (FMenu)
        FMenu->RemoveFreeNotification(this);
    FMenu = value;
    if (value)
        value->FreeNotification(this);
    BuildMenuButtons();
}

// One button per top-level item of the menu; the buttons the toolbar made for an earlier
// menu go first.
void TToolBar::BuildMenuButtons() {
    for (int i = ComponentCount() - 1; i >= 0; --i)
        if (auto* button = dynamic_cast<TToolButton*>(Components(i)); button && button->FToolBar == this)
            TObject::Free(button);
    if (!FMenu)
        return;
    for (int i = 0; i < FMenu->Items()->Count(); ++i) {
        TMenuItem* item = FMenu->Items()->Items(i);
        auto* button = new TToolButton(this); // owned by the toolbar
        button->SetGrouped(true);
        button->SetMenuItem(item);
        button->SetVisible(item->Visible());
        button->SetParent(this);
    }
}

void TToolBar::InsertButton(TToolButton* button) {
    button->FCommand = FNextCommand++;
    FButtons.push_back(button);
    RecreateButtons();
}

void TToolBar::RemoveButton(TToolButton* button) {
    std::erase(FButtons, button);
    RecreateButtons();
}

TToolButton* TToolBar::FindButton(int command) const {
    for (TToolButton* b : FButtons)
        if (b->FCommand == command)
            return b;
    return nullptr;
}

void TToolBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, TOOLBARCLASSNAMEA);
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (FFlat)
        params.Style |= TBSTYLE_FLAT;
    if (FList)
        params.Style |= TBSTYLE_LIST;
    if (FTransparent)
        params.Style |= TBSTYLE_TRANSPARENT;
    if (FWrapable)
        params.Style |= TBSTYLE_WRAPABLE;
}

void TToolBar::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageA(FHandle, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(FHandle, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    SendMessageA(FHandle, TB_SETINDENT, static_cast<WPARAM>(FIndent), 0);
    ApplyImageLists();
    RecreateButtons();
}

void TToolBar::Loaded() {
    TWinControl::Loaded();
    // Buttons come in the order they stand, row by row, whatever order they were read in.
    std::stable_sort(FButtons.begin(), FButtons.end(), [](const TToolButton* a, const TToolButton* b) {
        return a->Top() != b->Top() ? a->Top() < b->Top() : a->Left() < b->Left();
    });
    RecreateButtons();
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != opRemove)
        return;
    FImages.Removed(component);
    FDisabledImages.Removed(component);
    FHotImages.Removed(component);
    if (component == FMenu)
        FMenu = nullptr;
}

void TToolBar::ImageListChanged(TObject*) {
    ApplyImageLists();
    RecreateButtons();
}

void TToolBar::ApplyImageLists() {
    if (!HandleAllocated())
        return;
    auto handle = [](TCustomImageList* list) {
        return reinterpret_cast<LPARAM>(list ? list->Handle() : nullptr);
    };
    SendMessageA(FHandle, TB_SETIMAGELIST, 0, handle(Images()));
    SendMessageA(FHandle, TB_SETDISABLEDIMAGELIST, 0, handle(DisabledImages()));
    SendMessageA(FHandle, TB_SETHOTIMAGELIST, 0, handle(HotImages()));
}

void TToolBar::RecreateButtons() {
    if (!HandleAllocated() || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying))
        return;
    FUpdating = true;
    SendMessageA(FHandle, WM_SETREDRAW, FALSE, 0);
    while (SendMessageA(FHandle, TB_BUTTONCOUNT, 0, 0) > 0)
        SendMessageA(FHandle, TB_DELETEBUTTON, 0, 0);
    if (TCustomImageList* images = Images())
        SendMessageA(FHandle, TB_SETBITMAPSIZE, 0, MAKELPARAM(images->Width(), images->Height()));
    SendMessageA(FHandle, TB_SETMAXTEXTROWS, FShowCaptions ? 1 : 0, 0);

    std::vector<std::string> texts; // the toolbar copies them
    texts.reserve(FButtons.size());
    std::vector<TBBUTTON> buttons;
    for (TToolButton* b : FButtons) {
        TBBUTTON tb{};
        tb.idCommand = b->FCommand;
        tb.dwData = reinterpret_cast<DWORD_PTR>(b);
        tb.iString = -1;
        if (b->Enabled())
            tb.fsState |= TBSTATE_ENABLED;
        if (!b->Visible())
            tb.fsState |= TBSTATE_HIDDEN;
        if (b->FWrap)
            tb.fsState |= TBSTATE_WRAP;
        if (b->FStyle == tbsSeparator || b->FStyle == tbsDivider) {
            tb.fsStyle = BTNS_SEP;
            tb.iBitmap = b->FWidth; // a separator's bitmap index is its width
        } else {
            tb.iBitmap = b->FImageIndex >= 0 ? b->FImageIndex : I_IMAGENONE;
            if (FShowCaptions) {
                texts.push_back(b->Caption());
                tb.iString = reinterpret_cast<INT_PTR>(texts.back().c_str());
            }
            switch (b->FStyle) {
            case tbsCheck:
                tb.fsStyle = BTNS_CHECK | (b->FGrouped ? BTNS_GROUP : 0);
                break;
            case tbsDropDown:
                tb.fsStyle = BTNS_DROPDOWN;
                break;
            default:
                tb.fsStyle = BTNS_BUTTON;
                break;
            }
            if (b->FDown)
                tb.fsState |= b->FStyle == tbsCheck ? TBSTATE_CHECKED : TBSTATE_PRESSED;
            if (b->FIndeterminate)
                tb.fsState |= TBSTATE_INDETERMINATE;
            if (b->FMarked)
                tb.fsState |= TBSTATE_MARKED;
        }
        buttons.push_back(tb);
    }
    if (!buttons.empty())
        SendMessageA(FHandle, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageA(FHandle, TB_SETBUTTONSIZE, 0, MAKELPARAM(FButtonWidth, FButtonHeight));
    SendMessageA(FHandle, WM_SETREDRAW, TRUE, 0);
    FUpdating = false;
    UpdateButtonBounds();
    Invalidate();
}

void TToolBar::UpdateButtonBounds() {
    if (!HandleAllocated())
        return;
    FUpdating = true;
    for (size_t i = 0; i < FButtons.size(); ++i) {
        RECT r{};
        if (!SendMessageA(FHandle, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)))
            r = RECT{0, 0, 0, 0}; // hidden
        FButtons[i]->SetButtonBounds(r);
    }
    FUpdating = false;
}

void TToolBar::CommandClicked(int command) {
    TToolButton* button = FindButton(command);
    if (!button)
        return;
    if (button->FStyle == tbsCheck)
        button->Down(); // the toolbar has toggled it
    const bool dropsMenu = (button->FDropdownMenu && button->FStyle != tbsDropDown) ||
                           (button->FMenuItem && button->FMenuItem->Count() > 0);
    if (!dropsMenu || !button->CheckMenuDropdown())
        button->Click();
}

void TToolBar::DropDown(int command) {
    if (TToolButton* button = FindButton(command))
        button->CheckMenuDropdown();
}

LRESULT TToolBar::CustomDraw(NMTBCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT: {
        LRESULT result = CDRF_DODEFAULT;
        if (OnCustomDraw) {
            bool defaultDraw = true;
            FCanvas->SetHandle(draw.nmcd.hdc);
            FCanvas->Font()->Assign(Font());
            FCanvas->Brush()->SetColor(FColor);
            // The whole bar: the system's rectangle may end with the last button.
            const TRect r = ClientRect();
            try {
                OnCustomDraw(this, r, defaultDraw);
            } catch (...) {
                FCanvas->SetHandle(nullptr);
                throw;
            }
            FCanvas->SetHandle(nullptr);
            if (!defaultDraw)
                return CDRF_SKIPDEFAULT;
        }
        if (OnCustomDrawButton)
            result |= CDRF_NOTIFYITEMDRAW;
        return result;
    }
    case CDDS_ITEMPREPAINT: {
        TToolButton* button = FindButton(static_cast<int>(draw.nmcd.dwItemSpec));
        if (!OnCustomDrawButton || !button)
            return CDRF_DODEFAULT;
        bool defaultDraw = true;
        FCanvas->SetHandle(draw.nmcd.hdc);
        FCanvas->Font()->Assign(Font());
        try {
            OnCustomDrawButton(this, button, CustomDrawStateOf(draw.nmcd.uItemState), defaultDraw);
        } catch (...) {
            FCanvas->SetHandle(nullptr);
            throw;
        }
        // The system draws the caption in the colour the handler gave the canvas font.
        draw.clrText = ColorRefOf(FCanvas->Font()->Color());
        FCanvas->SetHandle(nullptr);
        // A handler that leaves DefaultDraw on has drawn the button's face: the system adds
        // the glyph and caption, not its own face and edges.
        return defaultDraw ? CDRF_DODEFAULT | TBCDRF_NOEDGES | TBCDRF_NOBACKGROUND : CDRF_SKIPDEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

void TToolBar::WndProc(TMessage& message) {
    if (message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MOUSELAST && HandleAllocated() &&
        !ComponentState().Contains(csDesigning)) {
        // The buttons are the system's: their clicks must not go to the tool button controls.
        DefaultHandler(message);
        return;
    }
    switch (message.Msg) {
    case WM_ERASEBKGND:
        if (!FTransparent) {
            RECT r;
            GetClientRect(FHandle, &r);
            FillRect(reinterpret_cast<HDC>(message.WParam), &r, Brush());
            message.Result = 1;
            return;
        }
        break;
    case WM_SIZE:
        TWinControl::WndProc(message);
        UpdateButtonBounds();
        return;
    case CN_COMMAND:
        CommandClicked(LOWORD(message.WParam));
        return;
    case CN_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(message.LParam);
        if (header->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
            message.Result = CustomDraw(*reinterpret_cast<NMTBCUSTOMDRAW*>(header));
            return;
        }
        if (header->code == static_cast<UINT>(TBN_DROPDOWN)) {
            DropDown(reinterpret_cast<NMTOOLBARA*>(header)->iItem);
            message.Result = TBDDRET_DEFAULT;
            return;
        }
        break;
    }
    default:
        break;
    }
    TWinControl::WndProc(message);
}

namespace {
const bool kRegistered = (RegisterClasses({TToolBar::StaticClass(), TToolButton::StaticClass()}), true);
}
