// The routines the painters share: optional user32 functions, wide text and window-to-control.
#include "WinSkinDataShared.h"

#include "Forms.h"
#include "SkinTestImages.h"

#include <gtest/gtest.h>

TEST(SkinDataShared, OptionalUser32FunctionsAreFoundAndCalled) {
    EXPECT_TRUE(HasGetScrollBarInfo());
    EXPECT_TRUE(HasTrackMouseEvent());
    EXPECT_TRUE(HasGetComboBoxInfo());
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_POPUP | WS_VSCROLL, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(list, nullptr);
    SCROLLBARINFO info{};
    EXPECT_TRUE(SkinGetScrollBarInfo(list, OBJID_VSCROLL, info));
    EXPECT_EQ(info.cbSize, sizeof info);
    SkinTrackMouseLeave(list); // must not fail for a window without the pointer
    DestroyWindow(list);
    SCROLLBARINFO none{};
    EXPECT_FALSE(SkinGetScrollBarInfo(nullptr, OBJID_VSCROLL, none));
}

TEST(SkinDataShared, TextIsDrawnWideAndMeasured) {
    auto surface = skintest::Surface(200, 40, clWhite);
    HDC dc = surface->Canvas()->Handle();
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    const std::wstring text = AnsiToWide("Tarnwick") + L"\x4F18\x5316"; // and two CJK characters
    RECT measured{0, 0, 0, 0};
    const int height = DrawSkinText(dc, text, measured, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GT(height, 0);
    EXPECT_GT(measured.right, 40);
    RECT area{0, 0, 200, 40};
    DrawSkinText(dc, text, area, DT_SINGLELINE | DT_VCENTER);
    int ink = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < measured.right; ++x)
            ink += GetPixel(dc, x, y) != RGB(255, 255, 255);
    EXPECT_GT(ink, 30);
    EXPECT_TRUE(IsWindowsNT());
}

TEST(SkinDataShared, ControlFromWindowFindsToolkitControlsOnly) {
    std::unique_ptr<TForm, TObjectDeleter> form(new TForm(nullptr));
    EXPECT_EQ(ControlFromWindow(form->Handle()), form.get());
    HWND plain = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(ControlFromWindow(plain), nullptr);
    DestroyWindow(plain);
    EXPECT_EQ(ControlFromWindow(nullptr), nullptr);
}
