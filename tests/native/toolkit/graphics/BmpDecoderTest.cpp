// Every bitmap variant is built by hand from one reference picture and must decode to exactly
// its colours; damaged and truncated files must be refused with an error, never misread.
#include "BmpDecoder.h"
#include "BmpSamples.h"

#include <gtest/gtest.h>

#include <string>

using namespace bmpsamples;

namespace bmpsamples {
void PrintTo(const TSample& sample, std::ostream* os) {
    *os << sample.Name;
}
} // namespace bmpsamples

namespace {

TSample SampleNamed(const std::string& name) {
    for (TSample& sample : AllSamples())
        if (sample.Name == name)
            return sample;
    throw std::logic_error("no sample " + name);
}

TBmpImage Decode(const TSample& sample) {
    return sample.PackedDib ? DecodeDib(sample.Bytes) : DecodeBmp(sample.Bytes);
}

TRgb ColorAt(const TBmpImage& image, int x, int y) {
    const TRgbQuad q = PixelColor(image, x, y);
    return {q.Red, q.Green, q.Blue, q.Reserved};
}

// Every pixel against the sample's expected colours, through both the per-pixel accessor and
// the 32-bit conversion.
void ExpectReferencePixels(const TSample& sample, const TBmpImage& image) {
    ASSERT_EQ(image.Width, sample.Width);
    ASSERT_EQ(image.Height, sample.Height);
    const TBmpImage bgra = ToBgra32(image);
    for (int y = 0; y < sample.Height; ++y)
        for (int x = 0; x < sample.Width; ++x) {
            const TRgb expected = sample.Expected[static_cast<std::size_t>(y * sample.Width + x)];
            EXPECT_EQ(ColorAt(image, x, y), expected) << "pixel " << x << "," << y;
            const std::uint8_t* p = bgra.View().Row(y) + 4 * x;
            EXPECT_EQ((TRgb{p[2], p[1], p[0], p[3]}), expected) << "32-bit pixel " << x << "," << y;
        }
}

std::string DecodeError(const std::vector<std::uint8_t>& bytes) {
    try {
        DecodeBmp(bytes);
    } catch (const EInvalidGraphic& e) {
        return e.what();
    }
    return "(decoded without error)";
}

class BmpVariantTest : public ::testing::TestWithParam<TSample> {};

TEST_P(BmpVariantTest, DecodesToTheReferencePicture) {
    const TSample& sample = GetParam();
    const TBmpImage image = Decode(sample);
    EXPECT_EQ(image.BitsPerPixel, sample.BitsPerPixel);
    ExpectReferencePixels(sample, image);
}

// Cutting the data anywhere either leaves a complete image (only padding or the end marker
// was lost) or is refused; a half-read picture is never returned.
TEST_P(BmpVariantTest, EveryTruncationIsRefusedOrHarmless) {
    const TSample& sample = GetParam();
    int refused = 0;
    for (std::size_t length = 0; length < sample.Bytes.size(); ++length) {
        TSample cut = sample;
        cut.Bytes.resize(length);
        try {
            const TBmpImage image = Decode(cut);
            ExpectReferencePixels(sample, image);
        } catch (const EInvalidGraphic&) {
            ++refused;
        }
    }
    EXPECT_GE(refused, static_cast<int>(sample.Bytes.size()) - 3);
}

INSTANTIATE_TEST_SUITE_P(AllVariants, BmpVariantTest, ::testing::ValuesIn(AllSamples()),
                         [](const auto& info) {
                             std::string name = info.param.Name;
                             for (char& c : name)
                                 if (c == '-')
                                     c = '_';
                             return name;
                         });

TEST(BmpDecoder, KeepsPaletteIndicesInTheSourceDepth) {
    int indexed = 0;
    for (const TSample& sample : AllSamples()) {
        if (sample.BitsPerPixel > 8)
            continue;
        ++indexed;
        const TBmpImage image = Decode(sample);
        ASSERT_EQ(image.Palette.size(), std::size_t{1} << sample.BitsPerPixel) << sample.Name;
        const int mask = sample.BitsPerPixel == 1 ? 1 : 3;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                EXPECT_EQ(ReadPixelValue(image.View().Row(y), x, image.BitsPerPixel),
                          static_cast<std::uint32_t>(kIndices[y][x] & mask))
                    << sample.Name << " pixel " << x << "," << y;
    }
    EXPECT_GE(indexed, 10);
}

TEST(BmpDecoder, ReadsResolutionAndShortColourTables) {
    const TBmpImage image = DecodeBmp(SampleNamed("info-8bit-4-colours").Bytes);
    EXPECT_EQ(image.XPelsPerMeter, 2835);
    EXPECT_EQ(image.YPelsPerMeter, 2835);
    EXPECT_EQ(image.Palette[3], (TRgbQuad{255, 0, 132, 0}));
    EXPECT_EQ(image.Palette[4], TRgbQuad{}); // padded with black
}

std::vector<std::uint8_t> Bmp(const std::vector<std::uint8_t>& header,
                              const std::vector<std::uint8_t>& rest) {
    TBytes dib;
    dib.Raw(header).Raw(rest);
    return WithFileHeader(dib.Get(), static_cast<std::uint32_t>(header.size()));
}

TEST(BmpDecoder, RefusesMalformedHeadersWithAReason) {
    const std::vector<std::uint8_t> pixels(64, 0);
    struct TCase {
        const char* what;
        std::vector<std::uint8_t> bytes;
        const char* reason;
    };
    std::vector<TCase> cases = {
        {"empty", {}, "too short"},
        {"no signature", Bmp(InfoHeader(40, 2, 2, 24, 0), pixels), "BM signature"},
        {"unknown header size", Bmp(InfoHeader(40, 2, 2, 24, 0), pixels), "unknown header size 200"},
        {"OS/2 2.x header", Bmp(InfoHeader(40, 2, 2, 24, 0), pixels), "OS/2 2.x"},
        {"header cut short", WithFileHeader(TBytes().U32(40).U32(2).Get(), 8), "header is truncated"},
        {"zero width", Bmp(InfoHeader(40, 0, 2, 24, 0), pixels), "no pixels"},
        {"zero height", Bmp(InfoHeader(40, 2, 0, 24, 0), pixels), "no pixels"},
        {"negative width", Bmp(InfoHeader(40, -2, 2, 24, 0), pixels), "no pixels"},
        {"most negative height", Bmp(InfoHeader(40, 2, INT32_MIN, 24, 0), pixels), "height is out of range"},
        {"two planes", Bmp(InfoHeader(40, 2, 2, 24, 0), pixels), "plane count"},
        {"2 bits per pixel", Bmp(InfoHeader(40, 2, 2, 2, 0), pixels), "bit depth 2"},
        {"0 bits per pixel", Bmp(InfoHeader(40, 2, 2, 0, 0), pixels), "bit depth 0"},
        {"core header with 16 bits", Bmp(CoreHeader(2, 2, 16), pixels), "bit depth 16"},
        {"JPEG inside", Bmp(InfoHeader(40, 2, 2, 24, 4), pixels), "JPEG or PNG"},
        {"unknown compression", Bmp(InfoHeader(40, 2, 2, 24, 9), pixels), "unknown compression 9"},
        {"RLE8 at 4 bits", Bmp(InfoHeader(40, 2, 2, 4, 1), pixels), "RLE8"},
        {"RLE4 at 8 bits", Bmp(InfoHeader(40, 2, 2, 8, 2), pixels), "RLE4"},
        {"top-down RLE", Bmp(InfoHeader(40, 2, -2, 8, 1), pixels), "top-down"},
        {"bit fields at 24 bits", Bmp(InfoHeader(40, 2, 2, 24, 3), pixels), "16 or 32 bits"},
        {"overlapping masks", Bmp(InfoHeader(52, 2, 2, 32, 3, 0, {0xFF00, 0xFF0, 0xF, 0}), pixels), "masks"},
        {"gap in a mask", Bmp(InfoHeader(52, 2, 2, 32, 3, 0, {0xF0F0, 0xF0000, 0xF, 0}), pixels), "masks"},
        {"16-bit mask too wide", Bmp(InfoHeader(52, 2, 2, 16, 3, 0, {0x1F0000, 0x3E0, 0x1F, 0}), pixels),
         "masks"},
        {"pixel data truncated", Bmp(InfoHeader(40, 4, 4, 24, 0), std::vector<std::uint8_t>(47, 0)),
         "truncated"},
        {"RLE without end", Bmp(InfoHeader(40, 2, 2, 8, 1), {0x02, 0x01, 0x00, 0x00}), "ends too early"},
        {"too large", Bmp(InfoHeader(40, 30000, 30000, 8, 1), {0x00, 0x01}), "too large"},
    };
    cases[1].bytes[0] = 'X';
    cases[2].bytes[14] = 200;
    cases[3].bytes[14] = 64;
    cases[9].bytes[14 + 12] = 2;
    for (const TCase& c : cases)
        EXPECT_NE(DecodeError(c.bytes).find(c.reason), std::string::npos)
            << c.what << ": " << DecodeError(c.bytes);
}

TEST(BmpDecoder, RefusesPixelOffsetsOutsideTheData) {
    auto bytes = Bmp(InfoHeader(40, 1, 1, 24, 0), {1, 2, 3, 0});
    bytes[10] = 20; // into the header
    EXPECT_NE(DecodeError(bytes).find("points into the header"), std::string::npos);
    bytes[10] = 0xF0; // beyond the end
    EXPECT_NE(DecodeError(bytes).find("beyond the end"), std::string::npos);
}

TEST(BmpDecoder, PackedDibNeedsItsWholeColourTable) {
    TBytes dib;
    dib.Raw(InfoHeader(40, 1, 1, 8, 0, 16)).Zeros(15 * 4);
    EXPECT_THROW(DecodeDib(dib.Get()), EInvalidGraphic);
    dib.Zeros(4 + 4);
    EXPECT_NO_THROW(DecodeDib(dib.Get()));
}

TEST(BmpDecoder, HonoursCallerLimits) {
    const auto bytes = Bmp(InfoHeader(40, 100, 100, 8, 1), {0x00, 0x01});
    EXPECT_NO_THROW(DecodeBmp(bytes));
    EXPECT_THROW(DecodeBmp(bytes, {.MaxDimension = 99}), EInvalidGraphic);
    EXPECT_THROW(DecodeBmp(bytes, {.MaxPixels = 9999}), EInvalidGraphic);
}

// 4 x 3 canvas; rows listed top first.
std::vector<std::uint32_t> RleIndices(const std::vector<std::uint8_t>& data, int bpp) {
    const auto image = DecodeBmp(Bmp(InfoHeader(40, 4, 3, bpp, bpp == 8 ? 1 : 2), data));
    std::vector<std::uint32_t> indices;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            indices.push_back(ReadPixelValue(image.View().Row(y), x, bpp));
    return indices;
}

TEST(BmpDecoderRle, ClipsRunsAtTheRowEndInsteadOfWrapping) {
    // A run of 10 on a 4-pixel row, then an absolute run of 5 on the next one.
    EXPECT_EQ(RleIndices({0x0A, 0x07, 0x00, 0x00, 0x00, 0x05, 1, 2, 3, 4, 5, 0x00, 0x00, 0x01}, 8),
              (std::vector<std::uint32_t>{0, 0, 0, 0, 1, 2, 3, 4, 7, 7, 7, 7}));
    EXPECT_EQ(RleIndices({0x07, 0x9A, 0x00, 0x01}, 4),
              (std::vector<std::uint32_t>{0, 0, 0, 0, 0, 0, 0, 0, 9, 10, 9, 10}));
}

TEST(BmpDecoderRle, DeltaMovesRightAndUpLeavingPixelsUnset) {
    EXPECT_EQ(RleIndices({0x00, 0x02, 0x03, 0x01, 0x01, 0x05, 0x00, 0x01}, 8),
              (std::vector<std::uint32_t>{0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 0}));
    // A jump beyond the top ends the picture; the rest of the data is never looked at.
    EXPECT_EQ(RleIndices({0x02, 0x06, 0x00, 0x02, 0x00, 0x09, 0xFF}, 8),
              (std::vector<std::uint32_t>{0, 0, 0, 0, 0, 0, 0, 0, 6, 6, 0, 0}));
}

TEST(BmpDecoderRle, AbsoluteRunsAreWordAligned) {
    // Three 4-bit pixels take two bytes (no pad); five 8-bit pixels take five plus one.
    EXPECT_EQ(RleIndices({0x00, 0x03, 0x12, 0x30, 0x01, 0x40, 0x00, 0x01}, 4),
              (std::vector<std::uint32_t>{0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4}));
    EXPECT_THROW(RleIndices({0x00, 0x03, 0x01, 0x02}, 8), EInvalidGraphic);
}

} // namespace
