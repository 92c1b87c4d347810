#include "SkinSubclass.h"

#include "ObjectInstance.h"

#include <memory>
#include <utility>

// What the window's procedure (the thunk) calls. It outlives its TSkinSubclass when another
// subclass sits above it at removal: it then passes every message on and frees itself once the
// window is destroyed and no call runs through it any more.
struct TSkinSubclass::TLink {
    // One message being handled by the owner's procedure (messages nest).
    struct TFrame {
        const TMessage* Message;
        bool Passed;
        TFrame* Outer;
    };

    HWND Window = nullptr;
    WNDPROC OldWndProc = nullptr;
    WNDPROC Thunk = nullptr;
    bool Unicode = false;
    TSkinSubclass* Owner = nullptr; // none once let go: messages are only passed on
    TWndMethod Method;
    int Depth = 0;        // calls running through the thunk now
    bool Release = false; // free once Depth is back at 0
    TFrame* Frame = nullptr;

    void WndProc(TMessage& message);
    void Failed(TMessage& message, TFrame& frame);
    LRESULT Previous(UINT msg, WPARAM wParam, LPARAM lParam) const {
        if (!OldWndProc)
            return Unicode ? DefWindowProcW(Window, msg, wParam, lParam)
                           : DefWindowProcA(Window, msg, wParam, lParam);
        return Unicode ? CallWindowProcW(OldWndProc, Window, msg, wParam, lParam)
                       : CallWindowProcA(OldWndProc, Window, msg, wParam, lParam);
    }
    WNDPROC Current() const {
        return reinterpret_cast<WNDPROC>(Unicode ? GetWindowLongPtrW(Window, GWLP_WNDPROC)
                                                 : GetWindowLongPtrA(Window, GWLP_WNDPROC));
    }
    void Free() {
        // The thunk may be returning right now: thunks stay executable after they are freed.
        FreeObjectInstance(Thunk);
        delete this;
    }
};

void TSkinSubclass::TLink::WndProc(TMessage& message) {
    ++Depth;
    struct TExit {
        TLink* Link;
        ~TExit() {
            if (--Link->Depth == 0 && Link->Release)
                Link->Free();
        }
    } exit{this};
    if (!Owner) {
        message.Result = Previous(message.Msg, message.WParam, message.LParam);
        // Nothing calls the procedure of a destroyed window again.
        if (message.Msg == WM_NCDESTROY)
            Release = true;
        return;
    }
    TFrame frame{&message, false, Frame};
    Frame = &frame;
    try {
        Method(message);
    } catch (...) {
        Failed(message, frame);
    }
    Frame = frame.Outer;
}

void TSkinSubclass::TLink::Failed(TMessage& message, TFrame& frame) {
    // An owner that let go while handling the message has left it as it wanted.
    if (!Owner)
        return;
    if (!frame.Passed) {
        frame.Passed = true;
        try {
            message.Result = Previous(message.Msg, message.WParam, message.LParam);
        } catch (...) {
            // Not ours to report, but it must not cross user32 either.
        }
    }
    if (Owner && Owner->FOnFailure) {
        try {
            Owner->FOnFailure();
        } catch (...) {
        }
    }
}

void TSkinSubclass::Install(HWND wnd, const TWndMethod& method, bool unicode) {
    if (Installed() || !IsWindow(wnd))
        return;
    auto link = std::make_unique<TLink>();
    link->Window = wnd;
    link->Unicode = unicode;
    link->Owner = this;
    link->Method = method;
    link->Thunk = MakeObjectInstance(TWndMethod(link.get(), &TLink::WndProc));
    const auto proc = reinterpret_cast<LONG_PTR>(link->Thunk);
    link->OldWndProc = reinterpret_cast<WNDPROC>(unicode ? SetWindowLongPtrW(wnd, GWLP_WNDPROC, proc)
                                                         : SetWindowLongPtrA(wnd, GWLP_WNDPROC, proc));
    FWindow = wnd;
    FUnicode = unicode;
    FOldWndProc = link->OldWndProc;
    FLink = link.release();
}

void TSkinSubclass::Remove() {
    TLink* link = std::exchange(FLink, nullptr);
    if (!link)
        return;
    link->Owner = nullptr;
    link->Method = TWndMethod();
    if (IsWindow(link->Window)) {
        if (link->Current() != link->Thunk)
            return; // another procedure calls this one: it stays, passing messages on
        const auto old = reinterpret_cast<LONG_PTR>(link->OldWndProc);
        if (link->Unicode)
            SetWindowLongPtrW(link->Window, GWLP_WNDPROC, old);
        else
            SetWindowLongPtrA(link->Window, GWLP_WNDPROC, old);
    }
    link->Release = true;
    if (link->Depth == 0)
        link->Free();
}

LRESULT TSkinSubclass::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const {
    if (!FOldWndProc)
        return FUnicode ? DefWindowProcW(FWindow, msg, wParam, lParam)
                        : DefWindowProcA(FWindow, msg, wParam, lParam);
    return FUnicode ? CallWindowProcW(FOldWndProc, FWindow, msg, wParam, lParam)
                    : CallWindowProcA(FOldWndProc, FWindow, msg, wParam, lParam);
}

void TSkinSubclass::CallPrevious(TMessage& message) const {
    // The message being handled has had the previous procedure: a failure afterwards must not
    // pass it a second time.
    if (FLink && FLink->Frame && FLink->Frame->Message == &message)
        FLink->Frame->Passed = true;
    message.Result = CallPrevious(message.Msg, message.WParam, message.LParam);
}
