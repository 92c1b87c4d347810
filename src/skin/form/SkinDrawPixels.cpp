#include "SkinDrawPixels.h"

#include <algorithm>

namespace SkinDrawPixels {

TColorPixels::TColorPixels(TBitmap& bitmap) {
    if (bitmap.BitsPerPixel() != 24 && bitmap.BitsPerPixel() != 32) {
        FCopy = std::make_unique<TBitmap>();
        FCopy->Assign(&bitmap);
        FCopy->SetPixelFormat(pf32bit);
    }
    FView = FCopy ? FCopy->PixelView() : bitmap.PixelView();
}

namespace {

void Mark(std::array<bool, 256>& table, int low, int tolerance) {
    const int high = std::min(255, low + std::max(tolerance, 0));
    for (int v = low; v <= high; ++v)
        table[static_cast<std::size_t>(v)] = true;
}

} // namespace

TKeyRange::TKeyRange(TColor low, int redTolerance, int greenTolerance, int blueTolerance) {
    low = ColorToRGB(low);
    Mark(FRed, RedOf(low), redTolerance);
    Mark(FGreen, GreenOf(low), greenTolerance);
    Mark(FBlue, BlueOf(low), blueTolerance);
}

} // namespace SkinDrawPixels
