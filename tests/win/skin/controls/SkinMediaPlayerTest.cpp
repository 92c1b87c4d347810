// The media player under its covering panel: the buttons it shows (faces from [Buttons], the
// player's glyphs), presses passed on to the player, and the panel following the player.
#include "SkinPanelsTestSupport.h"
#include "SkinTestImages.h"
#include "WinSubClassMediaPlayer.h"

#include <gtest/gtest.h>

#include <vector>

using namespace panelstest;

namespace {

class SkinMediaPlayer : public ::testing::Test {
protected:
    void SetUp() override {
        FPlayer = F.Add<TMediaPlayer>(20, 20, 200, 30);
        FPlayer->SetVisibleButtons(TButtonSet{btPlay, btStop});
        FPlayer->OnButtonClick = TMPBtnClickEvent(this, &SkinMediaPlayer::Clicked);
        FPlayer->OnMouseDown = TMouseEvent(this, &SkinMediaPlayer::Pressed);
        FPlayer->OnMouseUp = TMouseEvent(this, &SkinMediaPlayer::Released);
        F.Start();
        FSkinner = F.SkinnerOf<TSkinMP>(FPlayer);
        ASSERT_NE(FSkinner, nullptr);
        ASSERT_NE(FSkinner->Player(), nullptr);
        FPanel = FSkinner->Player()->Handle();
        Repaint(FPanel);
    }
    void Clicked(TObject*, TMPBtnType button, bool&) { Clicks.push_back(button); }
    void Pressed(TObject*, TMouseButton, TShiftState, int x, int) { Presses.push_back(x); }
    void Released(TObject*, TMouseButton, TShiftState, int x, int) { Releases.push_back(x); }

    // The face frame's colour (the made skin's [Buttons]: R normal, G pressed, B disabled) and
    // the glyph's pixels where the button at `left` shows them.
    void ExpectButton(int left, int width, char face, TBitmap& glyph, int shift, const char* what) {
        EXPECT_EQ(PixelOf(FPanel, left + 1, 1), static_cast<COLORREF>(skintest::ColorOf(face))) << what;
        const int gx = left + (width - glyph.Width()) / 2 + shift;
        const int gy = (30 - glyph.Height()) / 2 + shift;
        int compared = 0;
        for (int y = 0; y < glyph.Height(); ++y)
            for (int x = 0; x < glyph.Width(); ++x) {
                const TColor source = glyph.Canvas()->Pixels(x, y);
                if (source == MPGlyphBackground)
                    continue;
                ++compared;
                EXPECT_EQ(PixelOf(FPanel, gx + x, gy + y), static_cast<COLORREF>(source))
                    << what << " " << x << "," << y;
            }
        EXPECT_GT(compared, 0) << what;
    }

    TSkinnedForm F{TSkinKind::Made};
    TMediaPlayer* FPlayer = nullptr;
    TSkinMP* FSkinner = nullptr;
    HWND FPanel = nullptr;
    std::vector<TMPBtnType> Clicks;
    std::vector<int> Presses;
    std::vector<int> Releases;
};

} // namespace

TEST_F(SkinMediaPlayer, TwoVisibleButtonsShareTheWidthWithTheirGlyphsOnSkinnedFaces) {
    const TWMediaPlayer& panel = *FSkinner->Player();
    EXPECT_EQ(panel.VisibleCount(), 2);
    EXPECT_EQ(panel.ButtonWidth(), 100);
    EXPECT_EQ(panel.Tag(), F.Skin->DisableTag()) << "the engine leaves the panel alone";
    EXPECT_EQ(panel.BoundsRect().left, 20);
    EXPECT_EQ(panel.ButtonAt(100), btPlay) << "a boundary belongs to the first button";
    EXPECT_EQ(panel.ButtonAt(101), btStop);
    EXPECT_EQ(panel.ButtonAt(250), TWMediaPlayer::NoButton);
    ExpectButton(0, 100, 'R', *LoadMPGlyph("CL", btPlay), 0, "play, coloured");
    ExpectButton(100, 100, 'R', *LoadMPGlyph("CL", btStop), 0, "stop, coloured");

    // The application changes the player's buttons; the panel over it follows.
    FPlayer->SetColoredButtons(TButtonSet{});
    FPlayer->SetEnabledButtons(TButtonSet{btPlay});
    UpdateWindow(FPlayer->Handle());
    UpdateWindow(FPanel);
    ExpectButton(0, 100, 'R', *LoadMPGlyph("EN", btPlay), 0, "play, plain");
    ExpectButton(100, 100, 'B', *LoadMPGlyph("DI", btStop), 0, "a disabled button: its DI_ glyph on frame 3");
}

TEST_F(SkinMediaPlayer, PressesReachThePlayerAndOnlyAReleaseOverThePressedButtonClicks) {
    struct TCase {
        int DownX, UpX;
        std::vector<TMPBtnType> Clicks;
    };
    for (const TCase& c :
         {TCase{50, 60, {btPlay}}, TCase{150, 120, {btStop}}, TCase{50, 150, {}}, TCase{150, 20, {}}}) {
        Clicks.clear();
        Presses.clear();
        Releases.clear();
        SendMessageA(FPanel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.DownX, 10));
        EXPECT_EQ(Presses, std::vector<int>{c.DownX}) << "the press is the player's too";
        EXPECT_EQ(GetCapture(), FPanel) << "the panel sees the release";
        UpdateWindow(FPanel);
        const int left = c.DownX < 100 ? 0 : 100;
        EXPECT_EQ(PixelOf(FPanel, left + 1, 1), static_cast<COLORREF>(skintest::ColorOf('G')))
            << "pressed face";
        SendMessageA(FPanel, WM_LBUTTONUP, 0, MAKELPARAM(c.UpX, 10));
        EXPECT_EQ(Clicks, c.Clicks) << c.DownX << " -> " << c.UpX;
        EXPECT_EQ(Releases, c.Clicks.empty() ? std::vector<int>{} : std::vector<int>{c.UpX})
            << "a release over another button never reaches the player";
        UpdateWindow(FPanel);
        EXPECT_EQ(PixelOf(FPanel, left + 1, 1), static_cast<COLORREF>(skintest::ColorOf('R'))) << "released";
        EXPECT_NE(GetCapture(), FPanel);
    }
}

TEST_F(SkinMediaPlayer, ThePanelFollowsThePlayersBoundsAndVisibilityAndGoesWithTheSkin) {
    FPlayer->SetBounds(40, 60, 180, 28);
    const RECT moved = FSkinner->Player()->BoundsRect();
    EXPECT_EQ(moved.left, 40);
    EXPECT_EQ(moved.top, 60);
    EXPECT_EQ(moved.right - moved.left, 180);
    FPlayer->Hide();
    EXPECT_FALSE(FSkinner->Player()->Visible());
    FPlayer->Show();
    EXPECT_TRUE(FSkinner->Player()->Visible());
    const int owned = F.Painter->ComponentCount();
    F.Painter->DetachRestore();
    EXPECT_EQ(F.Painter->ComponentCount(), owned - 1) << "the panel was freed";
    EXPECT_EQ(FindWindowExA(F.Form->Handle(), nullptr, "TWMediaPlayer", nullptr), nullptr);
}

TEST_F(SkinMediaPlayer, APlayerFreedWhileSkinnedTakesItsPanelAlong) {
    const int owned = F.Painter->ComponentCount();
    TObject::Free(FPlayer);
    EXPECT_EQ(F.Painter->ComponentCount(), owned - 1) << "the panel went with the skinner";
    EXPECT_EQ(FindWindowExA(F.Form->Handle(), nullptr, "TWMediaPlayer", nullptr), nullptr);
    for (TSkinControl* skinner : F.Painter->Controls())
        EXPECT_NE(skinner, static_cast<TSkinControl*>(FSkinner));
    F.Painter->PurgeDestroyedControls();
    F.Painter->DetachRestore();
}
