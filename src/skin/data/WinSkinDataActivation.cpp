// Switching skinning on and off: what TSkinData does once its form has been read, when Active
// changes at run time, and what it answers the window watcher; the images it keeps for the
// painters (menu glyphs, the application's small icon).
#include "WinSkinDataComponent.h"

#include "Forms.h"
#include "WinHandle.h"
#include "WinSkinDataShared.h"
#include "WinSkinDataWatcher.h"

#include <windows.h>

namespace {

constexpr TColor kMagenta = static_cast<TColor>(0xFF00FF);

// The module these routines are linked into: its resources hold the menu glyphs.
HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

// The application's small icon, owned by the caller: the one its main window shows, else the
// program's own icon resource (what an application window shows before a form sets one).
TIconHandle SmallApplicationIcon(TComponent* owner, int width, int height) {
    auto* form = dynamic_cast<TCustomForm*>(owner);
    if (form && form->HandleAllocated()) {
        HWND wnd = form->Handle();
        auto shown = reinterpret_cast<HICON>(SendMessageA(wnd, WM_GETICON, ICON_SMALL, 0));
        if (!shown)
            shown = reinterpret_cast<HICON>(SendMessageA(wnd, WM_GETICON, ICON_BIG, 0));
        if (shown)
            return TIconHandle(
                static_cast<HICON>(CopyImage(shown, IMAGE_ICON, width, height, LR_COPYFROMRESOURCE)));
    }
    return TIconHandle(
        static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON, width, height, 0)));
}

} // namespace

void TSkinData::Loaded() {
    TComponent::Loaded();
    // A skin file beside the program stands in for the stored skin, once, as the form is read.
    if (!Designing() && FSkinFormtype == sfMainform)
        LoadReplacementSkin(ProgramSkinPath());
    AfterLoad();
}

ISkinWatcher* TSkinData::RegisteredWatcher() {
    ISkinWatcher* watcher = CreateSkinWatcher();
    if (watcher && !FRegistered) {
        watcher->RegisterSkinData(*this);
        FRegistered = true;
    }
    return watcher;
}

void TSkinData::AfterLoad() {
    if (Designing())
        return;
    if (!HasGetScrollBarInfo())
        FSkinControls.Exclude(xcScrollbar);
    ISkinWatcher* watcher = RegisteredWatcher();
    if (FSkinFormtype != sfMainform) {
        StartOwnFormOnly(watcher);
        return;
    }
    if (watcher)
        watcher->InstallHook();
    if (FActive) {
        if (FSkinLoading)
            FActive = false; // no skin could be loaded
        else if (watcher)
            watcher->RequestAction(saActivate, SkinActionDelay);
    }
    AdjustMenuControls();
    BuildAppIcon();
}

void TSkinData::StartOwnFormOnly(ISkinWatcher* watcher) {
    if (!watcher)
        return;
    watcher->SetActive(true);
    watcher->SetState(watcher->State() + 1);
    if (auto* form = dynamic_cast<TCustomForm*>(Owner()); form && FActive)
        watcher->SkinForm(*form);
}

void TSkinData::AdjustMenuControls() {
    if (FSkinControls.Contains(xcMainMenu))
        FSkinControls.Exclude(xcMenuItem);
    else
        FSkinControls.Exclude(xcSystemMenu);
}

void TSkinData::AssignActive(bool value) {
    if (value == FActive)
        return;
    FActive = value;
    if (Designing() || Reading())
        return; // AfterLoad acts on the stored value
    const TSkinAction action = value ? saActivate : saDeactivate;
    switch (FSkinFormtype) {
    case sfMainform: {
        if (value && FSkinLoading)
            return;
        ISkinWatcher* watcher = RegisteredWatcher();
        if (!watcher)
            return;
        watcher->SetActionSkin(this);
        watcher->RequestAction(action, SkinActionDelay);
        if (value)
            watcher->SetState(SkinWatcherRunning);
        return;
    }
    case sfOnlyThisForm: {
        ISkinWatcher* watcher = RegisteredWatcher();
        if (watcher)
            watcher->SetActionSkin(this);
        if (value && FSkinLoading)
            return;
        if (watcher)
            watcher->RequestAction(action, SkinActionDelay);
        return;
    }
    case sfDialog:
    case sfDLL:
        return;
    }
}

void TSkinData::ShouldSkinWindow(HWND, const std::string& className, bool& skin) {
    if (OnFormSkin) {
        OnFormSkin(this, className, skin);
        return;
    }
    if (className == "SysMonthCal32")
        skin = false;
    else if (FSkinControls.Contains(xcFastReport) && className.starts_with("Tfr"))
        skin = false;
}

void TSkinData::DoSkinChanged() {
    if (OnSkinChanged)
        OnSkinChanged(this);
}

void TSkinData::LoadMenuGlyphs() {
    FMenuGlyphs->SetSize(16, 16);
    FMenuGlyphs->ResourceLoad(ThisModule(), MenuGlyphsResource, clWhite);
}

void TSkinData::BuildAppIcon() {
    const int width = GetSystemMetrics(SM_CXSMICON);
    const int height = GetSystemMetrics(SM_CYSMICON);
    FAppIcon.SetPixelFormat(pf24bit);
    FAppIcon.SetSize(width, height);
    TCanvas* canvas = FAppIcon.Canvas();
    canvas->Brush()->SetColor(kMagenta);
    canvas->FillRect(TRect{0, 0, width, height});
    if (TIconHandle icon = SmallApplicationIcon(Owner(), width, height))
        DrawIconEx(canvas->Handle(), 0, 0, icon.Get(), width, height, 0, nullptr, DI_NORMAL);
    FAppIcon.SetTransparentColor(kMagenta);
    FAppIcon.SetTransparentMode(tmFixed);
}
