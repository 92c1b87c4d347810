#include "WinSkinIni.h"

#include <gtest/gtest.h>

namespace {

TQuickIni Ini(std::string_view text) {
    TQuickIni ini;
    ini.LoadFromText(text);
    return ini;
}

std::vector<std::string> Sections(const TQuickIni& ini) {
    std::vector<std::string> list{"stale"};
    ini.ReadSections(list);
    return list;
}

} // namespace

TEST(QuickIni, KeepsTrimmedLinesAndDropsBlanksAndComments) {
    const auto ini = Ini(" \t[Personality] \r\n\r\n; comment\r\n  ;indented comment\n\x01 Top=top.bmp\x02\r"
                         "junk without equals\n[open\0after the end");
    EXPECT_EQ(ini.Lines(),
              (std::vector<std::string>{"[Personality]", "Top=top.bmp", "junk without equals", "[open"}));
}

TEST(QuickIni, SplitsLinesAtCrLfCrAndLf) {
    const auto ini = Ini("[A]\ra=1\nb=2\r\nc=3\n\rd=4");
    EXPECT_EQ(ini.ReadString("A", "a", ""), "1");
    EXPECT_EQ(ini.ReadString("A", "b", ""), "2");
    EXPECT_EQ(ini.ReadString("A", "c", ""), "3");
    EXPECT_EQ(ini.ReadString("A", "d", ""), "4");
}

TEST(QuickIni, FindsSectionsIgnoringCase) {
    const auto ini = Ini("x=1\n[Personality]\na=1\n[MENUBAR]\n[ Spaced ]\n[Personality]\n");
    EXPECT_EQ(ini.FindSection("personality"), 1);
    EXPECT_EQ(ini.FindSection("menuBar"), 3);
    EXPECT_EQ(ini.FindSection("Spaced"), -1) << "blanks inside the brackets stay part of the header";
    EXPECT_EQ(ini.FindSection(" Spaced "), 4);
    EXPECT_EQ(ini.FindSection("Missing"), -1);
    EXPECT_EQ(Sections(ini), (std::vector<std::string>{"Personality", "MENUBAR", "Spaced", "Personality"}));
}

TEST(QuickIni, MatchesKeysIgnoringCaseAndTrimsAroundTheEquals) {
    const auto ini =
        Ini("[Buttons]\nleftWidth=1\n  Image  =  a = b.bmp  \nColour=149 202 4 ; not a comment\n");
    EXPECT_EQ(ini.ReadString("buttons", "LeftWidth", "?"), "1");
    EXPECT_EQ(ini.ReadString("Buttons", "IMAGE", "?"), "a = b.bmp");
    EXPECT_EQ(ini.ReadString("Buttons", "Colour", "?"), "149 202 4 ; not a comment");
    EXPECT_EQ(ini.ReadString("Buttons", "Missing", "?"), "?");
    EXPECT_EQ(ini.ReadString("Other", "LeftWidth", "?"), "?");
}

TEST(QuickIni, StopsAtTheFirstMatchingKeyAndTheNextHeader) {
    const auto ini =
        Ini("Before=0\n[A]\nEmpty=\nKey=first\nKey=second\n;Hidden=1\n[B]\nLater=1\n[A]\nOnlyInSecond=1\n");
    EXPECT_EQ(ini.ReadString("A", "Key", "?"), "first");
    EXPECT_EQ(ini.ReadString("A", "Empty", "default"), "default");
    EXPECT_EQ(ini.ReadString("A", "Hidden", "?"), "?");
    EXPECT_EQ(ini.ReadString("A", "Later", "?"), "?");
    EXPECT_EQ(ini.ReadString("A", "OnlyInSecond", "?"), "?") << "only the first of two equal sections counts";
    EXPECT_EQ(ini.ReadString("", "Before", "?"), "?") << "lines before the first header are never found";
}

TEST(QuickIni, ReadsIntegers) {
    const auto ini =
        Ini("[N]\nAction=-1\nPlus=+12\nHex=0x1F\nHEX=$ff\nUpper=0XFF00FF\nAll=$FFFFFFFF\nNegHex=-$10\n"
            "Triple=149 202 4\nBare=0x\nDollar=$\nSign=-\nText=12a\nMin=-2147483648\n"
            "Over=2147483648\nHexOver=$100000000\nLeading=007\nSignedHex=-0x10\n");
    EXPECT_EQ(ini.ReadInteger("N", "Action", 5), -1);
    EXPECT_EQ(ini.ReadInteger("N", "Plus", 5), 12);
    EXPECT_EQ(ini.ReadInteger("N", "Hex", 5), 31);
    EXPECT_EQ(ini.ReadInteger("N", "hex", 5), 31) << "keys ignore case: the first of Hex/HEX answers";
    EXPECT_EQ(ini.ReadInteger("N", "Upper", 5), 0xFF00FF);
    EXPECT_EQ(ini.ReadInteger("N", "All", 5), -1);
    EXPECT_EQ(ini.ReadInteger("N", "NegHex", 5), -16);
    EXPECT_EQ(ini.ReadInteger("N", "Min", 5), INT32_MIN);
    EXPECT_EQ(ini.ReadInteger("N", "Leading", 5), 7);
    for (const char* invalid :
         {"Triple", "Bare", "Dollar", "Sign", "Text", "Over", "HexOver", "SignedHex", "None"})
        EXPECT_EQ(ini.ReadInteger("N", invalid, 5), 5) << invalid;
}

TEST(QuickIni, ASecondLoadReplacesEverything) {
    TQuickIni ini;
    ini.LoadFromText("[A]\nk=1\n");
    const std::string text = "[B]\nk=2\n";
    ini.LoadFromStream(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    EXPECT_EQ(ini.FindSection("A"), -1);
    EXPECT_EQ(ini.ReadInteger("B", "k", 0), 2);
    EXPECT_EQ(Sections(ini), std::vector<std::string>{"B"});
    ini.LoadFromText("");
    EXPECT_TRUE(Sections(ini).empty());
    EXPECT_EQ(ini.ReadString("B", "k", "gone"), "gone");
}
