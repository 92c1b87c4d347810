// The leak checks of these tests can fail: each kind of handle the counter watches is leaked
// on purpose here and must be seen, and freeing them must balance again.
#include "GdiCounter.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

TEST(GdiCounter, SeesEveryKindOfHandleLeakedOnPurpose) {
    TGdiBalance balance;
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    LOGFONTW lf{};
    lf.lfHeight = -12;
    HFONT font = CreateFontIndirectW(&lf);
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 1, nullptr);
    HDC memory = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
    ICONINFO info{TRUE, 0, 0, bitmap, bitmap};
    HICON icon = CreateIconIndirect(&info);
    EXPECT_EQ(balance.Leaked(), 8) << balance.Details();

    DeleteObject(brush);
    DeleteObject(pen);
    DeleteObject(font);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    ImageList_Destroy(list);
    DestroyIcon(icon);
    EXPECT_EQ(balance.Leaked(), 0) << balance.Details();
    EXPECT_TRUE(gdicount::WasFreed(list));
}
