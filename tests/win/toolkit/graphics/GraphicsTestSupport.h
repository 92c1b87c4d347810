// Pictures for the graphics tests drawn as text, one character per pixel, and read back.
#pragma once

#include "Graphics.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace gfxtest {

// The colours the pictures use: K black, W white, R red, G lime, B blue, M magenta (the
// skins' key colour), Y yellow, C aqua.
TColor ColorOf(char c);

// A bitmap of the given format drawn from rows of colour letters, top row first.
std::unique_ptr<TBitmap> Picture(const std::vector<std::string>& rows, TPixelFormat format = pf24bit);

// Every pixel of a canvas region as colour letters ('?' for a colour with no letter).
std::vector<std::string> Letters(TCanvas& canvas, int width, int height, int left = 0, int top = 0);

// A 32-bit bitmap filled with one colour.
std::unique_ptr<TBitmap> Filled(int width, int height, TColor color);

} // namespace gfxtest
