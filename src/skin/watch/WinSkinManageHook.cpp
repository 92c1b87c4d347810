// The CBT hook of the GUI thread: windows being created (popup menus, MDI children), activated
// (everything else) and destroyed (popup menus).
#include "WinSkinManage.h"

#include "WinSkinManageText.h"

namespace {

// The watcher whose hook is installed; the hook procedure has no other way to find it.
TSkinManage* HookOwner = nullptr;

constexpr const char* kPopupMenuClass = "#32768";

} // namespace

void TSkinManage::InstallHook() {
    FWinVersion = GetVersion();
    // A second main-form component must not add a second hook: every window would be seen
    // twice and the first hook could never be removed.
    if (FHook)
        return;
    FHook.Reset(SetWindowsHookExA(WH_CBT, &TSkinManage::HookProc, nullptr, GetCurrentThreadId()));
    if (FHook)
        HookOwner = this;
}

void TSkinManage::RemoveHook() {
    if (HookOwner == this)
        HookOwner = nullptr;
    FHook.Reset();
}

void TSkinManage::HookCreate(HWND wnd, const CBT_CREATEWNDA& create) {
    if (!create.lpcs)
        return;
    const CREATESTRUCTA& params = *create.lpcs;
    if (!(params.style & WS_CHILD) && skinmanage::ClassNameOf(wnd) == kPopupMenuClass)
        SkinPopup(wnd);
    // MDI children are skinned as they are made, before they have a size or are activated.
    if (params.dwExStyle & WS_EX_MDICHILD)
        SkinWindow(wnd);
    // A size grip made inside a skinned window is covered as it appears.
    if ((params.style & WS_CHILD) && (params.style & SBS_SIZEGRIP) && params.hwndParent &&
        lstrcmpiA(skinmanage::ClassNameOf(wnd).c_str(), "ScrollBar") == 0)
        if (TWinSkinForm* form = FindSkinForm(params.hwndParent))
            form->SkinWindow(wnd);
}

LRESULT CALLBACK TSkinManage::HookProc(int code, WPARAM wParam, LPARAM lParam) {
    TSkinManage* self = HookOwner;
    const HHOOK hook = self ? self->FHook.Get() : nullptr;
    if (code < 0 || !self)
        return CallNextHookEx(hook, code, wParam, lParam);
    const auto wnd = reinterpret_cast<HWND>(wParam);
    try {
        switch (code) {
        case HCBT_CREATEWND:
            self->HookCreate(wnd, *reinterpret_cast<const CBT_CREATEWNDA*>(lParam));
            break;
        case HCBT_DESTROYWND:
            self->ReleasePopup(wnd);
            break;
        case HCBT_ACTIVATE:
            if (self->FState == msStarting)
                self->FState = msRunning;
            self->SkinWindow(wnd);
            break;
        default:
            break;
        }
    } catch (...) {
        // Nothing may cross into the system's code: the window simply stays as it is.
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}
