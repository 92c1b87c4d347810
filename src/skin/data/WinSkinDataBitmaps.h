// Bitmap copies the skin data's readers and builders share. Internal to WinSkinData.
#pragma once

#include "Bitmap.h"

namespace WinSkinDataBitmaps {

// target becomes `area` of source at its own size, in 24 bits (32 when the source has them).
// Only the part of `area` inside the source is copied; the rest stays white.
void CopyArea(TBitmap& target, TBitmap& source, const TRect& area);

// Copies the part of `area` inside source to (x, y) of a DC; the rest is left alone.
void BlitArea(HDC target, int x, int y, TBitmap& source, const TRect& area);

// target becomes a 24-bit copy of source (empty when source is).
void Copy24(TBitmap& target, TBitmap& source);

} // namespace WinSkinDataBitmaps
