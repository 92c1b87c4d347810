// Sizes the skin is drawn at. The engine takes the frame sizes of the window from the border
// images and places the caption buttons by fixed offsets, so these numbers are the skin's layout.
#pragma once

namespace skin {

// Window frame: the left and right images run the full window height (title bar included);
// the top image is the title bar between them.
inline constexpr int BorderWidth = 4;  // left, right and bottom border
inline constexpr int TitleHeight = 30; // top border = title bar
inline constexpr int TopCornerRadius = 7;
inline constexpr int BottomCornerRadius = 4; // fits inside the side borders
inline constexpr int TitleEnd = 8;           // fixed ends of the title image (rest of the corner)
inline constexpr int SideBottomEnd = 8;      // fixed bottom part of the side images
inline constexpr int FrameMiddle = 8;        // stretched part of every border image

// Caption buttons, anchored to the right edge (x = window width - offset).
inline constexpr int CaptionButtonWidth = 30;
inline constexpr int CaptionButtonHeight = 22;
inline constexpr int CaptionButtonTop = (TitleHeight - CaptionButtonHeight) / 2;
inline constexpr int CaptionButtonGap = 2;
inline constexpr int CloseOffset = BorderWidth + 4 + CaptionButtonWidth;
inline constexpr int MaximizeOffset = CloseOffset + CaptionButtonGap + CaptionButtonWidth;
inline constexpr int MinimizeOffset = MaximizeOffset + CaptionButtonGap + CaptionButtonWidth;
inline constexpr int IconLeft = BorderWidth + 6;
inline constexpr int IconSize = 16;
inline constexpr int IconTop = (TitleHeight - IconSize) / 2;
inline constexpr int TextShift = IconLeft + IconSize + 6;
inline constexpr int TextRightClip = MinimizeOffset + 6;

// MDI child buttons in the menu bar: three groups of four frames.
inline constexpr int MdiButtonWidth = 16;
inline constexpr int MdiButtonHeight = 14;

inline constexpr int MenuBarHeight = 20;

// Controls.
inline constexpr int ScrollSize = 17; // the platform's scroll-bar width; arrows are square
inline constexpr int ScrollThumbInset = 4;
inline constexpr int ComboCellWidth = 50; // the engine composes combo boxes in 50 x 21 cells
inline constexpr int ComboCellHeight = 21;
inline constexpr int ComboButtonWidth = ScrollSize + 2;
inline constexpr int MarkSize = 13; // check box and radio button

} // namespace skin
