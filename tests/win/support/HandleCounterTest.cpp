// The counter must be able to fail: each deliberately leaked object shows up, and freeing it
// brings the counts back.
#include "HandleCounter.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

class HandleCounterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(THandleCounter::Install());
        base = THandleCounter::Current();
    }
    THandleCounts Delta() const {
        const THandleCounts now = THandleCounter::Current();
        THandleCounts d;
        d.Brushes = now.Brushes - base.Brushes;
        d.Pens = now.Pens - base.Pens;
        d.Fonts = now.Fonts - base.Fonts;
        d.Bitmaps = now.Bitmaps - base.Bitmaps;
        d.Regions = now.Regions - base.Regions;
        d.MemoryDCs = now.MemoryDCs - base.MemoryDCs;
        d.WindowDCs = now.WindowDCs - base.WindowDCs;
        d.Windows = now.Windows - base.Windows;
        d.Menus = now.Menus - base.Menus;
        d.Hooks = now.Hooks - base.Hooks;
        d.Icons = now.Icons - base.Icons;
        d.Timers = now.Timers - base.Timers;
        d.Props = now.Props - base.Props;
        return d;
    }
    static HWND MakeWindow(HWND parent = nullptr) {
        return CreateWindowExA(0, "STATIC", "probe", parent ? WS_CHILD : WS_POPUP, 0, 0, 10, 10, parent,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    THandleCounts base;
};

TEST_F(HandleCounterTest, SeesEachDeliberateLeakAndItsRelease) {
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HDC screen = GetDC(nullptr); // the leaked DC
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
    HMENU menu = CreateMenu();
    HWND wnd = MakeWindow();
    THandleCounts leaked;
    leaked.Brushes = 1;
    leaked.Bitmaps = 1;
    leaked.WindowDCs = 1;
    leaked.Menus = 1;
    leaked.Windows = 1;
    EXPECT_EQ(Delta(), leaked) << Delta().ToString();

    DeleteObject(brush);
    leaked.Brushes = 0;
    EXPECT_EQ(Delta(), leaked) << Delta().ToString();
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
    DestroyMenu(menu);
    DestroyWindow(wnd);
    EXPECT_EQ(Delta(), THandleCounts{}) << Delta().ToString();
}

TEST_F(HandleCounterTest, CountsEveryKindSeparately) {
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    LOGFONTA lf{};
    lf.lfHeight = -11;
    HFONT font = CreateFontIndirectA(&lf);
    HRGN region = CreateRectRgn(0, 0, 5, 5);
    HDC memory = CreateCompatibleDC(nullptr);
    HMENU popup = CreatePopupMenu();
    HWND wnd = MakeWindow();
    const UINT_PTR timer = SetTimer(wnd, 7, 1000, nullptr);
    SetPropA(wnd, "TwProbe", reinterpret_cast<HANDLE>(1));
    const THandleCounts d = Delta();
    EXPECT_EQ(d.Pens, 1);
    EXPECT_EQ(d.Fonts, 1);
    EXPECT_EQ(d.Regions, 1);
    EXPECT_EQ(d.MemoryDCs, 1);
    EXPECT_EQ(d.Menus, 1);
    EXPECT_EQ(d.Windows, 1);
    EXPECT_EQ(d.Timers, 1);
    EXPECT_EQ(d.Props, 1);
    EXPECT_EQ(d.Gdi(), 4);
    RemovePropA(wnd, "TwProbe");
    KillTimer(wnd, timer);
    EXPECT_EQ(Delta().Timers, 0);
    EXPECT_EQ(Delta().Props, 0);
    DeleteObject(pen);
    DeleteObject(font);
    DeleteObject(region);
    DeleteDC(memory);
    DestroyMenu(popup);
    DestroyWindow(wnd);
    EXPECT_EQ(Delta(), THandleCounts{}) << Delta().ToString();
}

TEST_F(HandleCounterTest, WhatTheSystemFreesWithAWindowIsNotALeak) {
    HWND parent = MakeWindow();
    HWND child = MakeWindow(parent);
    ASSERT_NE(child, nullptr);
    SetTimer(child, 1, 1000, nullptr);
    SetPropA(child, "TwProbe", reinterpret_cast<HANDLE>(1));
    HMENU menu = CreateMenu();
    HWND framed = CreateWindowExA(0, "STATIC", "menu", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, menu,
                                  GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(Delta().Windows, 3);
    DestroyWindow(parent); // the child, its timer and its property go with it
    DestroyWindow(framed); // and a window's menu with the window
    EXPECT_EQ(Delta(), THandleCounts{}) << Delta().ToString();
}

TEST_F(HandleCounterTest, FailingCallsCountNothing) {
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_FALSE(DestroyWindow(nullptr));
    EXPECT_EQ(CreateWindowExA(0, "NoSuchWindowClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(Delta(), THandleCounts{});
    EXPECT_GE(THandleCounter::PatchedImports(), 10);
}

} // namespace
