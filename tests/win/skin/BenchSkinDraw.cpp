// Timings of the drawing primitives under Wine (no Google Benchmark for the Windows targets):
// a 780-pixel title strip composed and drawn with the key colour, and the window region of a
// 780 x 537 frame, each next to plain GDI drawing of the same area in the same run.
//
//   cmake/wine-run --prefix build/win64/wineprefix build/win64/tests/win/skin/bench_skin_draw.exe
#include "SkinDraw.h"
#include "SkinTestImages.h"

#include "BenchTiming.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace skintest;

namespace {

// Microseconds per call.
double Time(const std::function<void()>& work) {
    return benchtiming::MedianSeconds(work, 0.2) * 1e6;
}

void Report(const char* name, double micros, double baseline) {
    std::printf("%-58s %10.1f us  %6.1f x plain\n", name, micros, micros / baseline);
}

// Two stacked 24 x 30 frames of a title bar: rounded (magenta) top corners, a border line,
// a gradient-like band of rows.
std::vector<std::string> TitleImage() {
    std::vector<std::string> rows;
    const std::string band = "NBCTSAYO";
    for (int frame = 0; frame < 2; ++frame)
        for (int y = 0; y < 30; ++y) {
            std::string row(24, band[static_cast<std::size_t>((y / 4 + frame) % 8)]);
            row[0] = row[23] = 'K';
            if (y < 3)
                for (int x = 0; x < 3 - y; ++x)
                    row[static_cast<std::size_t>(x)] = row[static_cast<std::size_t>(23 - x)] = 'M';
            rows.push_back(row);
        }
    return rows;
}

// A window frame of 780 x 537: rounded corners in the key colour, the rest opaque, or (hollow)
// the client area in the key colour as well.
std::vector<std::string> FrameImage(bool hollow) {
    std::vector<std::string> rows(537, std::string(780, 'S'));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6 - y; ++x) {
            rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] = 'M';
            rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(779 - x)] = 'M';
        }
    if (hollow)
        for (int y = 30; y < 533; ++y)
            std::fill(rows[static_cast<std::size_t>(y)].begin() + 4,
                      rows[static_cast<std::size_t>(y)].end() - 4, 'M');
    return rows;
}

} // namespace

int main() {
    auto title = Picture(TitleImage());
    auto target = Surface(800, 40, clWhite);
    const HDC dc = target->Canvas()->Handle();
    const TRect strip = Rect(0, 0, 780, 30);
    const TBrushHandle brush(CreateSolidBrush(RGB(20, 40, 80)));

    const double plain = Time([&] { FillRect(dc, &strip, brush.Get()); });
    const double plainBlt = Time([&] { BitBlt(dc, 0, 0, 780, 30, dc, 0, 10, SRCCOPY); });
    // What any composition pays first: a fresh 780 x 30 DIB section (under Wine every new page
    // of it faults in slowly) and a masked copy of that size.
    const double fresh = Time([] {
        TBitmap b;
        b.SetSize(780, 30);
    });
    auto composed = BuildSkinBitmap(strip, *title, Rect(8, 0, 8, 0), true, false, 2, 1);
    const TBitmapHandle mask(CreateBitmap(780, 30, 1, 1, nullptr));
    const double masked = Time([&] {
        MaskBlt(dc, 0, 0, 780, 30, composed->Canvas()->Handle(), 0, 0, mask.Get(), 0, 0,
                MAKEROP4(0x00AA0029, SRCCOPY));
    });
    std::printf("plain FillRect of 780 x 30: %.1f us, BitBlt: %.1f us\n", plain, plainBlt);
    std::printf("new 780 x 30 TBitmap: %.1f us, MaskBlt 780 x 30: %.1f us\n\n", fresh, masked);
    for (const bool tile : {false, true}) {
        const double build =
            Time([&] { BuildSkinBitmap(strip, *title, Rect(8, 0, 8, 0), true, tile, 2, 1); });
        const double both = Time([&] {
            auto bitmap = BuildSkinBitmap(strip, *title, Rect(8, 0, 8, 0), true, tile, 2, 1);
            DrawTransparent(dc, strip, *bitmap, SkinKeyColor);
        });
        Report(tile ? "BuildSkinBitmap 780 x 30, tiled centre" : "BuildSkinBitmap 780 x 30, stretched centre",
               build, plain);
        Report(tile ? "  + DrawTransparent (tiled)" : "  + DrawTransparent (stretched)", both, plain);
    }
    const double rect =
        Time([&] { DrawSkinRect(dc, strip, *title, true, false, true, 2, 1, Rect(8, 0, 8, 0)); });
    Report("DrawSkinRect 780 x 30, transparent", rect, plain);

    auto frameBitmap = Picture(FrameImage(false));
    const double plainRegion = Time([&] { TRegionHandle r(CreateRoundRectRgn(0, 0, 781, 538, 12, 12)); });
    std::printf("\nplain CreateRoundRectRgn 780 x 537: %.1f us\n", plainRegion);
    Report("RegionFromBitmap 780 x 537, rounded corners",
           Time([&] { RegionFromBitmap(*frameBitmap, 0, 0, 1, 1, 1, SkinKeyColor); }), plainRegion);
    auto hollow = Picture(FrameImage(true));
    Report("RegionFromBitmap 780 x 537, hollow frame",
           Time([&] { RegionFromBitmap(*hollow, 0, 0, 1, 1, 1, SkinKeyColor); }), plainRegion);
    return 0;
}
