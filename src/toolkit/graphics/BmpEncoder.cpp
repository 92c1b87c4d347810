#include "BmpEncoder.h"

#include "BmpFormat.h"

#include <cstring>
#include <stdexcept>

namespace {

class TByteWriter {
public:
    explicit TByteWriter(std::vector<std::uint8_t>& out) : FOut(out) {}
    void U16(std::uint32_t value) {
        FOut.push_back(static_cast<std::uint8_t>(value));
        FOut.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void U32(std::uint32_t value) {
        U16(value & 0xFFFFu);
        U16(value >> 16);
    }

private:
    std::vector<std::uint8_t>& FOut;
};

struct TEncodeRequest {
    TConstPixelView Pixels;
    std::span<const TRgbQuad> Palette;
    const TBitFieldMasks* Masks = nullptr; // written as bit fields when set
    std::int32_t XPelsPerMeter = 0;
    std::int32_t YPelsPerMeter = 0;
};

void Validate(const TEncodeRequest& request) {
    const TConstPixelView& p = request.Pixels;
    if (!p.IsValid() || p.Width == 0 || p.Height == 0)
        throw std::invalid_argument("EncodeBmp: the pixels do not describe an image");
    const std::size_t maxColors = p.BitsPerPixel <= 8 ? std::size_t{1} << p.BitsPerPixel : 0;
    if (request.Palette.size() > maxColors || (maxColors != 0 && request.Palette.empty()))
        throw std::invalid_argument("EncodeBmp: the colour table does not fit the depth");
}

std::vector<std::uint8_t> Encode(const TEncodeRequest& request) {
    Validate(request);
    const TConstPixelView& p = request.Pixels;
    const std::uint32_t maskBytes = request.Masks ? 12 : 0;
    const auto paletteBytes = static_cast<std::uint32_t>(request.Palette.size() * 4);
    const std::uint32_t pixelOffset = bmp::kFileHeaderSize + bmp::kInfoHeaderSize + maskBytes + paletteBytes;
    const std::ptrdiff_t stride = DibStride(p.Width, p.BitsPerPixel);
    const std::uint64_t imageBytes = static_cast<std::uint64_t>(stride) * p.Height;
    if (imageBytes > 0xFFFFFFFFu - pixelOffset)
        throw std::invalid_argument("EncodeBmp: the image is too large for a bitmap file");

    std::vector<std::uint8_t> out;
    out.reserve(pixelOffset + imageBytes);
    TByteWriter w(out);
    out.push_back('B');
    out.push_back('M');
    w.U32(static_cast<std::uint32_t>(pixelOffset + imageBytes));
    w.U32(0);
    w.U32(pixelOffset);

    w.U32(bmp::kInfoHeaderSize);
    w.U32(static_cast<std::uint32_t>(p.Width));
    w.U32(static_cast<std::uint32_t>(p.Height)); // positive: rows bottom-up
    w.U16(1);
    w.U16(static_cast<std::uint32_t>(p.BitsPerPixel));
    w.U32(request.Masks ? bmp::kBitFields : bmp::kRgb);
    w.U32(static_cast<std::uint32_t>(imageBytes));
    w.U32(static_cast<std::uint32_t>(request.XPelsPerMeter));
    w.U32(static_cast<std::uint32_t>(request.YPelsPerMeter));
    const bool partialTable =
        p.BitsPerPixel <= 8 && request.Palette.size() < (std::size_t{1} << p.BitsPerPixel);
    w.U32(partialTable ? static_cast<std::uint32_t>(request.Palette.size()) : 0);
    w.U32(0);
    if (request.Masks) {
        w.U32(request.Masks->Red);
        w.U32(request.Masks->Green);
        w.U32(request.Masks->Blue);
    }
    for (const TRgbQuad& entry : request.Palette) {
        out.push_back(entry.Blue);
        out.push_back(entry.Green);
        out.push_back(entry.Red);
        out.push_back(0);
    }

    const std::ptrdiff_t payload = RowPayloadBytes(p.Width, p.BitsPerPixel);
    for (std::int32_t y = p.Height - 1; y >= 0; --y) {
        const std::uint8_t* row = p.Row(y);
        out.insert(out.end(), row, row + payload);
        out.insert(out.end(), static_cast<std::size_t>(stride - payload), std::uint8_t{0});
    }
    return out;
}

} // namespace

std::vector<std::uint8_t> EncodeBmp(TConstPixelView pixels, std::span<const TRgbQuad> palette) {
    return Encode({pixels, palette});
}

std::vector<std::uint8_t> EncodeBmp(const TBmpImage& image) {
    if (image.Width > 0 && IsDibBitDepth(image.BitsPerPixel) &&
        image.Pixels.size() < static_cast<std::size_t>(image.Stride() * image.Height))
        throw std::invalid_argument("EncodeBmp: the image holds fewer pixels than its size says");
    TEncodeRequest request{image.View(), image.Palette, nullptr, image.XPelsPerMeter, image.YPelsPerMeter};
    const bool masked = image.BitsPerPixel == 16 || image.BitsPerPixel == 32;
    const TBitFieldMasks standard = DefaultBitFieldMasks(image.BitsPerPixel);
    // The alpha mask has no place in a 40-byte header; a 32-bit pixel keeps its fourth byte anyway.
    const TBitFieldMasks colorOnly{image.Masks.Red, image.Masks.Green, image.Masks.Blue, 0};
    if (masked && colorOnly != standard)
        request.Masks = &image.Masks;
    return Encode(request);
}
