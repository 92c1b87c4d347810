// The decisions of skinned menu painting that need no window: item measuring and layout, the
// separator's source rows, the disabled text colour, the menu-bar cells and the wrapping
// moves between top-level items.
#pragma once

#include "Canvas.h"

#include <string>
#include <vector>

#include <windows.h>

// ---- menu items ----------------------------------------------------------------------------

// Frames of the MenuItem image.
inline constexpr int MenuItemFrames = 5;
inline constexpr int MenuItemNormalFrame = 1;
inline constexpr int MenuItemSeparatorFrame = 2;
inline constexpr int MenuItemSelectedFrame = 4;

inline int MenuItemFrame(bool selected) {
    return selected ? MenuItemSelectedFrame : MenuItemNormalFrame;
}

// What the skin adds to the framework's width of an item. Popup menus check the element only
// when the skin data is still readable (elementLeftWidth < 0: no element or not readable).
int MenuItemExtraWidth(int elementLeftWidth, bool hasImages, bool popupMenu);

// The glyph box width: 16 or the image list's, at least 16 for a checked item.
int MenuGlyphWidth(int imageListWidth, bool checked);

// Text as measured: an empty caption or a lone "&" keeps one character's height.
std::string MeasuredCaption(const std::string& caption);

// Where an item's glyph and caption go inside its rectangle.
struct TMenuItemLayout {
    TRect Glyph;
    TRect Text;
};
// elementLeftWidth < 0: the skin has no MenuItem element. A separator ("-") has an empty
// glyph box.
TMenuItemLayout MenuItemLayout(const TRect& rect, int glyphWidth, int elementLeftWidth, bool separator,
                               bool rightToLeft);

// The caption's rectangle once measured: centred vertically in the item.
TRect CentredCaption(const TRect& text, int measuredWidth, int measuredHeight, bool rightToLeft);

// Where the shortcut text goes: after the measured caption up to 11 pixels before the right
// edge (right-to-left: from 11 pixels after the left edge up to the caption's left).
TRect ShortCutRect(const TRect& item, const TRect& caption, bool rightToLeft);

// A disabled caption: the skin's ButtonShadow, or the system's when it would read as enabled.
TColor DisabledMenuTextColor(TColor buttonShadow, TColor menuText);

// The first image row of a separator: the bottom rows when the item is lower than the image.
int SeparatorSourceTop(int imageHeight, int rectHeight);

// Native items the window measures itself: size from the text width in the menu font.
SIZE NativeItemSize(int textWidth, bool textEmpty, int elementLeftWidth, int itemHeight, bool windows9x);

// Command ids 1..4095 belong to controls, not menus: left to the default.
inline bool IsControlCommand(UINT id) {
    return id >= 1 && id <= 4095;
}

// ---- menu bar ------------------------------------------------------------------------------

// The first offset of the bar's captions. elementLeftWidth/RightWidth < 0: no MenuBar element.
int MenuBarMargin(int elementLeftWidth, int elementRightWidth, bool rightToLeft, int bandWidth);

// Band-relative cells of the buttons from their measured caption widths (invisible buttons:
// width < 0, empty cell), laid from the margin rightwards or, right to left, from the band's
// right edge leftwards.
std::vector<TRect> MenuBarCells(const std::vector<int>& captionWidths, int margin, int bandWidth,
                                int bandHeight, bool rightToLeft);

// The neighbouring top-level item, wrapping at both ends; -1 for an empty bar.
int NeighbourMenuIndex(int index, int count, bool forward);

// True when the caption carries the accelerator key ("&F" for 'F' or 'f'; "&&" is no marker).
bool CaptionHasAccel(const std::wstring& caption, wchar_t key);
