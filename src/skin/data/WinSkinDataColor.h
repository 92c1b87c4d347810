// The skin's colours: the colour texts of its INI, the table of standard colours a skin may
// override, and its list of custom colours. Portable, so the INI side is tested natively.
#pragma once

#include "Color.h"

#include <string_view>
#include <vector>

class TQuickIni;

// Three decimal numbers for red, green and blue, separated by anything that is not a digit
// ("245 245 245", "102,102,102"). A number still open at the end of the text counts only as
// blue after two others; missing numbers are 0 and each keeps its low 8 bits. Empty text
// gives defaultColor.
TColor ParseSkinColor(std::string_view text, TColor defaultColor);

// The standard colours the painters use. A key missing from section "Colours" leaves the
// system colour reference, resolved when drawn.
struct TSkinColorTable {
    TColor WindowText = clWindowText;
    TColor ButtonFace = clBtnFace;
    TColor Scrollbar = clScrollBar;
    TColor HilightText = clHighlightText;
    TColor Hilight = clHighlight;
    TColor MenuBar = clBtnFace; // follows ButtonFace when the skin gives none
    TColor Menu = clMenu;
    TColor MenuText = clMenuText;
    TColor ButtonText = clBtnText;
    TColor ButtonHilight = clBtnHighlight;
    TColor ButtonLight = clBtnHighlight; // the button highlight, not the 3-D light
    TColor ButtonShadow = clBtnShadow;
    TColor ButtonDkShadow = cl3DDkShadow;
    TColor MenuBarText = clMenuText;
    TColor TitleTextActive = clCaptionText;
    TColor TitleTextNoActive = clInactiveCaptionText;
};

// The table from section "Colours", every slot read in the order the fields are declared.
TSkinColorTable ReadSkinColorTable(const TQuickIni& ini);

// One colour (key "color") per section whose name begins with "COLOUR" in any case, except
// the section "Colours" itself, in the order of the text.
std::vector<TColor> ReadSkinColours(const TQuickIni& ini);
