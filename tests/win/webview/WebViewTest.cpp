// The web view as the main window uses it: navigation to a wide URL, resizing with its area,
// and, where the browser control cannot render (Wine without its HTML engine), a page of its
// own instead of a blank or black area.
#include "Forms.h"
#include "WebBrowser.h"
#include "WebView.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const wchar_t kUrl[] = L"http://www.tarnwick.example/tarnwick.asp";

class WebViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterWebViewClass());
        host_ = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, 10, 10, 500, 300, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(host_, nullptr);
        view_ = CreateWindowExA(0, kWebViewClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 400, 200, host_, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(view_, nullptr);
    }
    void TearDown() override { DestroyWindow(host_); }

    COLORREF PixelAt(int x, int y) {
        UpdateWindow(view_);
        HDC dc = GetDC(view_);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(view_, dc);
        return c;
    }

    // Pixels in the row band [top, bottom) that are neither of the two background colours.
    int InkPixels(int top, int bottom, COLORREF bg) {
        UpdateWindow(view_);
        HDC dc = GetDC(view_);
        int ink = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < 380; ++x)
                ink += GetPixel(dc, x, y) != bg;
        ReleaseDC(view_, dc);
        return ink;
    }

    HWND host_ = nullptr;
    HWND view_ = nullptr;
};

TEST_F(WebViewTest, WithoutAnHtmlEngineTheAddressAndANoteArePainted) {
    const bool taken = WebViewNavigate(view_, kUrl);
    if (WebViewHasBrowser(view_))
        GTEST_SKIP() << "a real HTML engine is installed: the browser control renders the page";
    EXPECT_FALSE(taken);
    // White page, a light band holding two lines of text, white again below it.
    EXPECT_EQ(PixelAt(5, 190), RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(PixelAt(5, 20), RGB(0xEE, 0xF3, 0xFA));
    EXPECT_GT(InkPixels(24, 48, RGB(0xEE, 0xF3, 0xFA)), 40) << "the address line is empty";
    EXPECT_GT(InkPixels(50, 70, RGB(0xEE, 0xF3, 0xFA)), 40) << "the note line is empty";
}

TEST_F(WebViewTest, FallbackPageFollowsTheWindowSize) {
    WebViewNavigate(view_, kUrl);
    if (WebViewHasBrowser(view_))
        GTEST_SKIP() << "a real HTML engine is installed";
    ASSERT_TRUE(SetWindowPos(view_, nullptr, 0, 0, 480, 280, SWP_NOZORDER | SWP_NOMOVE));
    EXPECT_EQ(PixelAt(470, 270), RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(PixelAt(470, 20), RGB(0xEE, 0xF3, 0xFA));
}

TEST_F(WebViewTest, BeforeAnyNavigationTheAreaIsStillPainted) {
    EXPECT_FALSE(WebViewHasBrowser(view_));
    EXPECT_EQ(PixelAt(200, 150), RGB(0xFF, 0xFF, 0xFF));
}

TEST(WebViewLifetime, CreatingAndDestroyingRepeatedlyKeepsWorking) {
    ASSERT_TRUE(RegisterWebViewClass());
    for (int i = 0; i < 50; ++i) {
        HWND view = CreateWindowExA(0, kWebViewClass, "", WS_POPUP, 0, 0, 100, 80, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(view, nullptr);
        WebViewNavigate(view, kUrl);
        ASSERT_TRUE(DestroyWindow(view));
    }
}

} // namespace

namespace {

// The toolkit control: aligned in a form, its window is the web view and follows the form.
TEST(WebBrowserControl, NavigatesOnceItsWindowExistsAndFillsItsArea) {
    std::unique_ptr<TForm, TObjectDeleter> form(new TForm(nullptr, TCreateNew{}));
    form->SetBounds(30, 30, 420, 300);
    auto* browser = new TWebBrowser(form.get());
    browser->SetName("WebBrowser1");
    browser->Navigate(kUrl); // before the window exists
    browser->SetParent(form.get());
    browser->SetAlign(alClient);
    form->Show();
    Application->ProcessMessages();

    char cls[64] = {};
    GetClassNameA(browser->Handle(), cls, sizeof cls);
    EXPECT_STREQ(cls, "TWebBrowser");
    EXPECT_EQ(browser->LocationURL(), kUrl);
    RECT client, area;
    GetClientRect(form->Handle(), &client);
    GetClientRect(browser->Handle(), &area);
    EXPECT_EQ(area.right, client.right);
    EXPECT_EQ(area.bottom, client.bottom);
    if (browser->HasBrowser())
        GTEST_SKIP() << "a real HTML engine renders the page";
    UpdateWindow(browser->Handle());
    HDC dc = GetDC(browser->Handle());
    EXPECT_EQ(GetPixel(dc, 5, 20), RGB(0xEE, 0xF3, 0xFA)) << "the page of our own shows the address band";
    ReleaseDC(browser->Handle(), dc);
}

} // namespace
