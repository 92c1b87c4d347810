// JPEG decoding and encoding with libjpeg-turbo, on byte buffers. Internal to the graphics
// library: TJPEGImage is the interface.
#pragma once

#include "BmpDecoder.h"
#include "BmpImage.h"

#include <cstdint>
#include <span>
#include <vector>

struct TJpegHeader {
    int Width = 0;
    int Height = 0;
    int Components = 0;
    bool Progressive = false;
};

struct TJpegDecodeOptions {
    int ScaleDenominator = 1; // 1, 2, 4 or 8
    bool Grayscale = false;   // 8 bits with a grey colour table
    bool Quantize = false;    // 8 bits with a colour table of at most 256 colours
    bool Fast = false;        // faster, slightly less exact transform and upsampling
    bool Smoothing = true;    // block smoothing of progressive images
};

// Raise EInvalidGraphic with libjpeg's reason for data they cannot read, and for pictures
// beyond the limits (checked before any pixel memory is taken).
TJpegHeader ReadJpegHeader(std::span<const std::uint8_t> data);
// 24-bit blue-green-red rows, or 8-bit with a colour table; top row first.
TBmpImage DecodeJpeg(std::span<const std::uint8_t> data, const TJpegDecodeOptions& options,
                     const TBmpLimits& limits = {});
// `pixels` must be 24 bits per pixel (blue, green, red); quality 1..100.
std::vector<std::uint8_t> EncodeJpeg(const TBmpImage& pixels, int quality, bool progressive, bool grayscale);
