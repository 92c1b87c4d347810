#include "SkinCaption.h"

#include "TypInfo.h"
#include "WinHandle.h"
#include "WinSkinManage.h"
#include "WinSkinMessages.h"

#include <algorithm>
#include <vector>

#include <windows.h>

TClass TSkinCaption::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TSkinCaption>("TSkinCaption")
            .Bool("Active", &TSkinCaption::Active, &TSkinCaption::SetActive)
            .Int("SkinAlpha", &TSkinCaption::SkinAlpha, &TSkinCaption::SetSkinAlpha)
            .Str("Author", &TSkinCaption::Author, &TSkinCaption::SetAuthor)
            .Build();
    return &info;
}

TClass TClassAcSkin::StaticClass() {
    static const TClassInfo info = TClassBuilder<TClassAcSkin>("TClassAcSkin").Build();
    return &info;
}

TClass TClassAcButton::StaticClass() {
    static const TClassInfo info = TClassBuilder<TClassAcButton>("TClassAcButton").Build();
    return &info;
}

namespace {

// Form descriptions create the add-on by class name; this file is linked into every program
// that uses the watcher, so the classes are known before the first form is read.
const bool kRegistered = (RegisterClasses({TSkinCaption::StaticClass(), TClassAcSkin::StaticClass(),
                                           TClassAcButton::StaticClass()}),
                          true);

bool SharedActiveValue = false;
std::uint8_t SharedAlphaValue = 0;

// The hooks of the GUI thread, shared by every instance made at run time.
struct TCaptionHooks {
    THookHandle Cbt;
    THookHandle CallWnd;
    int Users = 0;
};

TCaptionHooks& Hooks() {
    static TCaptionHooks hooks;
    return hooks;
}

// Windows the add-on made layered; only these are given back their opaque look.
std::vector<HWND>& LayeredByUs() {
    static std::vector<HWND> windows;
    return windows;
}

bool MadeLayeredByUs(HWND wnd) {
    const auto& windows = LayeredByUs();
    return std::find(windows.begin(), windows.end(), wnd) != windows.end();
}

void ApplyAlpha(HWND wnd) {
    if (!IsWindow(wnd) || (GetWindowLongA(wnd, GWL_STYLE) & WS_CHILD))
        return;
    const LONG exStyle = GetWindowLongA(wnd, GWL_EXSTYLE);
    const bool ours = MadeLayeredByUs(wnd);
    if ((exStyle & WS_EX_LAYERED) && !ours)
        return; // a window that is translucent on its own keeps its setting
    if (!ours) {
        SetWindowLongA(wnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        LayeredByUs().push_back(wnd);
    }
    SetLayeredWindowAttributes(wnd, 0, SharedAlphaValue, LWA_ALPHA);
}

void RestoreOpacity() {
    std::vector<HWND> windows;
    windows.swap(LayeredByUs());
    for (HWND wnd : windows)
        if (IsWindow(wnd))
            SetWindowLongA(wnd, GWL_EXSTYLE, GetWindowLongA(wnd, GWL_EXSTYLE) & ~WS_EX_LAYERED);
}

// A destroyed window's handle may come back for another window, which must not be touched.
LRESULT CALLBACK CaptionCbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_DESTROYWND)
        std::erase(LayeredByUs(), reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(Hooks().Cbt.Get(), code, wParam, lParam);
}

// A window reports every (re)skin to itself; that is when it takes the opacity.
LRESULT CALLBACK CaptionCallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && SharedActiveValue && SharedAlphaValue > 0) {
        const auto& sent = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (sent.message == WMS_SKINDONE && sent.lParam == SKIN_MAGIC)
            ApplyAlpha(sent.hwnd);
    }
    return CallNextHookEx(Hooks().CallWnd.Get(), code, wParam, lParam);
}

void AddHookUser() {
    TCaptionHooks& hooks = Hooks();
    if (hooks.Users++ > 0)
        return;
    const DWORD thread = GetCurrentThreadId();
    hooks.Cbt.Reset(SetWindowsHookExA(WH_CBT, &CaptionCbtProc, nullptr, thread));
    hooks.CallWnd.Reset(SetWindowsHookExA(WH_CALLWNDPROC, &CaptionCallWndProc, nullptr, thread));
}

void RemoveHookUser() {
    TCaptionHooks& hooks = Hooks();
    if (hooks.Users == 0 || --hooks.Users > 0)
        return;
    hooks.CallWnd.Reset();
    hooks.Cbt.Reset();
    RestoreOpacity();
}

bool OwnerHasSkinData(const TComponent* owner) {
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (owner->Components(i)->ClassName() == "TSkinData")
            return true;
    return false;
}

} // namespace

const char* TSkinCaption::MissingSkinDataTip() {
    return "提示：缺少必须组件 TSkinData！ 请在工程设计时把 TSkinData 和 TSkinCaption 放在一起\n\r"
           "Tips: the component TSkinData is absent,please puts TSkinData and TSkinCaption on the same "
           "place.";
}

TSkinCaption::TSkinCaption(TComponent* owner) : TComponent(owner) {
    if (Designing()) {
        if (OwnerHasSkinData(owner))
            SetActive(true);
        else
            MessageBoxA(GetActiveWindow(), MissingSkinDataTip(), "TSkinCaption", MB_OK | MB_ICONINFORMATION);
        return;
    }
    SetActive(true);
    AddHookUser();
    FUsesHooks = true;
}

TSkinCaption::~TSkinCaption() {
    SharedActiveValue = false;
    if (!FUsesHooks)
        return;
    RestoreOpacity();
    RemoveHookUser();
}

bool TSkinCaption::Designing() const {
    // A component made inside a form being designed is designed too, even before the designer
    // marks it.
    return ComponentState().Contains(csDesigning) ||
           (Owner() && Owner()->ComponentState().Contains(csDesigning));
}

bool TSkinCaption::Active() const {
    return SharedActiveValue;
}

void TSkinCaption::SetActive(bool value) {
    SharedActiveValue = value;
    if (Designing())
        return;
    if (!value)
        RestoreOpacity();
    TSkinManage* watcher = SkinManage();
    if (!watcher)
        return;
    for (TWinSkinForm* form : std::vector<TWinSkinForm*>(watcher->Forms()))
        SetWindowPos(form->Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (value)
        ApplyToSkinnedWindows();
}

void TSkinCaption::SetSkinAlpha(int value) {
    FSkinAlpha = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

void TSkinCaption::Loaded() {
    TComponent::Loaded();
    SharedAlphaValue = FSkinAlpha;
    if (!Designing())
        ApplyToSkinnedWindows();
}

void TSkinCaption::ApplyToSkinnedWindows() const {
    TSkinManage* watcher = SkinManage();
    if (!watcher || !SharedActiveValue || SharedAlphaValue == 0 || !FUsesHooks)
        return;
    for (TWinSkinForm* form : watcher->Forms())
        if (form->SkinState() != TWinSkinForm::ssDestroyed)
            ApplyAlpha(form->Handle());
}

bool TSkinCaption::SharedActive() {
    return SharedActiveValue;
}

std::uint8_t TSkinCaption::SharedSkinAlpha() {
    return SharedAlphaValue;
}

bool TSkinCaption::HooksInstalled() {
    return static_cast<bool>(Hooks().Cbt) && static_cast<bool>(Hooks().CallWnd);
}
