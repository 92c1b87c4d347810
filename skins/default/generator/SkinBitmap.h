// The skin's pictures as the engine loads them: 24-bit pixels without alpha, where magenta
// 0xFF00FF marks what is transparent (or, in window borders, cut from the window region).
#pragma once

#include "Raster.h"

#include <cstdint>
#include <vector>

struct TRgb {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;

    bool operator==(const TRgb&) const = default;
};

inline constexpr TRgb KeyColour{255, 0, 255};

// The engine cuts the window region with a tolerance of one step in each channel above the key.
constexpr bool IsKeyLike(TRgb c) {
    return c.R == 255 && c.G <= 1 && c.B == 255;
}

TRgb ToRgb(const art::Color& c);

class TSkinBitmap {
public:
    TSkinBitmap() = default;
    TSkinBitmap(int width, int height, TRgb fill = KeyColour);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Empty() const { return FWidth == 0 || FHeight == 0; }

    TRgb At(int x, int y) const { return FPixels[Index(x, y)]; }
    void Set(int x, int y, TRgb c) { FPixels[Index(x, y)] = c; }
    bool HasKey() const;

    // Copies the other picture in at (x, y), clipped to this one.
    void Blit(const TSkinBitmap& other, int x, int y);
    // As Blit, but key-coloured pixels of the other picture leave this one's pixels alone.
    void BlitTransparent(const TSkinBitmap& other, int x, int y);
    TSkinBitmap Crop(int x, int y, int width, int height) const;

    // A Windows bitmap file: 24 bits per pixel, rows bottom-up.
    std::vector<std::uint8_t> EncodeBmp() const;

    bool operator==(const TSkinBitmap&) const = default;

private:
    std::size_t Index(int x, int y) const { return static_cast<std::size_t>(y) * FWidth + x; }

    int FWidth = 0;
    int FHeight = 0;
    std::vector<TRgb> FPixels;
};

// Flattens a drawing onto the colour it will be shown over. Pixels the drawing covers less than
// `keyBelow` (0..1) become the key colour; the rest are blended over `under`, so anti-aliased
// edges match what the engine draws them on. A negative `keyBelow` keys nothing.
TSkinBitmap Flatten(const art::Image& image, const art::Color& under, float keyBelow = 1 / 255.f);
// As above with a picture underneath of the same size (a gradient, a track ...).
TSkinBitmap Flatten(const art::Image& image, const art::Image& under, float keyBelow = 1 / 255.f);

// Frames of equal size, side by side or stacked, in order.
TSkinBitmap SideBySide(const std::vector<TSkinBitmap>& frames);
TSkinBitmap Stacked(const std::vector<TSkinBitmap>& frames);
