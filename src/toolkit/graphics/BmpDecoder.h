// Reading Windows bitmaps from memory: files (with the 14-byte file header) and packed DIBs
// (as bitmap resources store them). Headers: OS/2 core (12 bytes), Windows 3.x (40) and its
// later extensions (52, 56, V4 108, V5 124). Depths 1, 4, 8, 16, 24, 32; uncompressed,
// RLE4, RLE8 and bit fields; rows bottom-up or top-down.
#pragma once

#include "BmpImage.h"
#include "GraphicsError.h"

#include <cstdint>
#include <span>

// Refuses images whose pixels would need an unreasonable amount of memory.
struct TBmpLimits {
    std::int32_t MaxDimension = 32768;
    std::int64_t MaxPixels = std::int64_t{1} << 26;
};

// Throws EInvalidGraphic naming what is wrong when the data is not a bitmap this reader
// understands, is damaged or is truncated.
TBmpImage DecodeBmp(std::span<const std::uint8_t> file, const TBmpLimits& limits = {});
TBmpImage DecodeDib(std::span<const std::uint8_t> dib, const TBmpLimits& limits = {});
