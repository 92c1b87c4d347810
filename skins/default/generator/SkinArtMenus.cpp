// Menus (items, popup background, menu bar), status bars and group boxes.
#include "SkinArt.h"
#include "SkinDraw.h"
#include "SkinMetrics.h"

namespace {

using namespace skin;

constexpr int kItemWidth = 32, kItemHeight = 22, kItemEnd = 4;

// Item frames: 1 normal, 2 separator, 3 disabled, 4 selected, 5 checked. The popup's own
// background shows through everywhere the item does not paint.
TSkinBitmap MenuItems(const TSkinPalette& p) {
    constexpr float w = kItemWidth, h = kItemHeight, e = kItemEnd;
    // The corner arcs end exactly where the fixed ends do, so stretching keeps them round.
    const art::Shape plate = art::RoundRect(1, 1, w - 1, h - 1, e - 1);
    std::vector<TSkinBitmap> frames;
    for (int state = 1; state <= 5; ++state) {
        art::Image img(kItemWidth, kItemHeight);
        if (state == 2) // short separators show the image's bottom rows, so the line sits low
            img.Fill(Rect(e, h - 5, w - e, h - 4), art::Solid(p.Line));
        if (state == 4)
            img.Fill(plate, Vertical(1, art::Mix(p.Accent, p.AccentLight, 0.2f), h - 1, p.Accent));
        if (state == 5)
            img.Fill(plate, art::Solid(p.AccentTint));
        frames.push_back(Flatten(img, p.Window));
    }
    return SideBySide(frames);
}

// The popup's frame and background: a hairline border, three pixels in all.
TSkinBitmap MenuBackground(const TSkinPalette& p) {
    art::Image img(24, 24);
    Box(img, Rect(0, 0, 24, 24), art::Solid(p.Window), p.Border);
    return Flatten(img, p.Window, -1);
}

// The menu bar band: frame 1 window active, frame 2 inactive, stacked.
TSkinBitmap MenuBar(const TSkinPalette& p) {
    constexpr float w = 16, h = MenuBarHeight;
    std::vector<TSkinBitmap> frames;
    for (const art::Color& fill : {p.Window, art::Mix(p.Window, p.Face, 0.6f)}) {
        art::Image img(16, MenuBarHeight);
        img.Fill(Rect(0, 0, w, h), art::Solid(fill));
        img.Fill(Rect(0, h - 1, w, h), art::Solid(p.Line));
        frames.push_back(Flatten(img, fill, -1));
    }
    return Stacked(frames);
}

constexpr int kPanelWidth = 16, kPanelHeight = 22;

// Status bar panels: 1 lowered, 2 raised, 3 no bevel. A hairline along the top joins the
// panels into one bar; lowered and raised panels end in a short divider.
TSkinBitmap StatusPanels(const TSkinPalette& p) {
    constexpr float w = kPanelWidth, h = kPanelHeight;
    std::vector<TSkinBitmap> frames;
    for (int state = 1; state <= 3; ++state) {
        art::Image img(kPanelWidth, kPanelHeight);
        img.Fill(Rect(0, 0, w, h), art::Solid(state == 2 ? art::Mix(p.Face, p.Window, 0.7f) : p.Face));
        img.Fill(Rect(0, 0, w, 1), art::Solid(p.Line));
        if (state != 3)
            img.Fill(Rect(w - 2, 5, w - 1, h - 4), art::Solid(p.BorderLight));
        frames.push_back(Flatten(img, p.Face, -1));
    }
    return SideBySide(frames);
}

constexpr int kBoxSize = 24;

// Group box outline: 1 enabled, 2 disabled; transparent inside.
TSkinBitmap GroupBoxEdge(const TSkinPalette& p) {
    std::vector<TSkinBitmap> frames;
    for (const art::Color& line : {p.BorderLight, p.Line}) {
        art::Image img(kBoxSize, kBoxSize);
        img.Fill(Band(art::RoundRect(0, 0, kBoxSize, kBoxSize, 4), 1), art::Solid(line));
        frames.push_back(Flatten(img, p.Face));
    }
    return SideBySide(frames);
}

// The plate behind a group box caption: the face colour with rounded ends.
TSkinBitmap GroupBoxLabel(const TSkinPalette& p) {
    art::Image img(kBoxSize, 16);
    img.Fill(art::RoundRect(0, 0, kBoxSize, 16, 4), art::Solid(p.Face));
    return Flatten(img, p.Face);
}

} // namespace

void AddMenuAndPanelElements(TSkin& skin, const TSkinPalette& p) {
    const std::string items = skin.AddImage(
        {"menuitem.bmp", MenuItems(p), 5, false, "1 normal, 2 separator, 3 disabled, 4 selected, 5 checked"});
    skin.Section("MenuItem")
        .Set("Image", items)
        .Set("LeftWidth", kItemEnd)
        .Set("TopHeight", kItemEnd)
        .Set("RightWidth", kItemEnd)
        .Set("BottomHeight", kItemEnd)
        .Set("Trans", 1)
        .Set("Tile", 0)
        .Set("Frame", 5);
    const std::string background = skin.AddImage({"menuback.bmp", MenuBackground(p), 1, false, "1"});
    skin.Section("MenuBackground")
        .Set("Image", background)
        .Set("LeftWidth", 3)
        .Set("TopHeight", 3)
        .Set("RightWidth", 3)
        .Set("BottomHeight", 3)
        .Set("Trans", 0)
        .Set("Tile", 0);
    const std::string bar =
        skin.AddImage({"menubar.bmp", MenuBar(p), 2, true, "1 window active, 2 window inactive"});
    skin.Section("Personality")
        .Set("menuBar", bar)
        .Set("TileMenu", 1)
        .Set("TileLeftMenu", 2)
        .Set("TileRightMenu", 2);

    const std::string panels =
        skin.AddImage({"statusbar.bmp", StatusPanels(p), 3, false, "1 lowered, 2 raised, 3 no bevel"});
    skin.Section("StatusBarEdges")
        .Set("Image", panels)
        .Set("LeftWidth", 2)
        .Set("TopHeight", 3)
        .Set("RightWidth", 3)
        .Set("BottomHeight", 4)
        .Set("Trans", 0)
        .Set("Tile", 0)
        .Set("Frame", 3)
        .Set("NormalColour2", IniColour(p.TextMuted));

    const std::string edge =
        skin.AddImage({"groupedge.bmp", GroupBoxEdge(p), 2, false, "1 enabled, 2 disabled"});
    skin.Section("GroupBoxEdge")
        .Set("Image", edge)
        .Set("LeftWidth", 5)
        .Set("TopHeight", 5)
        .Set("RightWidth", 5)
        .Set("BottomHeight", 5)
        .Set("Trans", 1)
        .Set("Tile", 0)
        .Set("Frame", 2);
    const std::string label = skin.AddImage({"grouplabel.bmp", GroupBoxLabel(p), 1, false, "1"});
    skin.Section("GroupBox")
        .Set("Image", label)
        .Set("LeftWidth", 4)
        .Set("TopHeight", 4)
        .Set("RightWidth", 4)
        .Set("BottomHeight", 4)
        .Set("Trans", 1)
        .Set("Tile", 0)
        .Set("BackgroundAlignment", 0)
        .Set("BackgroundLeftShift", 0)
        .Set("BackgroundRightShift", 0)
        .Set("NormalColour2", IniColour(p.Text));
}
