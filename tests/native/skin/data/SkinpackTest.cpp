#include "SkinpackCli.h"

#include "SkinFiles.h"
#include "SkinMessage.h"
#include "SkinPacker.h"
#include "SkinRead.h"
#include "SkinTestData.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace SkinTestData;

namespace {

const char* const SkinIni = "[Personality]\r\nTop=Top.bmp\r\nLeft=skins\\left.bmp\r\nmenuBar=menubar.BMP\r\n"
                            "[Buttons]\r\nBitmap=button.bmp\r\nCheckButton=missing.bmp\r\n";

class SkinpackTest : public testing::Test {
protected:
    int Run(std::vector<std::string> args) {
        FOut.str("");
        FErr.str("");
        return RunSkinpack(args, FOut, FErr);
    }

    std::string Path(std::string_view name) const { return PathText(FTemp / name); }

    void Write(std::string_view name, const std::vector<std::uint8_t>& bytes) const {
        WriteFileBytes(FTemp / name, bytes);
    }

    // A skin folder: three bitmaps (one with an upper-case name), the INI and a stray file.
    std::filesystem::path MakeSkinFolder() const {
        const auto folder = FTemp / "skin";
        std::filesystem::create_directories(folder);
        WriteFileBytes(folder / "Top.bmp", FakeBitmap("top", 500));
        WriteFileBytes(folder / "left.bmp", FakeBitmap("left", 70));
        WriteFileBytes(folder / "button.bmp", FakeBitmap("button", 900));
        WriteFileBytes(folder / "unused.bmp", FakeBitmap("unused", 20));
        WriteFileBytes(folder / "Skin.INI", Bytes(SkinIni));
        WriteFileBytes(folder / "notes.txt", Bytes("not part of the skin"));
        return folder;
    }

    TTempFolder FTemp;
    std::ostringstream FOut;
    std::ostringstream FErr;
    std::vector<std::string> FMessages;
    TSkinMessageSinkScope FSink{[this](const std::string& text) { FMessages.push_back(text); }};
};

} // namespace

TEST_F(SkinpackTest, PacksAFolderThatTheReaderReadsBack) {
    const auto folder = MakeSkinFolder();
    ASSERT_EQ(Run({"pack", PathText(folder), Path("out.skn")}), 0) << FErr.str();
    EXPECT_NE(FErr.str().find("notes.txt"), std::string::npos) << "left-out files are reported";
    EXPECT_NE(FErr.str().find("missing.bmp"), std::string::npos) << "bitmaps the INI lacks are reported";

    TSkinReader reader;
    ASSERT_TRUE(reader.LoadPackage(ReadFileBytes(FTemp / "out.skn")));
    EXPECT_EQ(reader.Names(),
              (std::vector<std::string>{"button.bmp", "left.bmp", "top.bmp", "unused.bmp", "skin.ini"}));
    std::vector<std::uint8_t> entry;
    reader.ExtractEntry("top.bmp", entry);
    EXPECT_EQ(entry, FakeBitmap("top", 500));
    reader.ExtractEntry("skin.ini", entry);
    EXPECT_EQ(entry, Bytes(SkinIni));
    EXPECT_EQ(reader.Size(1), 70);

    // The names text is each name followed by CR LF, the INI last.
    const auto package = TSkinReader::Decompress(ReadFileBytes(FTemp / "out.skn"));
    const std::string names(package.begin() + 16, package.begin() + 16 + reader.NamesLength());
    EXPECT_EQ(names, "button.bmp\r\nleft.bmp\r\ntop.bmp\r\nunused.bmp\r\nskin.ini\r\n");
    EXPECT_TRUE(FMessages.empty());
}

TEST_F(SkinpackTest, ListsExtractsAndDescribesASkin) {
    ASSERT_EQ(Run({"pack", PathText(MakeSkinFolder()), Path("out.skn")}), 0) << FErr.str();

    ASSERT_EQ(Run({"list", Path("out.skn")}), 0) << FErr.str();
    EXPECT_NE(FOut.str().find("500  top.bmp"), std::string::npos) << FOut.str();

    ASSERT_EQ(Run({"extract", Path("out.skn"), "BUTTON.BMP", Path("button.bmp")}), 0) << FErr.str();
    EXPECT_EQ(ReadFileBytes(FTemp / "button.bmp"), FakeBitmap("button", 900));

    ASSERT_EQ(Run({"info", Path("out.skn")}), 0) << FErr.str();
    const std::string info = FOut.str();
    EXPECT_NE(info.find("version 20000"), std::string::npos) << info;
    EXPECT_NE(info.find("2 sections: Personality, Buttons"), std::string::npos) << info;
    EXPECT_NE(info.find("the skin lacks: missing.bmp\n"), std::string::npos) << info;
    EXPECT_NE(info.find("INI does not name: unused.bmp\n"), std::string::npos) << info;
    EXPECT_NE(info.find("(extension not exactly .bmp): menubar.BMP"), std::string::npos) << info;
}

TEST_F(SkinpackTest, EncodesAndDecodesFiles) {
    const auto data = TextLike(30000);
    Write("in.txt", data);
    ASSERT_EQ(Run({"lzh-encode", Path("in.txt"), Path("in.lzh")}), 0) << FErr.str();
    EXPECT_EQ(ReadFileBytes(FTemp / "in.lzh"), LzhEncode(data));
    ASSERT_EQ(Run({"lzh-decode", Path("in.lzh"), Path("out.txt")}), 0) << FErr.str();
    EXPECT_EQ(ReadFileBytes(FTemp / "out.txt"), data);
    EXPECT_FALSE(std::filesystem::exists(FTemp / "out.txt.partial"));
}

TEST_F(SkinpackTest, ExplainsUsage) {
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_NE(FOut.str().find("lzh-encode IN OUT"), std::string::npos);
    EXPECT_EQ(Run({}), 2);
    EXPECT_EQ(Run({"compress", "a", "b"}), 2);
    EXPECT_NE(FErr.str().find("unknown command \"compress\""), std::string::npos);
    EXPECT_EQ(Run({"extract", "a.skn", "x.bmp"}), 2);
    EXPECT_NE(FErr.str().find("extract takes 3 arguments, got 2"), std::string::npos) << FErr.str();
}

TEST_F(SkinpackTest, FailsClearlyOnBadInput) {
    const auto folder = MakeSkinFolder();
    ASSERT_EQ(Run({"pack", PathText(folder), Path("out.skn")}), 0);
    Write("short.skn", {1, 0});
    Write("old.skn", SkinFile({{"a.bmp", FakeBitmap("a")}}, {19999}));
    Write("huge.lzh", {0xFF, 0xFF, 0xFF, 0x7F, 0});
    Write("negative.lzh", {0xFF, 0xFF, 0xFF, 0xFF});

    const struct {
        std::vector<std::string> Args;
        std::string Message;
    } cases[] = {
        {{"list", Path("nothing.skn")}, "cannot open"},
        {{"list", Path("short.skn")}, "shorter than its 4-byte length field"},
        {{"info", Path("old.skn")}, "rejected (version 19999): This is Older Skin File Please update"},
        {{"extract", Path("out.skn"), "absent.bmp", Path("x")}, "has no entry named absent.bmp"},
        {{"lzh-decode", Path("huge.lzh"), Path("x")}, "cannot be decompressed: LZH : Declared size"},
        {{"lzh-decode", Path("negative.lzh"), Path("x")}, "negative length"},
        {{"pack", Path("nothing"), Path("x")}, "is not a folder"},
        {{"lzh-encode", PathText(folder), Path("x")}, "it is a folder"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.Args), 1) << c.Args[0];
        EXPECT_NE(FErr.str().find(c.Message), std::string::npos) << FErr.str();
    }
    EXPECT_FALSE(std::filesystem::exists(FTemp / "x")) << "no output is left behind by a failure";
    EXPECT_TRUE(FMessages.empty()) << "the tool never pops up the program's message";
}

TEST_F(SkinpackTest, RefusesFoldersThatMakeNoSkin) {
    const auto folder = FTemp / "bad";
    std::filesystem::create_directories(folder);
    WriteFileBytes(folder / "a.bmp", FakeBitmap("a"));
    EXPECT_EQ(Run({"pack", PathText(folder), Path("x.skn")}), 1);
    EXPECT_NE(FErr.str().find("holds 0 INI files"), std::string::npos) << FErr.str();

    WriteFileBytes(folder / "one.ini", Bytes("[A]"));
    WriteFileBytes(folder / "two.ini", Bytes("[B]"));
    EXPECT_EQ(Run({"pack", PathText(folder), Path("x.skn")}), 1);
    EXPECT_NE(FErr.str().find("holds 2 INI files"), std::string::npos) << FErr.str();

    std::filesystem::remove(folder / "two.ini");
    WriteFileBytes(folder / "fake.bmp", Bytes("GIF89a"));
    EXPECT_EQ(Run({"pack", PathText(folder), Path("x.skn")}), 1);
    EXPECT_NE(FErr.str().find("fake.bmp is not a Windows bitmap file"), std::string::npos) << FErr.str();
    EXPECT_FALSE(std::filesystem::exists(FTemp / "x.skn"));
}

TEST(SkinCrossCheck, ComparesTheIniWithTheEntries) {
    const auto check =
        CrossCheckSkin("junk=a.bmp\n[S]\nImage=C:\\art\\Shown.bmp\nOther=dir/gone.bmp\nX=up.BMP\n"
                       "Y=up.BMP\nZ=notes.txt\nW=.bmp\n",
                       {"shown.bmp", "spare.bmp", "skin.ini", "a.bmp"});
    EXPECT_EQ(check.Missing, std::vector<std::string>{"gone.bmp"});
    EXPECT_EQ(check.Unused, (std::vector<std::string>{"spare.bmp", "a.bmp"}))
        << "keys before a header are never read";
    EXPECT_EQ(check.Ignored, std::vector<std::string>{"up.BMP"});
}
