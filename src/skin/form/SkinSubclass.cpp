#include "SkinSubclass.h"

#include "ObjectInstance.h"

void TSkinSubclass::Install(HWND wnd, const TWndMethod& method, bool unicode) {
    if (Installed() || !IsWindow(wnd))
        return;
    FWindow = wnd;
    FUnicode = unicode;
    FNewWndProc = MakeObjectInstance(method);
    const auto proc = reinterpret_cast<LONG_PTR>(FNewWndProc);
    FOldWndProc = reinterpret_cast<WNDPROC>(unicode ? SetWindowLongPtrW(wnd, GWLP_WNDPROC, proc)
                                                    : SetWindowLongPtrA(wnd, GWLP_WNDPROC, proc));
}

void TSkinSubclass::Remove() {
    if (!Installed())
        return;
    if (IsWindow(FWindow)) {
        const auto old = reinterpret_cast<LONG_PTR>(FOldWndProc);
        if (FUnicode)
            SetWindowLongPtrW(FWindow, GWLP_WNDPROC, old);
        else
            SetWindowLongPtrA(FWindow, GWLP_WNDPROC, old);
    }
    // The procedure may be returning through its thunk right now (WM_NCDESTROY): thunks stay
    // executable after they are freed.
    FreeObjectInstance(FNewWndProc);
    FNewWndProc = nullptr;
}

LRESULT TSkinSubclass::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const {
    if (!FOldWndProc)
        return FUnicode ? DefWindowProcW(FWindow, msg, wParam, lParam)
                        : DefWindowProcA(FWindow, msg, wParam, lParam);
    return FUnicode ? CallWindowProcW(FOldWndProc, FWindow, msg, wParam, lParam)
                    : CallWindowProcA(FOldWndProc, FWindow, msg, wParam, lParam);
}

void TSkinSubclass::CallPrevious(TMessage& message) const {
    message.Result = CallPrevious(message.Msg, message.WParam, message.LParam);
}
