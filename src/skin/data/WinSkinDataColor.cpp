#include "WinSkinDataColor.h"

#include "SkinText.h"
#include "WinSkinIni.h"

#include <array>
#include <string>

namespace {

constexpr std::string_view kColourSection = "Colours";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

TColor ReadColor(const TQuickIni& ini, std::string_view section, std::string_view key, TColor defaultColor) {
    return ParseSkinColor(ini.ReadString(section, key, std::string()), defaultColor);
}

} // namespace

TColor ParseSkinColor(std::string_view text, TColor defaultColor) {
    if (text.empty())
        return defaultColor;
    text = SkinText::TrimControl(text);
    std::array<int, 3> rgb{0, 0, 0};
    std::size_t count = 0;
    int value = 0; // kept to its low 8 bits while it grows: only those count
    bool inNumber = false;
    for (const char c : text) {
        if (IsDigit(c)) {
            value = (value * 10 + (c - '0')) & 0xFF;
            inNumber = true;
            continue;
        }
        if (inNumber && count < rgb.size())
            rgb[count++] = value;
        inNumber = false;
        value = 0;
    }
    if (inNumber && count == 2)
        rgb[2] = value;
    return RGBColor(static_cast<std::uint8_t>(rgb[0]), static_cast<std::uint8_t>(rgb[1]),
                    static_cast<std::uint8_t>(rgb[2]));
}

TSkinColorTable ReadSkinColorTable(const TQuickIni& ini) {
    TSkinColorTable t;
    auto read = [&](std::string_view key, TColor& slot, TColor defaultColor) {
        slot = ReadColor(ini, kColourSection, key, defaultColor);
    };
    read("WindowText", t.WindowText, clWindowText);
    read("ButtonFace", t.ButtonFace, clBtnFace);
    read("Scrollbar", t.Scrollbar, clScrollBar);
    read("HilightText", t.HilightText, clHighlightText);
    read("Hilight", t.Hilight, clHighlight);
    read("Menubar", t.MenuBar, t.ButtonFace);
    read("Menu", t.Menu, clMenu);
    read("MenuText", t.MenuText, clMenuText);
    read("ButtonText", t.ButtonText, clBtnText);
    read("ButtonHilight", t.ButtonHilight, clBtnHighlight);
    read("Buttonlight", t.ButtonLight, clBtnHighlight);
    read("ButtonShadow", t.ButtonShadow, clBtnShadow);
    read("ButtonDkShadow", t.ButtonDkShadow, cl3DDkShadow);
    read("MenuBarText", t.MenuBarText, clMenuText);
    read("TitleTextActive", t.TitleTextActive, clCaptionText);
    read("TitleTextNoActive", t.TitleTextNoActive, clInactiveCaptionText);
    return t;
}

std::vector<TColor> ReadSkinColours(const TQuickIni& ini) {
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    std::vector<TColor> colours;
    for (const std::string& name : sections) {
        const std::string upper = SkinText::UpperCase(name);
        if (upper.starts_with("COLOUR") && upper != "COLOURS")
            colours.push_back(ReadColor(ini, name, "color", clWindowText));
    }
    return colours;
}
