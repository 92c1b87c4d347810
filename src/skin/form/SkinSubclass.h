// A window procedure of one object put in front of a window's own (Win32 subclassing), the way
// every skinning object takes over its window: the previous procedure is kept, messages the
// object does not consume are passed to it, and it is put back when the object lets go.
#pragma once

#include "Messages.h"

#include <windows.h>

class TSkinSubclass {
public:
    TSkinSubclass() = default;
    ~TSkinSubclass() { Remove(); }
    TSkinSubclass(const TSkinSubclass&) = delete;
    TSkinSubclass& operator=(const TSkinSubclass&) = delete;

    // Installs method as the window's procedure (the W form for a Unicode window, so that text
    // messages keep their form). Does nothing when already installed.
    void Install(HWND wnd, const TWndMethod& method, bool unicode);
    // Puts the previous procedure back while the window exists and frees the object's own.
    void Remove();
    bool Installed() const { return FNewWndProc != nullptr; }
    HWND Window() const { return FWindow; }

    // The previous procedure with the message; its answer becomes the message's result.
    void CallPrevious(TMessage& message) const;
    LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const;

private:
    HWND FWindow = nullptr;
    WNDPROC FOldWndProc = nullptr;
    WNDPROC FNewWndProc = nullptr;
    bool FUnicode = false;
};
