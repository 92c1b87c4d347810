#include "ImgUtilWin.h"

#include "ImgUtil.h"

#include <memory>
#include <type_traits>

namespace {

struct TBrushDeleter {
    void operator()(HBRUSH brush) const { DeleteObject(brush); }
};
using TBrushOwner = std::unique_ptr<std::remove_pointer_t<HBRUSH>, TBrushDeleter>;

} // namespace

void GradientFill(HDC dc, const RECT& rect, TColor startColor, bool vertical, TColor endColor) {
    if (!RectVisible(dc, &rect))
        return;
    startColor = ColorToRGB(startColor);
    endColor = ColorToRGB(endColor);
    const LONG origin = vertical ? rect.top : rect.left;
    const LONG length = vertical ? rect.bottom - rect.top : rect.right - rect.left;
    if (length <= 0)
        return;

    // Only the lines inside the clip box are drawn, but their colours come from the table of
    // the whole rectangle.
    RECT clip;
    if (GetClipBox(dc, &clip) == ERROR)
        return;
    const LONG clipStart = vertical ? clip.top : clip.left;
    const LONG clipEnd = vertical ? clip.bottom : clip.right;
    const LONG first = origin < clipStart ? clipStart - origin : 0;
    const LONG last = clipEnd < origin + length ? clipEnd - origin - 1 : length - 1;

    const std::span<const TColor> table = GradientTable(GetGradient(length, startColor, endColor));
    RECT strip = vertical ? RECT{rect.left, origin + first, rect.right, origin + first + 1}
                          : RECT{origin + first, rect.top, origin + first + 1, rect.bottom};
    for (LONG i = first; i <= last; ++i) {
        const TBrushOwner brush(CreateSolidBrush(static_cast<COLORREF>(table[static_cast<std::size_t>(i)])));
        FillRect(dc, &strip, brush.get());
        if (vertical)
            OffsetRect(&strip, 0, 1);
        else
            OffsetRect(&strip, 1, 0);
    }
}
