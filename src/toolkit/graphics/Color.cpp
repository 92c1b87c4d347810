#include "Color.h"

TColor ColorToRGB(TColor color) {
    return IsSystemColor(color) ? SysColorToRGB(color & 0xFF) : color;
}
