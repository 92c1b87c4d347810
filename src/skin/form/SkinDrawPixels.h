// Reading the pixels of skin bitmaps by colour: internal to the drawing routines.
#pragma once

#include "Bitmap.h"

#include <array>
#include <memory>

namespace SkinDrawPixels {

// The bitmap's pixels as 24 or 32-bit rows (blue, green, red first): its own, or those of a
// 32-bit copy for other depths. The bitmap itself is not changed.
class TColorPixels {
public:
    explicit TColorPixels(TBitmap& bitmap);
    const TPixelView& View() const { return FView; }
    int Step() const { return FView.BitsPerPixel / 8; }

private:
    std::unique_ptr<TBitmap> FCopy;
    TPixelView FView;
};

// Which pixels count as the key: each channel within [low, high].
class TKeyRange {
public:
    TKeyRange(TColor low, int redTolerance, int greenTolerance, int blueTolerance);
    explicit TKeyRange(TColor key) : TKeyRange(key, 0, 0, 0) {}
    // p points at blue, green, red.
    bool Contains(const std::uint8_t* p) const { return FBlue[p[0]] && FGreen[p[1]] && FRed[p[2]]; }

private:
    std::array<bool, 256> FRed{};
    std::array<bool, 256> FGreen{};
    std::array<bool, 256> FBlue{};
};

} // namespace SkinDrawPixels
