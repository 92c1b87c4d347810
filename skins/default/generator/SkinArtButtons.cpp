// Push buttons, check boxes, radio buttons and flat toolbar buttons.
#include "SkinArt.h"
#include "SkinDraw.h"
#include "SkinMetrics.h"

namespace {

using namespace skin;

constexpr int kButtonWidth = 32, kButtonHeight = 24, kButtonMargin = 5;
constexpr float kButtonRadius = 4;

enum class TPush { Normal, Pressed, Disabled, Hot, Focused };

struct TBoxLook {
    art::Paint Fill;
    art::Color Border;
};

TBoxLook PushLook(const TSkinPalette& p, TPush state) {
    constexpr float h = kButtonHeight;
    switch (state) {
    case TPush::Pressed:
        return {art::Solid(p.AccentTintStrong), p.AccentDark};
    case TPush::Disabled:
        return {art::Solid(p.ControlDisabled), p.BorderLight};
    case TPush::Hot:
        return {Vertical(0, p.Window, h, p.AccentTint), p.Accent};
    case TPush::Focused:
        return {Vertical(0, p.Window, h, p.Track), p.Accent};
    case TPush::Normal:
    default:
        return {Vertical(0, p.Window, h, p.Track), p.Border};
    }
}

// Frames: 1 normal, 2 pressed, 3 disabled, 4 mouse over, 5 focused.
TSkinBitmap PushButtons(const TSkinPalette& p) {
    const art::Shape box = art::RoundRect(0, 0, kButtonWidth, kButtonHeight, kButtonRadius);
    std::vector<TSkinBitmap> frames;
    for (TPush state : {TPush::Normal, TPush::Pressed, TPush::Disabled, TPush::Hot, TPush::Focused}) {
        art::Image img(kButtonWidth, kButtonHeight);
        const TBoxLook look = PushLook(p, state);
        Box(img, box, look.Fill, look.Border);
        if (state == TPush::Focused) // a soft focus ring inside the accent border
            img.Fill(Band(art::Inflate(box, -1), 1), art::Solid(p.Accent.WithAlpha(0.35f)));
        frames.push_back(Flatten(img, p.Face));
    }
    return SideBySide(frames);
}

// Flat toolbar buttons: no face until the mouse is over them.
// Frames: 1 normal, 2 pressed, 3 disabled, 4 mouse over, 5 checked.
TSkinBitmap ToolButtons(const TSkinPalette& p) {
    const art::Shape box = art::RoundRect(0, 0, kButtonWidth, kButtonHeight, kButtonRadius);
    std::vector<TSkinBitmap> frames;
    for (int state = 1; state <= 5; ++state) {
        art::Image img(kButtonWidth, kButtonHeight);
        if (state == 2)
            Box(img, box, art::Solid(p.AccentTintStrong), p.AccentLight);
        else if (state == 4)
            Box(img, box, art::Solid(p.AccentTint), p.AccentLight);
        else if (state == 5)
            Box(img, box, art::Solid(p.AccentTint), p.Accent);
        frames.push_back(Flatten(img, p.Window));
    }
    return SideBySide(frames);
}

enum class TMark { Off, On, Mixed };
enum class TMarkState { Normal, Hot, Pressed, Disabled };

TBoxLook MarkBoxLook(const TSkinPalette& p, TMark mark, TMarkState state) {
    if (mark == TMark::Off) {
        switch (state) {
        case TMarkState::Hot:
            return {art::Solid(p.AccentTint), p.Accent};
        case TMarkState::Pressed:
            return {art::Solid(p.AccentTintStrong), p.AccentDark};
        case TMarkState::Disabled:
            return {art::Solid(p.ControlDisabled), p.BorderLight};
        default:
            return {art::Solid(p.Window), p.Glyph.WithAlpha(0.75f)};
        }
    }
    switch (state) {
    case TMarkState::Hot:
        return {art::Solid(art::Mix(p.Accent, p.AccentLight, 0.35f)),
                art::Mix(p.Accent, p.AccentLight, 0.35f)};
    case TMarkState::Pressed:
        return {art::Solid(p.AccentDark), p.AccentDark};
    case TMarkState::Disabled:
        return {art::Solid(p.GlyphDisabled), p.GlyphDisabled};
    default:
        return {art::Solid(p.Accent), p.Accent};
    }
}

constexpr TMarkState kMarkStates[] = {TMarkState::Normal, TMarkState::Hot, TMarkState::Pressed,
                                      TMarkState::Disabled};

// Twelve frames: unchecked, checked, mixed; each normal, mouse over, pressed, disabled.
TSkinBitmap CheckBoxes(const TSkinPalette& p) {
    constexpr float s = MarkSize;
    const art::Shape box = art::RoundRect(0, 0, s, s, 2.5f);
    const art::Shape tick = Chevron({3.4f, 6.9f}, {5.6f, 9.1f}, {9.8f, 4.1f}, 1.7f);
    const art::Shape dash = Rect(3.5f, 6, 9.5f, 7.5f);
    std::vector<TSkinBitmap> frames;
    for (TMark mark : {TMark::Off, TMark::On, TMark::Mixed})
        for (TMarkState state : kMarkStates) {
            art::Image img(MarkSize, MarkSize);
            const TBoxLook look = MarkBoxLook(p, mark, state);
            Box(img, box, look.Fill, look.Border);
            if (mark != TMark::Off)
                img.Fill(mark == TMark::On ? tick : dash, art::Solid(p.OnAccent));
            frames.push_back(Flatten(img, p.Face));
        }
    return SideBySide(frames);
}

// Eight frames: unchecked, checked; each normal, mouse over, pressed, disabled.
TSkinBitmap RadioButtons(const TSkinPalette& p) {
    constexpr float c = MarkSize / 2.f;
    const art::Shape disc = art::Circle({c, c}, c);
    std::vector<TSkinBitmap> frames;
    for (TMark mark : {TMark::Off, TMark::On})
        for (TMarkState state : kMarkStates) {
            art::Image img(MarkSize, MarkSize);
            const TBoxLook look = MarkBoxLook(p, mark, state);
            Box(img, disc, look.Fill, look.Border);
            if (mark == TMark::On)
                img.Fill(art::Circle({c, c}, 2.6f), art::Solid(p.OnAccent));
            frames.push_back(Flatten(img, p.Face));
        }
    return SideBySide(frames);
}

} // namespace

void AddButtonElements(TSkin& skin, const TSkinPalette& p) {
    const std::string button = skin.AddImage(
        {"button.bmp", PushButtons(p), 5, false, "1 normal, 2 pressed, 3 disabled, 4 mouse over, 5 focused"});
    const std::string check = skin.AddImage(
        {"checkbox.bmp", CheckBoxes(p), 12, false,
         "1-4 unchecked, 5-8 checked, 9-12 mixed; in each: normal, mouse over, pressed, disabled"});
    const std::string radio =
        skin.AddImage({"radio.bmp", RadioButtons(p), 8, false,
                       "1-4 unchecked, 5-8 checked; in each: normal, mouse over, pressed, disabled"});
    skin.Section("Buttons")
        .Set("Bitmap", button)
        .Set("LeftWidth", kButtonMargin)
        .Set("TopHeight", kButtonMargin)
        .Set("RightWidth", kButtonMargin)
        .Set("BottomHeight", kButtonMargin)
        .Set("Trans", 1)
        .Set("Tile", 0)
        .Set("NormalColour2", IniColour(p.Text))
        .Set("MouseOverColour2", IniColour(art::Mix(p.AccentDark, p.Text, 0.35f)))
        .Set("PressedColour2", IniColour(art::Mix(p.AccentDark, p.Text, 0.35f)))
        .Set("CheckButton", check)
        .Set("CheckButtonFrame", 12)
        .Set("RadioButton", radio)
        .Set("RadioButtonFrame", 8);

    const std::string tools = skin.AddImage({"toolbars.bmp", ToolButtons(p), 5, false,
                                             "1 normal, 2 pressed, 3 disabled, 4 mouse over, 5 checked"});
    skin.Section("ToolBars")
        .Set("Image", tools)
        .Set("LeftWidth", kButtonMargin)
        .Set("TopHeight", kButtonMargin)
        .Set("RightWidth", kButtonMargin)
        .Set("BottomHeight", kButtonMargin)
        .Set("Trans", 1)
        .Set("Tile", 0)
        .Set("Frame", 5)
        .Set("NormalColour2", IniColour(p.Text))
        .Set("MouseOverColour2", IniColour(p.Text))
        .Set("PressedColour2", IniColour(p.Text));
}
