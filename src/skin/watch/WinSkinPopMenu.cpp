#include "WinSkinPopMenu.h"

#include "ObjectInstance.h"
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
    FUnicode = IsWindowUnicode(menuWnd) != FALSE;
    FNewWndProc = MakeObjectInstance(TWndMethod(this, &TWinSkinPopMenu::WndProc));
    const auto proc = reinterpret_cast<LONG_PTR>(FNewWndProc);
    FOldWndProc = reinterpret_cast<WNDPROC>(FUnicode ? SetWindowLongPtrW(menuWnd, GWLP_WNDPROC, proc)
                                                     : SetWindowLongPtrA(menuWnd, GWLP_WNDPROC, proc));
}

void TWinSkinPopMenu::Detach() {
    if (!Attached())
        return;
    if (IsWindow(FMenuWnd)) {
        const auto old = reinterpret_cast<LONG_PTR>(FOldWndProc);
        if (FUnicode)
            SetWindowLongPtrW(FMenuWnd, GWLP_WNDPROC, old);
        else
            SetWindowLongPtrA(FMenuWnd, GWLP_WNDPROC, old);
    }
    FreeObjectInstance(FNewWndProc);
    FNewWndProc = nullptr;
    FBackground.SetSize(0, 0);
}

void TWinSkinPopMenu::Default(TMessage& message) {
    message.Result =
        FUnicode ? CallWindowProcW(FOldWndProc, FMenuWnd, message.Msg, message.WParam, message.LParam)
                 : CallWindowProcA(FOldWndProc, FMenuWnd, message.Msg, message.WParam, message.LParam);
}

void TWinSkinPopMenu::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WMS_ISSKINNED:
        message.Result = 1;
        return;
    case WM_DESTROY: {
        // Let go first (thunk pages stay mapped, so returning through it is safe); the saved
        // procedure still gets the message.
        const WNDPROC old = FOldWndProc;
        const bool unicode = FUnicode;
        Detach();
        message.Result = unicode
                             ? CallWindowProcW(old, FMenuWnd, message.Msg, message.WParam, message.LParam)
                             : CallWindowProcA(old, FMenuWnd, message.Msg, message.WParam, message.LParam);
        return;
    }
    default:
        Default(message);
    }
}
