// Window regions from bitmaps, a parent's background under a control, and the shared scratch
// bitmap.
#include "SkinDraw.h"

#include "SkinDrawPixels.h"
#include "SysUtils.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

using SkinDrawPixels::TColorPixels;
using SkinDrawPixels::TKeyRange;

// Rectangles handed to ExtCreateRegion at a time: large bitmaps never need one huge RGNDATA.
constexpr std::size_t kRectsPerRegion = 2000;

// Rows of rectangles collected into regions a batch at a time and OR-ed into one result.
class TRegionBuilder {
public:
    void Add(const RECT& r) {
        FRects.push_back(r);
        FBounds.left = std::min(FBounds.left, r.left);
        FBounds.top = std::min(FBounds.top, r.top);
        FBounds.right = std::max(FBounds.right, r.right);
        FBounds.bottom = std::max(FBounds.bottom, r.bottom);
        if (FRects.size() >= kRectsPerRegion)
            Flush();
    }

    TRegionHandle Finish() {
        Flush();
        if (!FResult)
            FResult.Reset(CreateRectRgn(0, 0, 0, 0));
        return std::move(FResult);
    }

private:
    void Flush() {
        if (FRects.empty())
            return;
        const std::size_t bytes = sizeof(RGNDATAHEADER) + FRects.size() * sizeof(RECT);
        std::vector<std::uint8_t> buffer(bytes);
        RGNDATAHEADER header{};
        header.dwSize = sizeof(RGNDATAHEADER);
        header.iType = RDH_RECTANGLES;
        header.nCount = static_cast<DWORD>(FRects.size());
        header.nRgnSize = 0;
        header.rcBound = FBounds;
        std::memcpy(buffer.data(), &header, sizeof header);
        std::memcpy(buffer.data() + sizeof header, FRects.data(), FRects.size() * sizeof(RECT));
        TRegionHandle batch(ExtCreateRegion(nullptr, static_cast<DWORD>(bytes),
                                            reinterpret_cast<const RGNDATA*>(buffer.data())));
        if (!batch)
            throw EOutOfResources("Out of system resources");
        if (!FResult)
            FResult = std::move(batch);
        else
            CombineRgn(FResult.Get(), FResult.Get(), batch.Get(), RGN_OR);
        FRects.clear();
        FBounds = kEmptyBounds;
    }

    static constexpr RECT kEmptyBounds{INT_MAX, INT_MAX, 0, 0};
    std::vector<RECT> FRects;
    RECT FBounds = kEmptyBounds;
    TRegionHandle FResult;
};

} // namespace

TRegionHandle RegionFromBitmap(TBitmap& bitmap, int xOffset, int yOffset, int blueTolerance,
                               int greenTolerance, int redTolerance, TColor key) {
    TRegionBuilder region;
    if (bitmap.Empty())
        return region.Finish();
    const TKeyRange keyRange(key, redTolerance, greenTolerance, blueTolerance);
    const TColorPixels pixels(bitmap);
    const TPixelView& view = pixels.View();
    const int step = pixels.Step();
    for (int y = 0; y < view.Height; ++y) {
        const std::uint8_t* row = view.Row(y);
        int x = 0;
        while (x < view.Width) {
            // Runs of pixels outside the key range, each ended by a key pixel.
            const int start = x;
            while (x < view.Width && !keyRange.Contains(row + x * step))
                ++x;
            if (x > start)
                region.Add(RECT{start + xOffset, y + yOffset, x + xOffset, y + yOffset + 1});
            ++x;
        }
    }
    return region.Finish();
}

void PaintParentBackground(HWND parent, const TRect& controlBounds, HDC dc, bool designing) {
    if (!parent || !dc)
        return;
    const int saved = SaveDC(dc);
    OffsetViewportOrgEx(dc, -controlBounds.left, -controlBounds.top, nullptr);
    IntersectClipRect(dc, controlBounds.left, controlBounds.top, controlBounds.right, controlBounds.bottom);
    const auto wParam = reinterpret_cast<WPARAM>(dc);
    if (designing) {
        // A parent half-built in the designer may fail to paint; the control still must.
        try {
            SendMessageA(parent, WM_ERASEBKGND, wParam, 0);
        } catch (...) {
        }
        try {
            SendMessageA(parent, WM_PAINT, wParam, 0);
        } catch (...) {
        }
    } else {
        SendMessageA(parent, WM_ERASEBKGND, wParam, 0);
        SendMessageA(parent, WM_PAINT, wParam, 0);
    }
    RestoreDC(dc, saved);
}

namespace {

// Lives from the first use to the end of the program; tells afterwards that it is gone.
struct TSkinWorkHolder {
    std::unique_ptr<TBitmap> Bitmap = std::make_unique<TBitmap>();
    static inline bool Alive = false;
    TSkinWorkHolder() { Alive = true; }
    ~TSkinWorkHolder() {
        Alive = false;
        Bitmap.reset();
    }
};

} // namespace

TBitmap* SkinWorkBitmap() {
    static TSkinWorkHolder holder;
    if (!TSkinWorkHolder::Alive)
        return nullptr;
    // The canvas's DC is made anew whenever the bitmap's handle was wanted elsewhere, so the
    // mode is set on every request.
    SetStretchBltMode(holder.Bitmap->Canvas()->Handle(), COLORONCOLOR);
    return holder.Bitmap.get();
}
