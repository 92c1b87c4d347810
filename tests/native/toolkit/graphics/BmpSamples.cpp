#include "BmpSamples.h"

#include <functional>

namespace bmpsamples {

// clang-format off
const std::array<std::array<int, kWidth>, kHeight> kIndices = {{
    {0, 1, 2, 3, 1},
    {3, 3, 0, 2, 2},
    {1, 0, 0, 0, 3},
}};
// clang-format on

// Channels 0, 132 and 255 are exact in 5-bit fields (0, 16, 31) and 10-bit fields (0, 530,
// 1023), so the same picture serves every depth.
const std::array<TRgb, 4> kColors = {{{0, 0, 0}, {255, 0, 0}, {0, 255, 132}, {132, 0, 255}}};

TBytes& TBytes::U8(std::uint32_t v) {
    FBytes.push_back(static_cast<std::uint8_t>(v));
    return *this;
}
TBytes& TBytes::U16(std::uint32_t v) {
    return U8(v).U8(v >> 8);
}
TBytes& TBytes::U32(std::uint32_t v) {
    return U16(v & 0xFFFF).U16(v >> 16);
}
TBytes& TBytes::Raw(const std::vector<std::uint8_t>& bytes) {
    FBytes.insert(FBytes.end(), bytes.begin(), bytes.end());
    return *this;
}
TBytes& TBytes::Zeros(std::size_t count) {
    FBytes.insert(FBytes.end(), count, 0);
    return *this;
}

std::vector<std::uint8_t> InfoHeader(std::uint32_t size, std::int32_t width, std::int32_t height, int bpp,
                                     std::uint32_t compression, std::uint32_t colorsUsed, TMasks masks) {
    TBytes h;
    h.U32(size)
        .U32(static_cast<std::uint32_t>(width))
        .U32(static_cast<std::uint32_t>(height))
        .U16(1)
        .U16(bpp);
    h.U32(compression).U32(0).U32(2835).U32(2835).U32(colorsUsed).U32(0);
    if (size >= 52)
        h.U32(masks.R).U32(masks.G).U32(masks.B);
    if (size >= 56)
        h.U32(masks.A);
    h.Zeros(size - h.Size());
    return h.Get();
}

std::vector<std::uint8_t> CoreHeader(int width, int height, int bpp) {
    TBytes h;
    h.U32(12).U16(width).U16(height).U16(1).U16(bpp);
    return h.Get();
}

std::vector<std::uint8_t> WithFileHeader(const std::vector<std::uint8_t>& dib, std::uint32_t pixelOffset) {
    TBytes f;
    f.U8('B').U8('M').U32(14 + static_cast<std::uint32_t>(dib.size())).U32(0).U32(14 + pixelOffset);
    return f.Raw(dib).Get();
}

std::vector<TRgb> ReferenceColors(int indexMask) {
    std::vector<TRgb> colors;
    for (const auto& row : kIndices)
        for (int index : row)
            colors.push_back(kColors[index & indexMask]);
    return colors;
}

namespace {

enum class TRows { BottomUp, TopDown };

std::vector<std::uint8_t> Palette(int entries, int entrySize) {
    TBytes p;
    for (int i = 0; i < entries; ++i) {
        const TRgb c = i < 4 ? kColors[i] : TRgb{};
        p.U8(c.B).U8(c.G).U8(c.R);
        if (entrySize == 4)
            p.U8(0);
    }
    return p.Get();
}

// Rows of pixels padded to four bytes, each pixel produced by `pixel` as `bytes` little-endian
// bytes, or packed most significant bits first for depths below 8.
std::vector<std::uint8_t> Rows(int bpp, TRows order, const std::function<std::uint32_t(int)>& pixel) {
    TBytes out;
    for (int r = 0; r < kHeight; ++r) {
        const int y = order == TRows::TopDown ? r : kHeight - 1 - r;
        std::vector<std::uint8_t> row;
        if (bpp < 8) {
            row.assign((kWidth * bpp + 7) / 8, 0);
            for (int x = 0; x < kWidth; ++x) {
                const int bit = x * bpp;
                row[bit / 8] |= static_cast<std::uint8_t>(pixel(kIndices[y][x]) << (8 - bpp - bit % 8));
            }
        } else {
            for (int x = 0; x < kWidth; ++x)
                for (int b = 0; b < bpp / 8; ++b)
                    row.push_back(static_cast<std::uint8_t>(pixel(kIndices[y][x]) >> (8 * b)));
        }
        while (row.size() % 4)
            row.push_back(0);
        out.Raw(row);
    }
    return out.Get();
}

std::uint32_t Bgr(int index) {
    const TRgb c = kColors[index];
    return c.B | (c.G << 8) | (c.R << 16);
}

TSample Make(std::string name, int bpp, std::vector<std::uint8_t> header, std::vector<std::uint8_t> palette,
             std::vector<std::uint8_t> pixels, std::vector<TRgb> expected) {
    TBytes dib;
    dib.Raw(header).Raw(palette);
    const auto offset = static_cast<std::uint32_t>(dib.Size());
    dib.Raw(pixels);
    return {std::move(name),    WithFileHeader(dib.Get(), offset), false, bpp, kWidth, kHeight,
            std::move(expected)};
}

std::vector<TRgb> WithAlpha(const std::array<std::uint8_t, 4>& alpha) {
    std::vector<TRgb> colors;
    for (const auto& row : kIndices)
        for (int index : row) {
            TRgb c = kColors[index];
            c.A = alpha[index];
            colors.push_back(c);
        }
    return colors;
}

const std::array<std::uint8_t, 4> kAlpha = {0x00, 0x40, 0x80, 0xFF};

void AddCoreSamples(std::vector<TSample>& out) {
    const auto index = [](int i) { return static_cast<std::uint32_t>(i); };
    const auto odd = [](int i) { return static_cast<std::uint32_t>(i & 1); };
    out.push_back(Make("core-1bit", 1, CoreHeader(kWidth, kHeight, 1), Palette(2, 3),
                       Rows(1, TRows::BottomUp, odd), ReferenceColors(1)));
    out.push_back(Make("core-4bit", 4, CoreHeader(kWidth, kHeight, 4), Palette(16, 3),
                       Rows(4, TRows::BottomUp, index), ReferenceColors()));
    out.push_back(Make("core-8bit", 8, CoreHeader(kWidth, kHeight, 8), Palette(256, 3),
                       Rows(8, TRows::BottomUp, index), ReferenceColors()));
    out.push_back(Make("core-24bit", 24, CoreHeader(kWidth, kHeight, 24), {}, Rows(24, TRows::BottomUp, Bgr),
                       ReferenceColors()));
}

void AddInfoSamples(std::vector<TSample>& out) {
    const auto index = [](int i) { return static_cast<std::uint32_t>(i); };
    const auto odd = [](int i) { return static_cast<std::uint32_t>(i & 1); };
    const auto bgrx = [](int i) { return Bgr(i) | 0x7F000000u; }; // the unused byte must not matter
    out.push_back(Make("info-1bit", 1, InfoHeader(40, kWidth, kHeight, 1, 0), Palette(2, 4),
                       Rows(1, TRows::BottomUp, odd), ReferenceColors(1)));
    out.push_back(Make("info-4bit", 4, InfoHeader(40, kWidth, kHeight, 4, 0), Palette(16, 4),
                       Rows(4, TRows::BottomUp, index), ReferenceColors()));
    out.push_back(Make("info-8bit-4-colours", 8, InfoHeader(40, kWidth, kHeight, 8, 0, 4), Palette(4, 4),
                       Rows(8, TRows::BottomUp, index), ReferenceColors()));
    out.push_back(Make("info-24bit", 24, InfoHeader(40, kWidth, kHeight, 24, 0), {},
                       Rows(24, TRows::BottomUp, Bgr), ReferenceColors()));
    out.push_back(Make("info-32bit", 32, InfoHeader(40, kWidth, kHeight, 32, 0), {},
                       Rows(32, TRows::BottomUp, bgrx), ReferenceColors()));
    out.push_back(Make("info-4bit-top-down", 4, InfoHeader(40, kWidth, -kHeight, 4, 0), Palette(16, 4),
                       Rows(4, TRows::TopDown, index), ReferenceColors()));
    out.push_back(Make("info-8bit-top-down", 8, InfoHeader(40, kWidth, -kHeight, 8, 0), Palette(256, 4),
                       Rows(8, TRows::TopDown, index), ReferenceColors()));
    out.push_back(Make("info-24bit-top-down", 24, InfoHeader(40, kWidth, -kHeight, 24, 0), {},
                       Rows(24, TRows::TopDown, Bgr), ReferenceColors()));
    out.push_back(Make("info-32bit-top-down", 32, InfoHeader(40, kWidth, -kHeight, 32, 0), {},
                       Rows(32, TRows::TopDown, bgrx), ReferenceColors()));

    // A gap between the colour table and the pixels: the file header's offset decides.
    TBytes gap;
    gap.Raw(InfoHeader(40, kWidth, kHeight, 8, 0, 4)).Raw(Palette(4, 4)).Zeros(6);
    const auto gapOffset = static_cast<std::uint32_t>(gap.Size());
    gap.Raw(Rows(8, TRows::BottomUp, index));
    out.push_back({"info-8bit-gap-before-pixels", WithFileHeader(gap.Get(), gapOffset), false, 8, kWidth,
                   kHeight, ReferenceColors()});
}

void AddBitFieldSamples(std::vector<TSample>& out) {
    constexpr std::array<std::uint32_t, 4> k555 = {0x0000, 0x7C00, 0x03F0, 0x401F};
    constexpr std::array<std::uint32_t, 4> k565 = {0x0000, 0xF800, 0x07F0, 0x801F};
    constexpr std::array<std::uint32_t, 4> k1555 = {0x0000, 0xFC00, 0x03F0, 0xC01F};
    constexpr std::array<std::uint32_t, 4> k101010 = {0x00000000, 0x3FF00000, 0x000FFE12, 0x212003FF};
    const TMasks m565{0xF800, 0x07E0, 0x001F, 0};
    const TMasks m1555{0x7C00, 0x03E0, 0x001F, 0x8000};
    const TMasks mRgbx{0x000000FF, 0x0000FF00, 0x00FF0000, 0};
    const TMasks mRgba{0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
    const TMasks mBgra{0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    const TMasks m101010{0x3FF00000, 0x000FFC00, 0x000003FF, 0};
    const auto masks = [](const TMasks& m, bool alpha) {
        TBytes b;
        b.U32(m.R).U32(m.G).U32(m.B);
        if (alpha)
            b.U32(m.A);
        return b.Get();
    };
    const auto rgbx = [](int i) {
        const TRgb c = kColors[i];
        return c.R | (c.G << 8) | (c.B << 16) | 0x33000000u;
    };
    const auto rgba = [](int i) {
        const TRgb c = kColors[i];
        return c.R | (c.G << 8) | (c.B << 16) | (static_cast<std::uint32_t>(kAlpha[i]) << 24);
    };
    const auto bgra = [](int i) { return Bgr(i) | (static_cast<std::uint32_t>(kAlpha[i]) << 24); };

    out.push_back(Make("info-16bit-555", 16, InfoHeader(40, kWidth, kHeight, 16, 0), {},
                       Rows(16, TRows::BottomUp, [&](int i) { return k555[i]; }), ReferenceColors()));
    out.push_back(Make("info-16bit-565-bitfields", 16, InfoHeader(40, kWidth, kHeight, 16, 3),
                       masks(m565, false), Rows(16, TRows::BottomUp, [&](int i) { return k565[i]; }),
                       ReferenceColors()));
    out.push_back(Make("info-32bit-rgbx-bitfields", 32, InfoHeader(40, kWidth, kHeight, 32, 3),
                       masks(mRgbx, false), Rows(32, TRows::BottomUp, rgbx), ReferenceColors()));
    out.push_back(Make("info-32bit-alpha-bitfields", 32, InfoHeader(40, kWidth, -kHeight, 32, 6),
                       masks(mRgba, true), Rows(32, TRows::TopDown, rgba), WithAlpha(kAlpha)));
    out.push_back(Make("v2-16bit-565", 16, InfoHeader(52, kWidth, kHeight, 16, 3, 0, m565), {},
                       Rows(16, TRows::BottomUp, [&](int i) { return k565[i]; }), ReferenceColors()));
    out.push_back(Make("v3-16bit-1555", 16, InfoHeader(56, kWidth, kHeight, 16, 3, 0, m1555), {},
                       Rows(16, TRows::BottomUp, [&](int i) { return k1555[i]; }),
                       WithAlpha({0x00, 0xFF, 0x00, 0xFF})));
    out.push_back(Make("v4-32bit-10bit-channels", 32, InfoHeader(108, kWidth, kHeight, 32, 3, 0, m101010), {},
                       Rows(32, TRows::BottomUp, [&](int i) { return k101010[i]; }), ReferenceColors()));
    out.push_back(Make("v5-32bit-alpha", 32, InfoHeader(124, kWidth, kHeight, 32, 3, 0, mBgra), {},
                       Rows(32, TRows::BottomUp, bgra), WithAlpha(kAlpha)));
    out.push_back(Make("v5-24bit", 24, InfoHeader(124, kWidth, kHeight, 24, 0), {},
                       Rows(24, TRows::BottomUp, Bgr), ReferenceColors()));
    out.push_back(Make("v5-4bit", 4, InfoHeader(124, kWidth, -kHeight, 4, 0), Palette(16, 4),
                       Rows(4, TRows::TopDown, [](int i) { return static_cast<std::uint32_t>(i); }),
                       ReferenceColors()));
}

// Run-length data written out op by op. Bottom row first: 1 0 0 0 3 / 3 3 0 2 2 / 0 1 2 3 1.
void AddRleSamples(std::vector<TSample>& out) {
    const std::vector<std::uint8_t> rle8 = {
        0x01, 0x01, 0x03, 0x00, 0x01, 0x03, 0x00, 0x00,             // run 1, run 0 x3, run 3, EOL
        0x00, 0x05, 0x03, 0x03, 0x00, 0x02, 0x02, 0x00, 0x00, 0x00, // absolute 5 + pad, EOL
        0x00, 0x02, 0x01, 0x00,                                     // skip one pixel (stays 0)
        0x00, 0x03, 0x01, 0x02, 0x03, 0x00, 0x01, 0x01, 0x00, 0x01, // absolute 3 + pad, run 1, EOB
    };
    const std::vector<std::uint8_t> rle4 = {
        0x01, 0x10, 0x03, 0x00, 0x01, 0x30, 0x00, 0x00, // 1, 0 0 0, 3, EOL
        0x00, 0x05, 0x33, 0x02, 0x20, 0x00, 0x00, 0x00, // absolute 3 3 0 2 2 + pad, EOL
        0x02, 0x01, 0x02, 0x23, 0x01, 0x10, 0x00, 0x01, // 0 1, 2 3, 1, EOB
    };
    out.push_back(Make("info-rle8", 8, InfoHeader(40, kWidth, kHeight, 8, 1, 4), Palette(4, 4), rle8,
                       ReferenceColors()));
    out.push_back(
        Make("info-rle4", 4, InfoHeader(40, kWidth, kHeight, 4, 2), Palette(16, 4), rle4, ReferenceColors()));
}

void AddPackedDibSamples(std::vector<TSample>& out) {
    const auto index = [](int i) { return static_cast<std::uint32_t>(i); };
    TBytes dib8;
    dib8.Raw(InfoHeader(40, kWidth, kHeight, 8, 0, 4))
        .Raw(Palette(4, 4))
        .Raw(Rows(8, TRows::BottomUp, index));
    out.push_back({"dib-8bit", dib8.Get(), true, 8, kWidth, kHeight, ReferenceColors()});

    TBytes dibCore;
    dibCore.Raw(CoreHeader(kWidth, kHeight, 4)).Raw(Palette(16, 3)).Raw(Rows(4, TRows::BottomUp, index));
    out.push_back({"dib-core-4bit", dibCore.Get(), true, 4, kWidth, kHeight, ReferenceColors()});

    constexpr std::array<std::uint32_t, 4> k565 = {0x0000, 0xF800, 0x07F0, 0x801F};
    TBytes dib16;
    dib16.Raw(InfoHeader(40, kWidth, kHeight, 16, 3)).U32(0xF800).U32(0x07E0).U32(0x001F);
    dib16.Raw(Rows(16, TRows::BottomUp, [&](int i) { return k565[i]; }));
    out.push_back({"dib-16bit-565", dib16.Get(), true, 16, kWidth, kHeight, ReferenceColors()});
}

} // namespace

std::vector<TSample> AllSamples() {
    std::vector<TSample> samples;
    AddCoreSamples(samples);
    AddInfoSamples(samples);
    AddBitFieldSamples(samples);
    AddRleSamples(samples);
    AddPackedDibSamples(samples);
    return samples;
}

} // namespace bmpsamples
