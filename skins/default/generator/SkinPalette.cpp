#include "SkinPalette.h"

#include <cmath>

namespace {

const art::Color kWhite = art::Color::Rgb(0xFF, 0xFF, 0xFF);
const art::Color kBlack = art::Color::Rgb(0, 0, 0);
// A cool slate: greys mixed from it sit well next to a blue accent without looking tinted.
const art::Color kSlate = art::Color::Rgb(0x3A, 0x4A, 0x60);

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Relative brightness: light colours get dark ink and dark colours white ink.
bool IsLight(const art::Color& c) {
    return 0.2126f * c.r + 0.7152f * c.g + 0.0722f * c.b > 0.62f;
}

int To255(float v) {
    return static_cast<int>(std::lround(std::fmin(std::fmax(v, 0.f), 1.f) * 255));
}

} // namespace

TSkinPalette MakePalette(const TSkinColours& in) {
    TSkinPalette p;
    p.Accent = in.Accent;
    p.Face = in.Face;
    p.AccentLight = art::Mix(in.Accent, kWhite, 0.40f);
    p.AccentDark = art::Mix(in.Accent, kBlack, 0.22f);
    p.AccentTint = art::Mix(kWhite, in.Accent, 0.09f);
    p.AccentTintStrong = art::Mix(kWhite, in.Accent, 0.20f);

    p.TitleTop = art::Mix(in.Title, kWhite, 0.16f);
    p.TitleBottom = in.Title;
    p.TitleOutline = art::Mix(in.Title, kBlack, 0.28f);
    p.FrameBody = art::Mix(in.Face, in.Title, 0.10f);
    p.InactiveTitleTop = art::Mix(in.Face, kSlate, 0.05f);
    p.InactiveTitleBottom = art::Mix(in.Face, kSlate, 0.11f);
    p.InactiveOutline = art::Mix(in.Face, kSlate, 0.40f);
    p.InactiveFrameBody = in.Face;
    p.Text = art::Color::Rgb(0x1E, 0x24, 0x2C);
    const bool lightTitle = IsLight(in.Title);
    p.TitleGlyph = lightTitle ? p.Text : kWhite;
    p.TitleHotPlate = lightTitle ? kBlack.WithAlpha(0.08f) : kWhite.WithAlpha(0.22f);
    p.TitlePressedPlate = lightTitle ? kBlack.WithAlpha(0.16f) : kBlack.WithAlpha(0.20f);
    p.OnAccent = IsLight(in.Accent) ? p.Text : kWhite;
    p.InactiveTitleGlyph = art::Mix(in.Face, kSlate, 0.75f);
    p.CloseHot = art::Color::Rgb(0xE0, 0x43, 0x3F);
    p.ClosePressed = art::Color::Rgb(0xB5, 0x30, 0x2D);

    p.Window = kWhite;
    p.TextMuted = art::Color::Rgb(0x5A, 0x64, 0x73);
    p.Glyph = art::Mix(in.Face, kSlate, 0.80f);
    p.GlyphDisabled = art::Mix(in.Face, kSlate, 0.30f);
    p.Border = art::Mix(in.Face, kSlate, 0.32f);
    p.BorderLight = art::Mix(in.Face, kSlate, 0.18f);
    p.Line = art::Mix(in.Face, kSlate, 0.10f);
    p.Track = art::Mix(in.Face, kSlate, 0.035f);
    p.ControlDisabled = art::Mix(in.Face, kSlate, 0.025f);
    p.Thumb = art::Mix(in.Face, kSlate, 0.24f);
    p.ThumbHot = art::Mix(in.Face, kSlate, 0.36f);
    p.ThumbPressed = art::Mix(in.Face, kSlate, 0.52f);
    p.Desktop = art::Color::Rgb(0x5B, 0x64, 0x70);
    return p;
}

std::optional<art::Color> ParseHexColour(std::string_view text) {
    if (!text.empty() && text.front() == '#')
        text.remove_prefix(1);
    if (text.size() != 6)
        return std::nullopt;
    int rgb[3];
    for (int i = 0; i < 3; ++i) {
        const int hi = HexDigit(text[2 * i]), lo = HexDigit(text[2 * i + 1]);
        if (hi < 0 || lo < 0)
            return std::nullopt;
        rgb[i] = hi * 16 + lo;
    }
    return art::Color::Rgb(rgb[0], rgb[1], rgb[2]);
}

std::string IniColour(const art::Color& c) {
    return std::to_string(To255(c.r)) + " " + std::to_string(To255(c.g)) + " " + std::to_string(To255(c.b));
}
