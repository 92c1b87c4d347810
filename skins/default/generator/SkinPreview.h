// Sample windows drawn from the finished skin the way the engine composes it (nine-grid
// stretching, frames, key colour), for reviewing the theme as a whole.
#pragma once

#include "SkinModel.h"
#include "SkinPalette.h"

TSkinBitmap DrawPreview(const TSkin& skin, const TSkinPalette& palette);
