// The colour routines of ImgUtil on the bitmaps the skin holds. A skin image keeps the depth of
// its file, and a palette or 16-bit image has no 24-bit pixels to work on: the bitmap is brought
// to 24 bits per pixel first (what GrayscaleBitmap and ReplaceMagenta promise), never refused.
#pragma once

#include "Bitmap.h"
#include "ImgUtil.h"

// Sets the bitmap to 24 bits per pixel, then replaces every pixel by its grey value.
void GrayscaleBitmap(TBitmap& bitmap);
// Sets 24 bits per pixel when the bitmap has another depth, then paints every magenta pixel
// (red 255, green 0, blue 255) with the colour's channels.
void ReplaceMagenta(TBitmap& bitmap, TColor color);

// The geometric routines of ImgUtil on a whole bitmap, in place; an empty bitmap stays empty.
// The quarter turns exchange its width and height.
void FlipBitmap(TBitmap& bitmap);
void RotateLeft(TBitmap& bitmap);  // anticlockwise
void RotateRight(TBitmap& bitmap); // clockwise
