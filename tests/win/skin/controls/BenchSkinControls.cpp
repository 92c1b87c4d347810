// Timing under Wine of painting skinned controls next to their native painting in the same run:
// a toolbar of eight buttons, one of them hot; a status bar of three panels with its grip; a
// progress bar lying and one standing, half full; a track bar. Each is repainted whole, first as
// the system draws it, then with the program's skin.
//
//   cmake/wine-run --prefix build/win64/wineprefix
//   build/win64/tests/win/skin/controls/bench_skin_controls.exe
#include "../form/SkinFormTestSupport.h"
#include "BenchTiming.h"

#include "ComCtrls.h"
#include "Forms.h"

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

int main() {
    using namespace skinformtest;
    auto skin = LoadedSkin(ProgramSkinFile());
    skin->Skin3rd()->Add("TProgressBar=progress");
    skin->Skin3rd()->Add("TTrackBar=trackbar");
    std::unique_ptr<TForm, TObjectDeleter> form(new TForm(nullptr, TCreateNew{}));
    form->SetBounds(40, 40, 500, 260);
    auto* toolbar = new TToolBar(form.get());
    toolbar->SetParent(form.get());
    toolbar->SetAlign(alTop);
    toolbar->SetFlat(true);
    for (int i = 0; i < 8; ++i)
        (new TToolButton(form.get()))->SetParent(toolbar);
    auto* status = new TStatusBar(form.get());
    status->SetParent(form.get());
    status->SetBounds(0, 0, 500, 22);
    status->SetAlign(alBottom);
    for (const char* text : {"first panel", "second", "third"}) {
        TStatusPanel* panel = status->Panels()->Add();
        panel->SetText(text);
        panel->SetWidth(120);
    }
    auto* lying = new TProgressBar(form.get());
    lying->SetParent(form.get());
    lying->SetBounds(10, 50, 200, 18);
    lying->SetPosition(50);
    auto* standing = new TProgressBar(form.get());
    standing->SetParent(form.get());
    standing->SetBounds(220, 50, 18, 120);
    standing->SetOrientation(pbVertical);
    standing->SetPosition(50);
    auto* track = new TTrackBar(form.get());
    track->SetParent(form.get());
    track->SetBounds(10, 90, 200, 40);
    form->Show();
    PumpPending();

    struct TSubject {
        const char* Name;
        HWND Wnd;
        double Native = 0;
    };
    std::vector<TSubject> subjects{{"toolbar of 8 buttons", toolbar->Handle()},
                                   {"status bar of 3 panels and a grip", status->Handle()},
                                   {"progress bar, lying", lying->Handle()},
                                   {"progress bar, standing", standing->Handle()},
                                   {"track bar", track->Handle()}};
    auto repaintOf = [](HWND wnd) {
        return [wnd] { RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); };
    };
    SendMessageA(toolbar->Handle(), TB_SETHOTITEM, 2, 0);
    for (TSubject& subject : subjects)
        subject.Native = benchtiming::MedianSeconds(repaintOf(subject.Wnd), 0.3);

    std::unique_ptr<TWinSkinForm, TObjectDeleter> painter(new TWinSkinForm(nullptr));
    painter->SetHandle(form->Handle());
    painter->AttachForm(*skin, form.get());
    SendMessageA(form->Handle(), WMS_SKINSTART, 0, 1000);
    PumpPending();
    SendMessageA(toolbar->Handle(), TB_SETHOTITEM, 2, 0);
    for (const TSubject& subject : subjects) {
        const double skinned = benchtiming::MedianSeconds(repaintOf(subject.Wnd), 0.3);
        std::printf("%-52s %10.1f us native\n", subject.Name, subject.Native * 1e6);
        std::printf("%-52s %10.1f us  %6.2f x native\n",
                    (std::string(subject.Name) + ", program skin").c_str(), skinned * 1e6,
                    skinned / subject.Native);
    }
    painter.reset();
    return 0;
}
