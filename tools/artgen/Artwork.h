// The program's own artwork: the window icon and the four toolbar images.
#pragma once

#include "Raster.h"

namespace art {

inline constexpr int kToolbarImageWidth = 56;
inline constexpr int kToolbarImageHeight = 50;

// Toolbar images in image-list order: 0 clean temporary files, 1 system settings,
// 2 about, 3 USB-drive immunizer.
Image ToolbarImage(int index);
// The four toolbar images side by side.
Image ToolbarStrip();
// The window icon at a square size (16, 32 or 48 pixels).
Image AppIcon(int size);

// The USB-drive immunizer's background picture, 364 x 223: the dialog's controls sit on its
// calm left and middle part.
Image ImmunizerPicture();
// The About box's product picture, 111 x 108, on the dialog's white background.
Image AboutPicture();

} // namespace art
