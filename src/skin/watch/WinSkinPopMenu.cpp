#include "WinSkinPopMenu.h"

#include "WinSkinMessages.h"

TWinSkinPopMenu::~TWinSkinPopMenu() {
    // A window still running through the thunk must not call into freed memory.
    Detach();
}

void TWinSkinPopMenu::Attach(HWND menuWnd, TSkinData& skinData, HMENU menu) {
    if (Attached() || !IsWindow(menuWnd))
        return;
    FMenuWnd = menuWnd;
    FSkinData = &skinData;
    FMenuHandle = menu;
    // The system's menu windows are Unicode: replacing their procedure through the ANSI call
    // would make every message pass through a translation.
    // A failure leaves the menu to its own drawing.
    FWindowHook.SetOnFailure([this] { Detach(); });
    FWindowHook.Install(menuWnd, TWndMethod(this, &TWinSkinPopMenu::WndProc),
                        IsWindowUnicode(menuWnd) != FALSE);
}

void TWinSkinPopMenu::Detach() {
    if (!Attached())
        return;
    FWindowHook.Remove();
    FBackground.SetSize(0, 0);
}

void TWinSkinPopMenu::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WMS_ISSKINNED:
        message.Result = 1;
        return;
    case WM_DESTROY:
        // Let go first; the previous procedure still gets the message.
        Detach();
        FWindowHook.CallPrevious(message);
        return;
    default:
        FWindowHook.CallPrevious(message);
    }
}
