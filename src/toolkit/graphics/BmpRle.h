// Run-length decoding of 4 and 8-bit bitmaps (internal to the BMP reader).
#pragma once

#include "PixelView.h"

#include <cstdint>
#include <span>

// Expands RLE4 or RLE8 data into `target` (top row first; the data starts at the bottom row).
// Runs and jumps that leave the image are clipped; pixels the data never sets stay as they
// were. Throws EInvalidGraphic when the data ends before the image is complete.
void DecodeBmpRle(std::span<const std::uint8_t> data, TPixelView target);
