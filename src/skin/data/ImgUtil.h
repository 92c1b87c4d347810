// The skin engine's small pixel and colour routines: greying a glyph, recolouring the magenta
// key, mirroring, flipping and quarter-turning images, mixing colours and the cache of
// two-colour gradient tables. Portable: they work on pixel views, whoever owns the pixels.
#pragma once

#include "Color.h"
#include "PixelView.h"

#include <array>
#include <span>
#include <vector>

// Colour routines work on 24-bit pixels (blue, green, red) and leave the fourth byte of
// 32-bit pixels alone; other depths are refused with std::invalid_argument, so a bitmap is
// brought to 24 bits before it is handed over (the TBitmap forms in ImgUtilBitmap.h do that).
void GrayscaleBitmap(TPixelView pixels);
void ReplaceMagenta(TPixelView pixels, TColor color);

// Geometric routines take any DIB depth and keep it.
void MirrorBitmap(TPixelView pixels);
void FlipBitmap(TPixelView pixels);

// Quarter turns into a separate target of the source's height by its width, same depth, not
// overlapping the source; std::invalid_argument otherwise.
void RotateLeft(TConstPixelView source, TPixelView target);  // anticlockwise
void RotateRight(TConstPixelView source, TPixelView target); // clockwise

// `weight` is colour1's share: a percentage below 100, per mille from 100 up (100 is 10 %).
TColor BlendColor(TColor color1, TColor color2, int weight);

// 0..255, or 200 for a colour whose channels all lie below 160.
int ColorSaturation(TColor color);

// Gradient tables from a start to an end colour, kept in 16 slots reused round-robin.
class TGradientCache {
public:
    static constexpr int SlotCount = 16;

    // The newest slot holding exactly this table, or -1.
    int Find(int count, TColor startColor, TColor endColor) const;
    // Builds the table in the next slot and returns that slot. count must be at least 1.
    int Make(int count, TColor startColor, TColor endColor);
    int Get(int count, TColor startColor, TColor endColor);

    std::span<const TColor> Table(int index) const;

private:
    std::array<std::vector<TColor>, SlotCount> FSlots;
    int FNext = 0;
};

// The process-wide cache the painters share.
int FindGradient(int count, TColor startColor, TColor endColor);
int MakeGradient(int count, TColor startColor, TColor endColor);
int GetGradient(int count, TColor startColor, TColor endColor);
std::span<const TColor> GradientTable(int index);
