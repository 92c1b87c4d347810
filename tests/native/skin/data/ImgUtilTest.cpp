// The pixel and colour routines' exact arithmetic and geometry, on small images whose every
// pixel differs so that a wrong turn or a swapped channel shows.
#include "ImgUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#ifdef _WIN32
#include "ImgUtilWin.h"
#endif

namespace {

// A 24-bit image in DIB layout (rows padded to four bytes), pixels given as colours.
struct TImage24 {
    std::int32_t Width;
    std::int32_t Height;
    std::vector<std::uint8_t> Bytes;

    TImage24(std::int32_t w, std::int32_t h, const std::vector<TColor>& colors)
        : Width(w), Height(h), Bytes(static_cast<std::size_t>(DibStride(w, 24) * h), 0xCC) {
        for (std::int32_t y = 0; y < h; ++y)
            for (std::int32_t x = 0; x < w; ++x)
                Set(x, y, colors[static_cast<std::size_t>(y * w + x)]);
    }
    TPixelView View() { return {Width, Height, DibStride(Width, 24), 24, Bytes.data()}; }
    std::uint8_t* At(std::int32_t x, std::int32_t y) {
        return Bytes.data() + y * DibStride(Width, 24) + 3 * x;
    }
    void Set(std::int32_t x, std::int32_t y, TColor c) {
        std::uint8_t* p = At(x, y);
        p[0] = BlueOf(c);
        p[1] = GreenOf(c);
        p[2] = RedOf(c);
    }
    std::vector<TColor> Colors() {
        std::vector<TColor> out;
        for (std::int32_t y = 0; y < Height; ++y)
            for (std::int32_t x = 0; x < Width; ++x)
                out.push_back(RGBColor(At(x, y)[2], At(x, y)[1], At(x, y)[0]));
        return out;
    }
};

// A B C
// D E F
constexpr TColor A = 0x0000A1, B = 0x00B200, C = 0xC30000, D = 0x0D0D0D, E = 0xE0E0E0, F = 0x0F0FF0;

TEST(ImgUtilPixels, GrayscaleAveragesTheThreeBytesTruncating) {
    TImage24 image(2, 1, {RGBColor(31, 20, 10), RGBColor(255, 255, 254)});
    GrayscaleBitmap(image.View());
    EXPECT_EQ(image.Colors(), (std::vector<TColor>{RGBColor(20, 20, 20), RGBColor(254, 254, 254)}));
}

TEST(ImgUtilPixels, ReplaceMagentaTouchesOnlyPureMagenta) {
    TImage24 image(4, 1, {clFuchsia, RGBColor(254, 0, 255), RGBColor(255, 1, 255), RGBColor(255, 0, 254)});
    ReplaceMagenta(image.View(), 0x00112233);
    EXPECT_EQ(image.Colors(), (std::vector<TColor>{0x112233, RGBColor(254, 0, 255), RGBColor(255, 1, 255),
                                                   RGBColor(255, 0, 254)}));
}

TEST(ImgUtilPixels, ReplaceMagentaTakesChannelsLiterallyEvenFromASystemColour) {
    TImage24 image(1, 1, {clFuchsia});
    ReplaceMagenta(image.View(), clBtnFace); // 0xFF00000F: red 0x0F, green 0, blue 0
    EXPECT_EQ(image.Colors(), (std::vector<TColor>{RGBColor(0x0F, 0, 0)}));
}

TEST(ImgUtilPixels, ColourRoutinesKeepTheFourthByteOf32BitPixels) {
    std::uint8_t pixels[] = {255, 0, 255, 0x77, 30, 60, 90, 0x88};
    ReplaceMagenta({2, 1, 8, 32, pixels}, RGBColor(1, 2, 3));
    GrayscaleBitmap({2, 1, 8, 32, pixels});
    const std::uint8_t expected[] = {2, 2, 2, 0x77, 60, 60, 60, 0x88};
    EXPECT_EQ(std::vector<std::uint8_t>(pixels, pixels + 8),
              std::vector<std::uint8_t>(expected, expected + 8));
}

TEST(ImgUtilPixels, ColourRoutinesRefuseIndexedPixels) {
    std::uint8_t pixels[4] = {};
    EXPECT_THROW(GrayscaleBitmap({2, 1, 4, 8, pixels}), std::invalid_argument);
    EXPECT_THROW(ReplaceMagenta({2, 1, 4, 16, pixels}, clWhite), std::invalid_argument);
}

TEST(ImgUtilGeometry, MirrorReversesEveryRowAndKeepsThePadding) {
    TImage24 image(3, 2, {A, B, C, D, E, F});
    MirrorBitmap(image.View());
    EXPECT_EQ(image.Colors(), (std::vector<TColor>{C, B, A, F, E, D}));
    EXPECT_EQ(image.Bytes[9], 0xCC); // row padding untouched
}

TEST(ImgUtilGeometry, FlipReversesTheRowOrder) {
    TImage24 image(3, 3, {A, B, C, D, E, F, C, A, B});
    FlipBitmap(image.View());
    EXPECT_EQ(image.Colors(), (std::vector<TColor>{C, A, B, D, E, F, A, B, C}));
}

TEST(ImgUtilGeometry, FlipWorksOnABottomUpView) {
    TImage24 image(3, 2, {A, B, C, D, E, F});
    const TPixelView bottomUp{3, 2, -DibStride(3, 24), 24, image.Bytes.data() + DibStride(3, 24)};
    FlipBitmap(bottomUp);
    EXPECT_EQ(image.Colors(), (std::vector<TColor>{D, E, F, A, B, C}));
}

TEST(ImgUtilGeometry, RotateLeftTurnsAnticlockwise) {
    TImage24 image(3, 2, {A, B, C, D, E, F});
    TImage24 turned(2, 3, std::vector<TColor>(6, 0));
    RotateLeft(image.View(), turned.View());
    EXPECT_EQ(turned.Colors(), (std::vector<TColor>{C, F, B, E, A, D}));
}

TEST(ImgUtilGeometry, RotateRightTurnsClockwise) {
    TImage24 image(3, 2, {A, B, C, D, E, F});
    TImage24 turned(2, 3, std::vector<TColor>(6, 0));
    RotateRight(image.View(), turned.View());
    EXPECT_EQ(turned.Colors(), (std::vector<TColor>{D, A, E, B, F, C}));
}

TEST(ImgUtilGeometry, RotationsRefuseATargetOfTheWrongShape) {
    TImage24 image(3, 2, {A, B, C, D, E, F});
    TImage24 same(3, 2, std::vector<TColor>(6, 0));
    EXPECT_THROW(RotateLeft(image.View(), same.View()), std::invalid_argument);
    std::uint8_t eightBit[12] = {};
    EXPECT_THROW(RotateRight(image.View(), TPixelView{2, 3, 4, 8, eightBit}), std::invalid_argument);
}

// Depths other than 24 bits keep their depth: 4-bit indices 1..6 in a 3 x 2 image.
TEST(ImgUtilGeometry, SubBytePixelsMirrorAndRotate) {
    std::uint8_t nibbles[] = {0x12, 0x30, 0, 0, 0x45, 0x60, 0, 0};
    MirrorBitmap({3, 2, 4, 4, nibbles});
    EXPECT_EQ(nibbles[0], 0x32);
    EXPECT_EQ(nibbles[1], 0x10);
    EXPECT_EQ(nibbles[4], 0x65);
    EXPECT_EQ(nibbles[5], 0x40);

    std::uint8_t bits[] = {0b1010'0000, 0, 0, 0, 0b0110'0000, 0, 0, 0}; // 1 0 1 / 0 1 1
    std::uint8_t turned[12] = {};
    RotateRight({3, 2, 4, 1, bits}, {2, 3, 4, 1, turned});
    EXPECT_EQ(turned[0] >> 6, 0b01); // D A
    EXPECT_EQ(turned[4] >> 6, 0b10); // E B
    EXPECT_EQ(turned[8] >> 6, 0b11); // F C
}

TEST(ImgUtilGeometry, FourLeftTurnsAndALeftRightPairGiveTheOriginal) {
    std::vector<std::uint32_t> original;
    for (std::uint32_t i = 0; i < 15; ++i)
        original.push_back(0x01000000u * i + 0x00030201u * (i + 1));
    std::vector<std::uint32_t> a = original, b(15);
    TPixelView wide{5, 3, 20, 32, reinterpret_cast<std::uint8_t*>(a.data())};
    TPixelView tall{3, 5, 12, 32, reinterpret_cast<std::uint8_t*>(b.data())};
    RotateLeft(wide, tall);
    RotateLeft(tall, wide);
    RotateLeft(wide, tall);
    RotateLeft(tall, wide);
    EXPECT_EQ(a, original);
    RotateLeft(wide, tall);
    RotateRight(tall, wide);
    EXPECT_EQ(a, original);
}

TEST(ImgUtilColors, BlendWeightsArePercentBelow100AndPerMilleFrom100) {
    const TColor c1 = RGBColor(201, 100, 0), c2 = RGBColor(0, 50, 255);
    EXPECT_EQ(BlendColor(c1, c2, 50), RGBColor(101, 75, 128)); // rounded midpoint
    EXPECT_EQ(BlendColor(c1, c2, 150), RGBColor(30, 58, 217)); // 15 % of c1
    EXPECT_EQ(BlendColor(c1, c2, 100), RGBColor(20, 55, 230)); // 10 %, not 100 %
    EXPECT_EQ(BlendColor(c1, c2, 99), RGBColor(199, 100, 3));
}

TEST(ImgUtilColors, BlendResolvesSystemColoursAndClampsTheWeight) {
    EXPECT_EQ(BlendColor(clBtnFace, clBlack, 1000), SysColorToRGB(15));
    EXPECT_EQ(BlendColor(clBlack, clBtnShadow, 0), SysColorToRGB(16));
    const TColor c1 = RGBColor(10, 20, 30), c2 = RGBColor(200, 100, 50);
    EXPECT_EQ(BlendColor(c1, c2, 5000), c1);
    EXPECT_EQ(BlendColor(c1, c2, -5), c2);
}

TEST(ImgUtilColors, SaturationLevels) {
    EXPECT_EQ(ColorSaturation(RGBColor(159, 0, 0)), 200); // every channel below 160
    EXPECT_EQ(ColorSaturation(RGBColor(100, 100, 100)), 200);
    EXPECT_EQ(ColorSaturation(clRed), 255);
    EXPECT_EQ(ColorSaturation(clWhite), 0);
    EXPECT_EQ(ColorSaturation(RGBColor(160, 80, 0)), 255);
    EXPECT_EQ(ColorSaturation(RGBColor(170, 169, 169)), 2); // 1.5 rounds up to even
    EXPECT_EQ(ColorSaturation(RGBColor(170, 167, 167)), 4); // 4.5 rounds down to even
    EXPECT_EQ(ColorSaturation(RGBColor(200, 100, 100)), 128);
    EXPECT_EQ(ColorSaturation(RGBColor(100, 170, 200)), 128); // 127.5
}

std::vector<TColor> Entries(const TGradientCache& cache, int index) {
    const auto table = cache.Table(index);
    return {table.begin(), table.end()};
}

TEST(ImgUtilGradients, RisingChannelsRunFromStartToEnd) {
    TGradientCache cache;
    const int slot = cache.Make(3, RGBColor(0, 10, 100), RGBColor(7, 20, 200));
    EXPECT_EQ(Entries(cache, slot),
              (std::vector<TColor>{RGBColor(0, 10, 100), RGBColor(4, 15, 150), RGBColor(7, 20, 200)}));
}

TEST(ImgUtilGradients, ASingleEntryIsTheMidpoint) {
    TGradientCache cache;
    const int slot = cache.Make(1, RGBColor(10, 200, 0), RGBColor(20, 100, 255));
    EXPECT_EQ(Entries(cache, slot), (std::vector<TColor>{RGBColor(15, 150, 127)}));
}

TEST(ImgUtilGradients, AFallingChannelEndsOneAboveAndIsNeverFound) {
    TGradientCache cache;
    const TColor start = RGBColor(10, 0, 0), end = RGBColor(3, 0, 0);
    const int first = cache.Get(3, start, end);
    EXPECT_EQ(Entries(cache, first),
              (std::vector<TColor>{RGBColor(10, 0, 0), RGBColor(7, 0, 0), RGBColor(4, 0, 0)}));
    EXPECT_EQ(cache.Find(3, start, end), -1);
    EXPECT_NE(cache.Get(3, start, end), first); // rebuilt in the next slot
}

TEST(ImgUtilGradients, FoundGradientsAreReusedNewestFirst) {
    TGradientCache cache;
    const TColor start = RGBColor(0, 0, 0), end = RGBColor(90, 90, 90);
    EXPECT_EQ(cache.Find(10, start, end), -1);
    EXPECT_EQ(cache.Make(10, start, end), 0);
    EXPECT_EQ(cache.Make(10, start, end), 1);
    EXPECT_EQ(cache.Get(10, start, end), 1);
    EXPECT_EQ(cache.Find(11, start, end), -1); // another length is another table
}

TEST(ImgUtilGradients, SlotsAreReusedRoundRobin) {
    TGradientCache cache;
    for (int i = 0; i < TGradientCache::SlotCount; ++i)
        EXPECT_EQ(cache.Make(i + 1, clBlack, clWhite), i);
    EXPECT_EQ(cache.Find(1, clBlack, clWhite), -1); // one entry is the midpoint, never black
    EXPECT_EQ(cache.Find(2, clBlack, clWhite), 1);
    EXPECT_EQ(cache.Make(50, clBlack, clWhite), 0);
    EXPECT_EQ(cache.Make(50, clBlack, clWhite), 1);
    EXPECT_EQ(cache.Find(2, clBlack, clWhite), -1); // overwritten
    EXPECT_EQ(cache.Find(3, clBlack, clWhite), 2);
}

TEST(ImgUtilGradients, RefusesEmptyTablesAndUnknownSlots) {
    TGradientCache cache;
    EXPECT_THROW(cache.Make(0, clBlack, clWhite), std::invalid_argument);
    EXPECT_EQ(cache.Find(0, clBlack, clWhite), -1);
    EXPECT_THROW(cache.Table(16), std::out_of_range);
    EXPECT_THROW(cache.Table(-1), std::out_of_range);
}

TEST(ImgUtilGradients, TheSharedCacheFindsWhatItMade) {
    const TColor start = RGBColor(1, 2, 3), end = RGBColor(201, 202, 203);
    const int slot = GetGradient(77, start, end);
    EXPECT_EQ(FindGradient(77, start, end), slot);
    EXPECT_EQ(GetGradient(77, start, end), slot);
    EXPECT_EQ(GradientTable(slot).size(), 77u);
    EXPECT_EQ(GradientTable(slot)[76], end);
}

#ifdef _WIN32

// A 32-bit top-down DIB section selected into a memory DC, pre-filled with grey.
class GradientFillTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 10;
    static constexpr int kHeight = 40;

    void SetUp() override {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        ASSERT_NE(dc_, nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        ASSERT_NE(bitmap_, nullptr);
        old_ = SelectObject(dc_, bitmap_);
        std::fill(bits_, bits_ + kWidth * kHeight, kGrey);
    }
    void TearDown() override {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    TColor Pixel(int x, int y) const {
        GdiFlush();
        const std::uint32_t p = bits_[y * kWidth + x];
        return RGBColor(static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                        static_cast<std::uint8_t>(p));
    }

    static constexpr std::uint32_t kGrey = 0x00808080;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

TEST_F(GradientFillTest, VerticalFillPaintsEachLineFromTheTable) {
    // Blue falls, so the shared cache never finds this table again: rebuild it for reference.
    const TColor top = RGBColor(0, 0, 200), bottom = RGBColor(39, 78, 5);
    GradientFill(dc_, RECT{0, 0, kWidth, kHeight}, top, true, bottom);
    TGradientCache reference;
    const auto table = reference.Table(reference.Make(kHeight, top, bottom));
    for (int y = 0; y < kHeight; ++y) {
        EXPECT_EQ(Pixel(0, y), table[y]) << "line " << y;
        EXPECT_EQ(Pixel(kWidth - 1, y), table[y]) << "line " << y;
    }
    EXPECT_EQ(Pixel(0, 0), top);
    EXPECT_EQ(Pixel(0, 20), RGBColor(20, 40, 101));
    EXPECT_EQ(Pixel(0, kHeight - 1), RGBColor(39, 78, 6)); // one above the falling end value
}

TEST_F(GradientFillTest, ClippedFillDrawsOnlyInsideLinesWithFullLengthColours) {
    IntersectClipRect(dc_, 0, 10, kWidth, 20);
    const TColor top = RGBColor(0, 0, 0), bottom = RGBColor(78, 156, 234);
    GradientFill(dc_, RECT{0, 0, kWidth, kHeight}, top, true, bottom);
    EXPECT_EQ(Pixel(3, 9), RGBColor(128, 128, 128));
    EXPECT_EQ(Pixel(3, 10), RGBColor(20, 40, 60));
    EXPECT_EQ(Pixel(3, 19), RGBColor(38, 76, 114));
    EXPECT_EQ(Pixel(3, 20), RGBColor(128, 128, 128));
}

TEST_F(GradientFillTest, HorizontalFillAndEmptyRectangles) {
    GradientFill(dc_, RECT{0, 5, kWidth, 5}, clBlack, true, clWhite);   // height 0
    GradientFill(dc_, RECT{4, 0, 4, kHeight}, clBlack, false, clWhite); // width 0
    EXPECT_EQ(Pixel(4, 5), RGBColor(128, 128, 128));
    GradientFill(dc_, RECT{0, 2, kWidth, 3}, RGBColor(0, 0, 0), false, RGBColor(9, 18, 27));
    for (int x = 0; x < kWidth; ++x)
        EXPECT_EQ(Pixel(x, 2), RGBColor(x, 2 * x, 3 * x)) << "column " << x;
    EXPECT_EQ(Pixel(0, 1), RGBColor(128, 128, 128));
}

TEST_F(GradientFillTest, SystemColoursAreResolvedBeforeFilling) {
    GradientFill(dc_, RECT{0, 0, kWidth, 1}, clBtnFace, false, clBtnFace);
    EXPECT_EQ(Pixel(5, 0), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
}

#endif

} // namespace
