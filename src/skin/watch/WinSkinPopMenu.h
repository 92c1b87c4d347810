// TWinSkinPopMenu: the skinning object of one popup menu window ("#32768"). The watcher gives
// one to every popup menu it lets through and keeps it until the window is destroyed. It
// replaces the window's frame and background with the skin's MenuBackground element and keeps
// that picture, at the window's size, for the menu item painting, which copies each item's
// background from it. Without the element (or while a skin loads) the menu keeps the system's
// look; it answers WMS_ISSKINNED in every case.
#pragma once

#include "Bitmap.h"
#include "Messages.h"
#include "SkinSubclass.h"

#include <windows.h>

class TSkinData;

class TWinSkinPopMenu {
public:
    // The width of the popup's border kept free of item drawing when it is printed.
    static constexpr int BorderWidth = 3;

    TWinSkinPopMenu() = default;
    // Lets go of the window when the owner has not detached first.
    ~TWinSkinPopMenu();
    TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
    TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

    // Subclasses the menu window; menu is 0 until the item painting binds one.
    void Attach(HWND menuWnd, TSkinData& skinData, HMENU menu);
    // Gives the window its own procedure back and empties the background.
    void Detach();
    bool Attached() const { return FWindowHook.Installed(); }

    HWND MenuWnd() const { return FMenuWnd; }
    TSkinData* SkinData() const { return FSkinData; }
    HMENU MenuHandle() const { return FMenuHandle; }
    void SetMenuHandle(HMENU menu) { FMenuHandle = menu; }
    // The skinned background at the window's size; empty until first painted.
    TBitmap& Background() { return FBackground; }
    // Where the window's client area starts in the background.
    POINT ClientOrigin() const { return FClientOrigin; }

private:
    void WndProc(TMessage& message);
    void Default(TMessage& message) { FWindowHook.CallPrevious(message); }
    // False when the skin has nothing to paint the window with.
    bool BuildBackground();
    void NcPaint(TMessage& message);
    void Print(TMessage& message);
    void Paint(TMessage& message);

    TSkinSubclass FWindowHook;
    HWND FMenuWnd = nullptr;
    TSkinData* FSkinData = nullptr;
    TBitmap FBackground;
    HMENU FMenuHandle = nullptr;
    POINT FClientOrigin{0, 0};
};
