// Combo boxes (edit frame, drop-down button, arrow glyph), the status bar's size grip and spin
// buttons. The engine composes a combo box from the edit frame and the button at load time.
#include "SkinArt.h"
#include "SkinDraw.h"
#include "SkinMetrics.h"

#include <array>

namespace {

using namespace skin;

// Field frames: 1 normal, 2 pressed (dropped down), 3 disabled, 4 mouse over or focused.
enum class TField { Normal, Pressed, Disabled, Hot };
constexpr TField kFieldStates[] = {TField::Normal, TField::Pressed, TField::Disabled, TField::Hot};

constexpr int kFieldMargin = 3;
// The combo box joins the frame's left edge with only 2 fixed columns, so the corner must fit in 2.
constexpr float kFieldRadius = 2;

art::Color FieldFill(const TSkinPalette& p, TField state) {
    return state == TField::Disabled ? p.ControlDisabled : p.Window;
}

TSkinBitmap SunkEdge(const TSkinPalette& p) {
    constexpr float w = ComboCellWidth, h = ComboCellHeight;
    const art::Shape box = art::RoundRect(0, 0, w, h, kFieldRadius);
    std::vector<TSkinBitmap> frames;
    for (TField state : kFieldStates) {
        art::Image img(ComboCellWidth, ComboCellHeight);
        const art::Color border = state == TField::Disabled ? p.BorderLight
                                  : state == TField::Normal ? p.Border
                                                            : p.Accent;
        Box(img, box, art::Solid(FieldFill(p, state)), border);
        if (state == TField::Pressed) // an accent underline while the list is open
            img.Fill(art::Intersect(box, Rect(0, h - 2, w, h)), art::Solid(p.Accent));
        frames.push_back(Flatten(img, p.Face));
    }
    return SideBySide(frames);
}

// The drop-down button lies over the frame's right end: transparent where the frame shows,
// a tinted plate inside the border when the button is hot or pressed.
TSkinBitmap ComboButton(const TSkinPalette& p) {
    constexpr float w = ComboButtonWidth, h = ComboCellHeight;
    const art::Shape plate = art::RoundRect(2, 2, w - 2, h - 2, 1.5f);
    std::vector<TSkinBitmap> frames;
    for (TField state : kFieldStates) {
        art::Image img(ComboButtonWidth, ComboCellHeight);
        if (state == TField::Hot)
            img.Fill(plate, art::Solid(p.AccentTint));
        if (state == TField::Pressed)
            img.Fill(plate, art::Solid(p.AccentTintStrong));
        frames.push_back(Flatten(img, FieldFill(p, state)));
    }
    return SideBySide(frames);
}

constexpr int kGlyphCell = 12;

// Frames 1-4: the combo box arrow in the field states; frame 5: the status bar's size grip.
TSkinBitmap ExtraImages(const TSkinPalette& p, const art::Color& statusBar) {
    constexpr float c = kGlyphCell / 2.f;
    const art::Shape arrow = Chevron({c - 3.5f, c - 1.5f}, {c, c + 2}, {c + 3.5f, c - 1.5f}, 1.5f);
    std::vector<TSkinBitmap> frames;
    for (TField state : kFieldStates) {
        art::Image img(kGlyphCell, kGlyphCell);
        img.Fill(arrow, art::Solid(state == TField::Disabled ? p.GlyphDisabled : p.Glyph));
        const art::Color under = state == TField::Hot       ? p.AccentTint
                                 : state == TField::Pressed ? p.AccentTintStrong
                                                            : FieldFill(p, state);
        frames.push_back(Flatten(img, under));
    }
    art::Image grip(kGlyphCell, kGlyphCell);
    for (int row = 0; row < 3; ++row)
        for (int col = 2 - row; col < 3; ++col) {
            const float x = 3.f + 3.f * col, y = 3.f + 3.f * row;
            grip.Fill(art::RoundRect(x, y, x + 2, y + 2, 0.6f), art::Solid(p.Thumb));
        }
    frames.push_back(Flatten(grip, statusBar));
    return SideBySide(frames);
}

constexpr int kSpinLong = 16, kSpinShort = 11;

// Spin buttons: 1-4 the up (left) button, 5-8 the down (right) button; in each: normal,
// pressed, disabled, mouse over. The glyph image has the same frames.
art::Color SpinFill(const TSkinPalette& p, TField state) {
    switch (state) {
    case TField::Pressed:
        return p.AccentTintStrong;
    case TField::Disabled:
        return p.ControlDisabled;
    case TField::Hot:
        return p.AccentTint;
    default:
        return art::Mix(p.Face, p.Line, 0.5f);
    }
}

TSkinBitmap SpinButtons(const TSkinPalette& p, bool horizontal) {
    const int w = horizontal ? kSpinShort : kSpinLong, h = horizontal ? kSpinLong : kSpinShort;
    const art::Shape plate = art::RoundRect(0.5f, 0.5f, w - 0.5f, h - 0.5f, 2);
    std::vector<TSkinBitmap> frames;
    for (int button = 0; button < 2; ++button)
        for (TField state : kFieldStates) {
            art::Image img(w, h);
            img.Fill(plate, art::Solid(SpinFill(p, state)));
            frames.push_back(Flatten(img, p.Face));
        }
    return SideBySide(frames);
}

TSkinBitmap SpinGlyphs(const TSkinPalette& p, bool horizontal) {
    const int w = horizontal ? 6 : 9, h = horizontal ? 9 : 6;
    const float cx = w / 2.f, cy = h / 2.f;
    const std::array<art::Shape, 2> glyphs =
        horizontal ? std::array{Chevron({cx + 1.2f, cy - 3}, {cx - 1.2f, cy}, {cx + 1.2f, cy + 3}, 1.4f),
                                Chevron({cx - 1.2f, cy - 3}, {cx + 1.2f, cy}, {cx - 1.2f, cy + 3}, 1.4f)}
                   : std::array{Chevron({cx - 3, cy + 1.2f}, {cx, cy - 1.2f}, {cx + 3, cy + 1.2f}, 1.4f),
                                Chevron({cx - 3, cy - 1.2f}, {cx, cy + 1.2f}, {cx + 3, cy - 1.2f}, 1.4f)};
    std::vector<TSkinBitmap> frames;
    for (const art::Shape& glyph : glyphs)
        for (TField state : kFieldStates) {
            art::Image img(w, h);
            img.Fill(glyph, art::Solid(state == TField::Disabled ? p.GlyphDisabled : p.Glyph));
            frames.push_back(Flatten(img, SpinFill(p, state)));
        }
    return SideBySide(frames);
}

} // namespace

void AddFieldElements(TSkin& skin, const TSkinPalette& p) {
    const std::string fieldStates = "1 normal, 2 pressed, 3 disabled, 4 mouse over or focused";
    const std::string sunk = skin.AddImage({"sunkedge.bmp", SunkEdge(p), 4, false, fieldStates});
    // Copied opaque into the combo composite, so its rounded corners arrive there as key colour
    // (transparent when the combo box is drawn) instead of whatever the scratch cell held.
    skin.Section("SunkEdge")
        .Set("Image", sunk)
        .Set("LeftWidth", kFieldMargin)
        .Set("TopHeight", kFieldMargin)
        .Set("RightWidth", kFieldMargin)
        .Set("BottomHeight", kFieldMargin)
        .Set("Trans", 0)
        .Set("Tile", 0)
        .Set("Frame", 4);
    const std::string button = skin.AddImage({"combobutton.bmp", ComboButton(p), 4, false, fieldStates});
    skin.Section("ComboButton")
        .Set("Image", button)
        .Set("LeftWidth", kFieldMargin)
        .Set("TopHeight", kFieldMargin)
        .Set("RightWidth", kFieldMargin)
        .Set("BottomHeight", kFieldMargin)
        .Set("Trans", 1)
        .Set("Tile", 0)
        .Set("Style", 0);
    const std::string extra = skin.AddImage(
        {"extraimages.bmp", ExtraImages(p, p.Face), 5, false,
         "1-4 combo box arrow (normal, pressed, disabled, mouse over), 5 status bar size grip"});
    skin.Section("ExtraImages").Set("Image", extra).Set("Trans", 1).Set("Frame", 5);

    const std::string spinStates =
        "1-4 up (left) button, 5-8 down (right) button; in each: normal, pressed, disabled, mouse over";
    for (bool horizontal : {true, false}) {
        const std::string suffix = horizontal ? "h" : "v";
        const std::string image =
            skin.AddImage({"updown" + suffix + ".bmp", SpinButtons(p, horizontal), 8, false, spinStates});
        const std::string glyphs =
            skin.AddImage({"updown" + suffix + "glyph.bmp", SpinGlyphs(p, horizontal), 8, false, spinStates});
        skin.Section(horizontal ? "UpDown.Horz" : "UpDown.Vert")
            .Set("Image", image)
            .Set("GlyphImage", glyphs)
            .Set("LeftWidth", 2)
            .Set("TopHeight", 2)
            .Set("RightWidth", 2)
            .Set("BottomHeight", 2)
            .Set("Trans", 1)
            .Set("Tile", 0);
    }
}
