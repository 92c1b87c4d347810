// The element records read from hand-made skins (one INI and a few bitmaps packed in the test)
// and from the program's own skin, and the images derived from them.
#include "ImgUtil.h"
#include "ImgUtilBitmap.h"
#include "LzhEncoder.h"
#include "SkinPacker.h"
#include "SkinRead.h"
#include "SkinTestImages.h"
#include "WinSkinDataElements.h"
#include "WinSkinIni.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace skintest;

namespace {

using TRows = std::vector<std::string>;

class TTestSkin {
public:
    explicit TTestSkin(std::string ini) : FIni(std::move(ini)) {}

    TTestSkin& Image(std::string name, std::vector<std::uint8_t> bytes) {
        FEntries.push_back({std::move(name), std::move(bytes)});
        return *this;
    }

    TSkinReader Reader() const {
        std::vector<TSkinPackEntry> entries = FEntries;
        entries.push_back({"skin.ini", std::vector<std::uint8_t>(FIni.begin(), FIni.end())});
        TSkinReader reader;
        EXPECT_TRUE(reader.LoadPackage(LzhEncode(BuildSkinPackage(entries))));
        return reader;
    }

    void ParseInto(TSkinElements& elements) const {
        TQuickIni ini;
        ini.LoadFromText(FIni);
        ParseSkin(elements, Reader(), ini);
    }

private:
    std::string FIni;
    std::vector<TSkinPackEntry> FEntries;
};

TColor PixelOf(TBitmap& bitmap, int x, int y) {
    return static_cast<TColor>(GetPixel(bitmap.Canvas()->Handle(), x, y));
}

bool SameMargins(const TDataSkinObject& record, LONG l, LONG t, LONG r, LONG b) {
    return record.LeftWidth == l && record.TopHeight == t && record.RightWidth == r &&
           record.BottomHeight == b;
}

} // namespace

// ---- images ------------------------------------------------------------------------------------------

TEST(SkinDataImages, OnlyLowerCaseBmpFileNamesAreLoadedAndTheirFolderIsIgnored) {
    const TTestSkin skin =
        TTestSkin("").Image("menuitem.bmp", BmpFile(6, 2, clRed)).Image("bad.bmp", {'B', 'M', 1, 2});
    const TSkinReader reader = skin.Reader();
    auto load = [&](std::string_view name) {
        TBitmap bitmap;
        bitmap.SetSize(3, 3); // a picture of an earlier load goes
        LoadSkinBitmap(reader, bitmap, name);
        return bitmap.Empty() ? std::string("empty")
                              : std::to_string(bitmap.Width()) + "x" + std::to_string(bitmap.Height());
    };
    EXPECT_EQ(load("menuitem.bmp"), "6x2");
    EXPECT_EQ(load("MenuItem.bmp"), "6x2") << "entry names compare without case";
    EXPECT_EQ(load("skins\\blue\\menuitem.bmp"), "6x2");
    EXPECT_EQ(load("c:menuitem.bmp"), "6x2");
    EXPECT_EQ(load("menuitem.BMP"), "empty") << "the extension must be \".bmp\" exactly";
    EXPECT_EQ(load("menuitem"), "empty");
    EXPECT_EQ(load("skins\\"), "empty");
    EXPECT_EQ(load("missing.bmp"), "empty");
    EXPECT_EQ(load("bad.bmp"), "empty") << "a damaged bitmap counts as missing";
}

TEST(SkinDataImages, AnUpperCaseExtensionLeavesTheElementPresentWithAnEmptyImage) {
    TSkinElements e;
    TTestSkin("[MenuItem]\nImage=menuitem.BMP\nLeftWidth=4\n")
        .Image("menuitem.bmp", BmpFile(10, 4, clRed))
        .ParseInto(e);
    ASSERT_TRUE(e.MenuItem);
    EXPECT_TRUE(e.MenuItem->Bitmap.Empty());
    EXPECT_EQ(e.MenuItem->LeftWidth, 4);
    EXPECT_EQ(e.MenuItem->Frame, 5);
}

// ---- generic readers and frame counts -------------------------------------------------------------------

TEST(SkinDataReaders, GenericSectionsTakeTheirKeysDefaultsAndFixedFrameCounts) {
    TSkinElements e;
    TTestSkin(
        "[Colours]\nButtonText=1 2 3\n"
        "[ToolBars]\nImage=t.bmp\nStyle=3\nLeftWidth=1\nTopHeight=2\nRightWidth=3\nBottomHeight=4\nFrame=9\n"
        "Trans=1\nTile=2\nNormalColour=2\nMouseOverColour2=10,20,30\n"
        "[Headerbar]\nImage=t.bmp\n[Scrollbar]\nImage=t.bmp\nFrame=4\n[Progress.Chunk]\nImage=t.bmp\nFrame="
        "7\n"
        "[HorzScrollThumb]\nImage=t.bmp\nFrameCount=2\n[VertScrollThumb]\nImage=t.bmp\n"
        "[Tab.Pane]\nImage=t.bmp\nLeftWidth=7\nTopHeight=2\nRightWidth=4\nBottomHeight=5\n")
        .Image("t.bmp", BmpFile(8, 8, clBlue))
        .ParseInto(e);
    ASSERT_TRUE(e.ToolBars);
    const TDataSkinObject& t = *e.ToolBars;
    EXPECT_EQ(t.Name, "ToolBars");
    EXPECT_EQ(t.Style, 3);
    EXPECT_TRUE(SameMargins(t, 1, 2, 3, 4));
    EXPECT_EQ(t.Trans, 1);
    EXPECT_EQ(t.Tile, 0) << "a Tile above 1 means stretch";
    EXPECT_EQ(t.Frame, 5) << "fixed whatever the key says";
    EXPECT_EQ(t.NormalColour, 2);
    EXPECT_EQ(t.PressedColour, -1);
    EXPECT_EQ(t.MouseOverColour2, RGBColor(10, 20, 30));
    EXPECT_EQ(t.NormalColour2, RGBColor(1, 2, 3)) << "missing text colours are the skin's button text";
    EXPECT_EQ(e.Headerbar->Frame, 5) << "no Frame key";
    EXPECT_EQ(e.Scrollbar->Frame, 23);
    EXPECT_EQ(e.ProgressChunk->Frame, 7) << "as read";
    EXPECT_EQ(e.HorzScrollThumb->Frame, 2);
    EXPECT_EQ(e.VertScrollThumb->Frame, 3);
    ASSERT_TRUE(e.TabPane);
    EXPECT_EQ(e.TabPane->Name, "Tab.Pane");
    EXPECT_TRUE(SameMargins(*e.TabPane, 4, 2, 4, 4)) << "tab pane margins are at most 4";
    EXPECT_FALSE(e.MenuItem) << "no section, no element";
    EXPECT_FALSE(e.Progress);

    TSkinElements headed;
    TTestSkin("[Headerbar]\nImage=t.bmp\nFrame=3\n").Image("t.bmp", BmpFile(8, 8, clBlue)).ParseInto(headed);
    EXPECT_EQ(headed.Headerbar->Frame, 3) << "a frame count the skin gives stays";
}

TEST(SkinDataReaders, BorderProgressAndGroupBoxVariants) {
    TSkinElements e;
    TTestSkin("[Tabs]\nImage=t.bmp\nBorder=pane.bmp\nFrame=2\nTile=3\n"
              "[UpDown.Vert]\nImage=t.bmp\nGlyphImage=glyph.bmp\n"
              "[Progress]\nBitmap=t.bmp\nStyle=1\nTile=4\nNormalColour=1\nNormalColour2=9 9 9\n"
              "[GroupBox]\nImage=t.bmp\nFrame=6\nBackgroundAlignment=2\nBackgroundLeftShift=-3\n")
        .Image("t.bmp", BmpFile(8, 8, clBlue))
        .Image("pane.bmp", BmpFile(4, 3, clRed))
        .Image("glyph.bmp", BmpFile(5, 2, clLime))
        .ParseInto(e);
    ASSERT_TRUE(e.Tabs && e.UpDownVert && e.Progress && e.GroupBox);
    EXPECT_EQ(e.Tabs->ExtraBitmap.Width(), 4);
    EXPECT_EQ(e.Tabs->Frame, 5);
    EXPECT_EQ(e.Tabs->Tile, 0);
    EXPECT_EQ(e.UpDownVert->ExtraBitmap.Width(), 5);
    EXPECT_EQ(e.UpDownVert->Frame, 8);
    EXPECT_FALSE(e.UpDownHorz);
    // Progress: its image under "Bitmap", no colours, a large Tile means tiled.
    EXPECT_EQ(e.Progress->Bitmap.Width(), 8);
    EXPECT_EQ(e.Progress->Tile, 1);
    EXPECT_EQ(e.Progress->Frame, 1) << "style 1: one frame";
    EXPECT_EQ(e.Progress->NormalColour, -1);
    EXPECT_EQ(e.Progress->NormalColour2, clBlack);
    EXPECT_EQ(e.GroupBox->Frame, 1);
    EXPECT_EQ(e.GroupBox->BackgroundAlignment, 2);
    EXPECT_EQ(e.GroupBox->BackgroundLeftShift, -3);
    EXPECT_EQ(e.GroupBox->BackgroundRightShift, 0);

    TSkinElements plain;
    TTestSkin("[Progress]\nBitmap=t.bmp\n").Image("t.bmp", BmpFile(8, 8, clBlue)).ParseInto(plain);
    EXPECT_EQ(plain.Progress->Frame, 2) << "style 0: track and filled part";
}

TEST(SkinDataReaders, FrameBordersTitleAndMenuBarComeFromPersonality) {
    TSkinElements e;
    TTestSkin("[Personality]\nLeft=l.bmp\nLeftTopHeight=30\nLeftBotHeight=8\nLeftFrame=2\nLeftStretch=0\n"
              "Top=t.bmp\nTopTopHeight=11\nTopBotHeight=12\nTopStretch=5\nTopTrans=0\n"
              "TextBack=t.bmp\nTextShift=32\nTextShiftVert=3\nTextRightClip=108\nTextAlignment=1\n"
              "ActiveTextR=300\nActiveTextG=0\nActiveTextB=255\nInActiveTextR=1\nInActiveTextG=2\n"
              "menuBar=t.bmp\nTileLeftMenu=4\n[Fonts]\nFontHeight=0x10\n")
        .Image("l.bmp", BmpFile(8, 46, clBlue))
        .Image("t.bmp", BmpFile(24, 60, clRed))
        .ParseInto(e);
    EXPECT_TRUE(SameMargins(*e.BorderLeft, 0, 30, 0, 8));
    EXPECT_EQ(e.BorderLeft->Frame, 2);
    EXPECT_EQ(e.BorderLeft->Tile, 0);
    EXPECT_EQ(e.BorderLeft->Trans, 1);
    EXPECT_TRUE(SameMargins(*e.BorderTop, 11, 0, 12, 0))
        << "along a horizontal border the keys give the ends";
    EXPECT_EQ(e.BorderTop->Tile, 1);
    EXPECT_EQ(e.BorderTop->Trans, 0);
    EXPECT_EQ(e.BorderTop->Frame, 1);
    EXPECT_TRUE(e.BorderRight->Bitmap.Empty());
    EXPECT_EQ(e.BorderRight->Tile, 1);

    const TDataSkinTitle& t = *e.Title;
    EXPECT_EQ(t.Bitmap.Width(), 24);
    EXPECT_TRUE(SameMargins(t, 32, 3, 108, 0));
    EXPECT_EQ(t.TextAlignment, 1);
    EXPECT_EQ(t.FontHeight, 16);
    EXPECT_EQ(t.Frame, 2);
    EXPECT_EQ(t.ActiveTextColor, RGBColor(300 & 0xFF, 0, 255)) << "components keep their low 8 bits";
    EXPECT_EQ(t.InactiveTextColor, clNone) << "blue missing: no colour";

    ASSERT_TRUE(e.MenuBar);
    EXPECT_TRUE(SameMargins(*e.MenuBar, 4, 0, 1, 0));
    EXPECT_EQ(e.MenuBar->Tile, 1);
    EXPECT_EQ(e.MenuBar->Frame, 2);

    TSkinElements bare;
    TTestSkin("").ParseInto(bare);
    EXPECT_EQ(bare.Title->FontHeight, 14);
    EXPECT_EQ(bare.Title->ActiveTextColor, clNone);
    EXPECT_FALSE(bare.MenuBar);
    EXPECT_EQ(bare.BorderTop->Frame, 1);
}

TEST(SkinDataReaders, PushButtonsCountCheckAndRadioFramesFromTheirImages) {
    TSkinElements e;
    TTestSkin("[Buttons]\nBitmap=b.bmp\nLeftWidth=5\nTile=7\nCheckButton=check.bmp\nRadioButton=radio.bmp\n"
              "NormalColour2=30 36 44\nPressedColour2=\n")
        .Image("b.bmp", BmpFile(160, 24, clSilver))
        .Image("check.bmp", BmpFile(96, 16, clWhite))
        .Image("radio.bmp", BmpFile(78, 13, clWhite))
        .ParseInto(e);
    const TDataSkinButton& b = *e.Buttons;
    EXPECT_EQ(b.Frame, 5);
    EXPECT_EQ(b.LeftWidth, 5);
    EXPECT_EQ(b.Tile, 0);
    EXPECT_EQ(b.CheckFrames, 6) << "96 wide, 16 high: 16-pixel frames";
    EXPECT_EQ(b.RadioFrames, 6) << "78 wide, 13 high: 13-pixel frames";
    EXPECT_EQ(b.HasNormalColour2, 1);
    EXPECT_EQ(b.HasMouseOverColour2, 0);
    EXPECT_EQ(b.HasPressedColour2, 0) << "an empty value is no colour";
    EXPECT_EQ(b.NormalColour2, RGBColor(30, 36, 44));

    TSkinElements small;
    TTestSkin("[Buttons]\nRadioButton=radio.bmp\nCheckButtonFrame=12\n")
        .Image("radio.bmp", BmpFile(26, 13, clWhite))
        .ParseInto(small);
    EXPECT_EQ(small.Buttons->RadioFrames, 4) << "at least 4";
    EXPECT_EQ(small.Buttons->CheckFrames, 12) << "given by the skin";
}

TEST(SkinDataReaders, AReloadFreesElementsTheNewSkinLacksButKeepsThePermanentRecords) {
    TSkinElements e;
    TTestSkin("[ToolBars]\nImage=t.bmp\n[Buttons]\nBitmap=t.bmp\n")
        .Image("t.bmp", BmpFile(8, 8, clBlue))
        .ParseInto(e);
    ASSERT_TRUE(e.ToolBars);
    const TDataSkinButton* buttons = e.Buttons.get();
    EXPECT_FALSE(e.Buttons->Bitmap.Empty());
    TTestSkin("[MenuItem]\nImage=t.bmp\n").Image("t.bmp", BmpFile(8, 8, clBlue)).ParseInto(e);
    EXPECT_FALSE(e.ToolBars);
    EXPECT_TRUE(e.MenuItem);
    EXPECT_EQ(e.Buttons.get(), buttons);
    EXPECT_TRUE(e.Buttons->Bitmap.Empty());
}

// ---- title buttons
// ------------------------------------------------------------------------------------------

TEST(SkinDataTitleButtons, ButtonSectionsInAnyCaseWithFramesFromTheImageRatio) {
    TSkinElements e;
    TTestSkin("[Buttons]\nBitmap=x.bmp\n[Button0]\nAction=0\nXcoord=38\nButtonImage=wide.bmp\n"
              "[Button]\nAction=1\n[Button.Radio]\n[BUTTON.CHECKBOX]\n[Personality]\n"
              "[BUTTON1]\nAction=1\nButtonImage=square.bmp\n"
              "[ButtonHidden]\nAction=-1\n"
              "[ButtonHelp]\nAction=-1\nVisibility=0\nButtonImage=square.bmp\n"
              "[ButtonSys]\nAction=3\nButtonImage=square.bmp\n"
              "[ButtonGiven]\nAction=3\nframe=2\nButtonImage=square.bmp\nCombineOp=1\n")
        .Image("wide.bmp", BmpFile(72, 12, clRed))
        .Image("square.bmp", BmpFile(36, 12, clLime))
        .ParseInto(e);
    std::vector<std::string> names;
    for (const auto& b : e.SysButtons)
        names.push_back(b->Name);
    EXPECT_EQ(names, (std::vector<std::string>{"BUTTON0", "BUTTON1", "BUTTONHELP", "BUTTONSYS", "BUTTONGIVEN",
                                               "BUTTONGIVEN", "BUTTONGIVEN", "BUTTONGIVEN"}));
    ASSERT_EQ(e.SysButtons.size(), 8u);
    const auto& b0 = *e.SysButtons[0];
    EXPECT_EQ(b0.Frame, 6) << "72 x 12: ratio 6";
    EXPECT_EQ(b0.Xcoord, 38);
    EXPECT_EQ(b0.CombineOp, -1);
    EXPECT_EQ(b0.Visibility1, 0);
    EXPECT_EQ(e.SysButtons[1]->Frame, 3) << "36 x 12: ratio 3";
    const auto& help = *e.SysButtons[2];
    EXPECT_EQ(help.Frame, 6) << "a negative action always has 6";
    EXPECT_EQ(help.Visibility1, -1);
    EXPECT_TRUE(e.SysButtons[3]->Bitmap.Empty()) << "the system-menu button draws the icon";
    EXPECT_EQ(e.SysButtons[3]->Frame, 3);
    const auto& given = *e.SysButtons[4];
    EXPECT_EQ(given.Frame, 2);
    EXPECT_FALSE(given.Bitmap.Empty()) << "with a frame count given, the image stays";
    EXPECT_EQ(given.CombineOp, 1);
}

TEST(SkinDataTitleButtons, ThreeMdiButtonsSplitTheMdiControlsStrip) {
    TSkinElements e;
    // 12 frames of 4 x 10: minimise red, restore green, close blue.
    TRows strip(10, std::string(16, 'R') + std::string(16, 'G') + std::string(16, 'B'));
    TTestSkin("[ButtonClose]\nAction=0\nframe=4\n[MDICONTROLS]\nImage=mdi.bmp\n")
        .Image("mdi.bmp", BmpFile(strip))
        .ParseInto(e);
    ASSERT_EQ(e.SysButtons.size(), 4u);
    const char letters[] = {'R', 'G', 'B'};
    for (int i = 0; i < 3; ++i) {
        TDataSkinSysButton& b = *e.SysButtons[static_cast<std::size_t>(1 + i)];
        SCOPED_TRACE(i);
        EXPECT_EQ(b.Name, "BUTTONCLOSE");
        EXPECT_EQ(b.Action, 7 + i);
        EXPECT_EQ(b.Align, 100);
        EXPECT_EQ(b.Visibility, 100);
        EXPECT_EQ(b.Visibility1, 100);
        EXPECT_EQ(b.Frame, 4);
        EXPECT_EQ(b.Xcoord, (4 + 4) * (3 - i));
        EXPECT_EQ(Letters(b.Bitmap), Rows(16, 10, letters[i]));
    }

    TSkinElements none;
    TTestSkin("[Personality]\nLeft=\n[Colours]\n").ParseInto(none);
    ASSERT_EQ(none.SysButtons.size(), 3u);
    EXPECT_EQ(none.SysButtons[0]->Name, "PERSONALITY") << "named after the last section looked at";
    EXPECT_TRUE(none.SysButtons[0]->Bitmap.Empty());
    EXPECT_EQ(none.SysButtons[2]->Xcoord, 0);
}

// ---- built-in track images
// ------------------------------------------------------------------------------------

TEST(SkinDataTrack, MissingTrackImagesComeFromTheProgramsResources) {
    TSkinElements e;
    TTestSkin("").ParseInto(e);
    ASSERT_TRUE(e.Track);
    ASSERT_TRUE(e.TrackVert);
    EXPECT_EQ(e.Track->Bitmap.Width(), 16);
    EXPECT_EQ(e.Track->Bitmap.Height(), 4);
    EXPECT_EQ(e.TrackVert->Bitmap.Width(), 4);
    EXPECT_EQ(e.TrackVert->Bitmap.Height(), 16);
    EXPECT_TRUE(SameMargins(*e.Track, 3, 3, 3, 3));
    EXPECT_EQ(e.Track->Frame, 1);
    EXPECT_EQ(e.Track->Tile, 0);
    // A groove: shadow on the top row, highlight on the bottom row.
    EXPECT_LT(GetRValue(PixelOf(e.Track->Bitmap, 8, 0)), GetRValue(PixelOf(e.Track->Bitmap, 8, 3)));

    TSkinElements own;
    TTestSkin("[Track]\nImage=t.bmp\nFrame=0\n").Image("t.bmp", BmpFile(30, 6, clRed)).ParseInto(own);
    EXPECT_EQ(own.Track->Bitmap.Width(), 30);
    EXPECT_EQ(own.Track->Frame, 0) << "as read";
    EXPECT_EQ(own.TrackVert->Bitmap.Height(), 16);
}

// ---- derived images
// -------------------------------------------------------------------------------------------

TEST(SkinDataDerived, SunkEdgeWithoutComboButtonIsLeftAloneAndTheArrowStaysEmpty) {
    TSkinElements e;
    TTestSkin("[SunkEdge]\nImage=s.bmp\nLeftWidth=3\nRightWidth=3\n")
        .Image("s.bmp", BmpFile(200, 21, clSilver))
        .ParseInto(e);
    ASSERT_TRUE(e.SunkEdge);
    EXPECT_EQ(e.SunkEdge->Bitmap.Width(), 200);
    EXPECT_TRUE(SameMargins(*e.SunkEdge, 3, 0, 3, 0));
    ASSERT_TRUE(e.ComboxArrow);
    EXPECT_TRUE(e.ComboxArrow->Bitmap.Empty());
    EXPECT_FALSE(e.ComboButton);
}

TEST(SkinDataDerived, ComboButtonWithoutSunkEdgeGivesAnArrowPaintedInTheFaceColour) {
    TSkinElements e;
    TTestSkin("[Colours]\nButtonFace=10 20 30\n[ComboButton]\nImage=c.bmp\n")
        .Image("c.bmp", BmpFile({"MRRG", "RMMB"}))
        .ParseInto(e);
    ASSERT_TRUE(e.ComboxArrow);
    EXPECT_EQ(e.ComboxArrow->Frame, 4);
    const TColor face = RGBColor(10, 20, 30);
    TBitmap& arrow = e.ComboxArrow->Bitmap;
    EXPECT_EQ(PixelOf(arrow, 0, 0), face);
    EXPECT_EQ(PixelOf(arrow, 1, 0), clRed);
    EXPECT_EQ(PixelOf(arrow, 1, 1), face);
    EXPECT_EQ(Letters(e.ComboButton->Bitmap), (TRows{"MRRG", "RMMB"})) << "the button keeps its key colour";
    // The mirrored copy for right-to-left fields.
    EXPECT_EQ(Letters(e.ComboButton->ExtraBitmap), (TRows{"GRRM", "BMMR"}));
}

TEST(SkinDataDerived, TheComboCompositeJoinsEditFrameButtonAndArrowPerState) {
    // Edit frame: 4 grey frames; button: 4 frames of 19 x 21 in R, G, B, Y; arrow glyphs 4 x 4 black.
    TRows button(21,
                 std::string(19, 'R') + std::string(19, 'G') + std::string(19, 'B') + std::string(19, 'Y'));
    TRows glyphs(4, std::string(20, 'K'));
    TSkinElements e;
    TTestSkin("[SunkEdge]\nImage=s.bmp\nTopHeight=2\nBottomHeight=3\n[ComboButton]\nImage=c.bmp\n"
              "[ExtraImages]\nImage=x.bmp\n")
        .Image("s.bmp", BmpFile(200, 21, clSilver))
        .Image("c.bmp", BmpFile(button))
        .Image("x.bmp", BmpFile(glyphs))
        .ParseInto(e);
    const int w = GetSystemMetrics(SM_CXHSCROLL) + 2;
    TDataSkinBorder& combo = *e.ComboButton;
    ASSERT_EQ(combo.Bitmap.Width(), 200);
    ASSERT_EQ(combo.Bitmap.Height(), 21);
    EXPECT_EQ(combo.Style, 2);
    EXPECT_TRUE(SameMargins(combo, 2, 2, w + 2, 3));
    EXPECT_EQ(combo.Frame, 4);
    const TRows composite = Letters(combo.Bitmap);
    const char buttonLetters[] = {'R', 'G', 'B', 'Y'};
    for (int f = 0; f < 4; ++f) {
        SCOPED_TRACE(f);
        const int x = 50 * f;
        EXPECT_EQ(composite[0][static_cast<std::size_t>(x + 1)], 'S') << "edit frame";
        EXPECT_EQ(composite[10][static_cast<std::size_t>(x + 2)], 'M') << "text area left transparent";
        EXPECT_EQ(composite[17][static_cast<std::size_t>(x + 48 - w)], 'M');
        EXPECT_EQ(composite[18][static_cast<std::size_t>(x + 10)], 'S');
        EXPECT_EQ(composite[10][static_cast<std::size_t>(x + 49 - w)], 'S');
        EXPECT_EQ(composite[1][static_cast<std::size_t>(x + 50 - w)], buttonLetters[f]) << "button part";
        EXPECT_EQ(composite[20][static_cast<std::size_t>(x + 49)], buttonLetters[f]);
        // The glyph centred in the button part.
        const int gx = x + 50 - w + (w - 4) / 2;
        EXPECT_EQ(composite[8][static_cast<std::size_t>(gx)], 'K');
        EXPECT_EQ(composite[11][static_cast<std::size_t>(gx + 3)], 'K');
        EXPECT_EQ(composite[7][static_cast<std::size_t>(gx)], buttonLetters[f]);
    }
    // The edit frame takes the mirror image, button on the left.
    const TRows mirrored = Letters(e.SunkEdge->Bitmap);
    for (std::size_t y = 0; y < mirrored.size(); ++y)
        EXPECT_EQ(mirrored[y], std::string(composite[y].rbegin(), composite[y].rend()));
    EXPECT_TRUE(SameMargins(*e.SunkEdge, w + 2, 2, 2, 3));
    // The arrow: 17 x 17 squares from the right end of each cell.
    ASSERT_EQ(e.ComboxArrow->Frame, 4);
    const TRows arrow = Letters(e.ComboxArrow->Bitmap);
    ASSERT_EQ(arrow.size(), 17u);
    for (int i = 0; i < 4; ++i)
        for (std::size_t y = 0; y < 17; ++y)
            EXPECT_EQ(arrow[y].substr(static_cast<std::size_t>(17 * i), 17),
                      composite[y + 2].substr(static_cast<std::size_t>(50 * (i + 1) - 19), 17));
}

TEST(SkinDataDerived, FrameColourAndToolbarGradientFollowTheTopBorderOrTheFace) {
    auto gradientEnds = [](TSkinElements& e) {
        return std::pair{PixelOf(e.Toolbar->Bitmap, 5, 0), PixelOf(e.Toolbar->Bitmap, 5, 39)};
    };
    // Each channel of the last line may lie one above a falling end value.
    auto within1 = [](TColor a, TColor b) {
        return std::abs(RedOf(a) - RedOf(b)) <= 1 && std::abs(GreenOf(a) - GreenOf(b)) <= 1 &&
               std::abs(BlueOf(a) - BlueOf(b)) <= 1;
    };

    TSkinElements grey;
    TTestSkin("[Colours]\nButtonFace=200 200 190\n").ParseInto(grey);
    const TColor face = RGBColor(200, 200, 190);
    EXPECT_EQ(grey.FrameColor, face) << "no top border image";
    ASSERT_TRUE(grey.Toolbar);
    EXPECT_EQ(grey.Toolbar->Frame, 1);
    EXPECT_EQ(grey.Toolbar->Bitmap.Width(), 10);
    EXPECT_EQ(grey.Toolbar->Bitmap.Height(), 40);
    const auto [top, bottom] = gradientEnds(grey);
    EXPECT_EQ(top, BlendColor(face, clWhite, 150));
    EXPECT_TRUE(within1(bottom, BlendColor(clGray, face, 150)));

    TSkinElements saturated;
    TTestSkin("[Colours]\nButtonFace=200 40 40\n").ParseInto(saturated);
    const TColor red = RGBColor(200, 40, 40); // saturation 204
    EXPECT_TRUE(
        within1(gradientEnds(saturated).second, BlendColor(red, clWhite, (225 - 204) * 25 / 140 + 50)));

    // Frame colour: a third of the way into the first of the top border's stacked frames.
    TRows border = Rows(24, 60, 'S');
    border[10][8] = 'O';
    TSkinElements framed;
    TTestSkin("[Personality]\nTop=top.bmp\nTopFrame=2\n").Image("top.bmp", BmpFile(border)).ParseInto(framed);
    EXPECT_EQ(framed.FrameColor, ColorOf('O'));
    ASSERT_TRUE(framed.ButtonFaceBrush);
    LOGBRUSH brush{};
    GetObjectW(framed.ButtonFaceBrush.Get(), sizeof brush, &brush);
    EXPECT_EQ(brush.lbColor, GetSysColor(COLOR_BTNFACE)) << "no ButtonFace key: the system's";
}

// ---- the program's own skin
// ------------------------------------------------------------------------------------------

TEST(SkinDataDefaultSkin, EveryElementOfTheShippedSkinIsRead) {
    std::string folder = TW_SKIN_DIR;
    if (folder.starts_with("/"))
        folder = "Z:" + folder; // the build machine's root as Wine shows it
    const TPackedSkin packed = PackSkinFolder(std::filesystem::path(folder));
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadPackage(packed.File));
    std::vector<std::uint8_t> iniBytes;
    std::string iniName;
    reader.ExtractFirstMatch(".ini", iniBytes, iniName);
    TQuickIni ini;
    ini.LoadFromStream(iniBytes);
    TSkinElements e;
    ParseSkin(e, reader, ini);

    for (const TBitmap* image : {&e.Progress->Bitmap,
                                 &e.ProgressChunk->Bitmap,
                                 &e.MenuBar->Bitmap,
                                 &e.GroupBoxEdge->Bitmap,
                                 &e.GroupBox->Bitmap,
                                 &e.Tabs->Bitmap,
                                 &e.StatusBarEdges->Bitmap,
                                 &e.TabPane->Bitmap,
                                 &e.ToolBars->Bitmap,
                                 &e.ComboButton->Bitmap,
                                 &e.SunkEdge->Bitmap,
                                 &e.ExtraImages->Bitmap,
                                 &e.Headerbar->Bitmap,
                                 &e.MenuItem->Bitmap,
                                 &e.MenuBackground->Bitmap,
                                 &e.Scrollbar->Bitmap,
                                 &e.HorzScroll->Bitmap,
                                 &e.VertScroll->Bitmap,
                                 &e.HorzScrollThumb->Bitmap,
                                 &e.VertScrollThumb->Bitmap,
                                 &e.TrackbarThumbHorz->Bitmap,
                                 &e.TrackbarThumbDown->Bitmap,
                                 &e.UpDownHorz->Bitmap,
                                 &e.UpDownVert->Bitmap,
                                 &e.Track->Bitmap,
                                 &e.TrackVert->Bitmap,
                                 &e.Buttons->Bitmap,
                                 &e.Title->Bitmap,
                                 &e.BorderTop->Bitmap,
                                 &e.BorderBottom->Bitmap,
                                 &e.ComboxArrow->Bitmap})
        EXPECT_FALSE(image->Empty());
    EXPECT_EQ(e.Colors.ButtonFace, RGBColor(244, 246, 249));
    EXPECT_EQ(e.Colours.size(), 3u);
    EXPECT_EQ(e.SysButtons.size(), 5u + 3u);
    EXPECT_EQ(e.SysButtons[0]->Name, "BUTTONCLOSE");
    EXPECT_EQ(e.SysButtons[5]->Bitmap.Width(), 64) << "a third of the 192-pixel MDI strip";
    EXPECT_EQ(e.Buttons->CheckFrames, 12);
    EXPECT_EQ(e.Track->Bitmap.Width(), 16);
    EXPECT_EQ(e.ComboButton->Bitmap.Width(), 200);
    EXPECT_EQ(e.ComboxArrow->Bitmap.Width(), 68);
    EXPECT_EQ(e.BorderLeft->Frame, 2);
    EXPECT_TRUE(SameMargins(*e.BorderTop, 8, 0, 8, 0));
}

// ---- colour routines on skin bitmaps of any depth -------------------------------------------

TEST(SkinDataColourRoutines, PaletteAndSixteenBitImagesAreBroughtTo24BitsNotRefused) {
    const TRows rows = {"MRM", "RMK"};
    for (const TPixelFormat format : {pf4bit, pf8bit, pf16bit}) {
        auto image = Picture(rows, format);
        ASSERT_NE(image->BitsPerPixel(), 24);
        ASSERT_EQ(Letters(*image), rows) << "the test picture survives the depth";
        EXPECT_NO_THROW(ReplaceMagenta(*image, ColorOf('G')));
        EXPECT_EQ(image->BitsPerPixel(), 24);
        EXPECT_EQ(Letters(*image), (TRows{"GRG", "RGK"}));

        auto grey = Picture({"WK", "KW"}, format);
        EXPECT_NO_THROW(GrayscaleBitmap(*grey));
        EXPECT_EQ(grey->BitsPerPixel(), 24);
        EXPECT_EQ(Letters(*grey), (TRows{"WK", "KW"}));
        auto red = Picture({"R"}, format);
        GrayscaleBitmap(*red);
        const std::uint8_t* pixel = red->PixelView().Row(0);
        EXPECT_EQ(pixel[0], 85);
        EXPECT_EQ(pixel[1], 85);
        EXPECT_EQ(pixel[2], 85);
    }
    // An empty bitmap is left alone.
    TBitmap empty;
    EXPECT_NO_THROW(ReplaceMagenta(empty, clRed));
    EXPECT_NO_THROW(GrayscaleBitmap(empty));
    EXPECT_TRUE(empty.Empty());
}
