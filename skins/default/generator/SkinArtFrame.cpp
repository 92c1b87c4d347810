// Window frame: one whole frame is drawn per state (active, inactive) and cut into the four
// border images, so corners, outline and title gradient meet exactly where the engine joins them.
#include "Artwork.h"
#include "SkinArt.h"
#include "SkinDraw.h"
#include "SkinMetrics.h"

#include <array>
#include <functional>

namespace {

using namespace skin;

constexpr int kFrameWidth = BorderWidth + TitleEnd + FrameMiddle + TitleEnd + BorderWidth;
constexpr int kFrameHeight = TitleHeight + FrameMiddle + SideBottomEnd;

struct TFrameLook {
    art::Color TitleTop, TitleBottom, Outline, Body, Glyph;
};

TFrameLook ActiveLook(const TSkinPalette& p) {
    return {p.TitleTop, p.TitleBottom, p.TitleOutline, p.FrameBody, p.TitleGlyph};
}
TFrameLook InactiveLook(const TSkinPalette& p) {
    return {p.InactiveTitleTop, p.InactiveTitleBottom, p.InactiveOutline, p.InactiveFrameBody,
            p.InactiveTitleGlyph};
}

// Rounded top corners, smaller rounded bottom corners.
art::Shape WindowShape(float w, float h) {
    return art::Union(art::RoundRect(0, 0, w, h * 0.6f, TopCornerRadius),
                      art::RoundRect(0, h * 0.4f, w, h, BottomCornerRadius));
}

art::Paint TitleGradient(const TFrameLook& look, float top) {
    return Vertical(-top, look.TitleTop, TitleHeight - top, look.TitleBottom);
}

TSkinBitmap DrawFrame(const TSkinPalette& p, const TFrameLook& look) {
    art::Image img(kFrameWidth, kFrameHeight);
    const art::Shape window = WindowShape(kFrameWidth, kFrameHeight);
    img.Fill(window, art::Solid(look.Body));
    img.Fill(art::Intersect(window, Rect(0, 0, kFrameWidth, TitleHeight)), TitleGradient(look, 0));
    // A faint light edge inside the outline along the top gives the title bar a crisp finish.
    img.Fill(art::Intersect(Band(art::Inflate(window, -1), 1), Rect(0, 0, kFrameWidth, TitleHeight / 2.f)),
             art::Solid(p.Window.WithAlpha(0.22f)));
    img.Fill(Band(window, 1), art::Solid(look.Outline));
    // Outside the rounded corners is cut from the window; half-covered edge pixels stay and are
    // softened towards a neutral shade.
    return Flatten(img, p.Desktop, 0.5f);
}

// The title bar's pixels under a rectangle placed on it, for blending caption buttons.
art::Image TitleUnder(const TFrameLook& look, int width, int height, int top) {
    art::Image under(width, height);
    under.Fill(Rect(-1, -1, width + 1.f, height + 1.f), TitleGradient(look, static_cast<float>(top)));
    return under;
}

enum class TCaption { Close, Maximize, Restore, Minimize };

art::Shape CaptionGlyph(TCaption kind) {
    constexpr float cx = CaptionButtonWidth / 2.f, cy = CaptionButtonHeight / 2.f;
    switch (kind) {
    case TCaption::Close:
        return art::Union(art::Capsule({cx - 4.5f, cy - 4.5f}, {cx + 4.5f, cy + 4.5f}, 0.65f),
                          art::Capsule({cx - 4.5f, cy + 4.5f}, {cx + 4.5f, cy - 4.5f}, 0.65f));
    case TCaption::Maximize:
        return art::Outline(art::RoundRect(cx - 4.5f, cy - 4.5f, cx + 4.5f, cy + 4.5f, 1.2f), 1);
    case TCaption::Restore: {
        const art::Shape front = art::RoundRect(cx - 4.5f, cy - 2.5f, cx + 2.5f, cy + 4.5f, 1);
        const art::Shape back = art::RoundRect(cx - 2.5f, cy - 4.5f, cx + 4.5f, cy + 2.5f, 1);
        return art::Union(art::Outline(front, 1),
                          art::Subtract(art::Outline(back, 1), art::Inflate(front, 0.5f)));
    }
    case TCaption::Minimize:
    default:
        return Rect(cx - 5, cy, cx + 5, cy + 1);
    }
}

// Frames: 1 normal, 2 pressed, 3 mouse over (active window), 4 inactive window.
TSkinBitmap CaptionButton(const TSkinPalette& p, TCaption kind) {
    const art::Shape plate = art::RoundRect(0, 0, CaptionButtonWidth, CaptionButtonHeight, 4);
    const art::Shape glyph = CaptionGlyph(kind);
    const bool close = kind == TCaption::Close;
    std::vector<TSkinBitmap> frames;
    for (int state = 1; state <= 4; ++state) {
        const TFrameLook look = state == 4 ? InactiveLook(p) : ActiveLook(p);
        art::Image img(CaptionButtonWidth, CaptionButtonHeight);
        if (state == 2)
            img.Fill(plate, art::Solid(close ? p.ClosePressed : p.TitlePressedPlate));
        if (state == 3)
            img.Fill(plate, art::Solid(close ? p.CloseHot : p.TitleHotPlate));
        // White on the red close plates, whatever the title bar's ink is.
        img.Fill(glyph, art::Solid(close && (state == 2 || state == 3) ? p.Window : look.Glyph));
        frames.push_back(
            Flatten(img, TitleUnder(look, CaptionButtonWidth, CaptionButtonHeight, CaptionButtonTop)));
    }
    return SideBySide(frames);
}

// The system-menu button shows the window's own icon; this picture only gives the button its
// size (and shows where a window has no icon).
TSkinBitmap SystemIcon(const TSkinPalette& p) {
    return Flatten(art::AppIcon(IconSize), TitleUnder(ActiveLook(p), IconSize, IconSize, IconTop));
}

// Three MDI child buttons (minimize, restore, close) of four frames each, on the menu bar:
// 1 normal, 2 pressed, 3 and 4 mouse over.
TSkinBitmap MdiControls(const TSkinPalette& p) {
    constexpr float w = MdiButtonWidth, h = MdiButtonHeight, cx = w / 2, cy = h / 2;
    const std::array<art::Shape, 3> glyphs = {
        Rect(cx - 4, cy + 2, cx + 4, cy + 3),
        art::Union(
            art::Outline(art::RoundRect(cx - 3.5f, cy - 1.5f, cx + 1.5f, cy + 3.5f, 0.8f), 1),
            art::Subtract(art::Outline(art::RoundRect(cx - 1.5f, cy - 3.5f, cx + 3.5f, cy + 1.5f, 0.8f), 1),
                          art::RoundRect(cx - 4, cy - 2, cx + 2, cy + 4, 1))),
        art::Union(art::Capsule({cx - 3.5f, cy - 3.5f}, {cx + 3.5f, cy + 3.5f}, 0.6f),
                   art::Capsule({cx - 3.5f, cy + 3.5f}, {cx + 3.5f, cy - 3.5f}, 0.6f)),
    };
    std::vector<TSkinBitmap> frames;
    for (const art::Shape& glyph : glyphs)
        for (int state = 1; state <= 4; ++state) {
            art::Image img(MdiButtonWidth, MdiButtonHeight);
            if (state > 1)
                img.Fill(art::RoundRect(0, 0, w, h, 2), art::Solid(state == 2 ? p.BorderLight : p.Line));
            img.Fill(glyph, art::Solid(p.Glyph));
            frames.push_back(Flatten(img, p.Window));
        }
    return SideBySide(frames);
}

void AddCaptionButton(TSkin& skin, const std::string& section, const std::string& file, int action,
                      int offset, int visibility, int visibility1, const TSkinBitmap& image) {
    const std::string name =
        skin.AddImage({file, image, 4, false, "1 normal, 2 pressed, 3 mouse over, 4 window inactive"});
    skin.Section(section)
        .Set("Action", action)
        .Set("Align", 1)
        .Set("Xcoord", offset)
        .Set("Ycoord", CaptionButtonTop)
        .Set("Visibility", visibility)
        .Set("Visibility1", visibility1)
        .Set("frame", 4)
        .Set("ButtonImage", name);
}

} // namespace

void AddFrameElements(TSkin& skin, const TSkinPalette& p) {
    const TSkinBitmap active = DrawFrame(p, ActiveLook(p));
    const TSkinBitmap inactive = DrawFrame(p, InactiveLook(p));
    constexpr int L = BorderWidth, W = kFrameWidth, H = kFrameHeight, B = BorderWidth;
    auto cut = [&](int x, int y, int w, int h) {
        return std::vector<TSkinBitmap>{active.Crop(x, y, w, h), inactive.Crop(x, y, w, h)};
    };
    const std::string activeInactive = "1 window active, 2 window inactive";
    const std::string left =
        skin.AddImage({"left.bmp", SideBySide(cut(0, 0, L, H)), 2, false, activeInactive});
    const std::string right =
        skin.AddImage({"right.bmp", SideBySide(cut(W - L, 0, L, H)), 2, false, activeInactive});
    const std::string top =
        skin.AddImage({"top.bmp", Stacked(cut(L, 0, W - 2 * L, TitleHeight)), 2, true, activeInactive});
    const std::string bottom =
        skin.AddImage({"bottom.bmp", Stacked(cut(L, H - B, W - 2 * L, B)), 2, true, activeInactive});
    const std::string textBack = skin.AddImage(
        {"titletext.bmp", Stacked(cut(L + TitleEnd, 0, FrameMiddle, TitleHeight)), 2, true, activeInactive});

    TIniSection& personality = skin.Section("Personality");
    for (const auto& [prefix, image] : {std::pair{"Left", left}, std::pair{"Right", right}}) {
        personality.Set(prefix, image)
            .Set(std::string(prefix) + "Frame", 2)
            .Set(std::string(prefix) + "TopHeight", TitleHeight)
            .Set(std::string(prefix) + "BotHeight", SideBottomEnd)
            .Set(std::string(prefix) + "Stretch", 1)
            .Set(std::string(prefix) + "Trans", 1);
    }
    personality.Set("Top", top)
        .Set("TopFrame", 2)
        .Set("TopTopHeight", TitleEnd)
        .Set("TopBotHeight", TitleEnd)
        .Set("TopStretch", 1)
        .Set("TopTrans", 1);
    personality.Set("Bottom", bottom)
        .Set("BottomFrame", 2)
        .Set("BottomTopHeight", 0)
        .Set("BottomBotHeight", 0)
        .Set("BottomStretch", 1)
        .Set("BottomTrans", 0);
    const art::Color activeText = p.TitleGlyph, inactiveText = p.InactiveTitleGlyph;
    personality.Set("TextBack", textBack)
        .Set("TextShift", TextShift)
        .Set("TextShiftVert", 0)
        .Set("TextRightClip", TextRightClip)
        .Set("TextAlignment", 0)
        .Set("Textbackground", 0)
        .Set("TXTBackleft", 0)
        .Set("TXTBackRight", 0)
        .Set("ActiveTextR", ToRgb(activeText).R)
        .Set("ActiveTextG", ToRgb(activeText).G)
        .Set("ActiveTextB", ToRgb(activeText).B)
        .Set("InActiveTextR", ToRgb(inactiveText).R)
        .Set("InActiveTextG", ToRgb(inactiveText).G)
        .Set("InActiveTextB", ToRgb(inactiveText).B);

    // Visibility codes: 0 always, 1 maximized, 2 not maximized, 6 can maximize (with a system
    // menu), 8 can minimize (with a system menu). Maximize and restore share one place.
    AddCaptionButton(skin, "ButtonClose", "close.bmp", 0, CloseOffset, 0, 0,
                     CaptionButton(p, TCaption::Close));
    AddCaptionButton(skin, "ButtonMaximize", "maximize.bmp", 1, MaximizeOffset, 6, 2,
                     CaptionButton(p, TCaption::Maximize));
    AddCaptionButton(skin, "ButtonRestore", "restore.bmp", 1, MaximizeOffset, 1, 6,
                     CaptionButton(p, TCaption::Restore));
    AddCaptionButton(skin, "ButtonMinimize", "minimize.bmp", 2, MinimizeOffset, 8, 0,
                     CaptionButton(p, TCaption::Minimize));
    const std::string icon =
        skin.AddImage({"sysmenu.bmp", SystemIcon(p), 1, false,
                       "sizes the system-menu button; the window icon is drawn in its place"});
    skin.Section("ButtonSysMenu")
        .Set("Action", 3)
        .Set("Align", 0)
        .Set("Xcoord", IconLeft)
        .Set("Ycoord", IconTop)
        .Set("Visibility", 0)
        .Set("Visibility1", 0)
        .Set("frame", 1)
        .Set("ButtonImage", icon);

    const std::string mdi = skin.AddImage(
        {"mdicontrols.bmp", MdiControls(p), 12, false,
         "1-4 minimize, 5-8 restore, 9-12 close; in each: normal, pressed, mouse over (unused), mouse over"});
    skin.Section("MDICONTROLS").Set("Image", mdi);
}
