#include "Raster.h"

namespace art {

namespace {

float Length(Vec v) {
    return std::sqrt(v.x * v.x + v.y * v.y);
}
Vec Sub(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y};
}
float Dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y;
}

std::uint8_t To8(float v) {
    return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.f, 1.f) * 255));
}

} // namespace

Color Mix(const Color& a, const Color& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Shape Circle(Vec center, float radius) {
    return [=](Vec p) { return Length(Sub(p, center)) - radius; };
}

Shape RoundRect(float left, float top, float right, float bottom, float radius) {
    const Vec center{(left + right) / 2, (top + bottom) / 2};
    const Vec half{(right - left) / 2 - radius, (bottom - top) / 2 - radius};
    return [=](Vec p) {
        const Vec d{std::abs(p.x - center.x) - half.x, std::abs(p.y - center.y) - half.y};
        const Vec outside{std::max(d.x, 0.f), std::max(d.y, 0.f)};
        return Length(outside) + std::min(std::max(d.x, d.y), 0.f) - radius;
    };
}

Shape Capsule(Vec a, Vec b, float radius) {
    return [=](Vec p) {
        const Vec pa = Sub(p, a), ba = Sub(b, a);
        const float h = std::clamp(Dot(pa, ba) / Dot(ba, ba), 0.f, 1.f);
        return Length(Vec{pa.x - ba.x * h, pa.y - ba.y * h}) - radius;
    };
}

Shape Polygon(std::vector<Vec> v) {
    return [v](Vec p) {
        float d = Dot(Sub(p, v[0]), Sub(p, v[0]));
        float sign = 1;
        for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
            const Vec e = Sub(v[j], v[i]), w = Sub(p, v[i]);
            const float h = std::clamp(Dot(w, e) / Dot(e, e), 0.f, 1.f);
            const Vec b{w.x - e.x * h, w.y - e.y * h};
            d = std::min(d, Dot(b, b));
            const bool c1 = p.y >= v[i].y, c2 = p.y<v[j].y, c3 = e.x * w.y> e.y * w.x;
            if ((c1 && c2 && c3) || (!c1 && !c2 && !c3))
                sign = -sign;
        }
        return sign * std::sqrt(d);
    };
}

Shape Ring(Vec center, float radius, float width) {
    return Outline(Circle(center, radius), width);
}

Shape Union(Shape a, Shape b) {
    return [=](Vec p) { return std::min(a(p), b(p)); };
}
Shape Subtract(Shape a, Shape b) {
    return [=](Vec p) { return std::max(a(p), -b(p)); };
}
Shape Intersect(Shape a, Shape b) {
    return [=](Vec p) { return std::max(a(p), b(p)); };
}
Shape Outline(Shape s, float width) {
    return [=](Vec p) { return std::abs(s(p)) - width / 2; };
}
Shape Inflate(Shape s, float distance) {
    return [=](Vec p) { return s(p) - distance; };
}

Paint Solid(Color c) {
    return [=](Vec) { return c; };
}

Paint Linear(Vec from, Color c0, Vec to, Color c1) {
    const Vec axis = Sub(to, from);
    const float len2 = Dot(axis, axis);
    return [=](Vec p) { return Mix(c0, c1, std::clamp(Dot(Sub(p, from), axis) / len2, 0.f, 1.f)); };
}

Paint Radial(Vec center, float radius, Color inner, Color outer) {
    return [=](Vec p) { return Mix(inner, outer, std::clamp(Length(Sub(p, center)) / radius, 0.f, 1.f)); };
}

Image::Image(int width, int height, Color background)
    : FWidth(width), FHeight(height), FPixels(static_cast<std::size_t>(width) * height, background) {}

void Image::Over(int x, int y, const Color& c, float coverage) {
    Color& d = FPixels[static_cast<std::size_t>(y) * FWidth + x];
    const float a = c.a * coverage;
    const float outA = a + d.a * (1 - a);
    if (outA <= 0)
        return;
    d.r = (c.r * a + d.r * d.a * (1 - a)) / outA;
    d.g = (c.g * a + d.g * d.a * (1 - a)) / outA;
    d.b = (c.b * a + d.b * d.a * (1 - a)) / outA;
    d.a = outA;
}

void Image::Fill(const Shape& shape, const Paint& paint, float opacity) {
    // 4 x 4 samples per pixel: edges stay smooth at the small sizes icons are drawn at.
    constexpr int kSub = 4;
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x) {
            int inside = 0;
            for (int sy = 0; sy < kSub; ++sy)
                for (int sx = 0; sx < kSub; ++sx)
                    inside += shape(Vec{x + (sx + 0.5f) / kSub, y + (sy + 0.5f) / kSub}) <= 0;
            if (inside)
                Over(x, y, paint(Vec{x + 0.5f, y + 0.5f}), opacity * inside / float(kSub * kSub));
        }
}

void Image::Shadow(const Shape& shape, Vec offset, float softness, Color color) {
    for (int y = 0; y < FHeight; ++y)
        for (int x = 0; x < FWidth; ++x) {
            const float d = shape(Vec{x + 0.5f - offset.x, y + 0.5f - offset.y});
            const float t = std::clamp(0.5f - d / softness, 0.f, 1.f);
            if (t > 0)
                Over(x, y, color, t * t);
        }
}

void Image::Blit(const Image& other, int x0, int y0) {
    for (int y = 0; y < other.FHeight; ++y)
        for (int x = 0; x < other.FWidth; ++x)
            if (x0 + x >= 0 && x0 + x < FWidth && y0 + y >= 0 && y0 + y < FHeight)
                Over(x0 + x, y0 + y, other.At(x, y), 1);
}

std::vector<std::uint8_t> Image::Bgra() const {
    std::vector<std::uint8_t> out;
    out.reserve(FPixels.size() * 4);
    for (const Color& c : FPixels) {
        out.push_back(To8(c.b));
        out.push_back(To8(c.g));
        out.push_back(To8(c.r));
        out.push_back(To8(c.a));
    }
    return out;
}

std::vector<std::uint8_t> Image::BgrOnto(Color bg, Color key) const {
    std::vector<std::uint8_t> out;
    out.reserve(FPixels.size() * 3);
    for (const Color& c : FPixels) {
        const Color flat = c.a < 1.f / 255 ? key : Mix(bg, Color{c.r, c.g, c.b, 1}, c.a);
        out.push_back(To8(flat.b));
        out.push_back(To8(flat.g));
        out.push_back(To8(flat.r));
    }
    return out;
}

} // namespace art
