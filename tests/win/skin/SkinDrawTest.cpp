// The drawing primitives on 32-bit DIB sections, read back pixel by pixel. Sources are
// colour-coded so that every piece of a nine-grid, every frame and every tile shows where it
// landed.
#include "SkinDraw.h"
#include "SkinTestImages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace skintest;

namespace {

using TRows = std::vector<std::string>;

// A 3 x 3 block per grid piece: corners R G / P T, edges O B C N, centre Y.
const TRows kGrid = {
    "RRROOOGGG", "RRROOOGGG", "RRROOOGGG", "BBBYYYCCC", "BBBYYYCCC",
    "BBBYYYCCC", "PPPNNNTTT", "PPPNNNTTT", "PPPNNNTTT",
};
constexpr TRect kMargins3 = {3, 3, 3, 3};

// The grid as frame 2 of two frames side by side (frame 1 black) or stacked.
TRows GridStrip(bool vertical) {
    TRows rows;
    for (const std::string& row : kGrid)
        rows.push_back(vertical ? row : std::string(9, 'K') + row);
    if (vertical)
        rows.insert(rows.begin(), 9, std::string(9, 'K'));
    return rows;
}

// Expected letters: each row pattern repeated `count` times.
TRows Repeat(std::initializer_list<std::pair<std::string, int>> bands) {
    TRows rows;
    for (const auto& [row, count] : bands)
        rows.insert(rows.end(), static_cast<std::size_t>(count), row);
    return rows;
}

TRows Draw(int width, int height, char background, auto&& paint) {
    auto surface = Surface(width, height, ColorOf(background));
    paint(surface->Canvas()->Handle(), *surface);
    return Letters(*surface);
}

} // namespace

// ---- nine-grid -------------------------------------------------------------------------------

TEST(SkinDrawNineGrid, StretchesEdgesAndCentreOfTheChosenFrameKeepingTheMargins) {
    const TRows expected = Repeat({{"RRROOOOOOGGG", 3}, {"BBBYYYYYYCCC", 4}, {"PPPNNNNNNTTT", 3}});
    for (const bool vertical : {false, true}) {
        auto image = Picture(GridStrip(vertical));
        auto built = BuildSkinBitmap(Rect(5, 7, 17, 17), *image, kMargins3, vertical, false, 2, 2);
        ASSERT_EQ(built->Width(), 12);
        ASSERT_EQ(built->Height(), 10);
        EXPECT_EQ(Letters(*built), expected) << (vertical ? "stacked frames" : "frames side by side");
    }
}

TEST(SkinDrawNineGrid, DropsMarginsPerAxisWhenTheDestinationIsTooSmall) {
    auto image = Picture(GridStrip(false));
    auto build = [&](int w, int h) {
        return Letters(*BuildSkinBitmap(Rect(0, 0, w, h), *image, kMargins3, false, false, 2, 2));
    };
    // Narrower than left + right: the top, centre and bottom bands span the whole width.
    EXPECT_EQ(build(3, 10), Repeat({{"ROG", 3}, {"BYC", 4}, {"PNT", 3}}));
    // Lower than top + bottom: the left, centre and right columns span the whole height.
    EXPECT_EQ(build(12, 3), (TRows{"RRROOOOOOGGG", "BBBYYYYYYCCC", "PPPNNNNNNTTT"}));
    // Both: the whole frame shrunk.
    EXPECT_EQ(build(3, 3), (TRows{"ROG", "BYC", "PNT"}));
}

TEST(SkinDrawNineGrid, TiledCentreRunsPastTheCentreAndIsOverdrawnByRightAndBottomPieces) {
    // Margins 2; the centre is a 3 x 3 pattern.
    auto image = Picture({
        "RRSSSRR",
        "RRSSSRR",
        "BBYCOTT",
        "BBWKATT",
        "BBLNPTT",
        "RRGGGRR",
        "RRGGGRR",
    });
    auto built = BuildSkinBitmap(Rect(0, 0, 12, 11), *image, Rect(2, 2, 2, 2), false, true, 1, 1);
    // Centre 8 x 7 from (2, 2): tiles at x 2, 5, 8 and y 2, 5, 8; the third column and row of
    // tiles reach into the right and bottom margins, which are drawn over them.
    EXPECT_EQ(Letters(*built), (TRows{
                                   "RRSSSSSSSSRR",
                                   "RRSSSSSSSSRR",
                                   "BBYCOYCOYCTT",
                                   "BBWKAWKAWKTT",
                                   "BBLNPLNPLNTT",
                                   "BBYCOYCOYCTT",
                                   "BBWKAWKAWKTT",
                                   "BBLNPLNPLNTT",
                                   "BBYCOYCOYCTT",
                                   "RRGGGGGGGGRR",
                                   "RRGGGGGGGGRR",
                               }));
}

TEST(SkinDrawNineGrid, PiecesNeverReachOutsideTheFrame) {
    const TRect frame = Rect(10, 0, 16, 6);
    for (const TRect margins : {Rect(5, 5, 5, 5), Rect(9, 0, 9, 0), Rect(-4, -4, 2, 2), Rect(0, 7, 0, 0)}) {
        for (const auto& piece : SkinGridPieces(frame, margins, 40, 30)) {
            EXPECT_GE(piece.Source.left, frame.left);
            EXPECT_LE(piece.Source.right, frame.right);
            EXPECT_GE(piece.Source.top, frame.top);
            EXPECT_LE(piece.Source.bottom, frame.bottom);
            EXPECT_LT(piece.Source.left, piece.Source.right);
            EXPECT_LT(piece.Source.top, piece.Source.bottom);
        }
    }
    // Negative margins count as none: the centre takes the whole frame and the whole result.
    const auto pieces = SkinGridPieces(frame, Rect(-3, -3, -3, -3), 20, 20);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_TRUE(pieces[0].Centre);
    EXPECT_TRUE(EqualRect(&pieces[0].Source, &frame));
}

TEST(SkinDrawNineGrid, DrawSkinRectKeepsTheDestinationUnderTheKeyColourOnlyWhenTransparent) {
    auto image = Picture({"MMRMM", "MRRRM", "RRRRR"});
    const TRect dest = Rect(1, 1, 6, 4);
    auto paint = [&](bool transparent) {
        return Draw(7, 5, 'A', [&](HDC dc, TBitmap&) {
            DrawSkinRect(dc, dest, *image, false, false, transparent, 1, 1, Rect(0, 0, 0, 0));
        });
    };
    EXPECT_EQ(paint(true), (TRows{"AAAAAAA", "AAARAAA", "AARRRAA", "ARRRRRA", "AAAAAAA"}));
    EXPECT_EQ(paint(false), (TRows{"AAAAAAA", "AMMRMMA", "AMRRRMA", "ARRRRRA", "AAAAAAA"}));
}

// ---- frames, glyphs, bars ------------------------------------------------------------------------

TEST(SkinDrawFrames, DrawSkinFrameStretchesFrameKAndClampsIndicesOutsideTheStrip) {
    auto strip = Picture({"RRGGBBYY", "RRGGBBYY"});
    auto frame = [&](int frames, int index) {
        return Draw(6, 5, 'W', [&](HDC dc, TBitmap&) {
            DrawSkinFrame(dc, Rect(1, 1, 5, 4), *strip, false, frames, index);
        });
    };
    EXPECT_EQ(frame(4, 3), (TRows{"WWWWWW", "WBBBBW", "WBBBBW", "WBBBBW", "WWWWWW"}));
    EXPECT_EQ(frame(4, 0)[2], "WRRRRW") << "below 1: the first frame";
    EXPECT_EQ(frame(4, 9)[2], "WYYYYW") << "past the end: the last frame";
    EXPECT_EQ(frame(0, 1)[2], "WRGBYW") << "no frame count: the whole strip";
}

TEST(SkinDrawFrames, DrawSkinGlyphCentresTruncatingTowardZeroAndOverhangsASmallRect) {
    // Frame 2 of two: a 6 x 5 glyph with a magenta corner.
    auto strip = Picture({
        "KKKKKKMRRRRR",
        "KKKKKKRRRRRR",
        "KKKKKKRRGRRR",
        "KKKKKKRRRRRR",
        "KKKKKKRRRRRB",
    });
    // A 3 x 2 rect at (10, 10): left = 10 + (3 - 6) / 2 = 9, top = 10 + (2 - 5) / 2 = 9.
    const TRows drawn = Draw(
        18, 16, 'W', [&](HDC dc, TBitmap&) { DrawSkinGlyph(dc, Rect(10, 10, 13, 12), *strip, true, 2, 2); });
    TRows window;
    for (int y = 8; y < 15; ++y)
        window.push_back(drawn[static_cast<std::size_t>(y)].substr(8, 8));
    EXPECT_EQ(window, (TRows{
                          "WWWWWWWW",
                          "WWRRRRRW",
                          "WRRRRRRW",
                          "WRRGRRRW",
                          "WRRRRRRW",
                          "WRRRRRBW",
                          "WWWWWWWW",
                      }));
}

TEST(SkinDrawFrames, DrawSkinBarRepeatsTheMiddleAndDrawsTheRightCapLast) {
    auto bar = [&](const TRect& dest, const TRect& margins, bool transparent, TBitmap& source) {
        return Draw(20, 3, 'A', [&](HDC, TBitmap& surface) {
            DrawSkinBar(*surface.Canvas(), dest, source, false, transparent, 1, 1, margins);
        })[1];
    };
    // Caps RR and GG, middle YCO repeated from x 2; the last repeat runs under the right cap.
    EXPECT_EQ(bar(Rect(2, 0, 17, 2), Rect(2, 0, 2, 0), false, *Picture({"RRYCOGG", "RRYCOGG"})),
              "AARRYCOYCOYCOYCGGAAA");
    // Caps as wide as the frame leave no middle: the frame is stretched over the bar instead.
    EXPECT_EQ(bar(Rect(2, 0, 18, 2), Rect(4, 0, 4, 0), false, *Picture({"RRYYCCGG"})),
              "AARRRRYYYYCCCCGGGGAA");
    EXPECT_EQ(bar(Rect(2, 0, 17, 2), Rect(2, 0, 2, 0), true, *Picture({"RMYCOMG", "RMYCOMG"})),
              "AARAYCOYCOYCOYCAGAAA");
}

TEST(SkinDrawFrames, StretchSkinBarStretchesTheMiddleOrTheWholeFrameWhenNarrower) {
    auto image = Picture({"KKKKKKKKRRYYCCGG"}); // frame 2 of two
    auto bar = [&](int width) {
        return Draw(14, 1, 'A', [&](HDC dc, TBitmap&) {
            StretchSkinBar(dc, Rect(1, 0, 1 + width, 1), *image, false, 2, 2, Rect(2, 0, 2, 0));
        })[0];
    };
    EXPECT_EQ(bar(12), "ARRYYYYCCCCGGA");
    EXPECT_EQ(bar(4), "ARYCGAAAAAAAAA");
}

TEST(SkinDrawFrames, RoutinesDrawNothingIntoAnInvertedRect) {
    auto image = Picture(kGrid);
    const TRect inverted = Rect(6, 6, 2, 8);
    const TRows untouched = Rows(8, 8, 'W');
    EXPECT_EQ(Draw(8, 8, 'W',
                   [&](HDC dc, TBitmap& s) {
                       DrawSkinRect(dc, inverted, *image, false, true, false, 1, 1, kMargins3);
                       DrawSkinFrame(dc, inverted, *image, false, 1, 1);
                       DrawSkinGlyph(dc, inverted, *image, false, 1, 1);
                       DrawTransparent(dc, inverted, *image, SkinKeyColor);
                       StretchSkinBar(dc, inverted, *image, false, 1, 1, kMargins3);
                       DrawSkinBar(*s.Canvas(), inverted, *image, false, false, 1, 1, kMargins3);
                       TileBitmap(*s.Canvas(), inverted, *image, Rect(0, 0, 3, 3));
                   }),
              untouched);
    EXPECT_TRUE(BuildSkinBitmap(inverted, *image, kMargins3, false, false, 1, 1)->Empty());
}

// ---- key colour and tiling ------------------------------------------------------------------------

TEST(SkinDrawTransparent, KeyPixelsKeepTheDestinationAndOnlyTheBitmapsAreaIsCopied) {
    auto bitmap = Picture({"RMR", "MGM"});
    EXPECT_EQ(Draw(6, 4, 'A',
                   [&](HDC dc, TBitmap&) { DrawTransparent(dc, Rect(1, 1, 6, 4), *bitmap, SkinKeyColor); }),
              (TRows{"AAAAAA", "ARARAA", "AAGAAA", "AAAAAA"}));
    // A smaller rect takes the bitmap's top-left part.
    EXPECT_EQ(Draw(4, 2, 'A',
                   [&](HDC dc, TBitmap&) { DrawTransparent(dc, Rect(0, 0, 2, 1), *bitmap, SkinKeyColor); }),
              (TRows{"RAAA", "AAAA"}));
    // Another key colour, and the bitmap's own transparency settings stay as they were.
    EXPECT_EQ(
        Draw(3, 2, 'A', [&](HDC dc, TBitmap&) { DrawTransparent(dc, Rect(0, 0, 3, 2), *bitmap, clRed); }),
        (TRows{"AMA", "MGM"}));
    EXPECT_FALSE(bitmap->Transparent());
    EXPECT_EQ(bitmap->TransparentMode(), tmAuto);
}

TEST(SkinDrawTransparent, TileBitmapRepeatsTheSourceFromTheTopLeftWithoutClipping) {
    auto image = Picture({"KKKK", "KRGK", "KBYK"});
    EXPECT_EQ(
        Draw(7, 5, 'W',
             [&](HDC, TBitmap& s) { TileBitmap(*s.Canvas(), Rect(1, 1, 4, 4), *image, Rect(1, 1, 3, 3)); }),
        (TRows{"WWWWWWW", "WRGRGWW", "WBYBYWW", "WRGRGWW", "WBYBYWW"}));
    // A source reaching past the image is cut to it.
    EXPECT_EQ(
        Draw(4, 2, 'W',
             [&](HDC, TBitmap& s) { TileBitmap(*s.Canvas(), Rect(0, 0, 4, 2), *image, Rect(2, 2, 9, 9)); }),
        (TRows{"YKYK", "YKYK"}));
}

// ---- regions ----------------------------------------------------------------------------------------

namespace {

std::vector<RECT> RegionRects(HRGN region) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<std::uint8_t> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    GetRegionData(region, size, data);
    const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
    return std::vector<RECT>(rects, rects + data->rdh.nCount);
}

std::string Describe(const std::vector<RECT>& rects) {
    std::string text;
    for (const RECT& r : rects)
        text += "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
                "," + std::to_string(r.bottom) + ")";
    return text;
}

} // namespace

TEST(SkinDrawRegion, AnAllKeyBitmapGivesAnEmptyRegion) {
    auto bitmap = Picture(Rows(5, 4, 'M'));
    const TRegionHandle region = RegionFromBitmap(*bitmap, 0, 0, 1, 1, 1, SkinKeyColor);
    ASSERT_TRUE(region);
    RECT box;
    EXPECT_EQ(GetRgnBox(region.Get(), &box), NULLREGION);
}

TEST(SkinDrawRegion, AShapedBorderGivesTheExactRowRunsMovedByTheOffsets) {
    auto bitmap = Picture({"MMWWMM", "MWWWWM", "WWWWWW", "WWMMWW"});
    const TRegionHandle region = RegionFromBitmap(*bitmap, 10, 20, 1, 1, 1, SkinKeyColor);
    EXPECT_EQ(Describe(RegionRects(region.Get())),
              "(12,20,14,21)(11,21,15,22)(10,22,16,23)(10,23,12,24)(14,23,16,24)");
    EXPECT_EQ(bitmap->PixelFormat(), pf24bit) << "the caller's bitmap keeps its format";
}

TEST(SkinDrawRegion, ToleranceWidensTheKeyUpwardOnly) {
    auto bitmap = Picture({"WWWW"}, pf32bit);
    TCanvas& canvas = *bitmap->Canvas();
    canvas.SetPixels(0, 0, RGBColor(255, 1, 255)); // inside green tolerance 1
    canvas.SetPixels(1, 0, RGBColor(255, 2, 255)); // outside
    canvas.SetPixels(2, 0, RGBColor(254, 0, 255)); // below the key's red: outside
    canvas.SetPixels(3, 0, clFuchsia);
    auto runs = [&](int tolerance) {
        const TRegionHandle region =
            RegionFromBitmap(*bitmap, 0, 0, tolerance, tolerance, tolerance, SkinKeyColor);
        return Describe(RegionRects(region.Get()));
    };
    EXPECT_EQ(runs(1), "(1,0,3,1)");
    EXPECT_EQ(runs(0), "(0,0,3,1)");
}

TEST(SkinDrawRegion, ManyRunsAreJoinedAcrossBatches) {
    // A checkerboard of 100 x 50: 2500 single-pixel runs, more than one batch holds.
    TRows rows;
    for (int y = 0; y < 50; ++y) {
        std::string row;
        for (int x = 0; x < 100; ++x)
            row += (x + y) % 2 == 0 ? 'W' : 'M';
        rows.push_back(row);
    }
    auto bitmap = Picture(rows, pf8bit);
    const TRegionHandle region = RegionFromBitmap(*bitmap, 0, 0, 1, 1, 1, SkinKeyColor);
    int wrong = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x)
            wrong += (PtInRegion(region.Get(), x, y) != 0) != ((x + y) % 2 == 0);
    EXPECT_EQ(wrong, 0);
}

// ---- parent background and the work bitmap -----------------------------------------------------------

namespace {

// Erases in red and paints a blue mark at (25, 15), both through the DC in wParam.
LRESULT CALLBACK ParentProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if ((msg == WM_ERASEBKGND || msg == WM_PAINT) && wParam != 0) {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        RECT client;
        GetClientRect(wnd, &client);
        if (msg == WM_ERASEBKGND) {
            const TBrushHandle red(CreateSolidBrush(RGB(255, 0, 0)));
            FillRect(dc, &client, red.Get());
            return 1;
        }
        SetPixel(dc, 25, 15, RGB(0, 0, 255));
        return 0;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

} // namespace

TEST(SkinDrawParent, PaintsTheParentUnderTheControlAndRestoresTheDc) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TwSkinParentProbe";
    ASSERT_NE(RegisterClassA(&wc), 0);
    const TWindowHandle parent(CreateWindowExA(0, wc.lpszClassName, "parent", WS_POPUP, 0, 0, 80, 60, nullptr,
                                               nullptr, wc.hInstance, nullptr));
    ASSERT_TRUE(parent);
    auto surface = Surface(10, 10, clWhite);
    const HDC dc = surface->Canvas()->Handle();

    PaintParentBackground(parent.Get(), Rect(20, 10, 30, 20), dc);
    const TRows letters = Letters(*surface);
    EXPECT_EQ(letters[5][5], 'B') << "the parent's (25, 15)";
    EXPECT_EQ(letters[0][0], 'R');
    EXPECT_EQ(letters[9][9], 'R');
    POINT origin{-1, -1};
    GetViewportOrgEx(dc, &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
    const TRegionHandle clip(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetClipRgn(dc, clip.Get()), 0) << "no clip region left behind";

    auto untouched = Surface(4, 4, clWhite);
    PaintParentBackground(nullptr, Rect(0, 0, 4, 4), untouched->Canvas()->Handle());
    EXPECT_EQ(Letters(*untouched), Rows(4, 4, 'W'));
    UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

TEST(SkinDrawParent, TheWorkBitmapIsSharedAndCopiesExactPixelsWhenStretching) {
    TBitmap* work = SkinWorkBitmap();
    ASSERT_NE(work, nullptr);
    EXPECT_EQ(SkinWorkBitmap(), work);
    work->SetSize(4, 4);
    (void)work->Handle(); // hands the picture out, which lets its canvas DC go
    EXPECT_EQ(GetStretchBltMode(SkinWorkBitmap()->Canvas()->Handle()), COLORONCOLOR);
}

TEST(SkinDrawNineGrid, HugeMarginsFromTheIniAreClampedToTheFrameWithoutOverflow) {
    constexpr int huge = 0x7FFFFFF0;
    const TRect frame = Rect(10, 0, 16, 6);
    auto same = [](const std::vector<TSkinGridPiece>& a, const std::vector<TSkinGridPiece>& b) {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (!EqualRect(&a[i].Source, &b[i].Source) || !EqualRect(&a[i].Dest, &b[i].Dest) ||
                a[i].Centre != b[i].Centre)
                return false;
        return true;
    };
    for (const auto& [width, height] : {std::pair{40, 30}, std::pair{8, 4}}) {
        const auto pieces = SkinGridPieces(frame, Rect(huge, huge, huge, huge), width, height);
        EXPECT_TRUE(same(pieces, SkinGridPieces(frame, Rect(6, 6, 6, 6), width, height)));
        for (const auto& piece : pieces) {
            EXPECT_GE(piece.Dest.left, 0);
            EXPECT_GE(piece.Dest.top, 0);
            EXPECT_LE(piece.Dest.right, width);
            EXPECT_LE(piece.Dest.bottom, height);
        }
        const auto oneSided = SkinGridPieces(frame, Rect(huge, 0, 2, 0), width, height);
        EXPECT_TRUE(same(oneSided, SkinGridPieces(frame, Rect(6, 0, 2, 0), width, height)));
    }
    // Drawn, they give what margins of the frame's size give.
    auto image = Picture(GridStrip(false));
    const auto clamped =
        Letters(*BuildSkinBitmap(Rect(0, 0, 20, 20), *image, Rect(9, 9, 9, 9), false, false, 2, 2));
    EXPECT_EQ(Letters(*BuildSkinBitmap(Rect(0, 0, 20, 20), *image, Rect(huge, huge, huge, huge), false, false,
                                       2, 2)),
              clamped);
    auto bar = Surface(20, 9, clWhite);
    EXPECT_NO_THROW(
        DrawSkinBar(*bar->Canvas(), Rect(0, 0, 20, 9), *image, false, false, 2, 2, Rect(huge, 0, huge, 0)));
}
