// Menus: a form's main menu, pop-up menus and their items, kept in step with Win32 menus.
//
// Items form a tree under each menu's Items; an item with sub-items has a pop-up menu handle
// of its own. Every item has a command id unique in the process, so a WM_COMMAND, a
// WM_MEASUREITEM or a WM_DRAWITEM from any window leads back to its item. Owner-drawn menus
// (OwnerDraw, or Images) ask their items to measure and draw themselves: OnMeasureItem and
// OnDrawItem when assigned, the item's own measurement and drawing otherwise.
//
// A form shows the main menu its published Menu property names: the menu is put on the
// form's window when the window is created or the property changes, and taken off before the
// window is destroyed, so the menu always stays the menu component's.
#pragma once

#include "Canvas.h"
#include "Component.h"
#include "Controls.h"
#include "ImageList.h"
#include "WinHandle.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

TW_DECLARE_EXCEPTION(EMenuError, Exception);

// ---- shortcuts -----------------------------------------------------------------------------

// A virtual key in the low byte with scShift, scCtrl and scAlt for the modifiers.
using TShortCut = std::uint16_t;
inline constexpr TShortCut scNone = 0;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

TShortCut ShortCut(WORD key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, WORD& key, TShiftState& shift);
// "Ctrl+S", "Shift+Ctrl+F5", "Del"; empty for scNone.
std::string ShortCutToText(TShortCut shortCut);
// The reverse of ShortCutToText (names compare without regard to case); scNone when the
// text is not a shortcut.
TShortCut TextToShortCut(std::string_view text);

// The caption as shown: "&x" marks become "x", "&&" becomes "&".
std::string StripHotkey(std::string_view caption);

// ---- items ---------------------------------------------------------------------------------

enum TFindItemKind { fkCommand, fkHandle, fkShortCut };
enum TPopupAlignment { paLeft, paRight, paCenter };
extern const TEnumType PopupAlignmentType;

class TMenu;

using TMenuDrawItemEvent =
    TClosure<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, bool Selected)>;
using TMenuMeasureItemEvent = TClosure<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;

class TMenuItem : public TComponent {
    TW_DECLARE_CLASS(TMenuItem, TComponent)
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;
    void BeforeDestruction() override;

    // ---- the tree: a parent frees its sub-items with itself
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const;
    TMenuItem* Parent() const { return FParent; }
    int IndexOf(const TMenuItem* item) const;
    int MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }
    void SetMenuIndex(int value);
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    // Takes an item out of the tree without freeing it.
    void Remove(TMenuItem* item);
    void Delete(int index);
    // Frees every sub-item.
    void Clear();
    // The sub-item whose caption, without its "&" marks, is caption (any case).
    TMenuItem* Find(std::string_view caption) const;
    // The menu this item belongs to, through its parents; nullptr when none.
    TMenu* GetParentMenu() const;
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* value) override;

    // ---- what the item shows
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    bool IsLine() const { return FCaption == "-"; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool value);
    // Radio items of one group index under one parent uncheck each other.
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    // A click toggles Checked.
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool value) { FAutoCheck = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value) { FHint = value; }

    // The command id of WM_COMMAND, WM_MEASUREITEM and WM_DRAWITEM.
    int Command() const { return FCommand; }
    // The pop-up menu of the sub-items, made when first asked for.
    HMENU Handle();
    bool HandleAllocated() const { return static_cast<bool>(FHandle); }
    // The image list of the item's menu.
    TCustomImageList* GetImageList() const;

    // Runs OnClick (after AutoCheck toggled the check).
    virtual void Click();
    // The size of an owner-drawn item: the item's own measurement, then OnMeasureItem.
    virtual void MeasureItem(TCanvas* canvas, int& width, int& height);
    // Paints an owner-drawn item: OnDrawItem when assigned, the item's own drawing otherwise.
    virtual void DrawItem(TCanvas* canvas, const TRect& rect, bool selected);

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

protected:
    // The item's look changed (rebuild: its sub-items changed too).
    void MenuChanged(bool rebuild);

private:
    friend class TMenu;
    bool IsTopLevel() const;
    bool IsOwnerDraw() const;
    void RebuildHandle();
    void AppendTo(HMENU menu, UINT position);
    void TurnSiblingsOff();
    void DrawDefault(TCanvas* canvas, const TRect& rect, bool selected);

    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr; // set on a menu's root item only
    std::vector<TMenuItem*> FItems;
    std::string FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FDefault = false;
    bool FVisible = true;
    bool FRadioItem = false;
    int FGroupIndex = 0;
    bool FAutoCheck = false;
    int FImageIndex = -1;
    TShortCut FShortCut = scNone;
    std::string FHint;
    int FCommand;
    TMenuHandle FHandle;
};

// ---- menus ---------------------------------------------------------------------------------

class TMenu : public TComponent {
    TW_DECLARE_CLASS(TMenu, TComponent)
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    // The root item; its sub-items are the menu's items.
    TMenuItem* Items() const { return FItems.get(); }
    HMENU Handle() { return FItems->Handle(); }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool value);
    // Owner drawn: asked for, or needed to show images.
    bool IsOwnerDraw() const { return FOwnerDraw || FImages != nullptr; }
    // The window showing the menu (a form's window for a main menu).
    HWND WindowHandle() const { return FWindowHandle; }
    virtual void SetWindowHandle(HWND wnd) { FWindowHandle = wnd; }

    // The item with that command id, pop-up menu handle or shortcut; nullptr when none.
    TMenuItem* FindItem(std::uintptr_t value, TFindItemKind kind) const;
    // Clicks the enabled, visible item with that shortcut; false when there is none.
    bool IsShortCut(WORD key, TShiftState shift);
    // Clicks the item with that command id; false when the menu has none.
    bool DispatchCommand(int command);
    // A pop-up menu of this menu opens: its parent item's OnClick runs (handlers update the
    // sub-items there); false when the handle is not one of this menu's.
    bool DispatchPopup(HMENU menu);

    void Notification(TComponent* component, TOperation operation) override;

protected:
    friend class TMenuItem;
    // Main menus are menu bars, the others pop-up menus.
    virtual bool IsMenuBar() const { return false; }
    // An item changed; the handles are up to date already.
    virtual void MenuChanged(TMenuItem* source);

private:
    // Every item's menu again, after a change to how all of them are shown.
    void HandlesChanged();

    std::unique_ptr<TMenuItem, TObjectDeleter> FItems;
    TCustomImageList* FImages = nullptr;
    bool FOwnerDraw = false;
    HWND FWindowHandle = nullptr;
};

// A form's menu bar.
class TMainMenu : public TMenu {
    TW_DECLARE_CLASS(TMainMenu, TMenu)
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
    ~TMainMenu() override;
    // Puts the menu on the window (nullptr: takes it off the window it was on).
    void SetWindowHandle(HWND wnd) override;

protected:
    bool IsMenuBar() const override { return true; }
    void MenuChanged(TMenuItem* source) override;
};

class TPopupMenu : public TMenu {
    TW_DECLARE_CLASS(TPopupMenu, TMenu)
    explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}

    // Shows the menu at a screen position and returns when it closed; the chosen item's
    // OnClick has run by then.
    virtual void Popup(int x, int y);
    // The component the menu was last shown for (a control, a tool button).
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* value) { FPopupComponent = value; }
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment value) { FAlignment = value; }
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool value) { FAutoPopup = value; }

    TNotifyEvent OnPopup;

    void Notification(TComponent* component, TOperation operation) override;

private:
    TComponent* FPopupComponent = nullptr;
    TPopupAlignment FAlignment = paLeft;
    bool FAutoPopup = true;
};

// Shows the sub-items of any item as a pop-up menu at a screen position (TPM_ alignment
// flags) and runs the chosen item's click before returning; false when the item has no
// visible sub-items.
bool PopupMenuItems(TMenuItem* item, int x, int y, UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN);

// The system's menu font, shared by the measuring and drawing of every item.
TFont& MenuItemFont();

// The item with a command id, in any menu of the process.
TMenuItem* FindMenuItemByCommand(int command);
