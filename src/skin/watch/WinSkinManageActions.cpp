// The skin data components' commands: skin every window, unskin every window, pick up a new
// skin. They run from the action timer, out of the calls that request them.
#include "WinSkinManage.h"

#include "Forms.h"

#include <algorithm>
#include <iterator>

namespace {

// FForceAll lets child forms through while a skin-all pass runs, and only then.
class TForceAllScope {
public:
    explicit TForceAllScope(bool& flag) : FFlag(flag) { FFlag = true; }
    ~TForceAllScope() { FFlag = false; }
    TForceAllScope(const TForceAllScope&) = delete;
    TForceAllScope& operator=(const TForceAllScope&) = delete;

private:
    bool& FFlag;
};

} // namespace

void TSkinManage::RequestAction(TSkinAction action, int delayMs) {
    FAction = action;
    // A zero interval would never fire, and the request would be lost.
    FTimer->SetInterval(std::max(delayMs, 1));
    if (FState != msStarting) {
        FTimer->SetEnabled(true);
        return;
    }
    // No window has been activated yet: windows are skinned one by one as they are activated.
    FTimer->SetEnabled(false);
    if (action == saActivate)
        FActive = true;
    else if (action == saDeactivate)
        FActive = false;
}

void TSkinManage::RefreshForms() {
    for (TWinSkinForm* form : FForms)
        if (form->SkinData() == FActionSkin)
            form->FreeSysButtons();
}

void TSkinManage::ElementsReleasing(TSkinData& skin) {
    for (TWinSkinForm* form : FForms)
        if (form->SkinData() == &skin)
            form->ReleaseSkinElements();
}

void TSkinManage::OnActionTimer(TObject*) {
    FTimer->SetEnabled(false);
    TSkinData* skin = FActionSkin;
    if (!skin)
        return;
    if (skin->SkinFormtype() == sfOnlyThisForm)
        RunFormAction(*skin);
    else
        RunGlobalAction(*skin);
    // Unregistering while the windows were handled clears FActionSkin: the component is gone.
    if (FActionSkin != skin)
        return;
    FActionSkin = nullptr;
    skin->DoSkinChanged();
}

// A component of kind sfOnlyThisForm: only the form that owns it.
void TSkinManage::RunFormAction(TSkinData& skin) {
    switch (FAction) {
    case saActivate: {
        FActive = true;
        TForceAllScope force(FForceAll);
        if (Screen)
            for (int i = Screen->FormCount(); i-- > 0;)
                if (i < Screen->FormCount() && Screen->Forms(i) == skin.Owner()) {
                    SkinForm(*Screen->Forms(i));
                    break;
                }
        break;
    }
    case saDeactivate: {
        FActive = false;
        Purge();
        const auto it = std::find_if(FForms.rbegin(), FForms.rend(),
                                     [&skin](const TWinSkinForm* f) { return f->SkinData() == &skin; });
        if (it != FForms.rend()) {
            TWinSkinForm* form = TakeForm(static_cast<std::size_t>(FForms.rend() - it - 1));
            DetachAndRepaint(form);
            FreeForm(form);
        }
        break;
    }
    case saRefresh: {
        Purge();
        const auto it = std::find_if(FForms.begin(), FForms.end(),
                                     [&skin](const TWinSkinForm* f) { return f->SkinData() == &skin; });
        if (it != FForms.end()) {
            TWinSkinForm& form = **it;
            form.FreeSysButtons();
            form.Guarded([&form] {
                form.BuildFrame();
                form.RefreshSkin();
            });
        }
        break;
    }
    case saNone:
        break;
    }
}

// Any other kind: every window.
void TSkinManage::RunGlobalAction(TSkinData& skin) {
    switch (FAction) {
    case saActivate:
        FActive = true;
        SkinEveryForm();
        break;
    case saDeactivate:
        FActive = false;
        Purge();
        while (!FForms.empty()) {
            TWinSkinForm* form = TakeForm(0);
            DetachAndRepaint(form);
            FreeForm(form);
        }
        break;
    case saRefresh: {
        Purge();
        std::vector<TWinSkinForm*> painters;
        std::copy_if(FForms.begin(), FForms.end(), std::back_inserter(painters),
                     [&skin](const TWinSkinForm* f) { return f->SkinData() == &skin; });
        for (TWinSkinForm* form : painters) {
            form->FreeSysButtons();
            form->Guarded([form] { form->BuildFrame(); });
        }
        // A refresh may resize and repaint windows; a painter freed meanwhile is skipped.
        for (TWinSkinForm* form : painters)
            if (std::find(FForms.begin(), FForms.end(), form) != FForms.end())
                form->Guarded([form] { form->RefreshSkin(); });
        break;
    }
    case saNone:
        break;
    }
}

void TSkinManage::SkinEveryForm() {
    TForceAllScope force(FForceAll);
    Purge();
    if (!Screen)
        return;
    for (int i = Screen->FormCount(); i-- > 0;)
        if (i < Screen->FormCount())
            SkinForm(*Screen->Forms(i));
}
