// Damaged copies of the program's skin go through LoadSkinFromStream: each one either loads or
// is refused with exactly one message, and none crashes, hangs or leaks a GDI or USER object.
#include "SkinDataTestSupport.h"

#include "HandleCounter.h"
#include "LzhEncoder.h"
#include "SkinRead.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace skindatatest;

namespace {

struct TVariant {
    std::string Name;
    std::vector<std::uint8_t> File;
};

void PutInt32(std::vector<std::uint8_t>& bytes, std::size_t at, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bits >> (8 * i));
}

std::int32_t GetInt32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(bytes[at + static_cast<std::size_t>(i)]) << (8 * i);
    return static_cast<std::int32_t>(value);
}

// Truncations, flipped bits in the skin file and in the package inside it (so the damage
// reaches the bitmaps and the INI), and declared sizes that do not match the data.
std::vector<TVariant> Corpus() {
    const std::vector<std::uint8_t> file = StoredSkinFile();
    const std::vector<std::uint8_t> package = TSkinReader::Decompress(file);
    std::vector<TVariant> corpus;
    std::mt19937 random(20000);

    for (std::size_t length : {0, 1, 3, 4, 5, 8, 16, 64})
        corpus.push_back({"cut to " + std::to_string(length), {file.begin(), file.begin() + length}});
    for (int i = 1; i <= 52; ++i) {
        const std::size_t length = file.size() * static_cast<std::size_t>(i) / 53;
        corpus.push_back({"cut to " + std::to_string(length), {file.begin(), file.begin() + length}});
    }
    for (int i = 0; i < 80; ++i) {
        std::vector<std::uint8_t> flipped = file;
        const std::size_t at = i < 32 ? static_cast<std::size_t>(i / 8) : random() % file.size();
        flipped[at] ^= static_cast<std::uint8_t>(1u << (i < 32 ? i % 8 : random() % 8));
        corpus.push_back({"file bit flip at " + std::to_string(at), flipped});
    }
    for (int i = 0; i < 60; ++i) {
        std::vector<std::uint8_t> flipped = package;
        for (int n = 0; n < 1 + i % 4; ++n)
            flipped[random() % flipped.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
        corpus.push_back({"package bit flips " + std::to_string(i), LzhEncode(flipped)});
    }

    const std::int32_t namesLength = GetInt32(package, 4);
    const std::size_t sizesAt = 16 + static_cast<std::size_t>(namesLength);
    for (std::int32_t declared : {0, -1, 100, static_cast<std::int32_t>(package.size()) - 1,
                                  static_cast<std::int32_t>(package.size()) * 2, 0x7FFFFFFF}) {
        std::vector<std::uint8_t> wrong = file;
        PutInt32(wrong, 0, declared);
        corpus.push_back({"declared length " + std::to_string(declared), wrong});
    }
    for (std::int32_t names : {-5, namesLength + 1, namesLength - 3, 0x7FFFFFF0}) {
        std::vector<std::uint8_t> wrong = package;
        PutInt32(wrong, 4, names);
        corpus.push_back({"names length " + std::to_string(names), LzhEncode(wrong)});
    }
    for (std::int32_t size : {-1, 0, 0x7FFFFFFF, 1 << 20, 3}) {
        for (std::size_t entry : {std::size_t{0}, std::size_t{20}, std::size_t{46}}) {
            std::vector<std::uint8_t> wrong = package;
            PutInt32(wrong, sizesAt + 4 * entry, size);
            corpus.push_back(
                {"entry " + std::to_string(entry) + " size " + std::to_string(size), LzhEncode(wrong)});
        }
    }
    {
        std::vector<std::uint8_t> wrong = package;
        PutInt32(wrong, 0, 19999);
        corpus.push_back({"old version", LzhEncode(wrong)});
    }
    return corpus;
}

// True when the variant loaded; a refused one must have told the user exactly once.
bool LoadVariant(const TVariant& variant) {
    TMessageLog log;
    TSkinData skin(nullptr);
    skin.SkinFileStream().WriteBuffer(variant.File.data(), static_cast<int64_t>(variant.File.size()));
    const bool loaded = skin.LoadSkinFromStream();
    EXPECT_EQ(skin.SkinLoading(), !loaded) << variant.Name;
    EXPECT_EQ(log.Messages().size(), loaded ? 0u : 1u) << variant.Name;
    return loaded;
}

} // namespace

TEST(SkinDataCorrupt, DamagedSkinsLoadOrAreRefusedOnceWithoutLeaks) {
    ASSERT_TRUE(THandleCounter::Install());
    const std::vector<TVariant> corpus = Corpus();
    ASSERT_GE(corpus.size(), 200u);
    LoadVariant({"intact", StoredSkinFile()}); // first use: the toolkit's one-time objects
    const THandleCounts before = THandleCounter::Current();
    int loaded = 0;
    for (const TVariant& variant : corpus) {
        loaded += LoadVariant(variant) ? 1 : 0;
        if (::testing::Test::HasFailure())
            break;
    }
    const THandleCounts after = THandleCounter::Current();
    EXPECT_EQ(after, before) << "before " << before.ToString() << "\nafter  " << after.ToString();
    RecordProperty("loaded", loaded);
    RecordProperty("refused", static_cast<int>(corpus.size()) - loaded);
    // The corpus is only worth its size if damage also gets past the decoder and the reader.
    EXPECT_GT(loaded, 40) << "damaged bitmaps and INI text still load";
    EXPECT_GT(static_cast<int>(corpus.size()) - loaded, 60);
}
