// Colour names as form descriptions and the skin engine write them ("clBtnFace", "clWhite"),
// and colours as text: a name where one exists, "$00BBGGRR" otherwise.
#pragma once

#include "Color.h"
#include "TypInfo.h"

#include <string>
#include <string_view>

#include <windows.h>

// The identifier map published colour properties are read and written with.
extern const TIdentMap ColorIdents;

bool ColorToIdent(TColor color, std::string& ident);
bool IdentToColor(std::string_view ident, TColor& color);
std::string ColorToString(TColor color);
// A colour name or a number (decimal, "$" or "0x" hexadecimal); raises EConvertError otherwise.
TColor StringToColor(std::string_view text);

// The value GDI takes: system colours resolved, clNone and clDefault as black.
inline COLORREF ColorToColorRef(TColor color) {
    if (color == clNone || color == clDefault)
        return RGB(0, 0, 0);
    return static_cast<COLORREF>(ColorToRGB(color)) & 0x00FFFFFFu;
}
