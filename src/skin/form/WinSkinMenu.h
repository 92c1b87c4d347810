// TWinSkinMenu: the menu bar of a skinned window, drawn in the band the frame keeps under the
// title bar. The window's native menu is taken off the window (so that the system does not
// draw it) and kept until skinning ends; one TMenuBtn per top-level item is painted, lit under
// the mouse and opens its submenu with TrackPopupMenu. While a submenu is open, a
// message-filter hook moves between the top-level items with the arrow keys and the mouse.
//
// WinSkinMenu.cpp reads the menu, paints and lays out the bar; WinSkinMenuTrack.cpp opens the
// menus and runs the hook.
#pragma once

#include "Bitmap.h"
#include "Menus.h"
#include "WinSkinDataComponent.h"
#include "WinSkinForm.h"

#include <memory>
#include <string>
#include <vector>

#include <windows.h>

class TWinSkinMenu;

// One top-level item of the bar.
class TMenuBtn : public TNCObject {
public:
    TMenuBtn(TWinSkinForm& owner, TWinSkinMenu& bar) : TNCObject(owner), FBar(bar) {}
    // Hover and press feedback, straight onto the window DC.
    void Paint() override;

    TWinSkinMenu& FBar;
    TMenuItem* FItem = nullptr; // the framework item, when one was found
    int FIndex = 0;
    std::wstring FCaption; // with its "&" marker
    bool FEnabled = true;
    HMENU FSubMenu = nullptr; // none: the item only runs its command
    int FCommand = 0;
};

class TWinSkinMenu {
public:
    TWinSkinMenu(TWinSkinForm& form, TSkinData& skinData);
    ~TWinSkinMenu();
    TWinSkinMenu(const TWinSkinMenu&) = delete;
    TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

    // The framework main menu of the form; none for a foreign window.
    void SetFrameworkMenu(TMenu* menu) { FMenu = menu; }
    TMenu* FrameworkMenu() const { return FMenu; }
    HMENU NativeMenu() const { return FNativeMenu; }

    // Rebuilds the buttons from the native menu and takes it off the window.
    void ReadMenu();
    // The same from the framework menu (systems whose menu items cannot be read back).
    void ReadFrameworkMenu();
    // An MDI frame's menu changed: the framework is asked only for items without text.
    void ReadMDIMenu();
    // The native menu back on the window (skinning ends while the window lives).
    void RestoreNativeMenu();

    // Paints the band (window coordinates) into dc and places the buttons.
    void PaintBar(HDC dc, const TRect& band);
    // Places the buttons without painting.
    void LayoutBar();

    // The button at a window point; empty captions are never hit.
    TMenuBtn* MenuButtonAt(POINT windowPoint) const;
    // The first enabled, visible button carrying that accelerator.
    TMenuBtn* FindAccel(wchar_t key) const;
    TMenuBtn* Button(int index) const;
    int Count() const { return static_cast<int>(FButtons.size()); }
    const std::vector<std::unique_ptr<TMenuBtn>>& Buttons() const { return FButtons; }

    // Tracks the button's submenu; returns when it closed (and the neighbours the user moved
    // to closed too). False when nothing was opened.
    bool OpenMenu(TMenuBtn* button);
    // Posts a non-client click on the button, which opens its menu through the press handling.
    void OpenMenuByClick(TMenuBtn* button);

    bool RightToLeft() const;
    TWinSkinForm& Form() const { return FForm; }

    // ---- what the buttons paint with ----
    const TRect& BarRect() const { return FBarRect; }
    TBitmap& BarBitmap() { return FBarBitmap; }
    TSkinData& SkinData() const { return *FSkinData; }
    // The caption centred in rect (band or window coordinates of dc).
    void DrawCaption(HDC dc, const TMenuBtn& button, const TRect& rect) const;

private:
    friend class TMenuBtn;
    void ClearButtons();
    void DetachNativeMenu();
    // Caption widths of the visible buttons in the screen menu font (-1: invisible).
    std::vector<int> CaptionWidths(HDC dc) const;
    // Margin of the first caption and the band; false when the band is empty.
    bool BandGeometry(TRect& band, int& margin) const;
    void PlaceButtons(const TRect& band, const std::vector<TRect>& cells);
    // Every item of the submenu tree drawn by the skin while it is open; the items switched
    // are remembered and given back by RestoreOwnerDraw.
    void SwitchOwnerDraw(HMENU menu);
    void RestoreOwnerDraw();
    // One TrackPopupMenu for the button at index; the index moved to, -1 when none, or
    // Abandoned when this object was freed while the menu was open.
    int TrackOnce(int index, bool& opened);
    // This object goes while its menu is open.
    void AbandonTracking();

    std::vector<std::unique_ptr<TMenuBtn>> FButtons;
    TMenu* FMenu = nullptr;
    TRect FBarRect{};
    TSkinData* FSkinData;
    TWinSkinForm& FForm;
    TBitmap FBarBitmap; // the painted band without captions
    bool FPainting = false;
    HMENU FNativeMenu = nullptr;
    struct TOwnerDrawn {
        HMENU Menu;
        UINT Position;
    };
    std::vector<TOwnerDrawn> FOwnerDrawn;
};

// The menu-bar tracking state is process-wide (one menu is tracked at a time); this is what a
// window procedure reports to it.
namespace skinmenutrack {
// True while a menu-bar popup of that bar is open.
bool Tracking(const TWinSkinMenu* bar);
// WM_MENUSELECT reached the owner window while its bar's popup is open.
void MenuSelect(WPARAM wParam, LPARAM lParam);
} // namespace skinmenutrack
