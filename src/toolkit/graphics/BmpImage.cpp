#include "BmpImage.h"

#include <bit>
#include <stdexcept>

namespace {

// Scales a masked channel to 0..255, rounding, so that 5-bit 31 and 10-bit 1023 both give 255.
std::uint8_t ExtractChannel(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const std::uint64_t max = mask >> shift;
    const std::uint64_t value = (pixel & mask) >> shift;
    return static_cast<std::uint8_t>((value * 255 + max / 2) / max);
}

} // namespace

TBitFieldMasks DefaultBitFieldMasks(int bitsPerPixel) {
    if (bitsPerPixel == 16)
        return {0x7C00, 0x03E0, 0x001F, 0};
    if (bitsPerPixel == 32)
        return {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
    return {};
}

TBmpImage CreateBmpImage(std::int32_t width, std::int32_t height, int bitsPerPixel) {
    if (width < 0 || height < 0 || !IsDibBitDepth(bitsPerPixel))
        throw std::invalid_argument("CreateBmpImage: unsupported size or depth");
    TBmpImage image;
    image.Width = width;
    image.Height = height;
    image.BitsPerPixel = bitsPerPixel;
    if (bitsPerPixel <= 8)
        image.Palette.resize(std::size_t{1} << bitsPerPixel);
    image.Masks = DefaultBitFieldMasks(bitsPerPixel);
    image.Pixels.assign(static_cast<std::size_t>(image.Stride() * height), 0);
    return image;
}

TRgbQuad PixelColor(const TBmpImage& image, std::int32_t x, std::int32_t y) {
    const std::uint8_t* row = image.View().Row(y);
    const std::uint32_t value = ReadPixelValue(row, x, image.BitsPerPixel);
    if (image.BitsPerPixel <= 8) {
        if (value >= image.Palette.size())
            return {0, 0, 0, 255};
        TRgbQuad entry = image.Palette[value];
        entry.Reserved = 255;
        return entry;
    }
    if (image.BitsPerPixel == 24)
        return {row[3 * x], row[3 * x + 1], row[3 * x + 2], 255};
    const TBitFieldMasks& m = image.Masks;
    return {ExtractChannel(value, m.Blue), ExtractChannel(value, m.Green), ExtractChannel(value, m.Red),
            m.Alpha ? ExtractChannel(value, m.Alpha) : std::uint8_t{255}};
}

TBmpImage ToBgra32(const TBmpImage& image) {
    TBmpImage result = CreateBmpImage(image.Width, image.Height, 32);
    result.Masks.Alpha = 0xFF000000;
    result.XPelsPerMeter = image.XPelsPerMeter;
    result.YPelsPerMeter = image.YPelsPerMeter;
    const TPixelView target = result.View();
    for (std::int32_t y = 0; y < image.Height; ++y) {
        std::uint8_t* out = target.Row(y);
        for (std::int32_t x = 0; x < image.Width; ++x, out += 4) {
            const TRgbQuad c = PixelColor(image, x, y);
            out[0] = c.Blue;
            out[1] = c.Green;
            out[2] = c.Red;
            out[3] = c.Reserved;
        }
    }
    return result;
}
