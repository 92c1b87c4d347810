#include "ImgUtilBitmap.h"

namespace {

// True when there are pixels to work on, now 24 bits deep.
bool To24Bits(TBitmap& bitmap) {
    if (bitmap.Empty())
        return false;
    if (bitmap.BitsPerPixel() != 24)
        bitmap.SetPixelFormat(pf24bit);
    return true;
}

} // namespace

void GrayscaleBitmap(TBitmap& bitmap) {
    if (To24Bits(bitmap))
        GrayscaleBitmap(bitmap.PixelView());
}

void ReplaceMagenta(TBitmap& bitmap, TColor color) {
    if (To24Bits(bitmap))
        ReplaceMagenta(bitmap.PixelView(), color);
}

void FlipBitmap(TBitmap& bitmap) {
    if (!bitmap.Empty())
        FlipBitmap(bitmap.PixelView());
}

namespace {

template <class Turn>
void TurnQuarter(TBitmap& bitmap, Turn turn) {
    if (bitmap.Empty())
        return;
    TBitmap turned;
    turned.SetPixelFormat(bitmap.PixelFormat());
    turned.SetSize(bitmap.Height(), bitmap.Width());
    turn(bitmap.PixelView(), turned.PixelView());
    bitmap.Assign(&turned);
}

} // namespace

void RotateLeft(TBitmap& bitmap) {
    TurnQuarter(bitmap, [](TConstPixelView source, TPixelView target) { RotateLeft(source, target); });
}

void RotateRight(TBitmap& bitmap) {
    TurnQuarter(bitmap, [](TConstPixelView source, TPixelView target) { RotateRight(source, target); });
}
