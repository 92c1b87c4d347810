// Pictures for the skin tests written as text, one letter per pixel, and read back from DCs.
#pragma once

#include "Bitmap.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace skintest {

// K black, W white, R red, G lime, B blue, M magenta (the key colour), Y yellow, C aqua,
// O orange, P purple, N navy, T teal, L olive, S silver, A grey. '?' reads back any other colour.
TColor ColorOf(char letter);
char LetterOf(COLORREF color);

// A bitmap drawn from rows of letters, top row first.
std::unique_ptr<TBitmap> Picture(const std::vector<std::string>& rows, TPixelFormat format = pf24bit);
// A 32-bit bitmap (a DIB section, as painters draw into) filled with one colour.
std::unique_ptr<TBitmap> Surface(int width, int height, TColor color);

// A bitmap file of the letters, as a skin package holds it.
std::vector<std::uint8_t> BmpFile(const std::vector<std::string>& rows);
// A bitmap file of one colour.
std::vector<std::uint8_t> BmpFile(int width, int height, TColor color);

// The rows of letters a DC shows in the given area.
std::vector<std::string> Letters(HDC dc, int left, int top, int width, int height);
std::vector<std::string> Letters(TBitmap& bitmap);

// Rows of one letter.
std::vector<std::string> Rows(int width, int height, char letter);

} // namespace skintest
