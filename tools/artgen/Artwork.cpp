#include "Artwork.h"

#include <numbers>

namespace art {

namespace {

// One palette for every picture, so the toolbar reads as a set.
const Color kBlueLight = Color::Rgb(0x6F, 0xB3, 0xFF);
const Color kBlue = Color::Rgb(0x1E, 0x6F, 0xD9);
const Color kBlueDark = Color::Rgb(0x12, 0x4A, 0x9E);
const Color kGreenLight = Color::Rgb(0x7E, 0xDB, 0x7A);
const Color kGreen = Color::Rgb(0x2E, 0xA0, 0x43);
const Color kOrangeLight = Color::Rgb(0xFF, 0xC4, 0x5C);
const Color kOrange = Color::Rgb(0xF0, 0x8A, 0x1C);
const Color kSteelLight = Color::Rgb(0xE4, 0xE9, 0xEF);
const Color kSteel = Color::Rgb(0x9A, 0xA6, 0xB4);
const Color kSteelDark = Color::Rgb(0x5D, 0x6B, 0x7B);
const Color kWhite = Color::Rgb(0xFF, 0xFF, 0xFF);
const Color kShadow = Color::Rgb(0x1A, 0x2A, 0x40, 0.28f);

Paint Vertical(float top, Color c0, float bottom, Color c1) {
    return Linear({0, top}, c0, {0, bottom}, c1);
}

// A four-pointed sparkle.
Shape Sparkle(Vec c, float r) {
    const float w = r * 0.28f;
    return Polygon({{c.x, c.y - r},
                    {c.x + w, c.y - w},
                    {c.x + r, c.y},
                    {c.x + w, c.y + w},
                    {c.x, c.y + r},
                    {c.x - w, c.y + w},
                    {c.x - r, c.y},
                    {c.x - w, c.y - w}});
}

// A gear: a disc with `teeth` rounded teeth and a hole.
Shape Gear(Vec c, float radius, int teeth, float hole) {
    Shape s = Circle(c, radius * 0.78f);
    for (int i = 0; i < teeth; ++i) {
        const float a = 2 * std::numbers::pi_v<float> * i / teeth;
        const Vec dir{std::cos(a), std::sin(a)};
        s = Union(s, Capsule({c.x + dir.x * radius * 0.6f, c.y + dir.y * radius * 0.6f},
                             {c.x + dir.x * radius * 0.9f, c.y + dir.y * radius * 0.9f}, radius * 0.17f));
    }
    return Subtract(s, Circle(c, hole));
}

Shape Shield(float left, float top, float width, float height) {
    auto at = [&](float fx, float fy) { return Vec{left + fx * width, top + fy * height}; };
    return Polygon({at(0.5f, 0), at(0.78f, 0.1f), at(1, 0.12f), at(0.97f, 0.5f), at(0.82f, 0.78f),
                    at(0.5f, 1), at(0.18f, 0.78f), at(0.03f, 0.5f), at(0, 0.12f), at(0.22f, 0.1f)});
}

Shape Check(Vec a, Vec b, Vec c, float width) {
    return Union(Capsule(a, b, width / 2), Capsule(b, c, width / 2));
}

void DrawClean(Image& img) {
    // A waste bin with a lid, and sparkles for the clean result.
    const Shape body = Polygon({{15, 17}, {37, 17}, {34.5f, 45}, {17.5f, 45}});
    const Shape bodyRound = Intersect(body, RoundRect(13, 15, 39, 45, 3));
    img.Shadow(bodyRound, {1.5f, 2}, 3, kShadow);
    img.Fill(bodyRound, Linear({15, 0}, kBlueLight, {37, 0}, kBlue));
    for (float x : {21.f, 26.f, 31.f})
        img.Fill(Capsule({x, 22}, {x - (x - 26) * 0.12f, 40}, 1.3f), Solid(kBlueDark.WithAlpha(0.55f)));
    const Shape lid = RoundRect(11, 10, 41, 16, 2.5f);
    img.Shadow(lid, {1, 1.5f}, 2, kShadow);
    img.Fill(lid, Vertical(10, kBlueLight, 16, kBlueDark));
    img.Fill(RoundRect(22, 6, 30, 11, 2), Solid(kBlueDark));
    img.Fill(Sparkle({45, 12}, 7), Solid(kOrange));
    img.Fill(Sparkle({45, 12}, 4), Solid(kOrangeLight));
    img.Fill(Sparkle({49, 27}, 4.5f), Solid(kGreen));
    img.Fill(Sparkle({8, 30}, 3.5f), Solid(kOrangeLight));
}

void DrawSettings(Image& img) {
    // A large gear with a smaller one in front: system settings.
    const Shape big = Gear({24, 23}, 18, 9, 6);
    img.Shadow(big, {1.5f, 2}, 3, kShadow);
    img.Fill(big, Linear({8, 6}, kSteelLight, {40, 42}, kSteelDark));
    img.Fill(Outline(Circle({24, 23}, 6), 1.2f), Solid(kSteelDark));
    const Shape small = Gear({40, 36}, 11, 7, 3.5f);
    img.Shadow(small, {1, 1.5f}, 2.5f, kShadow);
    img.Fill(small, Linear({30, 26}, kBlueLight, {50, 46}, kBlueDark));
}

void DrawAbout(Image& img) {
    // An information sign.
    const Shape disc = Circle({28, 25}, 19);
    img.Shadow(disc, {1.5f, 2}, 3, kShadow);
    img.Fill(disc, Linear({14, 8}, kBlueLight, {40, 44}, kBlueDark));
    img.Fill(Intersect(disc, Circle({22, 14}, 16)), Solid(kWhite.WithAlpha(0.18f)));
    img.Fill(Circle({28, 15}, 3.2f), Solid(kWhite));
    img.Fill(RoundRect(25, 21, 31, 36, 2), Solid(kWhite));
    img.Fill(RoundRect(22, 33, 34, 37, 1.5f), Solid(kWhite));
}

void DrawImmunize(Image& img) {
    // A USB stick guarded by a shield with a check mark.
    const Shape plug = RoundRect(16, 4, 30, 16, 1.5f);
    const Shape body = RoundRect(12, 14, 34, 44, 4);
    img.Shadow(Union(plug, body), {1.5f, 2}, 3, kShadow);
    img.Fill(plug, Linear({16, 0}, kSteelLight, {30, 0}, kSteel));
    img.Fill(RoundRect(19, 7, 22, 10, 0.5f), Solid(kSteelDark));
    img.Fill(RoundRect(24, 7, 27, 10, 0.5f), Solid(kSteelDark));
    img.Fill(body, Linear({12, 0}, kOrangeLight, {34, 0}, kOrange));
    img.Fill(RoundRect(17, 22, 29, 24.5f, 1), Solid(kWhite.WithAlpha(0.6f)));
    const Shape shield = Shield(27, 20, 24, 27);
    img.Shadow(shield, {1, 1.5f}, 2.5f, kShadow);
    img.Fill(shield, Vertical(20, kGreenLight, 47, kGreen));
    img.Fill(Check({33, 33}, {37.5f, 38}, {45, 28}, 3.2f), Solid(kWhite));
}

} // namespace

Image ToolbarImage(int index) {
    Image img(kToolbarImageWidth, kToolbarImageHeight);
    switch (index) {
    case 0:
        DrawClean(img);
        break;
    case 1:
        DrawSettings(img);
        break;
    case 2:
        DrawAbout(img);
        break;
    default:
        DrawImmunize(img);
        break;
    }
    return img;
}

Image ToolbarStrip() {
    Image strip(4 * kToolbarImageWidth, kToolbarImageHeight);
    for (int i = 0; i < 4; ++i)
        strip.Blit(ToolbarImage(i), i * kToolbarImageWidth, 0);
    return strip;
}

Image AppIcon(int size) {
    // Drawn on a 48-unit grid and scaled: a blue tile holding a white shield with a green check.
    Image img(size, size);
    const float k = size / 48.f;
    const Shape tile = RoundRect(2 * k, 2 * k, 46 * k, 46 * k, 9 * k);
    img.Fill(tile, Linear({0, 2 * k}, kBlueLight, {0, 46 * k}, kBlueDark));
    img.Fill(Intersect(tile, Circle({14 * k, 6 * k}, 30 * k)), Solid(kWhite.WithAlpha(0.15f)));
    const Shape shield = Shield(11 * k, 8 * k, 26 * k, 32 * k);
    img.Fill(shield, Solid(kWhite));
    img.Fill(Check({17 * k, 24 * k}, {22.5f * k, 30 * k}, {31.5f * k, 18 * k}, std::max(4.5f * k, 1.6f)),
             Solid(kGreen));
    return img;
}

Image ImmunizerPicture() {
    constexpr int kW = 364, kH = 223;
    Image img(kW, kH, kWhite);
    img.Fill(RoundRect(-10, -10, kW + 10, kH + 10, 0),
             Linear({0, 0}, Color::Rgb(0xF4, 0xF8, 0xFE), {0, float(kH)}, Color::Rgb(0xDC, 0xE9, 0xF9)));
    // A header band whose lower edge bows gently, with light arcs across it.
    const Shape header = Union(RoundRect(-10, -10, kW + 10, 44, 0), Circle({182, -560}, 615));
    img.Shadow(header, {0, 2}, 5, Color::Rgb(0x1A, 0x3A, 0x6A, 0.20f));
    img.Fill(header, Linear({0, 0}, kBlue, {float(kW), 0}, kBlueLight));
    for (int i = 0; i < 3; ++i)
        img.Fill(Intersect(header, Circle({120.f + 90 * i, 320.f + 6 * i}, 290)),
                 Solid(kWhite.WithAlpha(0.10f)));
    const Shape panel = RoundRect(44, 70, 282, 190, 8);
    img.Shadow(panel, {0, 2}, 6, Color::Rgb(0x1A, 0x3A, 0x6A, 0.18f));
    img.Fill(panel, Solid(kWhite.WithAlpha(0.92f)));
    img.Fill(Outline(panel, 1), Solid(Color::Rgb(0xB8, 0xCE, 0xEA)));
    // Emblem in the header and a large faint shield on the right.
    const Shape shield = Shield(14, 8, 34, 42);
    img.Shadow(shield, {1, 2}, 3, kShadow);
    img.Fill(shield, Vertical(8, kGreenLight, 50, kGreen));
    img.Fill(Check({22, 28}, {29, 35}, {40, 21}, 4), Solid(kWhite));
    const Shape big = Shield(292, 80, 62, 76);
    img.Fill(big, Solid(kBlue.WithAlpha(0.10f)));
    img.Fill(Outline(big, 2), Solid(kBlue.WithAlpha(0.22f)));
    img.Fill(Check({306, 118}, {319, 131}, {340, 104}, 6), Solid(kGreen.WithAlpha(0.35f)));
    // USB sticks as a light pattern along the header's right end.
    for (int i = 0; i < 3; ++i) {
        const float x = 250.f + 34 * i;
        img.Fill(RoundRect(x + 4, 10, x + 16, 18, 1), Solid(kWhite.WithAlpha(0.55f)));
        img.Fill(RoundRect(x, 17, x + 20, 44, 3), Solid(kWhite.WithAlpha(0.30f)));
    }
    return img;
}

Image AboutPicture() {
    constexpr int kW = 111, kH = 108;
    Image img(kW, kH, kWhite);
    Image icon = AppIcon(96);
    const Shape tile = RoundRect(8 + 2, 4 + 2, 8 + 94, 4 + 94, 18);
    img.Shadow(tile, {2, 3}, 6, kShadow);
    img.Blit(icon, 8, 4);
    return img;
}

} // namespace art
