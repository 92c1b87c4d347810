#include "BmpDecoder.h"

#include "BmpFormat.h"
#include "BmpRle.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

namespace {

[[noreturn]] void Fail(const std::string& reason) {
    throw EInvalidGraphic("Bitmap image is not valid: " + reason);
}

// Little-endian fields at fixed offsets; a field beyond the end means a truncated header.
class TFieldReader {
public:
    explicit TFieldReader(std::span<const std::uint8_t> data) : FData(data) {}

    std::uint16_t U16(std::size_t offset) const {
        Require(offset, 2);
        return static_cast<std::uint16_t>(FData[offset] | (FData[offset + 1] << 8));
    }
    std::uint32_t U32(std::size_t offset) const {
        Require(offset, 4);
        return FData[offset] | (static_cast<std::uint32_t>(FData[offset + 1]) << 8) |
               (static_cast<std::uint32_t>(FData[offset + 2]) << 16) |
               (static_cast<std::uint32_t>(FData[offset + 3]) << 24);
    }
    std::int32_t I32(std::size_t offset) const { return static_cast<std::int32_t>(U32(offset)); }

private:
    void Require(std::size_t offset, std::size_t size) const {
        if (offset > FData.size() || FData.size() - offset < size)
            Fail("the header is truncated");
    }

    std::span<const std::uint8_t> FData;
};

// What the header says, before any pixel is touched.
struct TDibLayout {
    std::uint32_t HeaderSize = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0; // always positive; TopDown says which way rows run
    bool TopDown = false;
    int BitsPerPixel = 0;
    std::uint32_t Compression = bmp::kRgb;
    TBitFieldMasks Masks;
    std::int32_t XPelsPerMeter = 0;
    std::int32_t YPelsPerMeter = 0;
    std::uint64_t PaletteOffset = 0; // from the start of the header
    std::uint32_t PaletteEntrySize = 4;
    std::uint64_t DeclaredColors = 0; // entries stored before the pixels
    std::uint32_t UsedColors = 0;     // entries that pixels can refer to
};

bool IsContiguous(std::uint32_t mask) {
    if (mask == 0)
        return true;
    const std::uint32_t shifted = mask >> std::countr_zero(mask);
    return (shifted & (shifted + 1)) == 0;
}

void CheckMasks(const TBitFieldMasks& m, int bitsPerPixel) {
    const std::uint32_t all[] = {m.Red, m.Green, m.Blue, m.Alpha};
    const std::uint32_t limit = bitsPerPixel == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    std::uint32_t seen = 0;
    for (std::uint32_t mask : all) {
        if (!IsContiguous(mask) || (mask & ~limit) != 0 || (mask & seen) != 0)
            Fail("the colour channel masks are not usable");
        seen |= mask;
    }
}

void ReadCoreHeader(const TFieldReader& header, TDibLayout& layout) {
    layout.Width = header.U16(4);
    layout.Height = header.U16(6);
    if (header.U16(8) != 1)
        Fail("the plane count is not 1");
    layout.BitsPerPixel = header.U16(10);
    if (layout.BitsPerPixel != 1 && layout.BitsPerPixel != 4 && layout.BitsPerPixel != 8 &&
        layout.BitsPerPixel != 24)
        Fail("unsupported bit depth " + std::to_string(layout.BitsPerPixel));
    layout.PaletteOffset = bmp::kCoreHeaderSize;
    layout.PaletteEntrySize = 3;
    if (layout.BitsPerPixel <= 8)
        layout.DeclaredColors = layout.UsedColors = 1u << layout.BitsPerPixel;
}

void ReadMasks(const TFieldReader& header, TDibLayout& layout) {
    const bool bitFields =
        layout.Compression == bmp::kBitFields || layout.Compression == bmp::kAlphaBitFields;
    if (!bitFields) {
        layout.Masks = DefaultBitFieldMasks(layout.BitsPerPixel);
        return;
    }
    // Windows 3.x headers keep the masks right after themselves; later headers inside.
    std::uint64_t maskCount = layout.Compression == bmp::kAlphaBitFields ? 4 : 3;
    if (layout.HeaderSize > bmp::kInfoHeaderSize) {
        maskCount = layout.HeaderSize >= bmp::kV3HeaderSize ? 4 : 3;
        layout.PaletteOffset = layout.HeaderSize;
    } else {
        layout.PaletteOffset = layout.HeaderSize + 4 * maskCount;
    }
    layout.Masks = {header.U32(40), header.U32(44), header.U32(48), maskCount == 4 ? header.U32(52) : 0u};
    CheckMasks(layout.Masks, layout.BitsPerPixel);
}

void CheckCompression(const TDibLayout& layout) {
    const int bpp = layout.BitsPerPixel;
    switch (layout.Compression) {
    case bmp::kRgb:
        return;
    case bmp::kRle8:
        if (bpp != 8)
            Fail("RLE8 compression needs 8 bits per pixel");
        break;
    case bmp::kRle4:
        if (bpp != 4)
            Fail("RLE4 compression needs 4 bits per pixel");
        break;
    case bmp::kBitFields:
    case bmp::kAlphaBitFields:
        if (bpp != 16 && bpp != 32)
            Fail("bit-field pixels need 16 or 32 bits per pixel");
        return;
    case bmp::kJpeg:
    case bmp::kPng:
        Fail("JPEG or PNG data inside a bitmap is not supported");
    default:
        Fail("unknown compression " + std::to_string(layout.Compression));
    }
    if (layout.TopDown)
        Fail("a top-down bitmap cannot be run-length compressed");
}

void ReadInfoHeader(const TFieldReader& header, TDibLayout& layout) {
    layout.Width = header.I32(4);
    const std::int32_t height = header.I32(8);
    if (height == INT32_MIN)
        Fail("the height is out of range");
    layout.TopDown = height < 0;
    layout.Height = height < 0 ? -height : height;
    if (header.U16(12) != 1)
        Fail("the plane count is not 1");
    layout.BitsPerPixel = header.U16(14);
    if (!IsDibBitDepth(layout.BitsPerPixel))
        Fail("unsupported bit depth " + std::to_string(layout.BitsPerPixel));
    layout.Compression = header.U32(16);
    layout.XPelsPerMeter = header.I32(24);
    layout.YPelsPerMeter = header.I32(28);
    const std::uint32_t colorsUsed = header.U32(32);
    CheckCompression(layout);
    layout.PaletteOffset = layout.HeaderSize;
    ReadMasks(header, layout);
    if (layout.BitsPerPixel <= 8) {
        const std::uint32_t full = 1u << layout.BitsPerPixel;
        layout.DeclaredColors = colorsUsed == 0 ? full : colorsUsed;
        layout.UsedColors = std::min(full, colorsUsed == 0 ? full : colorsUsed);
    } else {
        layout.DeclaredColors = colorsUsed; // an optional optimisation table, skipped
    }
}

TDibLayout ReadLayout(std::span<const std::uint8_t> dib, const TBmpLimits& limits) {
    TFieldReader header(dib);
    TDibLayout layout;
    layout.HeaderSize = header.U32(0);
    switch (layout.HeaderSize) {
    case bmp::kCoreHeaderSize:
        ReadCoreHeader(header, layout);
        break;
    case bmp::kInfoHeaderSize:
    case bmp::kV2HeaderSize:
    case bmp::kV3HeaderSize:
    case bmp::kV4HeaderSize:
    case bmp::kV5HeaderSize:
        header.U32(layout.HeaderSize - 4); // the whole header must be present
        ReadInfoHeader(header, layout);
        break;
    default:
        if (layout.HeaderSize >= bmp::kOs2V2MinHeaderSize && layout.HeaderSize <= bmp::kOs2V2MaxHeaderSize)
            Fail("OS/2 2.x bitmaps are not supported");
        Fail("unknown header size " + std::to_string(layout.HeaderSize));
    }
    if (layout.Width <= 0 || layout.Height <= 0)
        Fail("the image has no pixels");
    if (layout.Width > limits.MaxDimension || layout.Height > limits.MaxDimension ||
        std::int64_t{layout.Width} * layout.Height > limits.MaxPixels)
        Fail("the image is too large (" + std::to_string(layout.Width) + " x " +
             std::to_string(layout.Height) + ")");
    return layout;
}

// The colour table, padded with black to the full size the depth allows; `available` is how
// many bytes the table may occupy before the pixels begin.
std::vector<TRgbQuad> ReadPalette(std::span<const std::uint8_t> dib, const TDibLayout& layout,
                                  std::uint64_t available) {
    std::vector<TRgbQuad> palette;
    if (layout.BitsPerPixel > 8)
        return palette;
    palette.resize(std::size_t{1} << layout.BitsPerPixel);
    const std::uint64_t stored =
        std::min<std::uint64_t>(layout.UsedColors, available / layout.PaletteEntrySize);
    for (std::uint64_t i = 0; i < stored; ++i) {
        const std::uint8_t* entry = dib.data() + layout.PaletteOffset + i * layout.PaletteEntrySize;
        palette[i] = {entry[0], entry[1], entry[2], 0};
    }
    return palette;
}

// The last row may lack its padding; anything shorter is a truncated file.
void CheckUncompressedSize(std::span<const std::uint8_t> pixels, const TDibLayout& layout) {
    const std::ptrdiff_t stride = DibStride(layout.Width, layout.BitsPerPixel);
    const std::ptrdiff_t payload = RowPayloadBytes(layout.Width, layout.BitsPerPixel);
    const std::uint64_t needed = static_cast<std::uint64_t>(stride) * (layout.Height - 1) + payload;
    if (pixels.size() < needed)
        Fail("the pixel data is truncated");
}

void CopyUncompressedRows(std::span<const std::uint8_t> pixels, const TDibLayout& layout, TBmpImage& image) {
    const std::ptrdiff_t stride = image.Stride();
    const std::ptrdiff_t payload = RowPayloadBytes(image.Width, image.BitsPerPixel);
    const TPixelView target = image.View();
    for (std::int32_t y = 0; y < image.Height; ++y) {
        const std::int32_t sourceRow = layout.TopDown ? y : image.Height - 1 - y;
        std::memcpy(target.Row(y), pixels.data() + sourceRow * stride, static_cast<std::size_t>(payload));
    }
}

TBmpImage DecodePixels(std::span<const std::uint8_t> dib, const TDibLayout& layout,
                       std::uint64_t pixelOffset) {
    if (pixelOffset > dib.size())
        Fail("the pixel data offset lies beyond the end of the data");
    const std::uint64_t paletteBytes =
        pixelOffset > layout.PaletteOffset ? pixelOffset - layout.PaletteOffset : 0;
    const auto pixels = dib.subspan(static_cast<std::size_t>(pixelOffset));
    const bool runLength = layout.Compression == bmp::kRle4 || layout.Compression == bmp::kRle8;
    if (!runLength)
        CheckUncompressedSize(pixels, layout); // before allocating what the header claims
    TBmpImage image = CreateBmpImage(layout.Width, layout.Height, layout.BitsPerPixel);
    image.Palette = ReadPalette(dib, layout, paletteBytes);
    if (layout.BitsPerPixel == 16 || layout.BitsPerPixel == 32)
        image.Masks = layout.Masks;
    image.XPelsPerMeter = layout.XPelsPerMeter;
    image.YPelsPerMeter = layout.YPelsPerMeter;
    if (runLength)
        DecodeBmpRle(pixels, image.View());
    else
        CopyUncompressedRows(pixels, layout, image);
    return image;
}

} // namespace

TBmpImage DecodeBmp(std::span<const std::uint8_t> file, const TBmpLimits& limits) {
    if (file.size() < bmp::kFileHeaderSize)
        Fail("the file is too short");
    if (file[0] != 'B' || file[1] != 'M')
        Fail("the BM signature is missing");
    const std::uint32_t pixelOffset = TFieldReader(file).U32(10);
    const auto dib = file.subspan(bmp::kFileHeaderSize);
    const TDibLayout layout = ReadLayout(dib, limits);
    if (pixelOffset < bmp::kFileHeaderSize + layout.PaletteOffset)
        Fail("the pixel data offset points into the header");
    return DecodePixels(dib, layout, pixelOffset - bmp::kFileHeaderSize);
}

TBmpImage DecodeDib(std::span<const std::uint8_t> dib, const TBmpLimits& limits) {
    const TDibLayout layout = ReadLayout(dib, limits);
    const std::uint64_t paletteEnd = layout.PaletteOffset + layout.DeclaredColors * layout.PaletteEntrySize;
    if (paletteEnd > dib.size())
        Fail("the colour table is truncated");
    return DecodePixels(dib, layout, paletteEnd);
}
