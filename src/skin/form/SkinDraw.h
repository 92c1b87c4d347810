// The drawing routines every skinned surface shares: nine-grid composition of an element
// image, three-slice bars, single frames and glyphs, blitting with the magenta key colour,
// tiling, window regions from bitmaps and painting a parent's background under a control.
//
// An element image holds `frames` equal frames side by side (or stacked, with the vertical
// flag); frame indices run from 1. An index outside 1..frames is taken as the nearest frame
// and a frame count below 1 as 1, so nothing outside the image is ever read. Every routine
// that takes a destination rectangle does nothing when its right is left of its left or its
// bottom above its top.
#pragma once

#include "Bitmap.h"
#include "Canvas.h"
#include "WinHandle.h"

#include <memory>
#include <vector>

#include <windows.h>

// The transparent colour of every skin image.
inline constexpr TColor SkinKeyColor = clFuchsia;

// ---- geometry --------------------------------------------------------------------------------

// Frame `frameIndex` of an image of the given size; empty when the frames are narrower (or
// lower) than a pixel.
TRect SkinFrameRect(int imageWidth, int imageHeight, bool verticalFrames, int frames, int frameIndex);

struct TSkinGridPiece {
    TRect Source; // inside the frame
    TRect Dest;   // inside (0, 0, width, height)
    bool Centre = false;
};

// The nine-grid of `frame` cut by `margins` (left, top, right, bottom widths) laid onto a
// width x height result, in drawing order: corners and the left and top edges, the centre,
// then the right and bottom pieces, which overdraw tiles running past the centre. Margins
// that do not fit the result are dropped per axis; pieces with nothing to copy are left out.
std::vector<TSkinGridPiece> SkinGridPieces(const TRect& frame, const TRect& margins, int width, int height);

// ---- composition and drawing ------------------------------------------------------------------

// The nine-grid composition of one frame at the destination's size; the centre is tiled or
// stretched, the margins keep their size.
std::unique_ptr<TBitmap> BuildSkinBitmap(const TRect& dest, TBitmap& image, const TRect& margins,
                                         bool verticalFrames, bool tile, int frames, int frameIndex);

// BuildSkinBitmap drawn at dest, keeping the destination under magenta when transparent.
void DrawSkinRect(HDC dc, const TRect& dest, TBitmap& image, bool verticalFrames, bool tile, bool transparent,
                  int frames, int frameIndex, const TRect& margins);

// A horizontal bar: the left and right caps (margins.left and margins.right wide) at their
// size, the middle of the frame repeated between them. A frame with no middle (not wider than
// both caps) is stretched over the whole bar instead.
void DrawSkinBar(TCanvas& canvas, const TRect& dest, TBitmap& image, bool verticalFrames, bool transparent,
                 int frames, int frameIndex, const TRect& margins);

// A horizontal bar with the middle stretched, drawn straight onto the DC; a bar narrower than
// the frame gets the whole frame stretched.
void StretchSkinBar(HDC dc, const TRect& dest, TBitmap& image, bool verticalFrames, int frames,
                    int frameIndex, const TRect& margins);

// One frame of a horizontal strip stretched to dest.
void DrawSkinFrame(HDC dc, const TRect& dest, TBitmap& image, bool transparent, int frames, int frameIndex);

// One frame of a horizontal strip at its own size, centred in dest (overhanging a smaller dest).
void DrawSkinGlyph(HDC dc, const TRect& dest, TBitmap& image, bool transparent, int frames, int frameIndex);

// Copies the bitmap's top-left part, dest's size (at most the bitmap's), to dest; where the
// bitmap has `key` the destination stays.
void DrawTransparent(HDC dc, const TRect& dest, TBitmap& bitmap, TColor key);

// Repeats `source` of the image over dest, starting at its top-left corner. The last row and
// column of tiles are not clipped to dest.
void TileBitmap(TCanvas& canvas, const TRect& dest, TBitmap& image, const TRect& source);

// ---- regions and backgrounds --------------------------------------------------------------------

// A region of every pixel whose colour lies outside the key range (each channel from the key's
// value up to that value plus its tolerance), moved by the offsets. All key gives an empty
// region. The bitmap itself is left as it was.
TRegionHandle RegionFromBitmap(TBitmap& bitmap, int xOffset, int yOffset, int blueTolerance,
                               int greenTolerance, int redTolerance, TColor key);

// Has `parent` erase and paint itself into dc as if dc were the control at `controlBounds`
// (in the parent's client coordinates); dc's state is restored afterwards. A null parent
// paints nothing. While designing, a failure of either message is swallowed.
void PaintParentBackground(HWND parent, const TRect& controlBounds, HDC dc, bool designing = false);

// The process-wide scratch bitmap of frame and menu-bar painting, its canvas in COLORONCOLOR
// stretch mode; null once the program is shutting down.
TBitmap* SkinWorkBitmap();
