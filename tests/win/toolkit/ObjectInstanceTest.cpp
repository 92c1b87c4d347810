// Per-object window procedures: machine-code thunks that call a closure.
#include "ObjectInstance.h"
#include "Object.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Receiver : TObject {
    std::vector<UINT> seen;
    LRESULT answer = 0;
    HWND wnd = nullptr;
    WNDPROC old = nullptr;
    void Handle(TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == WM_APP + 1) {
            m.Result = static_cast<LRESULT>(m.WParam * 1000 + m.LParam) + answer;
            return;
        }
        m.Result = CallWindowProcA(old, wnd, m.Msg, m.WParam, m.LParam);
    }
};

TEST(ObjectInstance, EachThunkCallsItsOwnObjectWithAllArgumentsAndResult) {
    Receiver a, b;
    a.answer = 1;
    b.answer = 2;
    HWND wa = CreateWindowExA(0, "STATIC", "a", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    HWND wb = CreateWindowExA(0, "STATIC", "b", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    WNDPROC pa = MakeObjectInstance(TWndMethod(&a, &Receiver::Handle));
    WNDPROC pb = MakeObjectInstance(TWndMethod(&b, &Receiver::Handle));
    ASSERT_NE(pa, pb);
    a.wnd = wa;
    b.wnd = wb;
    a.old = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(wa, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pa)));
    b.old = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(wb, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pb)));
    // Full-width arguments and results survive the thunk.
#ifdef _WIN64
    const WPARAM big = WPARAM{1} << 40; // beyond 32 bits
#else
    const WPARAM big = 0x00100000;
#endif
    EXPECT_EQ(SendMessageA(wa, WM_APP + 1, 3, 4), 3004 + 1);
    EXPECT_EQ(SendMessageA(wb, WM_APP + 1, 5, 6), 5006 + 2);
    EXPECT_EQ(SendMessageA(wa, WM_APP + 1, big, -7), static_cast<LRESULT>(big) * 1000 - 7 + 1);
    EXPECT_EQ(a.seen.back(), WM_APP + 1u);
    // Messages the object passes on reach the old procedure.
    SendMessageA(wb, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("changed"));
    char text[16] = {};
    GetWindowTextA(wb, text, sizeof text);
    EXPECT_STREQ(text, "changed");
    SetWindowLongPtrA(wa, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(a.old));
    SetWindowLongPtrA(wb, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(b.old));
    DestroyWindow(wa);
    DestroyWindow(wb);
    FreeObjectInstance(pa);
    FreeObjectInstance(pb);
    FreeObjectInstance(nullptr); // nothing to free
}

TEST(ObjectInstance, FreedSlotsAreReusedAndThousandsCanLive) {
    Receiver r;
    std::vector<WNDPROC> procs;
    for (int i = 0; i < 2000; ++i) // spans several pages of thunks
        procs.push_back(MakeObjectInstance(TWndMethod(&r, &Receiver::Handle)));
    WNDPROC last = procs.back();
    FreeObjectInstance(last);
    procs.pop_back();
    EXPECT_EQ(MakeObjectInstance(TWndMethod(&r, &Receiver::Handle)), last);
    procs.push_back(last);
    for (WNDPROC p : procs)
        FreeObjectInstance(p);
}

TEST(ObjectInstance, UtilityWindowsSendTheirMessagesToTheClosure) {
    struct Timer : TObject {
        HWND wnd = nullptr;
        int ticks = 0;
        void Handle(TMessage& m) {
            if (m.Msg == WM_TIMER)
                ++ticks;
            else
                m.Result = DefWindowProcA(wnd, m.Msg, m.WParam, m.LParam);
        }
    } timer;
    timer.wnd = AllocateHWnd(TWndMethod(&timer, &Timer::Handle));
    ASSERT_NE(timer.wnd, nullptr);
    SendMessageA(timer.wnd, WM_TIMER, 1, 0);
    EXPECT_EQ(timer.ticks, 1);
    DeallocateHWnd(timer.wnd);
    EXPECT_FALSE(IsWindow(timer.wnd));
}

} // namespace
