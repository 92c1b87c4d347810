// Written files must read back identically and carry the header fields other readers rely on.
#include "BmpDecoder.h"
#include "BmpEncoder.h"
#include "BmpSamples.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

using namespace bmpsamples;

namespace {

std::uint32_t U32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

TBmpImage SampleImage(const std::string& name) {
    for (const TSample& sample : AllSamples())
        if (sample.Name == name)
            return sample.PackedDib ? DecodeDib(sample.Bytes) : DecodeBmp(sample.Bytes);
    throw std::logic_error("no sample " + name);
}

class BmpRoundTripTest : public ::testing::TestWithParam<const char*> {};

TEST_P(BmpRoundTripTest, ReadsBackTheSamePixelsAndColourTable) {
    const TBmpImage original = SampleImage(GetParam());
    const TBmpImage copy = DecodeBmp(EncodeBmp(original));
    EXPECT_EQ(copy.Width, original.Width);
    EXPECT_EQ(copy.Height, original.Height);
    EXPECT_EQ(copy.BitsPerPixel, original.BitsPerPixel);
    EXPECT_EQ(copy.Palette, original.Palette);
    EXPECT_EQ(copy.Masks.Red, original.Masks.Red);
    EXPECT_EQ(copy.Masks.Green, original.Masks.Green);
    EXPECT_EQ(copy.Masks.Blue, original.Masks.Blue);
    EXPECT_EQ(copy.Pixels, original.Pixels);
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpRoundTripTest,
                         ::testing::Values("info-1bit", "info-4bit", "info-rle8", "info-16bit-555",
                                           "info-16bit-565-bitfields", "info-24bit", "info-32bit",
                                           "info-32bit-rgbx-bitfields"));

TEST(BmpEncoder, WritesAFortyByteHeaderAndBottomUpRows) {
    // 2 x 2 at 24 bits: top row red, green; bottom row blue, white.
    const std::uint8_t pixels[] = {0, 0, 255, 0, 255, 0, 0xEE, 0xEE, 255, 0, 0, 255, 255, 255, 0xEE, 0xEE};
    const auto file = EncodeBmp(TConstPixelView(2, 2, 8, 24, pixels));
    ASSERT_EQ(file.size(), 14u + 40u + 16u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(U32At(file, 2), file.size());
    EXPECT_EQ(U32At(file, 10), 54u);
    EXPECT_EQ(U32At(file, 14), 40u);
    EXPECT_EQ(U32At(file, 18), 2u);
    EXPECT_EQ(U32At(file, 22), 2u); // positive height: bottom-up
    EXPECT_EQ(U32At(file, 30), 0u); // uncompressed
    const std::uint8_t bottomRowFirst[] = {255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0};
    EXPECT_EQ(std::memcmp(file.data() + 54, bottomRowFirst, sizeof bottomRowFirst), 0);
}

TEST(BmpEncoder, AcceptsBottomUpViewsAndShortColourTables) {
    // The rows of a bottom-up DIB: the view starts at the last row and walks back.
    const std::uint8_t storage[] = {0x20, 0, 0, 0, 0x01, 0, 0, 0}; // bottom row, then top row
    const TConstPixelView view(3, 2, -4, 4, storage + 4);
    const TRgbQuad palette[] = {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}};
    const auto file = EncodeBmp(view, palette);
    EXPECT_EQ(U32At(file, 46), 3u); // colours used
    const TBmpImage image = DecodeBmp(file);
    EXPECT_EQ(ReadPixelValue(image.View().Row(0), 1, 4), 1u);
    EXPECT_EQ(ReadPixelValue(image.View().Row(1), 0, 4), 2u);
    EXPECT_EQ(image.Palette[2], (TRgbQuad{7, 8, 9, 0}));
}

TEST(BmpEncoder, RefusesWhatABitmapFileCannotHold) {
    const std::uint8_t pixels[16] = {};
    const TRgbQuad palette[3] = {};
    EXPECT_THROW(EncodeBmp(TConstPixelView(2, 2, 8, 8, pixels)), std::invalid_argument); // no colour table
    EXPECT_THROW(EncodeBmp(TConstPixelView(2, 2, 4, 1, pixels), palette), std::invalid_argument);
    EXPECT_THROW(EncodeBmp(TConstPixelView(2, 2, 8, 12, pixels)), std::invalid_argument);
    EXPECT_THROW(EncodeBmp(TConstPixelView(0, 2, 8, 24, pixels)), std::invalid_argument);
    EXPECT_THROW(EncodeBmp(TConstPixelView(4, 2, 4, 24, pixels)), std::invalid_argument); // rows overlap
    TBmpImage shortImage = CreateBmpImage(4, 4, 24);
    shortImage.Pixels.resize(10);
    EXPECT_THROW(EncodeBmp(shortImage), std::invalid_argument);
}

} // namespace
