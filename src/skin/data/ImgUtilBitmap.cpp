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
