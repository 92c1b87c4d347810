// The toolkit's Windows graphics in one include: colours by name, fonts, brushes and pens,
// canvases, bitmaps, icons, pictures, image lists and JPEG images.
#pragma once

#include "Bitmap.h"
#include "Canvas.h"
#include "ColorIdents.h"
#include "Graphic.h"
#include "GraphicsObjects.h"
#include "Icon.h"
#include "ImageList.h"
#include "Jpeg.h"
#include "Picture.h"
