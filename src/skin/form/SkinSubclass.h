// A window procedure of one object put in front of a window's own (Win32 subclassing), the way
// every skinning object takes over its window: the previous procedure is kept, messages the
// object does not consume are passed to it, and it is put back when the object lets go.
//
// Two promises hold for every user:
// - Nothing the object's procedure throws crosses user32 (which would end the program): the
//   message then gets the previous procedure, unless the object had already passed it on, and
//   the object is told (SetOnFailure) so that it can fall back to the native look.
// - Letting go never cuts another subclass out of the chain. When a procedure installed later
//   sits above this one, the saved procedure is not written back: this one stays in the chain,
//   passes every message straight to the previous procedure from then on, and is freed with the
//   window. The object itself may be freed meanwhile.
#pragma once

#include "Messages.h"

#include <functional>

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
    // Stops handling the window's messages: puts the previous procedure back while the window
    // exists and this procedure is the window's current one; otherwise (another subclass above)
    // leaves the chain as it is and only passes messages on.
    void Remove();
    bool Installed() const { return FLink != nullptr; }
    HWND Window() const { return FWindow; }

    // The previous procedure with the message; its answer becomes the message's result.
    void CallPrevious(TMessage& message) const;
    LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const;

    // Runs after the object's procedure let an exception out of a message (GDI resources run
    // out, say), once that message has had the previous procedure. What the handler throws is
    // swallowed too.
    void SetOnFailure(std::function<void()> handler) { FOnFailure = std::move(handler); }

private:
    struct TLink;

    TLink* FLink = nullptr; // what the window's procedure calls; owned by the window once let go
    HWND FWindow = nullptr;
    WNDPROC FOldWndProc = nullptr;
    bool FUnicode = false;
    std::function<void()> FOnFailure;
};
