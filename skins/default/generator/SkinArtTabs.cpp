// Tabs and the page frame under them.
#include "SkinArt.h"
#include "SkinDraw.h"

namespace {

using namespace skin;

constexpr int kTabWidth = 40, kTabHeight = 24;
constexpr int kPaneSize = 16;

// Tab frames: 1 normal, 2 selected, 3 disabled, 4 mouse over, 5 selected and focused.
// Tabs are rounded at the top and open at the bottom, where the page frame starts.
TSkinBitmap Tabs(const TSkinPalette& p) {
    constexpr float w = kTabWidth, h = kTabHeight;
    const art::Shape tab = art::Intersect(art::RoundRect(0, 0, w, h + 8, 4), Rect(0, 0, w, h));
    const art::Shape border = art::Subtract(
        tab, art::Intersect(art::Inflate(art::RoundRect(0, 0, w, h + 8, 4), -1), Rect(1, 1, w - 1, h + 1)));
    std::vector<TSkinBitmap> frames;
    for (int state = 1; state <= 5; ++state) {
        art::Image img(kTabWidth, kTabHeight);
        const bool selected = state == 2 || state == 5;
        const art::Paint fill = selected     ? art::Solid(p.Window)
                                : state == 3 ? art::Solid(p.ControlDisabled)
                                : state == 4 ? Vertical(0, p.Window, h, p.AccentTint)
                                             : Vertical(0, art::Mix(p.Face, p.Window, 0.5f), h, p.Line);
        img.Fill(tab, fill);
        img.Fill(border, art::Solid(state == 3 ? p.Line : p.BorderLight));
        if (selected) // an accent bar across the top of the selected tab
            img.Fill(art::Intersect(tab, Rect(0, 0, w, 2.5f)), art::Solid(p.Accent));
        if (state == 5)
            img.Fill(art::Intersect(tab, Rect(1, 2.5f, w - 1, 3.5f)), art::Solid(p.Accent.WithAlpha(0.3f)));
        frames.push_back(Flatten(img, p.Face));
    }
    return SideBySide(frames);
}

// The page frame: white with a hairline border. Drawn without transparency.
TSkinBitmap Pane(const TSkinPalette& p) {
    constexpr float s = kPaneSize;
    art::Image img(kPaneSize, kPaneSize);
    Box(img, Rect(0, 0, s, s), art::Solid(p.Window), p.BorderLight);
    return Flatten(img, p.Window, -1);
}

} // namespace

void AddTabElements(TSkin& skin, const TSkinPalette& p) {
    const std::string tabs =
        skin.AddImage({"tabs.bmp", Tabs(p), 5, false,
                       "1 normal, 2 selected, 3 disabled, 4 mouse over, 5 selected and focused"});
    const std::string pane = skin.AddImage({"tabpane.bmp", Pane(p), 1, false, "1"});
    // Style 0: the page frame comes from the "Border" image (drawn with margins 4, 5, 4, 4).
    skin.Section("Tabs")
        .Set("Image", tabs)
        .Set("Border", pane)
        .Set("Style", 0)
        .Set("LeftWidth", 5)
        .Set("TopHeight", 5)
        .Set("RightWidth", 5)
        .Set("BottomHeight", 2)
        .Set("Trans", 1)
        .Set("Tile", 0)
        .Set("NormalColour2", IniColour(p.TextMuted))
        .Set("MouseOverColour2", IniColour(p.Text));
    skin.Section("Tab.Pane")
        .Set("Image", pane)
        .Set("LeftWidth", 4)
        .Set("TopHeight", 4)
        .Set("RightWidth", 4)
        .Set("BottomHeight", 4)
        .Set("Trans", 0)
        .Set("Tile", 0);
}
