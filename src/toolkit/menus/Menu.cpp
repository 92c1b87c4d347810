// TMenu, TMainMenu and TPopupMenu: menus as components, their lookups, the menu bar on its
// window and pop-ups that return once the chosen item has run.
#include "Menus.h"

#include "MenuDispatch.h"
#include "ObjectInstance.h"

#include <functional>
#include <unordered_map>

const TEnumType PopupAlignmentType{"TPopupAlignment", {"paLeft", "paRight", "paCenter"}};

namespace {

// Which main menu each window shows: a window shows one menu, a menu one window.
std::unordered_map<HWND, TMainMenu*>& MenuOfWindow() {
    static std::unordered_map<HWND, TMainMenu*> map;
    return map;
}

// Visits item and all its sub-items; stops at the first item visit returns true for.
TMenuItem* Walk(TMenuItem* item, const std::function<bool(TMenuItem*)>& visit) {
    if (visit(item))
        return item;
    for (int i = 0; i < item->Count(); ++i)
        if (TMenuItem* found = Walk(item->Items(i), visit))
            return found;
    return nullptr;
}

bool Usable(const TMenuItem* item) {
    for (; item; item = item->Parent())
        if (!item->Enabled() || !item->Visible())
            return false;
    return true;
}

// A hidden window that owns a pop-up menu while it is shown, so that its items' measuring,
// drawing and pop-up messages come back to them.
class PopupOwner : public TObject {
public:
    PopupOwner() : FWnd(AllocateHWnd(TWndMethod(this, &PopupOwner::WndProc))) {}
    ~PopupOwner() override { DeallocateHWnd(FWnd); }
    HWND Handle() const { return FWnd; }

private:
    void WndProc(TMessage& message) {
        try {
            if (HandleMenuItemMessage(message))
                return;
        } catch (...) {
            HandleControlException(this); // nothing may cross the menu's message loop
            return;
        }
        message.Result = DefWindowProcA(FWnd, message.Msg, message.WParam, message.LParam);
    }
    HWND FWnd;
};

} // namespace

bool PopupMenuItems(TMenuItem* item, int x, int y, UINT flags) {
    if (!item)
        return false;
    bool any = false;
    for (int i = 0; i < item->Count() && !any; ++i)
        any = item->Items(i)->Visible();
    if (!any)
        return false;
    HMENU menu = item->Handle();
    int command = 0;
    {
        PopupOwner owner;
        command =
            TrackPopupMenu(menu, flags | TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, owner.Handle(), nullptr);
    }
    if (command)
        if (TMenuItem* chosen = FindMenuItemByCommand(command))
            chosen->Click();
    return true;
}

// ---- TMenu ---------------------------------------------------------------------------------

TClass TMenu::StaticClass() {
    static const TClassInfo info = TClassBuilder<TMenu>("TMenu")
                                       .Obj<TCustomImageList>("Images", &TMenu::Images, &TMenu::SetImages)
                                       .Bool("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw)
                                       .Build();
    return &info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(nullptr)) {
    FItems->FMenu = this;
}

TMenu::~TMenu() {
    // The items go while the menu is still whole; they no longer report changes to it.
    FItems->FMenu = nullptr;
    FItems.reset();
}

void TMenu::SetImages(TCustomImageList* value) {
    if (FImages == value)
        return;
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = value;
    if (value)
        value->FreeNotification(this);
    HandlesChanged(); // owner drawing follows the images
}

void TMenu::SetOwnerDraw(bool value) {
    if (FOwnerDraw == value)
        return;
    FOwnerDraw = value;
    HandlesChanged();
}

void TMenu::HandlesChanged() {
    Walk(FItems.get(), [](TMenuItem* item) {
        if (item->HandleAllocated())
            item->RebuildHandle();
        return false;
    });
    MenuChanged(FItems.get());
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FImages) {
        FImages = nullptr;
        HandlesChanged();
    }
}

TMenuItem* TMenu::FindItem(std::uintptr_t value, TFindItemKind kind) const {
    switch (kind) {
    case fkCommand: {
        TMenuItem* item = FindMenuItemByCommand(static_cast<int>(value));
        return item && item != FItems.get() && item->GetParentMenu() == this ? item : nullptr;
    }
    case fkHandle:
        return Walk(FItems.get(), [value](TMenuItem* item) {
            return item->HandleAllocated() && reinterpret_cast<std::uintptr_t>(item->Handle()) == value;
        });
    case fkShortCut:
        return Walk(FItems.get(), [value](TMenuItem* item) {
            return item->ShortCut() != scNone && item->ShortCut() == value;
        });
    }
    return nullptr;
}

bool TMenu::IsShortCut(WORD key, TShiftState shift) {
    const TShortCut wanted = ShortCut(key, shift);
    if (wanted == scNone)
        return false;
    TMenuItem* item =
        Walk(FItems.get(), [wanted](TMenuItem* i) { return i->ShortCut() == wanted && Usable(i); });
    if (!item)
        return false;
    item->Click();
    return true;
}

bool TMenu::DispatchCommand(int command) {
    TMenuItem* item = FindItem(static_cast<std::uintptr_t>(command), fkCommand);
    if (!item)
        return false;
    item->Click();
    return true;
}

bool TMenu::DispatchPopup(HMENU menu) {
    TMenuItem* item = FindItem(reinterpret_cast<std::uintptr_t>(menu), fkHandle);
    if (!item)
        return false;
    if (item != FItems.get())
        item->Click();
    return true;
}

void TMenu::MenuChanged(TMenuItem*) {}

// ---- TMainMenu -----------------------------------------------------------------------------

TClass TMainMenu::StaticClass() {
    static const TClassInfo info = TClassBuilder<TMainMenu>("TMainMenu").Build();
    return &info;
}

TMainMenu::~TMainMenu() {
    SetWindowHandle(nullptr); // the window must not keep a menu about to be destroyed
}

void TMainMenu::SetWindowHandle(HWND wnd) {
    HWND old = WindowHandle();
    if (old == wnd)
        return;
    if (old) {
        MenuOfWindow().erase(old);
        // Someone else (a skin drawing the bar itself) may have taken the menu off already.
        if (IsWindow(old) && Items()->HandleAllocated() && GetMenu(old) == Items()->Handle())
            ::SetMenu(old, nullptr);
    }
    TMenu::SetWindowHandle(wnd);
    if (!wnd)
        return;
    auto& map = MenuOfWindow();
    if (auto it = map.find(wnd); it != map.end() && it->second != this)
        it->second->SetWindowHandle(nullptr);
    map[wnd] = this;
    ::SetMenu(wnd, Handle());
}

void TMainMenu::MenuChanged(TMenuItem* source) {
    TMenu::MenuChanged(source);
    HWND wnd = WindowHandle();
    if (!wnd || !IsWindow(wnd) || ComponentState().Contains(csLoading))
        return;
    if (GetMenu(wnd) == Handle())
        DrawMenuBar(wnd);
    // Whoever draws the bar instead of the system reads the menu again.
    SendMessageA(wnd, CM_MENUCHANGED, 0, 0);
}

TMainMenu* MainMenuOfWindow(HWND wnd) {
    auto& map = MenuOfWindow();
    auto it = map.find(wnd);
    return it == map.end() ? nullptr : it->second;
}

// ---- TPopupMenu ----------------------------------------------------------------------------

TClass TPopupMenu::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TPopupMenu>("TPopupMenu")
            .Enum("Alignment", PopupAlignmentType, &TPopupMenu::Alignment, &TPopupMenu::SetAlignment)
            .Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup)
            .Event<TNotifyEvent>("OnPopup", &TPopupMenu::OnPopup)
            .Build();
    return &info;
}

void TPopupMenu::Popup(int x, int y) {
    if (OnPopup)
        OnPopup(this);
    UINT flags = TPM_LEFTALIGN;
    if (FAlignment == paRight)
        flags = TPM_RIGHTALIGN;
    else if (FAlignment == paCenter)
        flags = TPM_CENTERALIGN;
    PopupMenuItems(Items(), x, y, flags | TPM_TOPALIGN);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == opRemove && component == FPopupComponent)
        FPopupComponent = nullptr;
}

namespace {
const bool kRegistered = [] {
    RegisterClasses({TMenuItem::StaticClass(), TMainMenu::StaticClass(), TPopupMenu::StaticClass()});
    InstallMenuMessageHook();
    return true;
}();
}
