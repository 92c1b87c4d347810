// The skinned frame: its sizes, what it paints for active and inactive windows, the client
// area it leaves and gives back, and the window region.
#include "SkinFormTestSupport.h"
#include "SkinTestImages.h"

#include <gtest/gtest.h>

using namespace skinformtest;
using skintest::LetterOf;

namespace {

constexpr DWORD Sizeable = WS_OVERLAPPEDWINDOW | WS_VISIBLE;

class SkinnedFrame : public ::testing::Test {
protected:
    void SetUp() override { FSkin = LoadedSkin(SmallSkinFile()); }

    // The letter the window shows at a window point, read from the window DC.
    static char At(HWND wnd, int x, int y) {
        TWindowDC dc(wnd, true);
        return LetterOf(GetPixel(dc.Get(), x, y));
    }

    std::unique_ptr<TSkinData, TObjectDeleter> FSkin;
};

TEST_F(SkinnedFrame, FrameSizesAreTheBorderImagesFrameSizes) {
    TTestWindow window(Sizeable, 0, 300, 200);
    auto form = SkinWindow(window.Handle(), *FSkin);
    const TRect borders = form->Borders();
    EXPECT_EQ(SkinLeft, borders.left);
    EXPECT_EQ(SkinTop, borders.top);
    EXPECT_EQ(SkinRight, borders.right);
    EXPECT_EQ(SkinBottom, borders.bottom);
    EXPECT_EQ(TWinSkinForm::ssActive, form->SkinState());

    RECT client{};
    GetClientRect(window.Handle(), &client);
    POINT origin{0, 0};
    ClientToScreen(window.Handle(), &origin);
    RECT frame{};
    GetWindowRect(window.Handle(), &frame);
    EXPECT_EQ(SkinLeft, origin.x - frame.left);
    EXPECT_EQ(SkinTop, origin.y - frame.top);
}

TEST(ProgramSkinFrame, FrameSizesAndBorderPixelsComeFromTheProgramsSkin) {
    auto skin = LoadedSkin(ProgramSkinFile());
    const TSkinElements& e = skin->Elements();
    TTestWindow window(Sizeable, 0, 400, 300);
    auto form = SkinWindow(window.Handle(), *skin);
    SendMessageW(window.Handle(), WM_NCACTIVATE, TRUE, 0);
    const TRect borders = form->Borders();
    EXPECT_EQ(e.BorderLeft->Bitmap.Width() / e.BorderLeft->Frame, borders.left);
    EXPECT_EQ(e.BorderRight->Bitmap.Width() / e.BorderRight->Frame, borders.right);
    EXPECT_EQ(e.BorderTop->Bitmap.Height() / e.BorderTop->Frame, borders.top);
    EXPECT_EQ(e.BorderBottom->Bitmap.Height() / e.BorderBottom->Frame, borders.bottom);
    ASSERT_GT(borders.left, 0);

    // The middle of the left border repeats or stretches the image's middle rows; its outer
    // column has the image's colour there in frame 1.
    const SIZE size = WindowSize(window.Handle());
    TBitmap& left = e.BorderLeft->Bitmap;
    const COLORREF expected = GetPixel(left.Canvas()->Handle(), 0, left.Height() / 2);
    TWindowDC dc(window.Handle(), true);
    EXPECT_EQ(expected, GetPixel(dc.Get(), 0, size.cy / 2));
}

TEST_F(SkinnedFrame, SkinningKeepsTheClientSizeAndDetachingRestoresTheNativeFrameExactly) {
    TTestWindow window(Sizeable, 0, 300, 200);
    const SIZE client = ClientSize(window.Handle());
    const SIZE native = WindowSize(window.Handle());
    auto form = SkinWindow(window.Handle(), *FSkin);
    EXPECT_EQ(client.cx, ClientSize(window.Handle()).cx);
    EXPECT_EQ(client.cy, ClientSize(window.Handle()).cy);
    EXPECT_EQ(client.cx + SkinLeft + SkinRight, WindowSize(window.Handle()).cx);
    EXPECT_EQ(client.cy + SkinTop + SkinBottom, WindowSize(window.Handle()).cy);

    form->DetachRestore();
    EXPECT_FALSE(form->Attached());
    EXPECT_EQ(client.cx, ClientSize(window.Handle()).cx);
    EXPECT_EQ(client.cy, ClientSize(window.Handle()).cy);
    EXPECT_EQ(native.cx, WindowSize(window.Handle()).cx);
    EXPECT_EQ(native.cy, WindowSize(window.Handle()).cy);
    EXPECT_NE(1, SendMessageA(window.Handle(), WMS_ISSKINNED, 0, 0));
}

TEST_F(SkinnedFrame, BordersAndTitleShowFrameOneWhenActiveAndFrameTwoWhenInactive) {
    TTestWindow window(Sizeable, 0, 300, 200);
    auto form = SkinWindow(window.Handle(), *FSkin);
    const HWND wnd = window.Handle();
    SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);
    const SIZE size = WindowSize(wnd);
    const int midY = size.cy / 2;
    EXPECT_EQ('R', At(wnd, 1, midY));
    EXPECT_EQ('G', At(wnd, size.cx - 2, midY));
    EXPECT_EQ('Y', At(wnd, size.cx / 2, 2));
    EXPECT_EQ('C', At(wnd, size.cx / 2, size.cy - 1));

    SendMessageW(wnd, WM_NCACTIVATE, FALSE, 0);
    EXPECT_FALSE(form->Active());
    EXPECT_EQ('B', At(wnd, 1, midY));
    EXPECT_EQ('N', At(wnd, size.cx - 2, midY));
    EXPECT_EQ('P', At(wnd, size.cx / 2, 2));
    EXPECT_EQ('T', At(wnd, size.cx / 2, size.cy - 1));
}

TEST_F(SkinnedFrame, AWindowWithoutCaptionKeepsItsDefaultFrame) {
    TTestWindow window(WS_POPUP | WS_BORDER | WS_VISIBLE, 0, 200, 100);
    const SIZE client = ClientSize(window.Handle());
    auto form = SkinWindow(window.Handle(), *FSkin);
    EXPECT_EQ(TWinSkinForm::bkNone, form->BorderKind());
    const TRect borders = form->Borders();
    EXPECT_EQ(0, borders.left + borders.top + borders.right + borders.bottom);
    EXPECT_EQ(client.cx, ClientSize(window.Handle()).cx);
    EXPECT_EQ(client.cy, ClientSize(window.Handle()).cy);
}

TEST_F(SkinnedFrame, MessagesAnsweredBySkinnedWindows) {
    TTestWindow window(Sizeable, 0, 300, 200);
    const HWND wnd = window.Handle();
    std::unique_ptr<TWinSkinForm, TObjectDeleter> form(new TWinSkinForm(nullptr));
    form->SetHandle(wnd);
    form->AttachHandle(*FSkin);
    // Before the start message: already skinned, so no one skins it twice.
    EXPECT_EQ(1, SendMessageA(wnd, WMS_ISSKINNED, 0, 0));
    SendMessageA(wnd, WMS_SKINSTART, 0, 1000);

    RECT rect{0, 0, 100, 100};
    EXPECT_EQ(0, SendMessageA(wnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rect)));

    window.ResetCounts();
    SetWindowPos(wnd, nullptr, 0, 0, 320, 220, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(1, window.Count(WM_SIZE));
}

TEST_F(SkinnedFrame, ABottomOnlyTransparentSkinGetsTheFullRectangleAsRegion) {
    TSmallSkinOptions options;
    options.OnlyBottomTransparent = true;
    auto skin = LoadedSkin(SmallSkinFile(options));
    TTestWindow window(Sizeable, 0, 300, 200);
    auto form = SkinWindow(window.Handle(), *skin);
    TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(SIMPLEREGION, GetWindowRgn(window.Handle(), region.Get()));
    RECT box{};
    GetRgnBox(region.Get(), &box);
    const SIZE size = WindowSize(window.Handle());
    EXPECT_EQ(0, box.left);
    EXPECT_EQ(0, box.top);
    EXPECT_EQ(size.cx, box.right);
    EXPECT_EQ(size.cy, box.bottom);
}

TEST_F(SkinnedFrame, TransparentCornersAreCutFromTheRegionAndASameSizeResizeKeepsIt) {
    TSmallSkinOptions options;
    options.TransparentCorners = true;
    auto skin = LoadedSkin(SmallSkinFile(options));
    TTestWindow window(Sizeable, 0, 300, 200);
    auto form = SkinWindow(window.Handle(), *skin);
    const HWND wnd = window.Handle();
    TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(COMPLEXREGION, GetWindowRgn(wnd, region.Get()));
    EXPECT_FALSE(PtInRegion(region.Get(), 0, 0));
    EXPECT_TRUE(PtInRegion(region.Get(), 1, 0));
    EXPECT_TRUE(PtInRegion(region.Get(), 0, 1));
    // The top image's key pixel lies right of the left border.
    EXPECT_FALSE(PtInRegion(region.Get(), SkinLeft, 0));

    // Each rebuild hands the window a new region, which the system announces with a frame
    // change; the same size must not.
    auto frameChanges = [&] { return window.Count(WM_WINDOWPOSCHANGING); };
    const SIZE size = WindowSize(wnd);
    window.ResetCounts();
    SetWindowPos(wnd, nullptr, 0, 0, size.cx + 10, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int changesOnResize = frameChanges();
    EXPECT_GE(changesOnResize, 2) << "a new size builds and installs a new region";
    window.ResetCounts();
    SetWindowPos(wnd, nullptr, 0, 0, size.cx + 10, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(changesOnResize - 1, frameChanges());
}

} // namespace
