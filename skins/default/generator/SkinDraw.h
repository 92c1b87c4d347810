// Small drawing helpers shared by the element painters.
#pragma once

#include "Raster.h"

namespace skin {

inline art::Shape Rect(float left, float top, float right, float bottom) {
    return art::RoundRect(left, top, right, bottom, 0);
}

// The inner band of a shape: its outline drawn inside the edge, so a 1-pixel border on integer
// coordinates stays crisp.
inline art::Shape Band(const art::Shape& shape, float width) {
    return art::Subtract(shape, art::Inflate(shape, -width));
}

inline art::Paint Vertical(float top, const art::Color& c0, float bottom, const art::Color& c1) {
    return art::Linear({0, top}, c0, {0, bottom}, c1);
}

// A box with a fill and a 1-pixel border inside its edge.
inline void Box(art::Image& img, const art::Shape& shape, const art::Paint& fill, const art::Color& border) {
    img.Fill(shape, fill);
    img.Fill(Band(shape, 1), art::Solid(border));
}

// A chevron (two strokes meeting at `tip`), pointing away from the two ends.
inline art::Shape Chevron(art::Vec a, art::Vec tip, art::Vec b, float width) {
    return art::Union(art::Capsule(a, tip, width / 2), art::Capsule(tip, b, width / 2));
}

} // namespace skin
