// TIcon: icons made elsewhere saved as icon files and read back, the image chosen by size,
// and damaged files refused.
#include "GdiCounter.h"
#include "GraphicsTestSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace gfxtest;

namespace {

// A size x size icon: a red square from size/4 to 3*size/4, transparent around it.
HICON SquareIcon(int size) {
    auto colour = Filled(size, size, clBlack);
    colour->Canvas()->Brush()->SetColor(clRed);
    colour->Canvas()->FillRect(Rect(size / 4, size / 4, 3 * size / 4, 3 * size / 4));
    auto mask = Filled(size, size, clWhite);
    mask->Canvas()->Brush()->SetColor(clBlack);
    mask->Canvas()->FillRect(Rect(size / 4, size / 4, 3 * size / 4, 3 * size / 4));
    mask->SetPixelFormat(pf1bit);
    ICONINFO info{TRUE, 0, 0, mask->Handle(), colour->Handle()};
    return CreateIconIndirect(&info);
}

std::vector<std::uint8_t> Saved(TIcon& icon) {
    TMemoryStream stream;
    icon.SaveToStream(stream);
    return stream.Bytes();
}

void Load(TIcon& icon, const std::vector<std::uint8_t>& bytes) {
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    icon.LoadFromStream(stream);
}

// One icon file holding the single images of two others.
std::vector<std::uint8_t> Combined(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    std::vector<std::uint8_t> file = {0, 0, 1, 0, 2, 0};
    file.insert(file.end(), a.begin() + 6, a.begin() + 22);
    file.insert(file.end(), b.begin() + 6, b.begin() + 22);
    auto setOffset = [&](std::size_t entry, std::uint32_t offset) {
        for (int i = 0; i < 4; ++i)
            file[6 + 16 * entry + 12 + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(offset >> (8 * i));
    };
    setOffset(0, 38);
    setOffset(1, static_cast<std::uint32_t>(38 + a.size() - 22));
    file.insert(file.end(), a.begin() + 22, a.end());
    file.insert(file.end(), b.begin() + 22, b.end());
    return file;
}

} // namespace

TEST(Icon, SavedIconsLoadBackAndDrawTransparently) {
    TGdiBalance balance;
    {
        TIcon icon;
        icon.SetHandle(SquareIcon(16));
        EXPECT_EQ(icon.Width(), 16);
        EXPECT_TRUE(icon.Transparent());
        TIcon loaded;
        Load(loaded, Saved(icon));
        EXPECT_EQ(loaded.Width(), 16);
        auto target = Filled(16, 16, clAqua);
        target->Canvas()->Draw(0, 0, &loaded);
        EXPECT_EQ(target->Canvas()->Pixels(8, 8), clRed);
        EXPECT_EQ(target->Canvas()->Pixels(1, 1), clAqua);
        EXPECT_EQ(target->Canvas()->Pixels(14, 14), clAqua);
        EXPECT_EQ(Saved(loaded), Saved(icon)) << "a loaded icon saves the file it came from";
    }
    EXPECT_EQ(balance.Leaked(), 0) << balance.Details();
}

TEST(Icon, TheImageNearestTheWantedSizeIsChosen) {
    TIcon small;
    small.SetHandle(SquareIcon(16));
    TIcon large;
    large.SetHandle(SquareIcon(32));
    const std::vector<std::uint8_t> both = Combined(Saved(small), Saved(large));

    TIcon icon;
    icon.SetSize(16, 16);
    Load(icon, both);
    EXPECT_EQ(icon.Width(), 16);
    icon.SetSize(32, 32);
    EXPECT_EQ(icon.Width(), 32) << "a new size reads the icon again";
    auto target = Filled(32, 32, clAqua);
    target->Canvas()->Draw(0, 0, &icon);
    EXPECT_EQ(target->Canvas()->Pixels(16, 16), clRed);
    EXPECT_EQ(target->Canvas()->Pixels(4, 4), clAqua);
}

TEST(Icon, LoadingStopsAfterTheLastImage) {
    TIcon icon;
    icon.SetHandle(SquareIcon(16));
    std::vector<std::uint8_t> bytes = Saved(icon);
    const auto size = static_cast<std::int64_t>(bytes.size());
    bytes.insert(bytes.end(), {1, 2, 3});
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    TIcon loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(stream.Position(), size);
}

TEST(Icon, DamagedFilesAreRefusedAndTheIconKept) {
    TIcon icon;
    icon.SetHandle(SquareIcon(16));
    const std::vector<std::uint8_t> good = Saved(icon);
    auto damaged = [&](std::size_t at, std::uint8_t value) {
        std::vector<std::uint8_t> bytes = good;
        bytes[at] = value;
        return bytes;
    };
    TIcon target;
    target.SetHandle(SquareIcon(32));
    EXPECT_THROW(Load(target, {0, 0, 1}), EInvalidGraphic);
    EXPECT_THROW(Load(target, damaged(4, 0)), EInvalidGraphic) << "no images";
    EXPECT_THROW(Load(target, damaged(2, 7)), EInvalidGraphic) << "not an icon";
    EXPECT_THROW(Load(target, damaged(6 + 15, 0x40)), EInvalidGraphic) << "image beyond the data";
    EXPECT_THROW(Load(target, damaged(22 + 4, 0x7F)), EInvalidGraphic) << "width beyond the image";
    EXPECT_THROW(Load(target, damaged(22 + 14, 3)), EInvalidGraphic) << "no such depth";
    std::vector<std::uint8_t> cut = good;
    cut.resize(cut.size() - 8);
    EXPECT_THROW(Load(target, cut), EInvalidGraphic);
    EXPECT_EQ(target.Width(), 32);
}

// Every damaged variant either loads into a drawable icon or is refused with EInvalidGraphic.
TEST(Icon, RandomlyDamagedFilesNeverCrash) {
    TIcon small;
    small.SetHandle(SquareIcon(16));
    TIcon large;
    large.SetHandle(SquareIcon(32));
    const std::vector<std::uint8_t> good = Combined(Saved(small), Saved(large));
    std::mt19937 random(20261207);
    auto target = Filled(32, 32, clAqua);
    int refused = 0;
    for (int round = 0; round < 400; ++round) {
        std::vector<std::uint8_t> bytes = good;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) {
            // Most damage goes into the directory and the image headers, where it matters.
            const std::size_t limit = random() % 2 ? 80 : bytes.size();
            bytes[random() % limit] = static_cast<std::uint8_t>(random());
        }
        if (random() % 5 == 0)
            bytes.resize(random() % bytes.size());
        TIcon icon;
        try {
            Load(icon, bytes);
            ASSERT_GT(icon.Width(), 0);
            target->Canvas()->Draw(0, 0, &icon);
        } catch (const EInvalidGraphic&) {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
}
