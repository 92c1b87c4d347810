// Scroll bars (arrows, tracks, thumbs and grips) and list-view headers.
#include "SkinArt.h"
#include "SkinDraw.h"
#include "SkinMetrics.h"

#include <array>

namespace {

using namespace skin;

constexpr float S = ScrollSize, kMid = ScrollSize / 2.f;
constexpr int kTrackLength = 16, kThumbLength = 24, kThumbEnd = 8;

enum class TPart { Normal, Pressed, Disabled, Hot };
constexpr TPart kTrackStates[] = {TPart::Normal, TPart::Pressed, TPart::Disabled, TPart::Hot};

art::Color TrackColour(const TSkinPalette& p, TPart state) {
    switch (state) {
    case TPart::Pressed:
        return art::Mix(p.Track, p.Line, 0.6f);
    case TPart::Disabled:
        return p.ControlDisabled;
    case TPart::Hot:
        return art::Mix(p.Track, p.Line, 0.3f);
    default:
        return p.Track;
    }
}

art::Color ThumbColour(const TSkinPalette& p, TPart state) {
    return state == TPart::Pressed ? p.ThumbPressed : state == TPart::Hot ? p.ThumbHot : p.Thumb;
}

// A track cell with a hairline on the side that faces the scrolled content.
art::Image TrackCell(const TSkinPalette& p, int w, int h, bool horizontal, const art::Color& fill) {
    art::Image img(w, h);
    img.Fill(Rect(0, 0, float(w), float(h)), art::Solid(fill));
    img.Fill(horizontal ? Rect(0, 0, float(w), 1) : Rect(0, 0, 1, float(h)), art::Solid(p.Line));
    return img;
}

enum class TArrow { Left, Right, Up, Down };

art::Shape ArrowGlyph(TArrow arrow) {
    constexpr float a = 3, w = 1.5f;
    switch (arrow) {
    case TArrow::Left:
        return Chevron({kMid + 1.5f, kMid - a}, {kMid - 1.5f, kMid}, {kMid + 1.5f, kMid + a}, w);
    case TArrow::Right:
        return Chevron({kMid - 1.5f, kMid - a}, {kMid + 1.5f, kMid}, {kMid - 1.5f, kMid + a}, w);
    case TArrow::Up:
        return Chevron({kMid - a, kMid + 1.5f}, {kMid, kMid - 1.5f}, {kMid + a, kMid + 1.5f}, w);
    case TArrow::Down:
    default:
        return Chevron({kMid - a, kMid - 1.5f}, {kMid, kMid + 1.5f}, {kMid + a, kMid - 1.5f}, w);
    }
}

// Arrow states in frame order: normal, pressed, disabled, mouse over.
TSkinBitmap ArrowCell(const TSkinPalette& p, TArrow arrow, TPart state) {
    const bool horizontal = arrow == TArrow::Left || arrow == TArrow::Right;
    art::Image img = TrackCell(p, ScrollSize, ScrollSize, horizontal, p.Track);
    const art::Shape plate = art::RoundRect(2, 2, S - 2, S - 2, 3);
    if (state == TPart::Hot)
        img.Fill(plate, art::Solid(p.Line));
    if (state == TPart::Pressed)
        img.Fill(plate, art::Solid(p.BorderLight));
    const art::Color glyph = state == TPart::Disabled ? p.GlyphDisabled
                             : state == TPart::Normal ? art::Mix(p.Glyph, p.Face, 0.2f)
                                                      : p.Glyph;
    img.Fill(ArrowGlyph(arrow), art::Solid(glyph));
    return Flatten(img, p.Track, -1);
}

// Three short lines across the middle of a thumb, transparent around them.
TSkinBitmap Grip(const TSkinPalette& p, bool horizontalThumb, TPart state) {
    art::Image img(ScrollSize, ScrollSize);
    const art::Color thumb = ThumbColour(p, state);
    const art::Color line = art::Mix(thumb, p.Glyph, 0.35f);
    for (float at : {kMid - 2, kMid, kMid + 2}) {
        const art::Shape s = horizontalThumb ? Rect(at - 0.5f, kMid - 2.5f, at + 0.5f, kMid + 2.5f)
                                             : Rect(kMid - 2.5f, at - 0.5f, kMid + 2.5f, at + 0.5f);
        img.Fill(s, art::Solid(line));
    }
    return Flatten(img, thumb);
}

// The 23 frames of the arrows and grips.
TSkinBitmap ScrollParts(const TSkinPalette& p) {
    std::vector<TSkinBitmap> frames;
    for (TArrow arrow : {TArrow::Left, TArrow::Right, TArrow::Up, TArrow::Down})
        for (TPart state : kTrackStates)
            frames.push_back(ArrowCell(p, arrow, state));
    for (bool horizontal : {true, false})
        for (TPart state : {TPart::Normal, TPart::Pressed, TPart::Hot})
            frames.push_back(Grip(p, horizontal, state));
    frames.push_back(Flatten(TrackCell(p, ScrollSize, ScrollSize, true, p.Track), p.Track, -1));
    return SideBySide(frames);
}

// Track frames: 1 normal, 2 pressed, 3 disabled, 4 mouse over.
TSkinBitmap Track(const TSkinPalette& p, bool horizontal) {
    std::vector<TSkinBitmap> frames;
    for (TPart state : kTrackStates) {
        const int w = horizontal ? kTrackLength : ScrollSize, h = horizontal ? ScrollSize : kTrackLength;
        frames.push_back(Flatten(TrackCell(p, w, h, horizontal, TrackColour(p, state)), p.Track, -1));
    }
    return SideBySide(frames);
}

// Thumb frames: 1 normal, 2 pressed, 3 mouse over. A rounded bar inset from the track's sides.
TSkinBitmap Thumb(const TSkinPalette& p, bool horizontal) {
    const int w = horizontal ? kThumbLength : ScrollSize, h = horizontal ? ScrollSize : kThumbLength;
    constexpr float in = ScrollThumbInset, r = (S - 2 * ScrollThumbInset) / 2;
    const art::Shape bar = horizontal ? art::RoundRect(1, in, kThumbLength - 1.f, S - in, r)
                                      : art::RoundRect(in, 1, S - in, kThumbLength - 1.f, r);
    std::vector<TSkinBitmap> frames;
    for (TPart state : {TPart::Normal, TPart::Pressed, TPart::Hot}) {
        art::Image img = TrackCell(p, w, h, horizontal, p.Track);
        img.Fill(bar, art::Solid(ThumbColour(p, state)));
        frames.push_back(Flatten(img, p.Track, -1));
    }
    return SideBySide(frames);
}

constexpr int kHeaderWidth = 40, kHeaderHeight = 24;

// Header item frames: 1 normal, 2 mouse over, 3 pressed, 4 disabled, 5 sorted column.
TSkinBitmap Header(const TSkinPalette& p) {
    constexpr float w = kHeaderWidth, h = kHeaderHeight;
    std::vector<TSkinBitmap> frames;
    for (int state = 1; state <= 5; ++state) {
        art::Image img(kHeaderWidth, kHeaderHeight);
        const art::Paint fill = state == 2   ? art::Solid(p.AccentTint)
                                : state == 3 ? art::Solid(p.AccentTintStrong)
                                : state == 4 ? art::Solid(p.ControlDisabled)
                                             : Vertical(0, p.Window, h, art::Mix(p.Window, p.Track, 0.7f));
        img.Fill(Rect(0, 0, w, h), fill);
        img.Fill(Rect(w - 2, 5, w - 1, h - 5), art::Solid(p.BorderLight));
        img.Fill(Rect(0, h - 1, w, h), art::Solid(p.BorderLight));
        if (state == 5)
            img.Fill(Rect(0, h - 2, w, h), art::Solid(p.Accent));
        frames.push_back(Flatten(img, p.Window, -1));
    }
    return SideBySide(frames);
}

void AddGeneric(TIniSection& section, const std::string& image, std::array<int, 4> margins, int trans,
                int tile) {
    section.Set("Image", image)
        .Set("LeftWidth", margins[0])
        .Set("TopHeight", margins[1])
        .Set("RightWidth", margins[2])
        .Set("BottomHeight", margins[3])
        .Set("Trans", trans)
        .Set("Tile", tile);
}

} // namespace

void AddScrollElements(TSkin& skin, const TSkinPalette& p) {
    const std::string parts = skin.AddImage(
        {"scrollbar.bmp", ScrollParts(p), 23, false,
         "arrows left 1-4, right 5-8, up 9-12, down 13-16 (each normal, pressed, disabled, mouse over); "
         "grip of a horizontal thumb 17-19 and of a vertical thumb 20-22 (normal, pressed, mouse over); "
         "23 plain track"});
    AddGeneric(skin.Section("Scrollbar"), parts, {0, 0, 0, 0}, 1, 0);
    skin.Section("Scrollbar").Set("Frame", 23);

    const std::string trackStates = "1 normal, 2 pressed, 3 disabled, 4 mouse over";
    const std::string hTrack = skin.AddImage({"hscroll.bmp", Track(p, true), 4, false, trackStates});
    AddGeneric(skin.Section("HorzScroll"), hTrack, {0, 0, 0, 0}, 0, 0);
    skin.Section("HorzScroll").Set("Frame", 4);
    const std::string vTrack = skin.AddImage({"vscroll.bmp", Track(p, false), 4, false, trackStates});
    AddGeneric(skin.Section("VertScroll"), vTrack, {0, 0, 0, 0}, 0, 0);
    skin.Section("VertScroll").Set("Frame", 4);

    const std::string thumbStates = "1 normal, 2 pressed, 3 mouse over";
    const std::string hThumb = skin.AddImage({"hthumb.bmp", Thumb(p, true), 3, false, thumbStates});
    AddGeneric(skin.Section("HorzScrollThumb"), hThumb, {kThumbEnd, 0, kThumbEnd, 0}, 0, 0);
    skin.Section("HorzScrollThumb").Set("FrameCount", 3);
    const std::string vThumb = skin.AddImage({"vthumb.bmp", Thumb(p, false), 3, false, thumbStates});
    AddGeneric(skin.Section("VertScrollThumb"), vThumb, {0, kThumbEnd, 0, kThumbEnd}, 0, 0);
    skin.Section("VertScrollThumb").Set("FrameCount", 3);

    const std::string header =
        skin.AddImage({"header.bmp", Header(p), 5, false,
                       "1 normal, 2 mouse over, 3 pressed, 4 disabled, 5 sorted column"});
    AddGeneric(skin.Section("Headerbar"), header, {2, 5, 4, 5}, 0, 0);
    skin.Section("Headerbar").Set("Frame", 5).Set("NormalColour2", IniColour(p.Text));
}
