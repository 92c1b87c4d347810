// Writing Windows bitmap files: a 40-byte header, the colour table of indexed images and the
// rows bottom-up, as every reader of the format understands them.
#pragma once

#include "BmpImage.h"
#include "PixelView.h"

#include <cstdint>
#include <span>
#include <vector>

// Pixels of 1, 4, 8, 16 (5-5-5), 24 or 32 bits. Indexed images need a colour table of 1 to
// 2^bits entries. Throws std::invalid_argument for anything else.
std::vector<std::uint8_t> EncodeBmp(TConstPixelView pixels, std::span<const TRgbQuad> palette = {});

// As above; 16 and 32-bit images with other channel masks are written with bit fields.
std::vector<std::uint8_t> EncodeBmp(const TBmpImage& image);
