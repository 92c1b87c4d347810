// Shows two windows skinned with the program's skin, one active and one inactive, until either
// is closed (or a minute has passed): for looking at the frame as a user sees it.
#include "SkinFormTestSupport.h"

#include "Forms.h"
#include "StdCtrls.h"

int main() {
    using namespace skinformtest;
    auto skin = LoadedSkin(ProgramSkinFile());
    auto makeForm = [](const char* caption, int left) {
        std::unique_ptr<TForm, TObjectDeleter> form(new TForm(nullptr, TCreateNew{}));
        form->SetBounds(left, 40, 380, 260);
        form->SetCaption(caption);
        auto* button = new TButton(form.get());
        button->SetParent(form.get());
        button->SetBounds(20, 20, 100, 28);
        button->SetCaption("Button");
        form->Show();
        return form;
    };
    auto inactive = makeForm("Inactive window", 20);
    auto active = makeForm("Skinned window 窗口", 420);
    std::vector<std::unique_ptr<TWinSkinForm, TObjectDeleter>> painters;
    for (TForm* form : {inactive.get(), active.get()}) {
        std::unique_ptr<TWinSkinForm, TObjectDeleter> painter(new TWinSkinForm(nullptr));
        painter->SetHandle(form->Handle());
        painter->SetWindowClass("TForm");
        painter->AttachForm(*skin, form);
        PostMessageA(form->Handle(), WMS_SKINSTART, 0, 1000);
        painters.push_back(std::move(painter));
    }
    SetForegroundWindow(active->Handle());
    PumpUntil([&] { return !IsWindowVisible(active->Handle()) || !IsWindowVisible(inactive->Handle()); },
              60000);
    return 0;
}
