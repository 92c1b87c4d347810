// Timing under Wine of painting a skinned control next to its native painting in the same run:
// a toolbar of eight buttons, one of them hot, repainted whole, first as the system draws it,
// then with the program's skin (button faces from [Buttons] under the system's glyphs).
//
//   cmake/wine-run --prefix build/win64/wineprefix
//   build/win64/tests/win/skin/controls/bench_skin_controls.exe
#include "../form/SkinFormTestSupport.h"
#include "BenchTiming.h"

#include "ComCtrls.h"
#include "Forms.h"

#include <commctrl.h>

#include <cstdio>

int main() {
    using namespace skinformtest;
    auto skin = LoadedSkin(ProgramSkinFile());
    std::unique_ptr<TForm, TObjectDeleter> form(new TForm(nullptr, TCreateNew{}));
    form->SetBounds(40, 40, 500, 120);
    auto* toolbar = new TToolBar(form.get());
    toolbar->SetParent(form.get());
    toolbar->SetAlign(alTop);
    toolbar->SetFlat(true);
    for (int i = 0; i < 8; ++i)
        (new TToolButton(form.get()))->SetParent(toolbar);
    form->Show();
    PumpPending();
    const HWND bar = toolbar->Handle();
    SendMessageA(bar, TB_SETHOTITEM, 2, 0);
    auto repaint = [bar] { RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); };
    const double native = benchtiming::MedianSeconds(repaint, 0.3);

    std::unique_ptr<TWinSkinForm, TObjectDeleter> painter(new TWinSkinForm(nullptr));
    painter->SetHandle(form->Handle());
    painter->AttachForm(*skin, form.get());
    SendMessageA(form->Handle(), WMS_SKINSTART, 0, 1000);
    PumpPending();
    SendMessageA(bar, TB_SETHOTITEM, 2, 0);
    const double skinned = benchtiming::MedianSeconds(repaint, 0.3);

    std::printf("%-44s %10.1f us\n", "toolbar of 8 buttons, native", native * 1e6);
    std::printf("%-44s %10.1f us  %6.2f x native\n", "toolbar of 8 buttons, program skin", skinned * 1e6,
                skinned / native);
    painter.reset();
    return 0;
}
