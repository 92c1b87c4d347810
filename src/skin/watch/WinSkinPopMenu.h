// TWinSkinPopMenu: the skinning object of one popup menu window ("#32768"). The watcher gives
// one to every popup menu it lets through and keeps it until the window is destroyed. For now
// it only takes the window over so that it answers WMS_ISSKINNED, passes every other message
// on unchanged, and holds what the menu item painting will ask for (the menu shown in the
// window, the background bitmap); the skinned frame and background are still to come.
#pragma once

#include "Bitmap.h"
#include "Messages.h"
#include "SkinSubclass.h"

#include <windows.h>

class TSkinData;

class TWinSkinPopMenu {
public:
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

private:
    void WndProc(TMessage& message);

    TSkinSubclass FWindowHook;
    HWND FMenuWnd = nullptr;
    TSkinData* FSkinData = nullptr;
    TBitmap FBackground;
    HMENU FMenuHandle = nullptr;
};
