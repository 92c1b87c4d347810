// The theme's colours. Three inputs (accent, title bar, dialog face) decide all others, so the
// skin can be re-coloured from the command line and still hang together.
#pragma once

#include "Raster.h"

#include <optional>
#include <string>
#include <string_view>

struct TSkinColours {
    art::Color Accent = art::Color::Rgb(0x1E, 0x6F, 0xD9);
    art::Color Title = art::Color::Rgb(0x1E, 0x6F, 0xD9);
    art::Color Face = art::Color::Rgb(0xF4, 0xF6, 0xF9);
};

struct TSkinPalette {
    // Inputs.
    art::Color Accent, Face;
    // Accent family: hover tints, pressed shades, outlines.
    art::Color AccentLight, AccentDark, AccentTint, AccentTintStrong;
    // Window frame, active and inactive.
    art::Color TitleTop, TitleBottom, TitleOutline, FrameBody;
    art::Color InactiveTitleTop, InactiveTitleBottom, InactiveOutline, InactiveFrameBody;
    art::Color TitleGlyph, InactiveTitleGlyph, CloseHot, ClosePressed;
    // Caption button plates under the mouse and pressed: lighter or darker than the title bar.
    art::Color TitleHotPlate, TitlePressedPlate;
    // Ink on accent-coloured areas (check marks, selected menu items): white, or dark text
    // when the accent is light.
    art::Color OnAccent;
    // Neutral surfaces and lines.
    art::Color Window, Text, TextMuted, Glyph, GlyphDisabled;
    art::Color Border, BorderLight, Line, Track, ControlDisabled;
    art::Color Thumb, ThumbHot, ThumbPressed;
    // What anti-aliased window corners are blended with: the desktop is unknown, so a neutral
    // shade reads as a soft edge on light and dark backgrounds alike.
    art::Color Desktop;
};

TSkinPalette MakePalette(const TSkinColours& colours);

// "RRGGBB" (an optional leading "#" is allowed); nothing for anything else.
std::optional<art::Color> ParseHexColour(std::string_view text);
// "R G B" in decimal, as the skin's INI writes colours.
std::string IniColour(const art::Color& c);
