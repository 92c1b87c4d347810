#include "BitmapPixels.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr std::uint8_t Expand(std::uint32_t value, std::uint32_t max) {
    return static_cast<std::uint8_t>((value * 255 + max / 2) / max);
}

constexpr std::uint32_t Reduce(std::uint8_t value, std::uint32_t max) {
    return (value * max + 127) / 255;
}

constexpr std::uint32_t Key(TRgbQuad c) {
    return c.Red | (c.Green << 8) | (static_cast<std::uint32_t>(c.Blue) << 16);
}

const std::array<TRgbQuad, 16> kVgaColors = {{{0, 0, 0, 0},
                                              {0, 0, 0x80, 0},
                                              {0, 0x80, 0, 0},
                                              {0, 0x80, 0x80, 0},
                                              {0x80, 0, 0, 0},
                                              {0x80, 0, 0x80, 0},
                                              {0x80, 0x80, 0, 0},
                                              {0xC0, 0xC0, 0xC0, 0},
                                              {0x80, 0x80, 0x80, 0},
                                              {0, 0, 0xFF, 0},
                                              {0, 0xFF, 0, 0},
                                              {0, 0xFF, 0xFF, 0},
                                              {0xFF, 0, 0, 0},
                                              {0xFF, 0, 0xFF, 0},
                                              {0xFF, 0xFF, 0, 0},
                                              {0xFF, 0xFF, 0xFF, 0}}};

struct TDibInfo {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[256];
};

} // namespace

int BitsOfFormat(TPixelFormat format) {
    switch (format) {
    case pf1bit:
        return 1;
    case pf4bit:
        return 4;
    case pf8bit:
        return 8;
    case pf15bit:
    case pf16bit:
        return 16;
    case pf24bit:
        return 24;
    default:
        return 32;
    }
}

bool IsIndexedFormat(TPixelFormat format) {
    return format == pf1bit || format == pf4bit || format == pf8bit;
}

std::vector<TRgbQuad> StandardColorTable(TPixelFormat format) {
    switch (format) {
    case pf1bit:
        return {{0, 0, 0, 0}, {0xFF, 0xFF, 0xFF, 0}};
    case pf4bit:
        return {kVgaColors.begin(), kVgaColors.end()};
    case pf8bit: {
        std::vector<TRgbQuad> table(kVgaColors.begin(), kVgaColors.end());
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    table.push_back({static_cast<std::uint8_t>(b * 51), static_cast<std::uint8_t>(g * 51),
                                     static_cast<std::uint8_t>(r * 51), 0});
        for (int i = 1; table.size() < 256; ++i) {
            const auto grey = static_cast<std::uint8_t>(i * 255 / 25);
            table.push_back({grey, grey, grey, 0});
        }
        return table;
    }
    default:
        return {};
    }
}

TBitFieldMasks MasksOfFormat(TPixelFormat format) {
    if (format == pf16bit)
        return {0xF800, 0x07E0, 0x001F, 0};
    return DefaultBitFieldMasks(BitsOfFormat(format));
}

std::optional<TPixelFormat> FormatOfImage(const TBmpImage& image) {
    switch (image.BitsPerPixel) {
    case 1:
        return pf1bit;
    case 4:
        return pf4bit;
    case 8:
        return pf8bit;
    case 24:
        return pf24bit;
    case 16: {
        const TBitFieldMasks& m = image.Masks;
        if (m.Red == 0x7C00 && m.Green == 0x03E0 && m.Blue == 0x001F)
            return pf15bit;
        if (m.Red == 0xF800 && m.Green == 0x07E0 && m.Blue == 0x001F)
            return pf16bit;
        return std::nullopt;
    }
    case 32: {
        const TBitFieldMasks& m = image.Masks;
        if (m.Red == 0xFF0000 && m.Green == 0xFF00 && m.Blue == 0xFF &&
            (m.Alpha == 0 || m.Alpha == 0xFF000000))
            return pf32bit;
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

TDibPixels CreateDibSection(int width, int height, TPixelFormat format,
                            const std::vector<TRgbQuad>& palette) {
    const int bits = BitsOfFormat(format);
    // Checked in 64 bits: a 32-bit program must not let the size wrap around.
    const std::int64_t bytes = ((static_cast<std::int64_t>(width) * bits + 31) / 32) * 4 * height;
    if (width <= 0 || height <= 0 || bytes > (std::int64_t{1} << 30))
        throw EOutOfResources(
            FormatMsg("Cannot create a bitmap of %s x %s pixels", {IntToStr(width), IntToStr(height)}));
    TDibInfo info{};
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = width;
    info.Header.biHeight = height;
    info.Header.biPlanes = 1;
    info.Header.biBitCount = static_cast<WORD>(bits);
    info.Header.biCompression = BI_RGB;
    if (format == pf16bit) {
        info.Header.biCompression = BI_BITFIELDS;
        const std::uint32_t masks[3] = {0xF800, 0x07E0, 0x001F};
        std::memcpy(info.Colors, masks, sizeof masks);
    } else if (IsIndexedFormat(format)) {
        const std::size_t count = std::min<std::size_t>(palette.size(), std::size_t{1} << bits);
        info.Header.biClrUsed = static_cast<DWORD>(count);
        std::memcpy(info.Colors, palette.data(), count * sizeof(RGBQUAD));
    }
    void* pixels = nullptr;
    HBITMAP handle = ::CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                        &pixels, nullptr, 0);
    if (!handle || !pixels) {
        if (handle)
            DeleteObject(handle);
        throw EOutOfResources(
            FormatMsg("Cannot create a bitmap of %s x %s pixels", {IntToStr(width), IntToStr(height)}));
    }
    return {TBitmapHandle(handle), static_cast<std::uint8_t*>(pixels)};
}

TPixelView DibView(std::uint8_t* bits, int width, int height, TPixelFormat format) {
    const int depth = BitsOfFormat(format);
    const std::ptrdiff_t stride = DibStride(width, depth);
    return {width, height, -stride, depth, bits + (height - 1) * stride};
}

TRgbQuad ReadColor(const TConstPixelView& view, int x, int y, TPixelFormat format,
                   const std::vector<TRgbQuad>& palette) {
    const std::uint8_t* row = view.Row(y);
    const std::uint32_t value = ReadPixelValue(row, x, view.BitsPerPixel);
    switch (format) {
    case pf1bit:
    case pf4bit:
    case pf8bit:
        return value < palette.size() ? palette[value] : TRgbQuad{};
    case pf15bit:
        return {Expand(value & 0x1F, 31), Expand((value >> 5) & 0x1F, 31), Expand((value >> 10) & 0x1F, 31),
                0};
    case pf16bit:
        return {Expand(value & 0x1F, 31), Expand((value >> 5) & 0x3F, 63), Expand((value >> 11) & 0x1F, 31),
                0};
    default:
        return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    }
}

TColorEncoder::TColorEncoder(TPixelFormat format, const std::vector<TRgbQuad>& palette)
    : FFormat(format), FPalette(palette) {}

std::uint32_t TColorEncoder::Encode(TRgbQuad c) {
    switch (FFormat) {
    case pf1bit:
    case pf4bit:
    case pf8bit: {
        const std::uint32_t key = Key(c);
        if (auto found = FNearest.find(key); found != FNearest.end())
            return found->second;
        std::uint32_t best = 0;
        int bestDistance = INT32_MAX;
        for (std::size_t i = 0; i < FPalette.size() && bestDistance > 0; ++i) {
            const int dr = FPalette[i].Red - c.Red;
            const int dg = FPalette[i].Green - c.Green;
            const int db = FPalette[i].Blue - c.Blue;
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = static_cast<std::uint32_t>(i);
            }
        }
        FNearest.emplace(key, best);
        return best;
    }
    case pf15bit:
        return (Reduce(c.Red, 31) << 10) | (Reduce(c.Green, 31) << 5) | Reduce(c.Blue, 31);
    case pf16bit:
        return (Reduce(c.Red, 31) << 11) | (Reduce(c.Green, 63) << 5) | Reduce(c.Blue, 31);
    default:
        return c.Blue | (c.Green << 8) | (static_cast<std::uint32_t>(c.Red) << 16) |
               (static_cast<std::uint32_t>(c.Reserved) << 24);
    }
}

void FillWhite(const TPixelView& view, TPixelFormat format, const std::vector<TRgbQuad>& palette) {
    std::uint8_t fill = 0xFF;
    if (IsIndexedFormat(format)) {
        const std::uint32_t index = TColorEncoder(format, palette).Encode({0xFF, 0xFF, 0xFF, 0});
        fill = format == pf1bit   ? static_cast<std::uint8_t>(index ? 0xFF : 0x00)
               : format == pf4bit ? static_cast<std::uint8_t>(index << 4 | index)
                                  : static_cast<std::uint8_t>(index);
    }
    const auto bytes = static_cast<std::size_t>(RowPayloadBytes(view.Width, view.BitsPerPixel));
    for (int y = 0; y < view.Height; ++y) {
        std::memset(view.Row(y), fill, bytes);
        // The alpha byte of 32-bit pixels stays 0, as GDI leaves it.
        if (view.BitsPerPixel == 32)
            for (int x = 0; x < view.Width; ++x)
                view.Row(y)[4 * x + 3] = 0;
    }
}

void CopyPixels(const TConstPixelView& source, const TPixelView& target) {
    const int width = std::min(source.Width, target.Width);
    const int height = std::min(source.Height, target.Height);
    const int depth = target.BitsPerPixel;
    for (int y = 0; y < height; ++y) {
        if (depth >= 8) {
            std::memcpy(target.Row(y), source.Row(y), static_cast<std::size_t>(width) * (depth / 8));
        } else {
            for (int x = 0; x < width; ++x)
                WritePixelValue(target.Row(y), x, depth, ReadPixelValue(source.Row(y), x, depth));
        }
    }
}

void ConvertPixels(const TConstPixelView& source, TPixelFormat sourceFormat,
                   const std::vector<TRgbQuad>& sourcePalette, const TPixelView& target,
                   TPixelFormat targetFormat, const std::vector<TRgbQuad>& targetPalette) {
    TColorEncoder encoder(targetFormat, targetPalette);
    const int width = std::min(source.Width, target.Width);
    const int height = std::min(source.Height, target.Height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            WritePixelValue(target.Row(y), x, target.BitsPerPixel,
                            encoder.Encode(ReadColor(source, x, y, sourceFormat, sourcePalette)));
}

std::uint32_t MaskKey(TColor color) {
    return color == clNone || color == clDefault ? kNoKey : ColorToColorRef(color);
}

std::vector<std::uint8_t> MaskBits(const TConstPixelView& view, TPixelFormat format,
                                   const std::vector<TRgbQuad>& palette, std::uint32_t keyRgb, int rowAlign) {
    const std::size_t rowBytes =
        static_cast<std::size_t>((view.Width + 8 * rowAlign - 1) / (8 * rowAlign) * rowAlign);
    std::vector<std::uint8_t> bits(rowBytes * static_cast<std::size_t>(view.Height), 0);
    for (int y = 0; y < view.Height; ++y) {
        std::uint8_t* row = bits.data() + rowBytes * static_cast<std::size_t>(y);
        for (int x = 0; x < view.Width; ++x)
            if (Key(ReadColor(view, x, y, format, palette)) == keyRgb)
                row[x >> 3] |= static_cast<std::uint8_t>(0x80u >> (x & 7));
    }
    return bits;
}
