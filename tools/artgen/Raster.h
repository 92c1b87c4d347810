// A tiny anti-aliased painter for the program's artwork: shapes are signed distance functions,
// paints are colours or gradients, and everything is composited "over" in linear order.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace art {

struct Color {
    float r = 0, g = 0, b = 0, a = 1; // straight (not premultiplied) alpha, 0..1

    static Color Rgb(int r, int g, int b, float a = 1) { return {r / 255.f, g / 255.f, b / 255.f, a}; }
    Color WithAlpha(float alpha) const { return {r, g, b, alpha}; }
};

Color Mix(const Color& a, const Color& b, float t);

struct Vec {
    float x = 0, y = 0;
};

// Signed distance in pixels: negative inside, positive outside.
using Shape = std::function<float(Vec)>;
// The colour of a point.
using Paint = std::function<Color(Vec)>;

Shape Circle(Vec center, float radius);
Shape RoundRect(float left, float top, float right, float bottom, float radius);
Shape Capsule(Vec a, Vec b, float radius); // a thick line with round ends
Shape Polygon(std::vector<Vec> points);
Shape Ring(Vec center, float radius, float width);
Shape Union(Shape a, Shape b);
Shape Subtract(Shape a, Shape b);
Shape Intersect(Shape a, Shape b);
Shape Outline(Shape s, float width); // a band of the given width centred on the edge
// The shape grown outwards by `distance` pixels (shrunk inwards when negative).
Shape Inflate(Shape s, float distance);

Paint Solid(Color c);
Paint Linear(Vec from, Color c0, Vec to, Color c1);
Paint Radial(Vec center, float radius, Color inner, Color outer);

class Image {
public:
    Image(int width, int height, Color background = {0, 0, 0, 0});

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    const Color& At(int x, int y) const { return FPixels[static_cast<std::size_t>(y) * FWidth + x]; }

    // Composites paint over the image where the shape covers it (coverage from the distance).
    void Fill(const Shape& shape, const Paint& paint, float opacity = 1);
    // A soft shadow of the shape, offset and blurred by `softness` pixels.
    void Shadow(const Shape& shape, Vec offset, float softness, Color color);

    // Copies other into this image at (x, y).
    void Blit(const Image& other, int x, int y);

    // 8-bit rows for writing files: blue, green, red (and alpha), top row first.
    std::vector<std::uint8_t> Bgra() const;
    // Flattened onto a background colour; pixels with no coverage at all become `key`.
    std::vector<std::uint8_t> BgrOnto(Color background, Color key) const;

private:
    void Over(int x, int y, const Color& c, float coverage);

    int FWidth, FHeight;
    std::vector<Color> FPixels;
};

} // namespace art
