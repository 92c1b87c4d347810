// A plain window onto pixel rows that someone else owns: a DIB section's scan lines, a decoded
// BMP or a test buffer. Row 0 is the top row; a negative stride walks a bottom-up buffer.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes one row of `width` pixels occupies in a DIB: rounded up to a multiple of four.
constexpr std::ptrdiff_t DibStride(std::int32_t width, int bitsPerPixel) {
    return ((static_cast<std::ptrdiff_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

// Bytes a row really uses, without the padding.
constexpr std::ptrdiff_t RowPayloadBytes(std::int32_t width, int bitsPerPixel) {
    return (static_cast<std::ptrdiff_t>(width) * bitsPerPixel + 7) / 8;
}

constexpr bool IsDibBitDepth(int bitsPerPixel) {
    return bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 || bitsPerPixel == 16 ||
           bitsPerPixel == 24 || bitsPerPixel == 32;
}

template <typename Byte>
struct TBasicPixelView {
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::ptrdiff_t Stride = 0; // bytes from one row to the next one down
    int BitsPerPixel = 0;
    Byte* Bits = nullptr; // first byte of the top row

    Byte* Row(std::int32_t y) const { return Bits + y * Stride; }

    // Sound when the depth is a DIB depth, the rows do not overlap and a pointer is present
    // whenever there is a pixel.
    bool IsValid() const {
        if (Width < 0 || Height < 0 || !IsDibBitDepth(BitsPerPixel))
            return false;
        if (Width == 0 || Height == 0)
            return true;
        const std::ptrdiff_t span = Stride < 0 ? -Stride : Stride;
        return Bits != nullptr && (Height == 1 || span >= RowPayloadBytes(Width, BitsPerPixel));
    }
};

using TPixelView = TBasicPixelView<std::uint8_t>;

struct TConstPixelView : TBasicPixelView<const std::uint8_t> {
    TConstPixelView() = default;
    TConstPixelView(std::int32_t width, std::int32_t height, std::ptrdiff_t stride, int bitsPerPixel,
                    const std::uint8_t* bits)
        : TBasicPixelView<const std::uint8_t>{width, height, stride, bitsPerPixel, bits} {}
    TConstPixelView(const TPixelView& view) // NOLINT: a writable view reads as well
        : TBasicPixelView<const std::uint8_t>{view.Width, view.Height, view.Stride, view.BitsPerPixel,
                                              view.Bits} {}
};

// The raw value of pixel x in a row: a palette index for 1, 4 and 8 bits, the little-endian
// word otherwise. The caller keeps x inside the row.
inline std::uint32_t ReadPixelValue(const std::uint8_t* row, std::int32_t x, int bitsPerPixel) {
    switch (bitsPerPixel) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4:
        return (x & 1) ? row[x >> 1] & 0x0Fu : row[x >> 1] >> 4;
    case 8:
        return row[x];
    case 16:
        return row[2 * x] | (static_cast<std::uint32_t>(row[2 * x + 1]) << 8);
    case 24:
        return row[3 * x] | (static_cast<std::uint32_t>(row[3 * x + 1]) << 8) |
               (static_cast<std::uint32_t>(row[3 * x + 2]) << 16);
    default: {
        const std::uint8_t* p = row + 4 * static_cast<std::ptrdiff_t>(x);
        return p[0] | (static_cast<std::uint32_t>(p[1]) << 8) | (static_cast<std::uint32_t>(p[2]) << 16) |
               (static_cast<std::uint32_t>(p[3]) << 24);
    }
    }
}

inline void WritePixelValue(std::uint8_t* row, std::int32_t x, int bitsPerPixel, std::uint32_t value) {
    switch (bitsPerPixel) {
    case 1: {
        const auto bit = static_cast<std::uint8_t>(0x80u >> (x & 7));
        row[x >> 3] = static_cast<std::uint8_t>((value & 1u) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
        break;
    }
    case 4: {
        std::uint8_t& b = row[x >> 1];
        b = (x & 1) ? static_cast<std::uint8_t>((b & 0xF0u) | (value & 0x0Fu))
                    : static_cast<std::uint8_t>((b & 0x0Fu) | ((value & 0x0Fu) << 4));
        break;
    }
    default: {
        const int bytes = bitsPerPixel / 8;
        std::uint8_t* p = row + static_cast<std::ptrdiff_t>(x) * bytes;
        for (int i = 0; i < bytes; ++i)
            p[i] = static_cast<std::uint8_t>(value >> (8 * i));
        break;
    }
    }
}
