// Timing under Wine of painting a skinned frame: a 780 x 537 window's whole frame painted by
// the form painter with the program's skin, next to the default non-client painting of the same
// window unskinned, in the same run.
//
//   cmake/wine-run --prefix build/win64/wineprefix build/win64/tests/win/skin/form/bench_skin_form.exe
#include "BenchTiming.h"
#include "SkinFormTestSupport.h"

#include <cstdio>

int main() {
    using namespace skinformtest;
    auto skin = LoadedSkin(ProgramSkinFile());
    TTestWindow window(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 780, 537, nullptr, L"Tarnwick优化大师");
    const HWND wnd = window.Handle();
    PumpPending();
    const double native = benchtiming::MedianSeconds([&] { SendMessageW(wnd, WM_NCPAINT, 1, 0); }, 0.3);

    auto painter = SkinWindow(wnd, *skin);
    SetWindowPos(wnd, nullptr, 0, 0, 780, 537, SWP_NOMOVE | SWP_NOZORDER);
    PumpPending();
    const double skinned = benchtiming::MedianSeconds([&] { painter->PaintFrame(); }, 0.3);
    const double message = benchtiming::MedianSeconds([&] { SendMessageW(wnd, WM_NCPAINT, 1, 0); }, 0.3);

    std::printf("%-48s %10.1f us\n", "default non-client painting, unskinned", native * 1e6);
    std::printf("%-48s %10.1f us  %6.2f x default\n", "PaintFrame, program skin", skinned * 1e6,
                skinned / native);
    std::printf("%-48s %10.1f us  %6.2f x default\n", "WM_NCPAINT, program skin", message * 1e6,
                message / native);
    return 0;
}
