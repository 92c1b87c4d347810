// Written PNG files must decode to the same pixels in another reader (ImageMagick's convert,
// which the test set-up installs), whatever the mix of literals and matches the compressor made.
#include "PngEncoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct TImage {
    int Width, Height;
    std::vector<std::uint8_t> Bgr; // 24-bit DIB rows, top row first

    TConstPixelView View() const {
        return TConstPixelView(Width, Height, DibStride(Width, 24), 24, Bgr.data());
    }
    std::uint8_t* At(int x, int y) { return Bgr.data() + y * DibStride(Width, 24) + 3 * x; }
};

// The other reader is a host program: the Windows build of these tests runs under Wine.
#ifndef _WIN32
// Flat bands (long matches up to the maximum length), noise (literals) and a copy of earlier
// rows far back (long distances).
TImage Sample(int width, int height) {
    TImage image{width, height, std::vector<std::uint8_t>(DibStride(width, 24) * height)};
    std::uint32_t seed = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = image.At(x, y);
            if (y % 7 < 3) {
                p[0] = 200, p[1] = static_cast<std::uint8_t>(y), p[2] = 30;
            } else if (y > height / 2) {
                const std::uint8_t* earlier = image.At(x, y - height / 2 + 1);
                p[0] = earlier[0], p[1] = earlier[1], p[2] = earlier[2];
            } else {
                seed = seed * 1103515245u + 12345u;
                p[0] = static_cast<std::uint8_t>(seed >> 24), p[1] = static_cast<std::uint8_t>(seed >> 16);
                p[2] = static_cast<std::uint8_t>(x);
            }
        }
    return image;
}

std::vector<std::uint8_t> DecodedByConvert(const std::vector<std::uint8_t>& png) {
    const auto path = std::filesystem::temp_directory_path() / "tw_png_encoder_test.png";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    const std::string command = "convert '" + path.string() + "' -depth 8 rgb:- 2>/dev/null";
    std::vector<std::uint8_t> rgb;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::uint8_t buffer[65536];
        for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            rgb.insert(rgb.end(), buffer, buffer + n);
        pclose(pipe);
    }
    std::filesystem::remove(path);
    return rgb;
}

#endif

} // namespace

TEST(PngChecksums, MatchTheKnownValues) {
    const std::string iend = "IEND", wiki = "Wikipedia";
    EXPECT_EQ(PngCrc32({reinterpret_cast<const std::uint8_t*>(iend.data()), iend.size()}), 0xAE426082u);
    EXPECT_EQ(ZlibAdler32({reinterpret_cast<const std::uint8_t*>(wiki.data()), wiki.size()}), 0x11E60398u);
}

#ifndef _WIN32
TEST(PngEncoder, AnotherReaderDecodesTheSamePixels) {
    for (const auto& [width, height] : {std::pair{1, 1}, {3, 2}, {257, 301}, {640, 120}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        TImage image = Sample(width, height);
        std::vector<std::uint8_t> expected;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                expected.insert(expected.end(), {image.At(x, y)[2], image.At(x, y)[1], image.At(x, y)[0]});
        EXPECT_EQ(DecodedByConvert(EncodePng(image.View())), expected);
    }
}
#endif

TEST(PngEncoder, CompressesFlatAreasAndRefusesWhatItCannotWrite) {
    TImage flat{400, 300, std::vector<std::uint8_t>(DibStride(400, 24) * 300, 0x80)};
    EXPECT_LT(EncodePng(flat.View()).size(), 400u * 300u * 3u / 50u);
    std::vector<std::uint8_t> bits(8);
    EXPECT_THROW(EncodePng(TConstPixelView(2, 2, 4, 8, bits.data())), std::invalid_argument);
    EXPECT_THROW(EncodePng(TConstPixelView(0, 0, 0, 24, nullptr)), std::invalid_argument);
}
