// A bitmap as a DIB section needs it: dimensions, depth, colour table or channel masks, and
// the pixel rows in the depth they were stored in, top row first.
#pragma once

#include "PixelView.h"

#include <cstdint>
#include <vector>

struct TRgbQuad {
    std::uint8_t Blue = 0;
    std::uint8_t Green = 0;
    std::uint8_t Red = 0;
    std::uint8_t Reserved = 0;

    bool operator==(const TRgbQuad&) const = default;
};

// Where the channels of a 16 or 32-bit pixel lie. A zero mask means the channel is absent.
struct TBitFieldMasks {
    std::uint32_t Red = 0;
    std::uint32_t Green = 0;
    std::uint32_t Blue = 0;
    std::uint32_t Alpha = 0;

    bool operator==(const TBitFieldMasks&) const = default;
};

// The layout uncompressed 16-bit (5-5-5) and 32-bit (blue, green, red, unused) pixels have.
TBitFieldMasks DefaultBitFieldMasks(int bitsPerPixel);

struct TBmpImage {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    int BitsPerPixel = 0;
    std::vector<TRgbQuad> Palette; // 2^bits entries for 1, 4 and 8 bits, empty above
    TBitFieldMasks Masks;          // 16 and 32 bits only
    std::int32_t XPelsPerMeter = 0;
    std::int32_t YPelsPerMeter = 0;
    std::vector<std::uint8_t> Pixels; // Height rows of Stride() bytes, top row first

    std::ptrdiff_t Stride() const { return DibStride(Width, BitsPerPixel); }
    TPixelView View() { return {Width, Height, Stride(), BitsPerPixel, Pixels.data()}; }
    TConstPixelView View() const { return {Width, Height, Stride(), BitsPerPixel, Pixels.data()}; }
};

// A zero-filled image with a black colour table (indexed depths) or the default masks.
TBmpImage CreateBmpImage(std::int32_t width, std::int32_t height, int bitsPerPixel);

// The colour of one pixel; the caller keeps (x, y) inside the image. Alpha is 255 unless the
// masks carry an alpha channel; indices beyond the colour table read as opaque black.
TRgbQuad PixelColor(const TBmpImage& image, std::int32_t x, std::int32_t y);

// The same picture as 32-bit blue, green, red, alpha pixels.
TBmpImage ToBgra32(const TBmpImage& image);
