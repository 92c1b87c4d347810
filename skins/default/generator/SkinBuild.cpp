// The skin as a whole: section order, colour table, fonts.
#include "SkinArt.h"

namespace {

// Sections in the order the engine builds its elements, so the INI reads like the skin's
// catalogue. Sections not listed here would follow at the end.
constexpr const char* kSectionOrder[] = {
    "Personality",
    "Fonts",
    "Colours",
    "COLOUR0",
    "COLOUR1",
    "COLOUR2",
    "ButtonClose",
    "ButtonMaximize",
    "ButtonRestore",
    "ButtonMinimize",
    "ButtonSysMenu",
    "MDICONTROLS",
    "Buttons",
    "Progress",
    "Progress.Chunk",
    "GroupBoxEdge",
    "GroupBox",
    "Tabs",
    "StatusBarEdges",
    "Tab.Pane",
    "ToolBars",
    "ComboButton",
    "SunkEdge",
    "ExtraImages",
    "Headerbar",
    "MenuItem",
    "MenuBackground",
    "Scrollbar",
    "HorzScroll",
    "VertScroll",
    "HorzScrollThumb",
    "VertScrollThumb",
    "Trackbar.ThumbHorz",
    "Trackbar.ThumbVert",
    "Trackbar.ThumbLeft",
    "Trackbar.ThumbRight",
    "Trackbar.ThumbUp",
    "Trackbar.ThumbDown",
    "UpDown.Horz",
    "UpDown.Vert",
    "Track",
    "TRACKVERT",
};

} // namespace

void AddColourSections(TSkin& skin, const TSkinPalette& p) {
    skin.Section("Fonts").Set("FontHeight", 14);
    const art::Color text = p.Text;
    skin.Section("Colours")
        .Set("WindowText", IniColour(text))
        .Set("ButtonFace", IniColour(p.Face))
        .Set("Scrollbar", IniColour(p.Track))
        .Set("HilightText", IniColour(p.OnAccent))
        .Set("Hilight", IniColour(p.Accent))
        .Set("Menubar", IniColour(p.Window))
        .Set("Menu", IniColour(p.Window))
        .Set("MenuText", IniColour(text))
        .Set("ButtonText", IniColour(text))
        // The menu bar frames the item under the mouse in this colour.
        .Set("ButtonHilight", IniColour(p.AccentLight))
        .Set("Buttonlight", IniColour(p.Window))
        // Edit borders, group box frames and disabled menu text.
        .Set("ButtonShadow", IniColour(p.Border))
        .Set("ButtonDkShadow", IniColour(p.Glyph))
        .Set("MenuBarText", IniColour(text))
        .Set("TitleTextActive", IniColour(p.TitleGlyph))
        .Set("TitleTextNoActive", IniColour(p.InactiveTitleGlyph));
    // The custom colour list that elements may name by index: text, accent, muted text.
    skin.Section("COLOUR0").Set("color", IniColour(text));
    skin.Section("COLOUR1").Set("color", IniColour(p.Accent));
    skin.Section("COLOUR2").Set("color", IniColour(p.TextMuted));
}

TSkin BuildSkin(const TSkinPalette& palette) {
    TSkin skin;
    for (const char* name : kSectionOrder)
        skin.Section(name);
    AddFrameElements(skin, palette);
    AddColourSections(skin, palette);
    AddButtonElements(skin, palette);
    AddRangeElements(skin, palette);
    AddMenuAndPanelElements(skin, palette);
    AddTabElements(skin, palette);
    AddFieldElements(skin, palette);
    AddScrollElements(skin, palette);
    return skin;
}
