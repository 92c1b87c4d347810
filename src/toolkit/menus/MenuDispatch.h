// Inside the menus: how windows' menu messages reach the items.
#pragma once

#include "Menus.h"

// The item whose sub-items a Win32 menu shows, in any menu of the process.
TMenuItem* FindMenuItemByHandle(HMENU menu);

// The main menu a window shows, if one of the toolkit's.
TMainMenu* MainMenuOfWindow(HWND wnd);

// Menu item messages any window may get: WM_COMMAND from a menu, WM_MEASUREITEM and
// WM_DRAWITEM for menu items, WM_INITMENUPOPUP. True when the message was an item's.
bool HandleMenuItemMessage(TMessage& message);

// Installs the toolkit's hook through which every control's window passes its menu messages.
void InstallMenuMessageHook();
