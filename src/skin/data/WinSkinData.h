// The skin's element records: one per drawable element (a window border, the title bar, a
// push button, a scroll-bar thumb ...), each owning its image and the geometry the INI gives
// for it. The skin data fills them while a skin loads; painters only read them.
#pragma once

#include "Bitmap.h"
#include "Color.h"

#include <cstdint>
#include <string>
#include <utility>

// The fields every element has. The image holds Frame equal frames side by side (or stacked,
// as the painter decides); the four margins are the edges that are never stretched.
class TDataSkinObject {
public:
    explicit TDataSkinObject(std::string name) : Name(std::move(name)) {}
    virtual ~TDataSkinObject() = default;
    TDataSkinObject(const TDataSkinObject&) = delete;
    TDataSkinObject& operator=(const TDataSkinObject&) = delete;

    // LeftWidth, TopHeight, RightWidth, BottomHeight as the nine-grid drawing takes them.
    RECT Margins() const { return RECT{LeftWidth, TopHeight, RightWidth, BottomHeight}; }

    std::int32_t LeftWidth = 0;
    std::int32_t TopHeight = 0;
    std::int32_t RightWidth = 0;
    std::int32_t BottomHeight = 0;
    TBitmap Bitmap;
    std::int32_t Trans = 0; // non-zero: magenta 0xFF00FF is transparent
    std::int32_t Tile = 0;  // middle parts: 0 stretched, 1 tiled
    std::string Name;       // the section the record was read from
    std::int32_t Frame = 0; // number of frames (states) in Bitmap
    std::int32_t Style = 0;
    // Text colours as indices into the skin's custom colour list; -1 = none.
    std::int32_t NormalColour = -1;
    std::int32_t MouseOverColour = -1;
    std::int32_t PressedColour = -1;
    // Text colours given directly.
    TColor NormalColour2 = clBlack;
    TColor MouseOverColour2 = clBlack;
    TColor PressedColour2 = clBlack;
};

// The window-frame borders, Tabs, the up-down buttons, ComboButton and Progress: a second
// image (the tab pane, the arrow glyphs, the mirrored combo button).
class TDataSkinBorder : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;

    TBitmap ExtraBitmap;
};

// The push-button element, with the check-box and radio-button images.
class TDataSkinButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;

    TBitmap CheckBitmap;
    TBitmap RadioBitmap;
    std::int32_t RadioFrames = 0;
    std::int32_t CheckFrames = 0;
    // 1 when the skin gives the colour, so painters keep their own otherwise.
    std::uint8_t HasNormalColour2 = 0;
    std::uint8_t HasMouseOverColour2 = 0;
    std::uint8_t HasPressedColour2 = 0;
};

// The title bar's text settings; its image is the plate behind the caption.
class TDataSkinTitle : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;

    std::int32_t TextAlignment = 0;
    std::int32_t TextBackground = 0;
    std::int32_t FontHeight = 0;
    std::int32_t TextBackLeft = 0;
    std::int32_t TextBackRight = 0;
    TColor ActiveTextColor = clNone; // clNone: the skin gives no colour
    TColor InactiveTextColor = clNone;
};

// One title-bar button (close, maximise, a custom one, or an MDI child's button).
class TDataSkinSysButton : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;

    std::int32_t Action = 0;
    std::int32_t Align = 0;
    std::int32_t Xcoord = 0;
    std::int32_t Ycoord = 0;
    std::int32_t CombineOp = 0;
    std::int32_t Visibility = 0;
    std::int32_t Visibility1 = 0;
};

// The plate behind a group box's caption.
class TDataSkinBoxLabel : public TDataSkinObject {
public:
    using TDataSkinObject::TDataSkinObject;

    std::int32_t BackgroundLeftShift = 0;
    std::int32_t BackgroundRightShift = 0;
    std::int32_t BackgroundAlignment = 0;
};
