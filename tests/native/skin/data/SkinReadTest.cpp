#include "SkinRead.h"

#include "Lzh.h"
#include "SkinMessage.h"
#include "SkinTestData.h"

#include <gtest/gtest.h>

using namespace SkinTestData;

namespace {

// Records what the reader would show the user.
class SkinReadTest : public testing::Test {
protected:
    bool Load(const std::vector<std::uint8_t>& file) { return FReader.LoadPackage(file); }
    bool LoadPackageBytes(const std::vector<std::uint8_t>& package) { return Load(LzhEncode(package)); }

    std::vector<std::uint8_t> Extract(std::string_view name) const {
        std::vector<std::uint8_t> target{1, 2, 3}; // must be emptied first
        FReader.ExtractEntry(name, target);
        return target;
    }

    bool ToldDamaged() const {
        return FMessages.size() == 1 && FMessages[0].starts_with(TSkinReader::DamagedSkinMessage);
    }

    TSkinReader FReader;
    std::vector<std::string> FMessages;
    TSkinMessageSinkScope FSink{[this](const std::string& text) { FMessages.push_back(text); }};
};

void PutInt32(std::vector<std::uint8_t>& out, std::int32_t value) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i)));
}

// A package written field by field, for structures the package writer never produces.
std::vector<std::uint8_t> RawPackage(std::int32_t version, std::int32_t namesLength, std::string_view names,
                                     const std::vector<std::int32_t>& sizes, std::string_view data) {
    std::vector<std::uint8_t> out;
    PutInt32(out, version);
    PutInt32(out, namesLength);
    PutInt32(out, 0);
    PutInt32(out, 0);
    out.insert(out.end(), names.begin(), names.end());
    for (const std::int32_t size : sizes)
        PutInt32(out, size);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

} // namespace

TEST_F(SkinReadTest, ReadsBackAPackedSkin) {
    const std::vector<TSkinPackEntry> entries = {{"button.bmp", FakeBitmap("button", 3000)},
                                                 {"empty.bmp", {}},
                                                 {"title.bmp", BitmapLike(20000)},
                                                 {"skin.ini", TextLike(10133)}};
    ASSERT_TRUE(Load(SkinFile(entries, {20000, 4665989, 4665997})));
    EXPECT_TRUE(FMessages.empty());
    EXPECT_EQ(FReader.Version(), 20000);
    EXPECT_EQ(FReader.NamesLength(), 44);
    EXPECT_EQ(FReader.Reserved1(), 4665989);
    EXPECT_EQ(FReader.Reserved2(), 4665997);
    ASSERT_EQ(FReader.Count(), 4);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(FReader.Names()[i], entries[i].Name);
        EXPECT_EQ(FReader.Size(i), static_cast<std::int32_t>(entries[i].Data.size()));
        EXPECT_EQ(Extract(entries[i].Name), entries[i].Data) << entries[i].Name;
    }
}

TEST_F(SkinReadTest, FindsEntriesWhateverTheCaseButNotWithAFolder) {
    ASSERT_TRUE(
        LoadPackageBytes(BuildSkinPackage({{"PushButton.BMP", Bytes("push")}, {"skin.ini", Bytes("x")}})));
    EXPECT_EQ(FReader.Names()[0], "pushbutton.bmp") << "names are lower-cased when read";
    EXPECT_EQ(Extract("PushButton.bmp"), Bytes("push"));
    EXPECT_EQ(Extract("pushbutton.bmp"), Bytes("push"));
    EXPECT_TRUE(Extract("skin\\pushbutton.bmp").empty());
    EXPECT_TRUE(Extract("pushbutton").empty());
    EXPECT_TRUE(Extract("missing.bmp").empty());
}

TEST_F(SkinReadTest, DuplicateNamesAndEmptyLinesAreEntriesOfTheirOwn) {
    ASSERT_TRUE(LoadPackageBytes(BuildSkinPackage({{"a.bmp", Bytes("first")},
                                                   {"", Bytes("blank")},
                                                   {"a.bmp", Bytes("second")},
                                                   {"b.bmp", Bytes("b")}})));
    ASSERT_EQ(FReader.Count(), 4);
    EXPECT_EQ(Extract("A.bmp"), Bytes("first"));
    EXPECT_EQ(Extract(""), Bytes("blank"));
    EXPECT_EQ(Extract("b.bmp"), Bytes("b")) << "the offsets count the empty and the duplicate entry";
}

TEST_F(SkinReadTest, FirstMatchTakesTheFirstNameContainingTheText) {
    ASSERT_TRUE(LoadPackageBytes(BuildSkinPackage(
        {{"a.bmp", Bytes("a")}, {"old.ini.bmp", Bytes("bitmap")}, {"skin.ini", Bytes("[Personality]")}})));
    std::vector<std::uint8_t> target{9};
    std::string name = "unchanged";
    FReader.ExtractFirstMatch(".ini", target, name);
    EXPECT_EQ(name, "old.ini.bmp");
    EXPECT_EQ(target, Bytes("bitmap"));

    target = {9};
    name = "unchanged";
    FReader.ExtractFirstMatch(".INI", target, name);
    EXPECT_TRUE(target.empty()) << "the text is compared as given";
    EXPECT_EQ(name, "unchanged");
}

TEST_F(SkinReadTest, SplitsNamesAtCrLfCrOrLfAndStopsAtNul) {
    const std::string names("A.bmp\rb.bmp\nc.bmp\r\n\0junk\r\n", 26);
    ASSERT_TRUE(LoadPackageBytes(
        RawPackage(20000, static_cast<std::int32_t>(names.size()), names, {1, 2, 3}, "abbccc")));
    EXPECT_EQ(FReader.Names(), (std::vector<std::string>{"a.bmp", "b.bmp", "c.bmp"}));
    EXPECT_EQ(Extract("c.bmp"), Bytes("ccc"));
}

TEST_F(SkinReadTest, RejectsOtherVersionsWithTheOldSkinMessage) {
    EXPECT_FALSE(LoadPackageBytes(BuildSkinPackage({{"a.bmp", Bytes("a")}}, {19999})));
    EXPECT_EQ(FMessages, std::vector<std::string>{"This is Older Skin File\rPlease update to new version !"});
    EXPECT_EQ(FReader.Version(), 19999);
    EXPECT_TRUE(FReader.Names().empty());
    EXPECT_TRUE(Extract("a.bmp").empty());
}

TEST_F(SkinReadTest, TreatsEmptyAndTooShortFilesAsOldSkins) {
    for (const auto& file :
         {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{1, 2, 3},
          std::vector<std::uint8_t>{0, 0, 0, 0}, std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 1}}) {
        FMessages.clear();
        EXPECT_FALSE(Load(file));
        EXPECT_EQ(FMessages.size(), 1u);
        EXPECT_EQ(FMessages.at(0), TSkinReader::OldSkinMessage);
    }
}

TEST_F(SkinReadTest, AcceptsAtMost1001Entries) {
    std::vector<TSkinPackEntry> entries(1001, {"x.bmp", Bytes("x")});
    ASSERT_TRUE(LoadPackageBytes(BuildSkinPackage(entries)));
    EXPECT_EQ(FReader.Count(), 1001);

    entries.push_back({"y.bmp", Bytes("y")});
    EXPECT_FALSE(LoadPackageBytes(BuildSkinPackage(entries)));
    EXPECT_TRUE(ToldDamaged());
    EXPECT_EQ(FReader.Count(), 0);
    EXPECT_TRUE(FReader.Names().empty());
}

TEST_F(SkinReadTest, RejectsStructuresThatRunOutsideThePackage) {
    const std::string names = "a.bmp\r\nb.bmp\r\n";
    const auto L = static_cast<std::int32_t>(names.size());
    const struct {
        const char* What;
        std::vector<std::uint8_t> Package;
    } cases[] = {
        {"header cut short", {0x20, 0x4E, 0, 0, 5, 0}},
        {"negative names length", RawPackage(20000, -1, names, {1, 1}, "ab")},
        {"names past the end", RawPackage(20000, L + 100, names, {1, 1}, "ab")},
        {"sizes past the end", RawPackage(20000, L, names, {1}, "")},
        {"negative size", RawPackage(20000, L, names, {-1, 3}, "ab")},
        {"sizes past the data", RawPackage(20000, L, names, {1, 2}, "ab")},
        {"sizes that overflow", RawPackage(20000, L, names, {0x7FFFFFFF, 0x7FFFFFFF}, "ab")},
    };
    for (const auto& c : cases) {
        FMessages.clear();
        EXPECT_FALSE(LoadPackageBytes(c.Package)) << c.What;
        EXPECT_TRUE(ToldDamaged()) << c.What;
        EXPECT_TRUE(FReader.Names().empty()) << c.What;
    }
    EXPECT_TRUE(LoadPackageBytes(RawPackage(20000, L, names, {1, 1}, "ab!"))) << "spare data is harmless";
}

TEST_F(SkinReadTest, ALoadReplacesThePreviousPackage) {
    ASSERT_TRUE(LoadPackageBytes(BuildSkinPackage({{"a.bmp", Bytes("a")}})));
    EXPECT_FALSE(LoadPackageBytes(BuildSkinPackage({{"b.bmp", Bytes("b")}}, {1})));
    EXPECT_TRUE(Extract("a.bmp").empty());
    ASSERT_TRUE(LoadPackageBytes(BuildSkinPackage({{"b.bmp", Bytes("b")}})));
    EXPECT_EQ(FReader.Names(), std::vector<std::string>{"b.bmp"});
}

TEST_F(SkinReadTest, DecompressorErrorsPropagate) {
    std::vector<std::uint8_t> file = LzhEncode(BuildSkinPackage({{"a.bmp", Bytes("a")}}));
    file[3] = 0x7F; // a length no bitstream of this size can hold
    EXPECT_THROW(Load(file), ElzhException);
}

TEST(SkinReaderDecompress, KeepsExactlyTheDeclaredLength) {
    std::vector<std::uint8_t> data;
    while (data.size() < 200)
        data.insert(data.end(), {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'});
    auto file = LzhEncode(data);
    file[0] = 10; // the stream's second symbol is a 60-byte match that runs past 10 bytes
    EXPECT_EQ(TSkinReader::Decompress(file), std::vector<std::uint8_t>(data.begin(), data.begin() + 10));
    EXPECT_TRUE(TSkinReader::Decompress(std::vector<std::uint8_t>{5, 0, 0}).empty());
}

TEST(SkinMessageSink, ScopeRestoresThePreviousSink) {
    std::vector<std::string> outer;
    std::vector<std::string> inner;
    TSkinMessageSinkScope first([&](const std::string& text) { outer.push_back(text); });
    {
        TSkinMessageSinkScope second([&](const std::string& text) { inner.push_back(text); });
        ShowSkinMessage("one");
    }
    ShowSkinMessage("two");
    EXPECT_EQ(inner, std::vector<std::string>{"one"});
    EXPECT_EQ(outer, std::vector<std::string>{"two"});
}
