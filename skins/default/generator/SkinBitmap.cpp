#include "SkinBitmap.h"

#include "BmpEncoder.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

std::uint8_t To8(float v) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.f, 1.f) * 255));
}

// A pixel that should show must never read as the key colour, whatever the palette is.
TRgb AvoidKey(TRgb c) {
    if (IsKeyLike(c))
        c.G = 2;
    return c;
}

TRgb FlattenPixel(const art::Color& c, const art::Color& under, float keyBelow) {
    if (c.a < keyBelow)
        return KeyColour;
    const art::Color opaqueUnder{under.r, under.g, under.b, 1};
    return AvoidKey(ToRgb(art::Mix(opaqueUnder, art::Color{c.r, c.g, c.b, 1}, c.a)));
}

} // namespace

TRgb ToRgb(const art::Color& c) {
    return {To8(c.r), To8(c.g), To8(c.b)};
}

TSkinBitmap::TSkinBitmap(int width, int height, TRgb fill)
    : FWidth(width), FHeight(height), FPixels(static_cast<std::size_t>(width) * height, fill) {
    if (width < 0 || height < 0)
        throw std::invalid_argument("a skin bitmap cannot have a negative size");
}

bool TSkinBitmap::HasKey() const {
    return std::any_of(FPixels.begin(), FPixels.end(), [](TRgb c) { return c == KeyColour; });
}

void TSkinBitmap::Blit(const TSkinBitmap& other, int x0, int y0) {
    for (int y = std::max(0, -y0); y < other.FHeight && y0 + y < FHeight; ++y)
        for (int x = std::max(0, -x0); x < other.FWidth && x0 + x < FWidth; ++x)
            Set(x0 + x, y0 + y, other.At(x, y));
}

void TSkinBitmap::BlitTransparent(const TSkinBitmap& other, int x0, int y0) {
    for (int y = std::max(0, -y0); y < other.FHeight && y0 + y < FHeight; ++y)
        for (int x = std::max(0, -x0); x < other.FWidth && x0 + x < FWidth; ++x)
            if (other.At(x, y) != KeyColour)
                Set(x0 + x, y0 + y, other.At(x, y));
}

TSkinBitmap TSkinBitmap::Crop(int x0, int y0, int width, int height) const {
    if (x0 < 0 || y0 < 0 || width < 0 || height < 0 || x0 + width > FWidth || y0 + height > FHeight)
        throw std::out_of_range("crop outside the skin bitmap");
    TSkinBitmap out(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.Set(x, y, At(x0 + x, y0 + y));
    return out;
}

std::vector<std::uint8_t> TSkinBitmap::EncodeBmp() const {
    const std::ptrdiff_t stride = DibStride(FWidth, 24);
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(stride) * FHeight, 0);
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x) {
            std::uint8_t* p = rows.data() + y * stride + 3 * x;
            const TRgb c = At(x, y);
            p[0] = c.B;
            p[1] = c.G;
            p[2] = c.R;
        }
    return ::EncodeBmp(TConstPixelView(FWidth, FHeight, stride, 24, rows.data()));
}

TSkinBitmap Flatten(const art::Image& image, const art::Color& under, float keyBelow) {
    TSkinBitmap out(image.Width(), image.Height());
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            out.Set(x, y, FlattenPixel(image.At(x, y), under, keyBelow));
    return out;
}

TSkinBitmap Flatten(const art::Image& image, const art::Image& under, float keyBelow) {
    if (under.Width() != image.Width() || under.Height() != image.Height())
        throw std::invalid_argument("the picture underneath must have the drawing's size");
    TSkinBitmap out(image.Width(), image.Height());
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            out.Set(x, y, FlattenPixel(image.At(x, y), under.At(x, y), keyBelow));
    return out;
}

TSkinBitmap SideBySide(const std::vector<TSkinBitmap>& frames) {
    if (frames.empty())
        return {};
    const int w = frames.front().Width(), h = frames.front().Height();
    TSkinBitmap out(w * static_cast<int>(frames.size()), h);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].Width() != w || frames[i].Height() != h)
            throw std::invalid_argument("frames of one image must have one size");
        out.Blit(frames[i], w * static_cast<int>(i), 0);
    }
    return out;
}

TSkinBitmap Stacked(const std::vector<TSkinBitmap>& frames) {
    if (frames.empty())
        return {};
    const int w = frames.front().Width(), h = frames.front().Height();
    TSkinBitmap out(w, h * static_cast<int>(frames.size()));
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (frames[i].Width() != w || frames[i].Height() != h)
            throw std::invalid_argument("frames of one image must have one size");
        out.Blit(frames[i], 0, h * static_cast<int>(i));
    }
    return out;
}
