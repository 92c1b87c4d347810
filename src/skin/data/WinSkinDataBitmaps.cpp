#include "WinSkinDataBitmaps.h"

#include <algorithm>

namespace WinSkinDataBitmaps {

void BlitArea(HDC target, int x, int y, TBitmap& source, const TRect& area) {
    const TRect inside =
        Rect(std::max<int>(area.left, 0), std::max<int>(area.top, 0),
             std::min<int>(area.right, source.Width()), std::min<int>(area.bottom, source.Height()));
    if (inside.right <= inside.left || inside.bottom <= inside.top)
        return;
    BitBlt(target, x + inside.left - area.left, y + inside.top - area.top, RectWidth(inside),
           RectHeight(inside), source.Canvas()->Handle(), inside.left, inside.top, SRCCOPY);
}

void CopyArea(TBitmap& target, TBitmap& source, const TRect& area) {
    target.Assign(nullptr);
    target.SetPixelFormat(source.BitsPerPixel() == 32 ? pf32bit : pf24bit);
    target.SetSize(std::max<int>(RectWidth(area), 0), std::max<int>(RectHeight(area), 0));
    if (!target.Empty())
        BlitArea(target.Canvas()->Handle(), 0, 0, source, area);
}

void Copy24(TBitmap& target, TBitmap& source) {
    target.Assign(&source);
    target.SetPixelFormat(pf24bit);
}

} // namespace WinSkinDataBitmaps
