// The ground every GUI test stands on: under Wine with Xvfb a real window can be created,
// painted through WM_PAINT and read back pixel by pixel, and the ANSI code page is GBK.
#include <gtest/gtest.h>
#include <windows.h>

namespace {

constexpr COLORREF kFill = RGB(0x20, 0x80, 0xC0);
constexpr COLORREF kMark = RGB(0xF0, 0x10, 0x30);

LRESULT CALLBACK PaintProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(wnd, &ps);
        RECT client;
        GetClientRect(wnd, &client);
        HBRUSH fill = CreateSolidBrush(kFill);
        FillRect(dc, &client, fill);
        DeleteObject(fill);
        SetPixel(dc, 3, 4, kMark);
        EndPaint(wnd, &ps);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

class WindowPixelTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = PaintProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TwPixelProbe";
        ASSERT_NE(RegisterClassA(&wc), 0);
        wnd_ = CreateWindowExA(WS_EX_TOPMOST, "TwPixelProbe", "probe", WS_POPUP | WS_VISIBLE, 40, 40, 64, 48,
                               nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(wnd_, nullptr);
        UpdateWindow(wnd_);
    }
    void TearDown() override {
        if (wnd_) {
            EXPECT_TRUE(DestroyWindow(wnd_));
        }
        EXPECT_FALSE(IsWindow(wnd_));
        UnregisterClassA("TwPixelProbe", GetModuleHandleA(nullptr));
    }
    HWND wnd_ = nullptr;
};

TEST_F(WindowPixelTest, PaintedPixelsReadBackFromTheWindowDc) {
    HDC dc = GetDC(wnd_);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetPixel(dc, 3, 4), kMark);
    EXPECT_EQ(GetPixel(dc, 10, 10), kFill);
    EXPECT_EQ(GetPixel(dc, 63, 47), kFill);
    ReleaseDC(wnd_, dc);
}

TEST_F(WindowPixelTest, RepaintAfterInvalidationRedrawsTheMark) {
    HDC dc = GetDC(wnd_);
    SetPixel(dc, 3, 4, RGB(0, 0, 0));
    ASSERT_EQ(GetPixel(dc, 3, 4), RGB(0, 0, 0));
    InvalidateRect(wnd_, nullptr, FALSE);
    UpdateWindow(wnd_);
    EXPECT_EQ(GetPixel(dc, 3, 4), kMark);
    ReleaseDC(wnd_, dc);
}

TEST(CodePage, AnsiCodePageIsGbk) {
    EXPECT_EQ(GetACP(), 936u);
    // The program's literals are stored as GBK: they must convert to the same wide text.
    const char narrow[] = "优化";
    wchar_t wide[8] = {};
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, narrow, -1, wide, 8), 3);
    EXPECT_EQ(std::wstring(wide), std::wstring(L"优化"));
}

} // namespace
