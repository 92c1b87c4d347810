// Timing under Wine of scrolling a 1000-row list view by 1000 line-downs, first with its native
// scroll bars, then in the same run with the program's skin and the overlays over its bars.
// Every line-down is followed by the painting it causes.
//
//   cmake/wine-run --prefix build/win64/wineprefix
//   build/win64/tests/win/skin/controls/bench_skin_scroll.exe
#include "../form/SkinFormTestSupport.h"
#include "BenchTiming.h"

#include "ComCtrls.h"
#include "Forms.h"

#include <cstdio>
#include <string>

namespace {

void Drain() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// 1000 line-downs from the top, each painted before the next.
void LineDowns(HWND list) {
    SendMessageA(list, WM_VSCROLL, SB_TOP, 0);
    Drain();
    for (int i = 0; i < 1000; ++i) {
        SendMessageA(list, WM_VSCROLL, SB_LINEDOWN, 0);
        Drain();
    }
}

} // namespace

int main() {
    using namespace skinformtest;
    auto skin = LoadedSkin(ProgramSkinFile());
    std::unique_ptr<TForm, TObjectDeleter> form(new TForm(nullptr, TCreateNew{}));
    form->SetBounds(40, 40, 420, 320);
    auto* view = new TListView(form.get());
    view->SetParent(form.get());
    view->SetBounds(10, 10, 380, 260);
    view->SetViewStyle(vsReport);
    TListColumn* column = view->Columns()->Add();
    column->SetCaption("Row");
    column->SetWidth(300);
    for (int i = 0; i < 1000; ++i)
        view->Items()->Add()->SetCaption("Row " + std::to_string(i));
    form->Show();
    PumpPending();
    const HWND list = view->Handle();

    const double native = benchtiming::MedianSeconds([list] { LineDowns(list); }, 0.1);
    std::unique_ptr<TWinSkinForm, TObjectDeleter> painter(new TWinSkinForm(nullptr));
    painter->SetHandle(form->Handle());
    painter->AttachForm(*skin, form.get());
    SendMessageA(form->Handle(), WMS_SKINSTART, 0, 1000);
    PumpPending();
    const double skinned = benchtiming::MedianSeconds([list] { LineDowns(list); }, 0.1);
    std::printf("1000 line-downs of a 1000-row list view, native bars  %10.1f ms\n", native * 1e3);
    std::printf("1000 line-downs of a 1000-row list view, overlays     %10.1f ms  %6.2f x native\n",
                skinned * 1e3, skinned / native);
    painter.reset();
    return 0;
}
