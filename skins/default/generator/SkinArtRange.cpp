// Progress bars, track-bar channels and track-bar thumbs.
#include "SkinArt.h"
#include "SkinDraw.h"

#include <algorithm>

namespace {

using namespace skin;

constexpr int kProgressWidth = 20, kProgressHeight = 14, kProgressMargin = 5;

// Frame 1: the track, drawn over the face colour; frame 2: the filled part, drawn over the
// track (its transparent corners show the track).
TSkinBitmap Progress(const TSkinPalette& p) {
    constexpr float w = kProgressWidth, h = kProgressHeight;
    art::Image track(kProgressWidth, kProgressHeight);
    Box(track, art::RoundRect(0, 0, w, h, 4), art::Solid(p.Track), p.BorderLight);
    art::Image fill(kProgressWidth, kProgressHeight);
    const art::Shape bar = art::RoundRect(1, 1, w - 1, h - 1, 3);
    fill.Fill(bar, Vertical(1, p.AccentLight, h - 1, p.Accent));
    fill.Fill(art::Intersect(bar, Rect(0, h / 2, w, h)), art::Solid(p.Accent.WithAlpha(0.6f)));
    fill.Fill(art::Intersect(Band(bar, 1), Rect(0, 0, w, h / 2)), art::Solid(p.Window.WithAlpha(0.25f)));
    return SideBySide({Flatten(track, p.Face), Flatten(fill, p.Track)});
}

// One block of the chunked style, with the gap to the next block.
TSkinBitmap ProgressChunk(const TSkinPalette& p) {
    art::Image img(10, 10);
    img.Fill(Rect(0, 0, 10, 10), art::Solid(p.Track));
    img.Fill(art::RoundRect(0, 0, 8, 10, 1.5f), Vertical(0, p.AccentLight, 10, p.Accent));
    return Flatten(img, p.Track, -1);
}

// The channel is copied without transparency, so its rounded ends are blended into the face.
TSkinBitmap Channel(const TSkinPalette& p, bool vertical) {
    const int w = vertical ? 4 : 16, h = vertical ? 16 : 4;
    art::Image img(w, h);
    img.Fill(art::RoundRect(0, 0, float(w), float(h), 2), art::Solid(p.BorderLight));
    return Flatten(img, p.Face, -1);
}

enum class TPointer { None, Left, Right, Up, Down };

// A thumb's outline: a rounded bar, or a bar with one pointed end.
art::Shape ThumbShape(TPointer pointer, float w, float h) {
    const float r = std::min(w, h) / 2 - 0.5f;
    switch (pointer) {
    case TPointer::Down:
        return art::Union(art::RoundRect(0.5f, 0.5f, w - 0.5f, h - 5, 2.5f),
                          art::Polygon({{0.5f, h - 8}, {w - 0.5f, h - 8}, {w / 2, h - 0.5f}}));
    case TPointer::Up:
        return art::Union(art::RoundRect(0.5f, 5, w - 0.5f, h - 0.5f, 2.5f),
                          art::Polygon({{0.5f, 8}, {w / 2, 0.5f}, {w - 0.5f, 8}}));
    case TPointer::Right:
        return art::Union(art::RoundRect(0.5f, 0.5f, w - 5, h - 0.5f, 2.5f),
                          art::Polygon({{w - 8, 0.5f}, {w - 0.5f, h / 2}, {w - 8, h - 0.5f}}));
    case TPointer::Left:
        return art::Union(art::RoundRect(5, 0.5f, w - 0.5f, h - 0.5f, 2.5f),
                          art::Polygon({{8, 0.5f}, {0.5f, h / 2}, {8, h - 0.5f}}));
    case TPointer::None:
    default:
        return art::RoundRect(0.5f, 0.5f, w - 0.5f, h - 0.5f, r);
    }
}

// Thumb frames: 1 normal, 2 normal (the frame the engine draws), 3 pressed, 4 disabled,
// 5 mouse over.
TSkinBitmap Thumb(const TSkinPalette& p, TPointer pointer, bool vertical) {
    const int w = vertical ? 19 : 11, h = vertical ? 11 : 19;
    const art::Shape shape = ThumbShape(pointer, float(w), float(h));
    std::vector<TSkinBitmap> frames;
    for (int state = 1; state <= 5; ++state) {
        const art::Color fill = state == 3   ? p.AccentDark
                                : state == 4 ? p.GlyphDisabled
                                : state == 5 ? art::Mix(p.Accent, p.AccentLight, 0.35f)
                                             : p.Accent;
        art::Image img(w, h);
        img.Fill(shape, art::Solid(fill));
        img.Fill(Band(shape, 1), art::Solid(art::Mix(fill, {0, 0, 0, 1}, 0.12f)));
        img.Fill(Band(art::Inflate(shape, -1), 1), art::Solid(p.Window.WithAlpha(0.30f)));
        frames.push_back(Flatten(img, p.Face));
    }
    return SideBySide(frames);
}

} // namespace

void AddRangeElements(TSkin& skin, const TSkinPalette& p) {
    const std::string progress =
        skin.AddImage({"progress.bmp", Progress(p), 2, false, "1 track, 2 filled part"});
    skin.Section("Progress")
        .Set("Bitmap", progress)
        .Set("Style", 0)
        .Set("LeftWidth", kProgressMargin)
        .Set("TopHeight", kProgressMargin)
        .Set("RightWidth", kProgressMargin)
        .Set("BottomHeight", kProgressMargin)
        .Set("Trans", 1)
        .Set("Tile", 0);
    const std::string chunk = skin.AddImage({"progresschunk.bmp", ProgressChunk(p), 1, false, "1"});
    skin.Section("Progress.Chunk")
        .Set("Image", chunk)
        .Set("LeftWidth", 0)
        .Set("RightWidth", 0)
        .Set("Trans", 0)
        .Set("Tile", 1)
        .Set("Frame", 1);

    const std::string thumbStates = "1 normal, 2 normal (the one drawn), 3 pressed, 4 disabled, 5 mouse over";
    struct TThumbSection {
        const char* Section;
        const char* File;
        TPointer Pointer;
        bool Vertical;
    };
    for (const TThumbSection& t :
         {TThumbSection{"Trackbar.ThumbHorz", "thumbh.bmp", TPointer::None, false},
          TThumbSection{"Trackbar.ThumbVert", "thumbv.bmp", TPointer::None, true},
          TThumbSection{"Trackbar.ThumbLeft", "thumbl.bmp", TPointer::Left, true},
          TThumbSection{"Trackbar.ThumbRight", "thumbr.bmp", TPointer::Right, true},
          TThumbSection{"Trackbar.ThumbUp", "thumbu.bmp", TPointer::Up, false},
          TThumbSection{"Trackbar.ThumbDown", "thumbd.bmp", TPointer::Down, false}}) {
        const std::string image =
            skin.AddImage({t.File, Thumb(p, t.Pointer, t.Vertical), 5, false, thumbStates});
        skin.Section(t.Section).Set("Image", image).Set("Trans", 1).Set("Tile", 0).Set("Frame", 5);
    }

    const std::string track = skin.AddImage({"track.bmp", Channel(p, false), 1, false, "1"});
    skin.Section("Track")
        .Set("Image", track)
        .Set("LeftWidth", 3)
        .Set("TopHeight", 0)
        .Set("RightWidth", 3)
        .Set("BottomHeight", 0)
        .Set("Trans", 0)
        .Set("Tile", 0)
        .Set("Frame", 1);
    const std::string trackVert = skin.AddImage({"trackvert.bmp", Channel(p, true), 1, false, "1"});
    skin.Section("TRACKVERT")
        .Set("Image", trackVert)
        .Set("LeftWidth", 0)
        .Set("TopHeight", 3)
        .Set("RightWidth", 0)
        .Set("BottomHeight", 3)
        .Set("Trans", 0)
        .Set("Tile", 0)
        .Set("Frame", 1);
}
