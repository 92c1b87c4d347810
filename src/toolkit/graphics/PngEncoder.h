// Writing PNG files: 8-bit RGB, one IDAT stream compressed with deflate (fixed codes and a
// greedy match search), enough for screenshots of windows, which compress well that way.
#pragma once

#include "PixelView.h"

#include <cstdint>
#include <span>
#include <vector>

// Pixels of 24 (B, G, R) or 32 bits (B, G, R, unused), as a DIB holds them; the alpha byte is
// dropped. Throws std::invalid_argument for other depths or an invalid view.
std::vector<std::uint8_t> EncodePng(TConstPixelView pixels);

// The checksums the format uses, exposed for their tests.
std::uint32_t PngCrc32(std::span<const std::uint8_t> bytes);
std::uint32_t ZlibAdler32(std::span<const std::uint8_t> bytes);

// A zlib stream (header, fixed-code deflate blocks, Adler-32) of bytes.
std::vector<std::uint8_t> ZlibCompress(std::span<const std::uint8_t> bytes);
