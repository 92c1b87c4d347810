// Bitmap files of every variant the reader accepts, put together byte by byte from a small
// reference picture, and the colours each must decode to. Shared by the codec tests and the
// generator of the fuzzing seed corpus.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace bmpsamples {

struct TRgb {
    std::uint8_t R = 0, G = 0, B = 0, A = 255;
    bool operator==(const TRgb&) const = default;
};

struct TSample {
    std::string Name;
    std::vector<std::uint8_t> Bytes;
    bool PackedDib = false; // no file header: as a bitmap resource stores it
    int BitsPerPixel = 0;
    int Width = 0;
    int Height = 0;
    std::vector<TRgb> Expected; // Width * Height colours, top row first
};

// Little-endian byte assembly for hand-made headers.
class TBytes {
public:
    TBytes& U8(std::uint32_t v);
    TBytes& U16(std::uint32_t v);
    TBytes& U32(std::uint32_t v);
    TBytes& Raw(const std::vector<std::uint8_t>& bytes);
    TBytes& Zeros(std::size_t count);
    const std::vector<std::uint8_t>& Get() const { return FBytes; }
    std::size_t Size() const { return FBytes.size(); }

private:
    std::vector<std::uint8_t> FBytes;
};

struct TMasks {
    std::uint32_t R = 0, G = 0, B = 0, A = 0;
};

// A Windows 3.x or later header (40, 52, 56, 108 or 124 bytes); masks go into the header
// when it is large enough to hold them.
std::vector<std::uint8_t> InfoHeader(std::uint32_t size, std::int32_t width, std::int32_t height, int bpp,
                                     std::uint32_t compression, std::uint32_t colorsUsed = 0,
                                     TMasks masks = {});
std::vector<std::uint8_t> CoreHeader(int width, int height, int bpp);

// Puts the 14-byte file header in front of a packed DIB whose pixels start `pixelOffset`
// bytes into it.
std::vector<std::uint8_t> WithFileHeader(const std::vector<std::uint8_t>& dib, std::uint32_t pixelOffset);

// The reference picture: 5 x 3 pixels of four colours, different in every row and column.
inline constexpr int kWidth = 5;
inline constexpr int kHeight = 3;
extern const std::array<std::array<int, kWidth>, kHeight> kIndices;
extern const std::array<TRgb, 4> kColors;

std::vector<TRgb> ReferenceColors(int indexMask = 3);

std::vector<TSample> AllSamples();

} // namespace bmpsamples
