// TMenuItem: the item tree, its properties, and the Win32 menu that shows its sub-items.
#include "Menus.h"

#include "MenuDispatch.h"

#include <algorithm>
#include <set>
#include <unordered_map>

namespace {

// Command ids are unique in the process: WM_COMMAND and the owner-draw messages of any window
// lead back to the item. Freed ids are used again, lowest first.
class CommandPool {
public:
    int Allocate(TMenuItem* item) {
        int id;
        if (!FFree.empty()) {
            id = *FFree.begin();
            FFree.erase(FFree.begin());
        } else {
            if (FNext > 0xFFFF)
                throw EOutOfResources("Too many menu items");
            id = FNext++;
        }
        FItems[id] = item;
        return id;
    }
    void Release(int id) {
        FItems.erase(id);
        FFree.insert(id);
    }
    TMenuItem* Find(int id) const {
        auto it = FItems.find(id);
        return it == FItems.end() ? nullptr : it->second;
    }
    TMenuItem* FindHandle(HMENU menu) const {
        for (const auto& [id, item] : FItems)
            if (item->HandleAllocated() && item->Handle() == menu)
                return item;
        return nullptr;
    }

private:
    std::unordered_map<int, TMenuItem*> FItems;
    std::set<int> FFree;
    int FNext = 1;
};

CommandPool& Commands() {
    static CommandPool pool;
    return pool;
}

void EmptyMenu(HMENU menu) {
    // RemoveMenu, not DeleteMenu: the sub-menus belong to their own items.
    while (GetMenuItemCount(menu) > 0)
        if (!RemoveMenu(menu, 0, MF_BYPOSITION))
            break;
}

} // namespace

TMenuItem* FindMenuItemByCommand(int command) {
    return Commands().Find(command);
}

TMenuItem* FindMenuItemByHandle(HMENU menu) {
    return menu ? Commands().FindHandle(menu) : nullptr;
}

TClass TMenuItem::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TMenuItem>("TMenuItem")
            .Bool("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck)
            .Str("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
            .Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
            .Bool("Default", &TMenuItem::Default, &TMenuItem::SetDefault)
            .Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
            .Int("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex)
            .Str("Hint", &TMenuItem::Hint, &TMenuItem::SetHint)
            .Int("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
            .Bool("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem)
            .Int("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut)
            .Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
            .Event<TNotifyEvent>("OnClick", &TMenuItem::OnClick)
            .Event<TMenuDrawItemEvent>("OnDrawItem", &TMenuItem::OnDrawItem)
            .Event<TMenuMeasureItemEvent>("OnMeasureItem", &TMenuItem::OnMeasureItem)
            .Build();
    return &info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), FCommand(Commands().Allocate(this)) {}

void TMenuItem::BeforeDestruction() {
    TComponent::BeforeDestruction();
    Destroying();
}

TMenuItem::~TMenuItem() {
    Destroying();
    if (FParent)
        FParent->Remove(this);
    while (!FItems.empty())
        TObject::Free(FItems.back()); // each takes itself out of the list
    if (FHandle)
        EmptyMenu(FHandle.Get()); // DestroyMenu would destroy sub-menus too
    FHandle.Reset();
    Commands().Release(FCommand);
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EListError(FormatMsg("Menu index out of range (%s)", {IntToStr(index)}));
    return FItems[static_cast<size_t>(index)];
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item)
        return;
    if (item->FParent)
        throw EMenuError("Menu item is already in a menu");
    for (const TMenuItem* p = this; p; p = p->FParent)
        if (p == item)
            throw EMenuError("A menu item cannot be inserted into itself");
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
    MenuChanged(true);
}

void TMenuItem::Remove(TMenuItem* item) {
    const int index = IndexOf(item);
    if (index < 0)
        return;
    FItems.erase(FItems.begin() + index);
    item->FParent = nullptr;
    if (!ComponentState().Contains(csDestroying))
        MenuChanged(true);
    else if (FHandle)
        RebuildHandle(); // the removed item's sub-menu must leave this menu before it dies
}

void TMenuItem::Delete(int index) {
    Remove(Items(index));
}

void TMenuItem::Clear() {
    while (!FItems.empty())
        TObject::Free(FItems.back());
}

void TMenuItem::SetMenuIndex(int value) {
    if (!FParent)
        return;
    TMenuItem* parent = FParent;
    value = std::clamp(value, 0, parent->Count() - 1);
    if (value == MenuIndex())
        return;
    std::erase(parent->FItems, this);
    parent->FItems.insert(parent->FItems.begin() + value, this);
    parent->MenuChanged(true);
}

TMenuItem* TMenuItem::Find(std::string_view caption) const {
    const std::string wanted = StripHotkey(caption);
    for (TMenuItem* item : FItems)
        if (SameText(StripHotkey(item->FCaption), wanted))
            return item;
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->FParent)
        item = item->FParent;
    return item->FMenu;
}

TComponent* TMenuItem::GetParentComponent() const {
    if (FParent && FParent->FMenu)
        return FParent->FMenu;
    return FParent;
}

void TMenuItem::SetParentComponent(TComponent* value) {
    if (FParent)
        FParent->Remove(this);
    if (auto* menu = dynamic_cast<TMenu*>(value))
        menu->Items()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(value))
        item->Add(this);
}

bool TMenuItem::IsTopLevel() const {
    return FParent && FParent->FMenu && FParent->FMenu->IsMenuBar();
}

bool TMenuItem::IsOwnerDraw() const {
    const TMenu* menu = GetParentMenu();
    return menu && menu->IsOwnerDraw();
}

TCustomImageList* TMenuItem::GetImageList() const {
    const TMenu* menu = GetParentMenu();
    return menu ? menu->Images() : nullptr;
}

// ---- properties ----------------------------------------------------------------------------

void TMenuItem::SetCaption(const std::string& value) {
    if (FCaption == value)
        return;
    FCaption = value;
    MenuChanged(false);
}

void TMenuItem::SetChecked(bool value) {
    if (FChecked == value)
        return;
    FChecked = value;
    if (value && FRadioItem)
        TurnSiblingsOff();
    MenuChanged(false);
}

void TMenuItem::TurnSiblingsOff() {
    if (!FParent)
        return;
    for (TMenuItem* item : FParent->FItems)
        if (item != this && item->FRadioItem && item->FGroupIndex == FGroupIndex && item->FChecked) {
            item->FChecked = false;
            item->MenuChanged(false);
        }
}

void TMenuItem::SetEnabled(bool value) {
    if (FEnabled == value)
        return;
    FEnabled = value;
    MenuChanged(false);
}

void TMenuItem::SetDefault(bool value) {
    if (FDefault == value)
        return;
    if (value && FParent)
        for (TMenuItem* item : FParent->FItems)
            if (item != this && item->FDefault) {
                item->FDefault = false; // one default item per menu
                item->MenuChanged(false);
            }
    FDefault = value;
    MenuChanged(false);
}

void TMenuItem::SetVisible(bool value) {
    if (FVisible == value)
        return;
    FVisible = value;
    MenuChanged(false);
}

void TMenuItem::SetRadioItem(bool value) {
    if (FRadioItem == value)
        return;
    FRadioItem = value;
    if (value && FChecked)
        TurnSiblingsOff();
    MenuChanged(false);
}

void TMenuItem::SetGroupIndex(int value) {
    if (FGroupIndex == value)
        return;
    FGroupIndex = value;
    if (FRadioItem && FChecked)
        TurnSiblingsOff();
}

void TMenuItem::SetImageIndex(int value) {
    if (FImageIndex == value)
        return;
    FImageIndex = value;
    MenuChanged(false);
}

void TMenuItem::SetShortCut(TShortCut value) {
    if (FShortCut == value)
        return;
    FShortCut = value;
    MenuChanged(false);
}

void TMenuItem::Click() {
    if (!FEnabled)
        return;
    if (FAutoCheck)
        SetChecked(!FChecked);
    if (OnClick)
        OnClick(this);
}

// ---- the Win32 menu ------------------------------------------------------------------------

HMENU TMenuItem::Handle() {
    if (!FHandle) {
        const bool bar = FMenu && FMenu->IsMenuBar();
        HMENU menu = bar ? CreateMenu() : CreatePopupMenu();
        if (!menu)
            throw EOutOfResources("Cannot create a menu");
        FHandle.Reset(menu);
        RebuildHandle();
    }
    return FHandle.Get();
}

void TMenuItem::RebuildHandle() {
    HMENU menu = FHandle.Get();
    EmptyMenu(menu);
    UINT position = 0;
    for (TMenuItem* item : FItems)
        if (item->FVisible)
            item->AppendTo(menu, position++);
}

void TMenuItem::AppendTo(HMENU menu, UINT position) {
    std::string text = FCaption;
    if (FShortCut != scNone && !IsTopLevel())
        text += "\t" + ShortCutToText(FShortCut);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    if (IsLine()) {
        info.fType = MFT_SEPARATOR;
    } else {
        info.fMask |= MIIM_STRING;
        info.dwTypeData = text.data();
        info.cch = static_cast<UINT>(text.size());
    }
    if (FRadioItem)
        info.fType |= MFT_RADIOCHECK;
    if (IsOwnerDraw())
        info.fType |= MFT_OWNERDRAW;
    info.fState = (FChecked ? MFS_CHECKED : 0) | (FEnabled ? 0 : MFS_GRAYED) | (FDefault ? MFS_DEFAULT : 0);
    info.wID = static_cast<UINT>(FCommand);
    info.hSubMenu = Count() > 0 ? Handle() : nullptr;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
    InsertMenuItemA(menu, position, TRUE, &info);
}

void TMenuItem::MenuChanged(bool rebuild) {
    if (ComponentState().Contains(csDestroying))
        return;
    // The entry in the parent's menu shows caption, state and whether there is a sub-menu.
    if (FParent && FParent->FHandle)
        FParent->RebuildHandle();
    if (rebuild && FHandle)
        RebuildHandle();
    if (TMenu* menu = GetParentMenu())
        menu->MenuChanged(this);
}
