// Skin colour texts, the colour table with its system-colour defaults and the custom colour list.
#include "WinSkinDataColor.h"
#include "WinSkinIni.h"

#include <gtest/gtest.h>

namespace {

TQuickIni Ini(std::string_view text) {
    TQuickIni ini;
    ini.LoadFromText(text);
    return ini;
}

} // namespace

TEST(SkinColor, ParsesThreeNumbersSeparatedByAnyNonDigits) {
    EXPECT_EQ(ParseSkinColor("102 102 102", clRed), RGBColor(102, 102, 102));
    EXPECT_EQ(ParseSkinColor("102,102,102", clRed), ParseSkinColor("102 102 102", clRed));
    EXPECT_EQ(ParseSkinColor("  1;2/3  ", clRed), RGBColor(1, 2, 3)) << "trimmed first";
    EXPECT_EQ(ParseSkinColor("R=245 G=240 B=230", clRed), RGBColor(245, 240, 230));
    EXPECT_EQ(ParseSkinColor("1,2,3,", clRed), RGBColor(1, 2, 3)) << "a run ended by a separator";
    EXPECT_EQ(ParseSkinColor("1 2 3 4 5", clRed), RGBColor(1, 2, 3)) << "numbers after the third are ignored";
}

TEST(SkinColor, ANumberOpenAtTheEndCountsOnlyAsBlueAfterTwoOthers) {
    EXPECT_EQ(ParseSkinColor("7", clRed), clBlack);
    EXPECT_EQ(ParseSkinColor("1 2", clRed), RGBColor(1, 0, 0));
    EXPECT_EQ(ParseSkinColor("1 2 ", clRed), RGBColor(1, 0, 0)) << "the trailing blank is trimmed away";
    EXPECT_EQ(ParseSkinColor("1 2,", clRed), RGBColor(1, 2, 0));
    EXPECT_EQ(ParseSkinColor("no digits", clRed), clBlack)
        << "text without numbers is black, not the default";
}

TEST(SkinColor, EmptyTextGivesTheDefaultAndNumbersKeepTheirLow8Bits) {
    EXPECT_EQ(ParseSkinColor("", clBtnFace), clBtnFace);
    EXPECT_EQ(ParseSkinColor("256 511 300", clRed), RGBColor(0, 255, 44));
    // Far beyond 32 bits: still only the low 8 bits, no overflow.
    EXPECT_EQ(ParseSkinColor("99999999999999999999999 4294967297 0", clRed), RGBColor(255, 1, 0));
}

TEST(SkinColor, TheTableFallsBackToSystemColoursAndMenuBarFollowsButtonFace) {
    const TSkinColorTable defaults = ReadSkinColorTable(Ini("[Other]\nButtonFace=1 2 3\n"));
    EXPECT_EQ(defaults.WindowText, SystemColor(8));
    EXPECT_EQ(defaults.ButtonFace, SystemColor(15));
    EXPECT_EQ(defaults.Scrollbar, SystemColor(0));
    EXPECT_EQ(defaults.MenuBar, SystemColor(15));
    EXPECT_EQ(defaults.ButtonLight, SystemColor(20)) << "the button highlight, not the 3-D light";
    EXPECT_EQ(defaults.ButtonDkShadow, SystemColor(21));
    EXPECT_EQ(defaults.TitleTextNoActive, SystemColor(19));

    const TSkinColorTable given = ReadSkinColorTable(
        Ini("[colours]\nbuttonface=244 246 249\nMenuText=30,36,44\nMenu=\nTitleTextActive=7\n"));
    EXPECT_EQ(given.ButtonFace, RGBColor(244, 246, 249));
    EXPECT_EQ(given.MenuBar, RGBColor(244, 246, 249)) << "no Menubar key: the button face just read";
    EXPECT_EQ(given.MenuText, RGBColor(30, 36, 44));
    EXPECT_EQ(given.Menu, SystemColor(4)) << "an empty value is a missing one";
    EXPECT_EQ(given.TitleTextActive, clBlack);
    EXPECT_EQ(ReadSkinColorTable(Ini("[Colours]\nButtonFace=1 1 1\nMenubar=2 2 2\n")).MenuBar,
              RGBColor(2, 2, 2));
}

TEST(SkinColor, CustomColoursComeFromColourSectionsInTextOrder) {
    const auto ini =
        Ini("[Colour2]\ncolor=2 0 0\n[Colours]\ncolor=9 9 9\n[Buttons]\n[colourHot]\nColor=0 3 0\n"
            "[COLOUR0]\n[MyColour]\ncolor=5 5 5\n[COLOURS]\n");
    EXPECT_EQ(ReadSkinColours(ini),
              (std::vector<TColor>{RGBColor(2, 0, 0), RGBColor(0, 3, 0), SystemColor(8)}));
    EXPECT_TRUE(ReadSkinColours(Ini("[Colours]\ncolor=1 1 1\n")).empty());
}
