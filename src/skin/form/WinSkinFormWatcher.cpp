#include "WinSkinFormWatcher.h"

#include "WinSkinDataWatcher.h"

namespace {

// Keeps the shared flags while no watcher runs, so that windows attached directly behave as
// under a watcher that never shows MDI buttons.
class TStandInWatcher final : public ISkinFormWatcher {
public:
    void FormAttached() override {}
    bool HideNewWindows() const override { return FHide; }
    void SetHideNewWindows(bool value) override { FHide = value; }
    void SetMenuKind(TSkinMenuKind) override {}
    bool MDIButtons() const override { return FMDIButtons; }
    void SetMDIButtons(bool on) override { FMDIButtons = on; }
    void SetMDIFrame(HWND, TControl*) override {}
    void ForgetWindow(HWND) override {}
    void BindPopupMenu(HMENU) override {}
    TPopupBackground ItemBackground(HMENU) override { return {}; }
    DWORD WinVersion() const override { return GetVersion(); }

private:
    bool FHide = false;
    bool FMDIButtons = false;
};

} // namespace

ISkinFormWatcher& SkinFormWatcher() {
    static TStandInWatcher standIn;
    if (auto* watcher = dynamic_cast<ISkinFormWatcher*>(SkinWatcher()))
        return *watcher;
    return standIn;
}

bool SkinIsNT() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    // GetVersionExA is deprecated for version checks, not for the platform id.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    static const bool nt = GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
#pragma GCC diagnostic pop
    return nt;
}
