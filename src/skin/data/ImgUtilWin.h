// Gradient fills on a device context, drawn from the shared gradient tables.
#pragma once

#include "Color.h"

#include <windows.h>

// Fills the visible part of `rect` line by line from startColor to endColor, top to bottom
// (vertical) or left to right. System colours are resolved first.
void GradientFill(HDC dc, const RECT& rect, TColor startColor, bool vertical, TColor endColor);
