// TWinSkinMenuItems: the skinned drawing of menu items by owner drawing. It switches owner
// drawing on and off for a form's framework menus, adds the skin's room to their measurement,
// and paints items over the popup window's prepared background with the skin's MenuItem image
// (five frames: 1 normal, 2 separator, 4 selected), a glyph or check mark, the caption and the
// shortcut; skins without a MenuItem element get flat colours. It also answers the window's
// WM_MEASUREITEM and WM_DRAWITEM for native menu items. One belongs to each form painter; the
// framework menus' events point at it while hooked.
#pragma once

#include "Canvas.h"
#include "Menus.h"
#include "WinSkinDataComponent.h"

#include <windows.h>

class TWinSkinMenuItems {
public:
    explicit TWinSkinMenuItems(TSkinData& skinData) : FSkinData(&skinData) {}
    TWinSkinMenuItems(const TWinSkinMenuItems&) = delete;
    TWinSkinMenuItems& operator=(const TWinSkinMenuItems&) = delete;

    // The framework menu of the menu bar: the parent menu of items that have none.
    void SetBarMenu(TMenu* menu) { FBarMenu = menu; }
    TMenu* BarMenu() const { return FBarMenu; }
    void SetRightToLeft(bool value) { FRightToLeft = value; }

    // Owner drawing of the popup menus owned by the component tree (Tag = DisableTag: left alone).
    void HookPopupMenus(TComponent* component, bool on);
    // Owner drawing of the sub-items of the component's main menus (the bar draws the top level).
    void HookMainMenus(TComponent* component, bool on);
    // Owner drawing of an item and all its sub-items.
    void HookItemTree(TMenuItem* item, bool on);
    // One popup item drawn by this painter (its own measuring kept when it has one).
    void HookPopupItem(TMenuItem* item);
    // Every item of the component tree's menus that points at this painter lets go of it.
    void UnhookTree(TComponent* root);

    // ---- the framework's item events ----
    void MeasureMenuItem(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height);
    void MeasurePopupItem(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height);
    void DrawSkinnedItem(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, bool Selected);

    // ---- painting ----
    // An item read from a native menu (not one of the framework's).
    void DrawNativeItem(HMENU menu, TMenuItem& item, bool selected, const TRect& rect, TCanvas& canvas);
    void DrawPlainItem(TMenuItem& item, TCanvas& canvas, bool selected, const TRect& rect);
    void DrawItemContent(TMenuItem& item, TCanvas& canvas, bool selected, const TRect& rect);
    void DrawSeparator(TCanvas& canvas, const TRect& rect);

    // ---- the window's own messages; false: the default handles them ----
    // form: the framework form or nullptr; popped: the menu-bar submenu being tracked.
    bool MeasureNative(TControl* form, HMENU popped, MEASUREITEMSTRUCT& measure);
    bool DrawNativeMessage(TControl* form, DRAWITEMSTRUCT& draw);

private:
    bool HasElement() const;
    int ElementLeftWidth() const;
    // Paints item content over background (already in the work bitmap) at rect.
    void DrawOverBackground(HMENU menu, TMenuItem& item, bool selected, const TRect& rect, TCanvas& canvas,
                            bool separatorCase);
    void DrawItemText(TMenuItem& item, TCanvas& canvas, UINT flags, bool selected, TRect& rect,
                      const std::string& text);
    void DrawGlyph(TMenuItem& item, TCanvas& canvas, TRect glyph, const TRect& rect);
    void HookPopupItems(TMenuItem* item, bool on);
    void HookMainItems(TMenuItem* item, int depth, bool on);
    void UnhookItem(TMenuItem* item);
    void UnhookItems(TMenuItem* item);
    TMenuItem* FrameworkItem(TControl* form, UINT id) const;

    TSkinData* FSkinData;
    TMenu* FBarMenu = nullptr;
    bool FRightToLeft = false;
};
