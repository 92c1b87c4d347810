// The pixel level under TBitmap: what each pixel format stores, DIB sections of a format,
// reading and writing colours, conversion between formats and transparency masks. Internal
// to the graphics library.
#pragma once

#include "Bitmap.h"

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

int BitsOfFormat(TPixelFormat format);
bool IsIndexedFormat(TPixelFormat format);
// Black and white; the 16 VGA colours; those followed by a 6x6x6 colour cube and greys.
std::vector<TRgbQuad> StandardColorTable(TPixelFormat format);
// The format a decoded image keeps, or nothing when it must become 32-bit first.
std::optional<TPixelFormat> FormatOfImage(const TBmpImage& image);
// The channel masks the codec describes a format's pixels with.
TBitFieldMasks MasksOfFormat(TPixelFormat format);

struct TDibPixels {
    TBitmapHandle Handle;
    std::uint8_t* Bits = nullptr;
};

// A bottom-up DIB section; raises EOutOfResources when GDI cannot make one.
TDibPixels CreateDibSection(int width, int height, TPixelFormat format, const std::vector<TRgbQuad>& palette);
// Top row first over the bottom-up rows of a DIB section.
TPixelView DibView(std::uint8_t* bits, int width, int height, TPixelFormat format);

TRgbQuad ReadColor(const TConstPixelView& view, int x, int y, TPixelFormat format,
                   const std::vector<TRgbQuad>& palette);

// Turns colours into pixel values of one format; indexed formats take the nearest entry.
class TColorEncoder {
public:
    TColorEncoder(TPixelFormat format, const std::vector<TRgbQuad>& palette);
    std::uint32_t Encode(TRgbQuad color);

private:
    TPixelFormat FFormat;
    const std::vector<TRgbQuad>& FPalette;
    std::unordered_map<std::uint32_t, std::uint32_t> FNearest;
};

void FillWhite(const TPixelView& view, TPixelFormat format, const std::vector<TRgbQuad>& palette);
// Copies the top-left area both views share; both have the same depth.
void CopyPixels(const TConstPixelView& source, const TPixelView& target);
// Every pixel of source into target of the same size but another format.
void ConvertPixels(const TConstPixelView& source, TPixelFormat sourceFormat,
                   const std::vector<TRgbQuad>& sourcePalette, const TPixelView& target,
                   TPixelFormat targetFormat, const std::vector<TRgbQuad>& targetPalette);

// The key of a picture without a transparent colour: no pixel has it.
inline constexpr std::uint32_t kNoKey = 0xFFFFFFFFu;
// The key MaskBits compares with: clNone and clDefault mark nothing.
std::uint32_t MaskKey(TColor color);

// 1 bits where the pixel has the key colour (red in the low byte), top row first, rows
// padded to `rowAlign` bytes.
std::vector<std::uint8_t> MaskBits(const TConstPixelView& view, TPixelFormat format,
                                   const std::vector<TRgbQuad>& palette, std::uint32_t keyRgb, int rowAlign);
