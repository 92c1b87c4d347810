#include "ImgUtil.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

constexpr std::uint8_t kKeyRed = 255;
constexpr std::uint8_t kKeyGreen = 0;
constexpr std::uint8_t kKeyBlue = 255;

void RequireValid(const TConstPixelView& pixels, const char* routine) {
    if (!pixels.IsValid())
        throw std::invalid_argument(std::string(routine) + ": the pixel view is not valid");
}

int BytesPerColorPixel(const TConstPixelView& pixels, const char* routine) {
    RequireValid(pixels, routine);
    if (pixels.BitsPerPixel != 24 && pixels.BitsPerPixel != 32)
        throw std::invalid_argument(std::string(routine) + ": needs 24 or 32-bit pixels");
    return pixels.BitsPerPixel / 8;
}

// Calls fn(blue, green, red) with references to every pixel's channels.
template <typename Fn>
void ForEachColorPixel(const TPixelView& pixels, const char* routine, Fn fn) {
    const int step = BytesPerColorPixel(pixels, routine);
    for (std::int32_t y = 0; y < pixels.Height; ++y) {
        std::uint8_t* p = pixels.Row(y);
        for (std::int32_t x = 0; x < pixels.Width; ++x, p += step)
            fn(p[0], p[1], p[2]);
    }
}

void SwapPixels(std::uint8_t* row, std::int32_t a, std::int32_t b, int bitsPerPixel) {
    if (bitsPerPixel < 8) {
        const std::uint32_t va = ReadPixelValue(row, a, bitsPerPixel);
        WritePixelValue(row, a, bitsPerPixel, ReadPixelValue(row, b, bitsPerPixel));
        WritePixelValue(row, b, bitsPerPixel, va);
        return;
    }
    const int bytes = bitsPerPixel / 8;
    std::swap_ranges(row + a * bytes, row + (a + 1) * bytes, row + b * bytes);
}

void CheckRotation(const TConstPixelView& source, const TPixelView& target, const char* routine) {
    RequireValid(source, routine);
    RequireValid(target, routine);
    if (target.Width != source.Height || target.Height != source.Width ||
        target.BitsPerPixel != source.BitsPerPixel)
        throw std::invalid_argument(std::string(routine) +
                                    ": the target must be the source turned a quarter");
}

// Moves every source pixel (x, y) to place(x, y) in the target.
template <typename Place>
void Rotate(const TConstPixelView& source, const TPixelView& target, Place place) {
    const int bpp = source.BitsPerPixel;
    for (std::int32_t y = 0; y < source.Height; ++y) {
        const std::uint8_t* row = source.Row(y);
        for (std::int32_t x = 0; x < source.Width; ++x) {
            const auto [tx, ty] = place(x, y);
            WritePixelValue(target.Row(ty), tx, bpp, ReadPixelValue(row, x, bpp));
        }
    }
}

int Channel(TColor color, int shift) {
    return (color >> shift) & 0xFF;
}

// One entry of a table of d + 1 colours: start + (i * delta + d div 2) div d per channel,
// truncating toward zero, so a falling channel can end one above its end value.
TColor GradientEntry(TColor start, TColor end, int i, int d) {
    TColor entry = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::int64_t from = Channel(start, shift);
        const std::int64_t delta = Channel(end, shift) - from;
        const std::int64_t value = d <= 0 ? from + delta / 2 : from + (i * delta + d / 2) / d;
        entry |= static_cast<TColor>(value & 0xFF) << shift;
    }
    return entry;
}

TGradientCache& ProcessGradients() {
    static TGradientCache cache;
    return cache;
}

} // namespace

void GrayscaleBitmap(TPixelView pixels) {
    ForEachColorPixel(pixels, "GrayscaleBitmap", [](std::uint8_t& b, std::uint8_t& g, std::uint8_t& r) {
        const auto grey = static_cast<std::uint8_t>((b + g + r) / 3);
        b = g = r = grey;
    });
}

void ReplaceMagenta(TPixelView pixels, TColor color) {
    // The channels are taken as they stand: a system colour is not looked up here.
    const std::uint8_t red = RedOf(color), green = GreenOf(color), blue = BlueOf(color);
    ForEachColorPixel(pixels, "ReplaceMagenta", [&](std::uint8_t& b, std::uint8_t& g, std::uint8_t& r) {
        if (r == kKeyRed && g == kKeyGreen && b == kKeyBlue) {
            r = red;
            g = green;
            b = blue;
        }
    });
}

void MirrorBitmap(TPixelView pixels) {
    RequireValid(pixels, "MirrorBitmap");
    for (std::int32_t y = 0; y < pixels.Height; ++y)
        for (std::int32_t x = 0; x < pixels.Width / 2; ++x)
            SwapPixels(pixels.Row(y), x, pixels.Width - 1 - x, pixels.BitsPerPixel);
}

void FlipBitmap(TPixelView pixels) {
    RequireValid(pixels, "FlipBitmap");
    const std::ptrdiff_t bytes = RowPayloadBytes(pixels.Width, pixels.BitsPerPixel);
    for (std::int32_t y = 0; y < pixels.Height / 2; ++y)
        std::swap_ranges(pixels.Row(y), pixels.Row(y) + bytes, pixels.Row(pixels.Height - 1 - y));
}

void RotateLeft(TConstPixelView source, TPixelView target) {
    CheckRotation(source, target, "RotateLeft");
    // The old top row becomes the left column, its right end at the top.
    const std::int32_t w = source.Width;
    Rotate(source, target, [w](std::int32_t x, std::int32_t y) { return std::pair{y, w - 1 - x}; });
}

void RotateRight(TConstPixelView source, TPixelView target) {
    CheckRotation(source, target, "RotateRight");
    // The old top row becomes the right column, its left end at the top.
    const std::int32_t h = source.Height;
    Rotate(source, target, [h](std::int32_t x, std::int32_t y) { return std::pair{h - 1 - y, x}; });
}

TColor BlendColor(TColor color1, TColor color2, int weight) {
    color1 = ColorToRGB(color1);
    color2 = ColorToRGB(color2);
    // Weights outside 0..1000 have no meaning and would overflow the channel arithmetic.
    weight = std::clamp(weight, 0, 1000);
    const int scale = weight < 100 ? 100 : 1000;
    TColor result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int mixed =
            (Channel(color2, shift) * (scale - weight) + Channel(color1, shift) * weight + scale / 2) / scale;
        result |= (mixed & 0xFF) << shift;
    }
    return result;
}

int ColorSaturation(TColor color) {
    const int r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
    if (r < 160 && g < 160 && b < 160)
        return 200;
    const int max = std::max({r, g, b});
    const int min = std::min({r, g, b});
    // (max - min) / max * 255, rounded to nearest with ties to even, in exact integers.
    const int numerator = (max - min) * 255;
    int result = numerator / max;
    const int twiceRemainder = 2 * (numerator % max);
    if (twiceRemainder > max || (twiceRemainder == max && (result & 1)))
        ++result;
    return result;
}

int TGradientCache::Find(int count, TColor startColor, TColor endColor) const {
    for (int slot = SlotCount - 1; slot >= 0; --slot) {
        const std::vector<TColor>& table = FSlots[static_cast<std::size_t>(slot)];
        if (count > 0 && table.size() == static_cast<std::size_t>(count) && table.front() == startColor &&
            table.back() == endColor)
            return slot;
    }
    return -1;
}

int TGradientCache::Make(int count, TColor startColor, TColor endColor) {
    if (count < 1)
        throw std::invalid_argument("MakeGradient: a gradient needs at least one entry");
    const int slot = FNext;
    FNext = (FNext + 1) % SlotCount;
    std::vector<TColor>& table = FSlots[static_cast<std::size_t>(slot)];
    table.resize(static_cast<std::size_t>(count));
    const int d = count - 1;
    for (int i = 0; i < count; ++i)
        table[static_cast<std::size_t>(i)] = GradientEntry(startColor, endColor, i, d);
    return slot;
}

int TGradientCache::Get(int count, TColor startColor, TColor endColor) {
    const int found = Find(count, startColor, endColor);
    return found >= 0 ? found : Make(count, startColor, endColor);
}

std::span<const TColor> TGradientCache::Table(int index) const {
    if (index < 0 || index >= SlotCount)
        throw std::out_of_range("GradientTable: no such slot");
    return FSlots[static_cast<std::size_t>(index)];
}

int FindGradient(int count, TColor startColor, TColor endColor) {
    return ProcessGradients().Find(count, startColor, endColor);
}
int MakeGradient(int count, TColor startColor, TColor endColor) {
    return ProcessGradients().Make(count, startColor, endColor);
}
int GetGradient(int count, TColor startColor, TColor endColor) {
    return ProcessGradients().Get(count, startColor, endColor);
}
std::span<const TColor> GradientTable(int index) {
    return ProcessGradients().Table(index);
}
