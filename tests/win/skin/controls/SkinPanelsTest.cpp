// Group boxes, status bars, progress bars and track bars as discovery skins them on a form,
// with the program's skin and with a made skin of other sizes and frame counts: what the
// user sees is read back from the windows and compared with the skin's images.
#include "SkinPanelsTestSupport.h"
#include "SkinTestImages.h"
#include "WinSubClassPanels.h"
#include "HandleCounter.h"
#include "MPlayer.h"

#include "ComCtrls.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <vector>

using namespace panelstest;

namespace {

class SkinBars : public ::testing::TestWithParam<TSkinKind> {
protected:
    TSkinnedForm F{GetParam()};
};

// The leftmost and rightmost columns of `area` with a pixel different from `background`.
std::pair<int, int> DrawnColumns(HWND wnd, const TRect& area, std::initializer_list<COLORREF> background) {
    TWindowDC dc(wnd);
    int first = -1, last = -1;
    for (int x = area.left; x < area.right; ++x)
        for (int y = area.top; y < area.bottom; ++y) {
            const COLORREF c = GetPixel(dc.Get(), x, y);
            if (std::find(background.begin(), background.end(), c) == background.end()) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
        }
    return {first, last};
}

TStatusBar* AddStatusBar(TSkinnedForm& f) {
    auto* bar = f.Add<TStatusBar>(0, 0, 300, 22);
    bar->SetAlign(alBottom);
    return bar;
}

TStatusPanel* AddPanel(TStatusBar& bar, const char* text, TStatusPanelBevel bevel, int width) {
    TStatusPanel* panel = bar.Panels()->Add();
    panel->SetText(text);
    panel->SetBevel(bevel);
    panel->SetWidth(width);
    return panel;
}

} // namespace

// ---- status bars ------------------------------------------------------------------------------

TEST_P(SkinBars, StatusBarPanelsStandOnTheirEdgeFramesWithTheirTextsAndTheGripFromTheSkin) {
    TStatusBar* bar = AddStatusBar(F);
    AddPanel(*bar, "one", pbLowered, 80);
    AddPanel(*bar, "", pbRaised, 60);
    AddPanel(*bar, "three", pbNone, 60);
    F.Start();
    ASSERT_NE(F.SkinnerOf<TSkinStatusBar>(bar), nullptr);
    const HWND wnd = bar->Handle();
    ASSERT_TRUE(GetWindowLongPtrA(wnd, GWL_STYLE) & SBARS_SIZEGRIP);
    Repaint(wnd);

    TDataSkinObject& edges = *F.Elements().StatusBarEdges;
    const int expectedFrame[] = {1, 2, 3};
    for (int i = 0; i < 3; ++i) {
        const TRect r = FramedPanel(wnd, i, i == 2);
        const int w = RectWidth(r), h = RectHeight(r);
        // Right of the texts and left of the grip.
        const int x = i == 2 ? w / 2 : w - 5;
        EXPECT_EQ(PixelOf(wnd, r.left + x, r.top + h / 2),
                  ComposedPixel(edges, 3, expectedFrame[i], w, h, x, h / 2))
            << "panel " << i;
    }
    const TRect first = FramedPanel(wnd, 0, false);
    EXPECT_NE(ComposedPixel(edges, 3, 1, RectWidth(first), RectHeight(first), 10, RectHeight(first) / 2),
              ComposedPixel(edges, 3, 2, RectWidth(first), RectHeight(first), 10, RectHeight(first) / 2))
        << "the frames must tell lowered from raised";
    EXPECT_GT(CoveredPixels(wnd, edges, 3, 1, TRect{first.left, first.top, first.left + 40, first.bottom}), 0)
        << "the text of panel 0";
    EXPECT_EQ(CoveredPixels(wnd, edges, 3, 2, FramedPanel(wnd, 1, false)), 0)
        << "an empty panel is only framed";
    // Printed into another DC, the bar looks the same.
    const SIZE client = skinformtest::ClientSize(wnd);
    auto printed = skintest::Surface(client.cx, client.cy, clFuchsia);
    SendMessageA(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(printed->Canvas()->Handle()), PRF_CLIENT);
    EXPECT_EQ(
        static_cast<COLORREF>(printed->Canvas()->Pixels(first.left + 60, first.top + RectHeight(first) / 2)),
        PixelOf(wnd, first.left + 60, first.top + RectHeight(first) / 2));
    EXPECT_EQ(bar->Panels()->Items(0)->Text(), "one");
    char shown[16] = {};
    SendMessageA(wnd, SB_GETTEXTA, 2, reinterpret_cast<LPARAM>(shown));
    EXPECT_STREQ(shown, "three");

    // The size grip: frame 5 of the extra images at the bottom-right corner.
    EXPECT_EQ(GripMismatches(wnd, *F.Elements().ExtraImages), 0);
}

TEST_P(SkinBars, ASimpleStatusBarIsOneLoweredPanelWithItsTextOnTheReadingSide) {
    for (const TBiDiMode mode : {bdLeftToRight, bdRightToLeft}) {
        TStatusBar* bar = AddStatusBar(F);
        bar->SetSizeGrip(false);
        AddPanel(*bar, "hidden", pbRaised, 80);
        bar->SetSimplePanel(true);
        bar->SetSimpleText("simple");
        bar->SetBiDiMode(mode);
        F.Start();
        const HWND wnd = bar->Handle();
        Repaint(wnd);
        const SIZE size = skinformtest::ClientSize(wnd);
        TDataSkinObject& edges = *F.Elements().StatusBarEdges;
        EXPECT_EQ(PixelOf(wnd, size.cx / 2, size.cy / 2),
                  ComposedPixel(edges, 3, 1, size.cx, size.cy, size.cx / 2, size.cy / 2));
        // Where the text lies: every pixel that is not the frame's.
        auto composed = BuildSkinBitmap(TRect{0, 0, size.cx, size.cy}, edges.Bitmap, edges.Margins(), false,
                                        edges.Tile == 1, 3, 1);
        int left = size.cx, right = -1;
        TWindowDC dc(wnd);
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x)
                if (GetPixel(dc.Get(), x, y) != static_cast<COLORREF>(composed->Canvas()->Pixels(x, y))) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        ASSERT_GE(right, 0) << "no text drawn";
        if (mode == bdRightToLeft) {
            EXPECT_GT(left, size.cx / 2);
            EXPECT_GE(right, size.cx - 2 - 4) << "the text ends 2 pixels in from the right";
        } else {
            EXPECT_LT(right, size.cx / 2);
            EXPECT_LE(left, 2 + 3);
        }
        F.Painter->DetachRestore();
        TObject::Free(bar);
    }
}

TEST_P(SkinBars, AnOwnerDrawPanelIsFramedBeforeItsOnDrawPanelRuns) {
    TStatusBar* bar = AddStatusBar(F);
    TStatusPanel* own = AddPanel(*bar, "", pbRaised, 90);
    own->SetStyle(psOwnerDraw);
    AddPanel(*bar, "text", pbLowered, 90);
    struct TDrawn {
        void Draw(TCustomStatusBar* sender, TStatusPanel* panel, const TRect& r) {
            Panels.push_back(panel);
            Rects.push_back(r);
            FrameUnder.push_back(
                GetPixel(sender->Canvas()->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2));
            sender->Canvas()->Brush()->SetColor(clRed);
            sender->Canvas()->FillRect(TRect{r.left, r.top, r.left + 4, r.bottom});
        }
        std::vector<TStatusPanel*> Panels;
        std::vector<TRect> Rects;
        std::vector<COLORREF> FrameUnder;
    } drawn;
    bar->OnDrawPanel = TDrawPanelEvent(&drawn, &TDrawn::Draw);
    F.Start();
    const HWND wnd = bar->Handle();
    drawn = {};
    Repaint(wnd);

    ASSERT_EQ(drawn.Panels.size(), 1u) << "only the owner-draw panel is the application's";
    EXPECT_EQ(drawn.Panels[0], own);
    TRect expected = PanelRect(wnd, 0);
    InflateRect(&expected, -2, -2);
    EXPECT_TRUE(EqualRect(&drawn.Rects[0], &expected));
    const TRect framed = FramedPanel(wnd, 0, false);
    const int w = RectWidth(framed), h = RectHeight(framed);
    const COLORREF raised = ComposedPixel(*F.Elements().StatusBarEdges, 3, 2, w, h, w / 2, h / 2);
    EXPECT_EQ(drawn.FrameUnder[0], raised) << "framed before the call";
    EXPECT_EQ(PixelOf(wnd, framed.left + w / 2, framed.top + h / 2), raised);
    EXPECT_EQ(PixelOf(wnd, expected.left + 1, expected.top + 1), RGB(255, 0, 0))
        << "the handler's drawing stays";
}

TEST(SkinStatusBarRoutines, BevelPanelsWithoutAnEdgeImageAreOnePixelFramesOfTheirBevel) {
    struct TCase {
        int Frame;
        TColor TopLeft, BottomRight;
    };
    for (const TCase& c : {TCase{1, clBtnShadow, clBtnHighlight}, TCase{2, clBtnHighlight, clBtnShadow},
                           TCase{3, clYellow, clYellow}}) {
        auto surface = skintest::Surface(6, 5, clYellow);
        const HDC dc = surface->Canvas()->Handle();
        DrawBevelPanel(dc, TRect{0, 0, 6, 5}, c.Frame);
        EXPECT_EQ(GetPixel(dc, 2, 0), ColorToRGB(c.TopLeft)) << c.Frame;
        EXPECT_EQ(GetPixel(dc, 0, 2), ColorToRGB(c.TopLeft)) << c.Frame;
        EXPECT_EQ(GetPixel(dc, 2, 4), ColorToRGB(c.BottomRight)) << c.Frame;
        EXPECT_EQ(GetPixel(dc, 5, 2), ColorToRGB(c.BottomRight)) << c.Frame;
        EXPECT_EQ(GetPixel(dc, 2, 2), ColorToRGB(clYellow)) << c.Frame;
    }
    EXPECT_EQ(StatusPanelFrame(pbLowered), 1);
    EXPECT_EQ(StatusPanelFrame(pbRaised), 2);
    EXPECT_EQ(StatusPanelFrame(pbNone), 3);
}

TEST(SkinStatusBarBevels, WithoutAnEdgeImageThePanelsStandOnBevelsOfTheirKind) {
    TSkinnedForm f(TSkinKind::Made, 0, false);
    ASSERT_EQ(f.Elements().StatusBarEdges, nullptr);
    TStatusBar* bar = AddStatusBar(f);
    bar->SetSizeGrip(false);
    AddPanel(*bar, "", pbLowered, 80);
    AddPanel(*bar, "", pbRaised, 80);
    f.Start();
    const HWND wnd = bar->Handle();
    Repaint(wnd);
    struct TCase {
        int Panel;
        TColor TopLeft, BottomRight;
    };
    for (const TCase& c : {TCase{0, clBtnShadow, clBtnHighlight}, TCase{1, clBtnHighlight, clBtnShadow}}) {
        const TRect r = FramedPanel(wnd, c.Panel, c.Panel == 1);
        const int y = (r.top + r.bottom) / 2;
        EXPECT_EQ(PixelOf(wnd, r.left, y), ColorToRGB(c.TopLeft)) << c.Panel;
        EXPECT_EQ(PixelOf(wnd, r.right - 1, y), ColorToRGB(c.BottomRight)) << c.Panel;
        EXPECT_EQ(PixelOf(wnd, (r.left + r.right) / 2, y), RGB(10, 20, 30)) << c.Panel << ": the face inside";
    }
}

// ---- progress bars ----------------------------------------------------------------------------

TEST_P(SkinBars, AProgressBarHalfwayIsFilledFromTheLeftOrLyingFromTheBottomWhenStanding) {
    for (const bool standing : {false, true}) {
        auto* bar = F.Add<TProgressBar>(20, 20, standing ? 18 : 120, standing ? 120 : 18);
        if (standing)
            bar->SetOrientation(pbVertical);
        bar->SetPosition(50);
        F.Start();
        ASSERT_NE(F.SkinnerOf<TSkinProgress>(bar), nullptr);
        const HWND wnd = bar->Handle();
        Repaint(wnd);
        TDataSkinBorder& progress = *F.Elements().Progress;
        const int length = 120, thickness = 18, fill = 60;
        // Points along the lying bar: the middle of the filled part and of the rest.
        for (const int along : {fill / 2, fill + (length - fill) / 2}) {
            const bool filled = along < fill;
            const COLORREF expected =
                filled ? ComposedPixel(progress, 2, 2, fill, thickness, along, thickness / 2)
                       : ComposedPixel(progress, 2, 1, length, thickness, along, thickness / 2);
            // Turned anticlockwise, the lying start comes to the bottom.
            const COLORREF shown = standing ? PixelOf(wnd, thickness / 2, length - 1 - along)
                                            : PixelOf(wnd, along, thickness / 2);
            EXPECT_EQ(shown, expected) << (standing ? "standing " : "lying ") << (filled ? "filled" : "rest");
        }
        EXPECT_NE(ComposedPixel(progress, 2, 2, fill, thickness, fill / 2, thickness / 2),
                  ComposedPixel(progress, 2, 1, length, thickness, fill / 2, thickness / 2));
        F.Painter->DetachRestore();
        TObject::Free(bar);
    }
}

TEST(SkinProgressChunks, ChunksCoverTheFilledPartOfTheTrack) {
    TSkinnedForm f(TSkinKind::Made, 1);
    auto* bar = f.Add<TProgressBar>(20, 20, 120, 16);
    bar->SetPosition(50);
    f.Start();
    Repaint(bar->Handle());
    const HWND wnd = bar->Handle();
    EXPECT_EQ(PixelOf(wnd, 30, 8), static_cast<COLORREF>(skintest::ColorOf('Y')));
    EXPECT_EQ(PixelOf(wnd, 100, 8), static_cast<COLORREF>(skintest::ColorOf('S')));
}

TEST(SkinProgressRoutines, TheFilledWidthFollowsThePositionBetweenTheLimits) {
    struct TCase {
        int Position, Min, Max, Fill;
    };
    for (const TCase& c :
         {TCase{50, 0, 100, 60}, TCase{75, 50, 100, 60}, TCase{100, 0, 100, 120}, TCase{0, 0, 100, 0},
          TCase{5, 0, 0, 0}, TCase{-7, -10, -4, 60}, TCase{200, 0, 100, 120}})
        EXPECT_EQ(ProgressFill(120, c.Position, c.Min, c.Max), c.Fill)
            << c.Position << " " << c.Min << ".." << c.Max;
}

// ---- group boxes ------------------------------------------------------------------------------

TEST(SkinGroupBoxes, TheCaptionSits8PixelsInFromItsSideOnARoundedShadowFrame) {
    TSkinnedForm f(TSkinKind::Made);
    for (const bool right : {false, true}) {
        auto* box = f.Add<TGroupBox>(20, 20, 200, 100);
        box->SetCaption("Caption");
        const HWND wnd = box->Handle();
        if (right)
            SetWindowLongPtrA(wnd, GWL_EXSTYLE, GetWindowLongPtrA(wnd, GWL_EXSTYLE) | WS_EX_RIGHT);
        f.Start();
        ASSERT_NE(f.SkinnerOf<TSkinGroupBox>(box), nullptr);
        Repaint(wnd);
        const COLORREF face = RGB(10, 20, 30);
        const COLORREF shadow = ColorToRGB(clBtnShadow); // the made skin keeps the system's
        EXPECT_EQ(PixelOf(wnd, 1, 50), shadow) << "the frame's left side";
        EXPECT_EQ(PixelOf(wnd, 0, 50), face);
        EXPECT_EQ(PixelOf(wnd, 100, 98), shadow) << "the frame's bottom";
        const auto [first, last] = DrawnColumns(wnd, TRect{0, 0, 200, 14}, {face, shadow});
        ASSERT_GE(first, 0);
        if (right) {
            EXPECT_LT(last, 200 - 8);
            EXPECT_GE(last, 200 - 8 - 3);
        } else {
            EXPECT_GE(first, 8);
            EXPECT_LE(first, 8 + 2);
        }
        f.Painter->DetachRestore();
        TObject::Free(box);
    }
}

TEST(SkinGroupBoxes, ABareGroupBoxKeepsItsNativeInsideAndGetsTheRoundedFrameOverItsOwn) {
    TSkinnedForm f(TSkinKind::Made);
    HWND box = CreateWindowExA(0, "BUTTON", "bare", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 20, 20, 160, 90,
                               f.Form->Handle(), nullptr, nullptr, nullptr);
    ASSERT_TRUE(box);
    TWinSkinForm& painter = f.Start();
    auto* skinner = new TSkinGroupBox(&painter);
    skinner->AttachWindow(box, f.Skin.get(), &painter, painter.ControlCanvas());
    EXPECT_EQ(skinner->Variant(), 0);
    Repaint(box);
    const COLORREF face = RGB(10, 20, 30);
    EXPECT_EQ(PixelOf(box, 0, 50), face) << "the native frame is erased";
    EXPECT_EQ(PixelOf(box, 1, 50), ColorToRGB(clBtnShadow));
    EXPECT_NE(PixelOf(box, 80, 50), face) << "the inside stays the window's own";
    painter.DetachRestore();
    DestroyWindow(box);
}

// ---- track bars -------------------------------------------------------------------------------

TEST_P(SkinBars, ATrackBarThumbShowsFrame2InEveryStateAndTheChannelComesFromTheTrack) {
    for (const bool standing : {false, true}) {
        auto* bar = F.Add<TTrackBar>(20, 20, 200, 40);
        if (standing)
            bar->SetOrientation(trVertical);
        bar->SetPosition(5);
        F.Start();
        ASSERT_NE(F.SkinnerOf<TSkinTrackBar>(bar), nullptr);
        const HWND wnd = bar->Handle();
        TDataSkinObject& thumbImage =
            standing ? *F.Elements().TrackbarThumbVert : *F.Elements().TrackbarThumbHorz;
        auto checkThumb = [&](const char* state) {
            Repaint(wnd);
            RECT thumb{};
            SendMessageA(wnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
            const int w = thumb.right - thumb.left, h = thumb.bottom - thumb.top;
            auto expected = skintest::Surface(w, h, clFuchsia);
            DrawStripFrameDC(expected->Canvas()->Handle(), TRect{0, 0, w, h}, 5, 2, thumbImage.Bitmap);
            EXPECT_EQ(PixelOf(wnd, thumb.left + w / 2, thumb.top + h / 2),
                      static_cast<COLORREF>(expected->Canvas()->Pixels(w / 2, h / 2)))
                << (standing ? "standing, " : "lying, ") << state;
        };
        checkThumb("normal");
        SetFocus(wnd);
        checkThumb("focused");
        RECT thumb{};
        SendMessageA(wnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        const LPARAM at = MAKELPARAM((thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2);
        SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        checkThumb("dragged");
        SendMessageA(wnd, WM_LBUTTONUP, 0, at);
        EnableWindow(wnd, FALSE);
        checkThumb("disabled");

        if (GetParam() == TSkinKind::Made) {
            // The channel's middle: the made track image is grey all through.
            RECT channel{};
            SendMessageA(wnd, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
            if (standing && channel.right - channel.left > channel.bottom - channel.top)
                channel = RECT{channel.top, channel.left, channel.bottom, channel.right};
            const int x = standing ? (channel.left + channel.right) / 2 : channel.left + 3;
            const int y = standing ? channel.top + 3 : (channel.top + channel.bottom) / 2;
            EXPECT_EQ(PixelOf(wnd, x, y), static_cast<COLORREF>(skintest::ColorOf('A'))) << standing;
        }
        F.Painter->DetachRestore();
        TObject::Free(bar);
    }
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinBars, ::testing::Values(TSkinKind::Program, TSkinKind::Made), SkinName);

TEST(SkinBarsHandles, SkinningAndPaintingTheBarsAgainAndAgainKeepsTheHandleCounts) {
    ASSERT_TRUE(THandleCounter::Install());
    TSkinnedForm f(TSkinKind::Program);
    TStatusBar* status = AddStatusBar(f);
    AddPanel(*status, "text", pbLowered, 80)->SetStyle(psOwnerDraw);
    AddPanel(*status, "more", pbRaised, 80);
    f.Add<TProgressBar>(10, 10, 120, 16)->SetPosition(40);
    auto* standing = f.Add<TProgressBar>(140, 10, 16, 100);
    standing->SetOrientation(pbVertical);
    standing->SetPosition(70);
    f.Add<TTrackBar>(10, 40, 120, 40);
    f.Add<TGroupBox>(170, 10, 120, 80)->SetCaption("group");
    f.Add<TMediaPlayer>(10, 120, 200, 30);
    HWND bare = CreateWindowExA(0, "BUTTON", "bare", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 300, 10, 100, 80,
                                f.Form->Handle(), nullptr, nullptr, nullptr);
    SendMessageA(bare, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    auto cycle = [&f, bare] {
        TWinSkinForm& painter = f.Start();
        (new TSkinGroupBox(&painter))->AttachWindow(bare, f.Skin.get(), &painter, painter.ControlCanvas());
        Repaint(f.Form->Handle());
        f.Painter->DetachRestore();
        f.Painter.reset();
    };
    cycle();
    skinformtest::PumpPending();
    const THandleCounts before = THandleCounter::Current();
    for (int i = 0; i < 200; ++i)
        cycle();
    skinformtest::PumpPending();
    EXPECT_EQ(THandleCounter::Current(), before)
        << THandleCounter::Current().ToString() << " vs " << before.ToString();
}
