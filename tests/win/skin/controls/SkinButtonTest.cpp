// Push-button skinners on real buttons: the [Buttons] frame of each state, clicks by mouse and
// keyboard exactly once (none after the pointer left), bare buttons notifying their parent,
// and the caption's line break.
#include "../form/SkinFormTestSupport.h"
#include "SkinTestImages.h"
#include "WinSubClassButtons.h"

#include "Forms.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

using skinformtest::PumpPending;

namespace {

// The caption as the skinner last drew it.
class TProbeButton : public TSkinButton {
    TW_DECLARE_CLASS(TProbeButton, TSkinButton)
    using TSkinButton::TSkinButton;
    const std::wstring& Caption() const { return FCaption; }
};
TClass TProbeButton::StaticClass() {
    static const TClassInfo info = TClassBuilder<TProbeButton>("TProbeButton").Build();
    return &info;
}

char CornerLetter(HWND wnd) {
    TWindowDC dc(wnd);
    return skintest::LetterOf(GetPixel(dc.Get(), 1, 1));
}

class SkinButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        skinformtest::TSmallSkinOptions options;
        options.Buttons = true;
        FSkin = skinformtest::LoadedSkin(skinformtest::SmallSkinFile(options));
        FForm.reset(new TForm(nullptr, TCreateNew{}));
        FForm->SetBounds(60, 60, 300, 200);
        FButton = new TButton(FForm.get());
        FButton->SetParent(FForm.get());
        FButton->SetBounds(20, 20, 90, 30);
        FButton->SetCaption("OK");
        FButton->OnClick = TNotifyEvent(this, &SkinButtonTest::Clicked);
        FOther = new TButton(FForm.get());
        FOther->SetParent(FForm.get());
        FOther->SetBounds(20, 80, 90, 30);
        FForm->Show();
        FOther->SetFocus();
        PumpPending();
        FPainter.reset(new TWinSkinForm(nullptr));
        FPainter->SetHandle(FForm->Handle());
        FSkinner = new TProbeButton(FButton);
        FSkinner->AttachControl(FPainter.get(), FSkin.get(), false, FPainter->ControlCanvas());
        PumpPending();
    }
    void TearDown() override {
        FPainter.reset();
        FForm.reset();
    }
    void Clicked(TObject*) { ++FClicks; }
    HWND Button() const { return FButton->Handle(); }

    std::unique_ptr<TSkinData, TObjectDeleter> FSkin;
    std::unique_ptr<TForm, TObjectDeleter> FForm;
    std::unique_ptr<TWinSkinForm, TObjectDeleter> FPainter;
    TButton* FButton = nullptr;
    TButton* FOther = nullptr;
    TProbeButton* FSkinner = nullptr;
    int FClicks = 0;
};

} // namespace

TEST_F(SkinButtonTest, EachStateShowsItsFrame) {
    EXPECT_EQ(CornerLetter(Button()), 'R') << "normal: frame 1";
    SendMessageA(Button(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(CornerLetter(Button()), 'Y') << "hot: frame 4";
    SendMessageA(Button(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(CornerLetter(Button()), 'G') << "pressed: frame 2";
    SendMessageA(Button(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(CornerLetter(Button()), 'C') << "focused by the press, neither hot nor pressed: frame 5";
    FButton->SetEnabled(false);
    PumpPending();
    EXPECT_EQ(CornerLetter(Button()), 'B') << "disabled: frame 3";
}

TEST_F(SkinButtonTest, PressAndReleaseInsideClickOnceAndLeavingBeforeTheReleaseClicksNot) {
    SendMessageA(Button(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(Button(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PumpPending();
    EXPECT_EQ(FClicks, 1);
    SendMessageA(Button(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(Button(), WM_MOUSELEAVE, 0, 0);
    SendMessageA(Button(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PumpPending();
    EXPECT_EQ(FClicks, 1);
    EXPECT_NE(GetCapture(), Button()) << "the native button never took the mouse";
}

TEST_F(SkinButtonTest, TheSpaceKeyPressesTheButtonAndTheNativeButtonClicks) {
    FButton->SetFocus();
    SendMessageA(Button(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(CornerLetter(Button()), 'G');
    SendMessageA(Button(), WM_KEYUP, VK_SPACE, 0xC0000001);
    PumpPending();
    EXPECT_EQ(FClicks, 1);
    EXPECT_EQ(CornerLetter(Button()), 'C');
}

TEST_F(SkinButtonTest, OnlyTheFirstDoubleBarOfTheCaptionBreaksTheLine) {
    FButton->SetCaption("A||B||C");
    PumpPending();
    FButton->Repaint();
    EXPECT_EQ(FSkinner->Caption(), L"A\r\nB||C");
}

TEST_F(SkinButtonTest, ABareButtonNotifiesItsParentWithItsId) {
    std::vector<std::pair<WPARAM, LPARAM>> commands;
    skinformtest::TTestWindow parent(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 200, 100);
    parent.Filter = [&](UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_COMMAND)
            commands.emplace_back(wParam, lParam);
        return false;
    };
    HWND bare = CreateWindowExA(0, "Button", "Go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 60, 24,
                                parent.Handle(), reinterpret_cast<HMENU>(42), nullptr, nullptr);
    auto* skinner = new TSkinButton(FPainter.get());
    skinner->AttachWindow(bare, FSkin.get(), FPainter.get(), FPainter->ControlCanvas());
    SendMessageA(bare, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(bare, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    PumpPending();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].first, 42u);
    EXPECT_EQ(commands[0].second, reinterpret_cast<LPARAM>(bare));
    DestroyWindow(bare);
}
