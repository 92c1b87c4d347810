// Without Windows there are no user settings to ask: answer with the classic Windows scheme so
// that portable code and its tests see plausible, stable values.
#include "Color.h"

#include <array>

namespace {

constexpr std::array<TColor, 31> kClassicScheme = {
    RGBColor(212, 208, 200), RGBColor(58, 110, 165),  RGBColor(10, 36, 106),   RGBColor(128, 128, 128),
    RGBColor(212, 208, 200), RGBColor(255, 255, 255), RGBColor(0, 0, 0),       RGBColor(0, 0, 0),
    RGBColor(0, 0, 0),       RGBColor(255, 255, 255), RGBColor(212, 208, 200), RGBColor(212, 208, 200),
    RGBColor(128, 128, 128), RGBColor(10, 36, 106),   RGBColor(255, 255, 255), RGBColor(212, 208, 200),
    RGBColor(128, 128, 128), RGBColor(128, 128, 128), RGBColor(0, 0, 0),       RGBColor(212, 208, 200),
    RGBColor(255, 255, 255), RGBColor(64, 64, 64),    RGBColor(212, 208, 200), RGBColor(0, 0, 0),
    RGBColor(255, 255, 225), RGBColor(181, 181, 181), RGBColor(0, 0, 128),     RGBColor(166, 202, 240),
    RGBColor(192, 192, 192), RGBColor(10, 36, 106),   RGBColor(212, 208, 200),
};

} // namespace

TColor SysColorToRGB(int index) {
    if (index < 0 || index >= static_cast<int>(kClassicScheme.size()))
        return clBlack;
    return kClassicScheme[static_cast<std::size_t>(index)];
}
