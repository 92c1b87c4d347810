// The watcher's lifetime, the registered skin data components, the lists of skinning objects
// and the flags the form painters share with it.
#include "WinSkinManage.h"

#include "Controls.h"

#include <algorithm>

namespace {

constexpr int kTimerInterval = 100;

template <class T>
void EraseFirst(std::vector<T*>& list, const T* item) {
    const auto it = std::find(list.begin(), list.end(), item);
    if (it != list.end())
        list.erase(it);
}

} // namespace

TSkinManage::TSkinManage() : FTimer(new TTimer(nullptr)), FWinVersion(GetVersion()) {
    FTimer->SetEnabled(false);
    FTimer->SetInterval(kTimerInterval);
    FTimer->OnTimer = TNotifyEvent(this, &TSkinManage::OnActionTimer);
}

TSkinManage::~TSkinManage() {
    FState = msClosing;
    FActive = false;
    FTimer.reset();
    if (!FForms.empty())
        DropAll();
    // Painters of other owners (none in this program) stay with their owners.
    FForms.clear();
    while (!FPopups.empty()) {
        std::unique_ptr<TWinSkinPopMenu> popup = std::move(FPopups.back());
        FPopups.pop_back();
        popup->Detach();
    }
    FSkinDatas.clear();
    RemoveHook();
}

// ---- skin data components ------------------------------------------------------------------

void TSkinManage::RegisterSkinData(TSkinData& skin) {
    if (std::find(FSkinDatas.begin(), FSkinDatas.end(), &skin) != FSkinDatas.end())
        return;
    FSkinDatas.push_back(&skin);
    if (!FDefaultSkin && skin.SkinFormtype() == sfMainform)
        FDefaultSkin = &skin;
}

void TSkinManage::UnregisterSkinData(TSkinData& skin) {
    EraseFirst(FSkinDatas, &skin);
    if (FDefaultSkin == &skin)
        FDefaultSkin = nullptr;
    if (FActionSkin == &skin)
        FActionSkin = nullptr;
    // Painters must not outlive the skin they paint with.
    FreeFormsUsing(skin);
}

void TSkinManage::FreeFormsUsing(const TSkinData& skin) {
    for (std::size_t i = FForms.size(); i-- > 0;) {
        if (i >= FForms.size() || FForms[i]->SkinData() != &skin)
            continue;
        TWinSkinForm* form = TakeForm(i);
        if (form->SkinState() != TWinSkinForm::ssDestroyed)
            DetachAndRepaint(form);
        FreeForm(form);
    }
    for (std::size_t i = FPopups.size(); i-- > 0;) {
        if (i >= FPopups.size() || FPopups[i]->SkinData() != &skin)
            continue;
        std::unique_ptr<TWinSkinPopMenu> popup = std::move(FPopups[i]);
        FPopups.erase(FPopups.begin() + static_cast<std::ptrdiff_t>(i));
        popup->Detach();
    }
}

// ---- the list of skinned windows -----------------------------------------------------------

TWinSkinForm* TSkinManage::FindSkinForm(HWND wnd) const {
    const auto it = std::find_if(FForms.begin(), FForms.end(), [wnd](auto* f) { return f->Handle() == wnd; });
    return it == FForms.end() ? nullptr : *it;
}

TWinSkinForm* TSkinManage::TakeForm(std::size_t index) {
    TWinSkinForm* form = FForms[index];
    FForms.erase(FForms.begin() + static_cast<std::ptrdiff_t>(index));
    // The MDI frame's record must not outlive its painter.
    if (form->MDIKind() == TWinSkinForm::mdFrame && form->Form() == FMDIForm) {
        FMDIClient = nullptr;
        FMDIForm = nullptr;
    }
    return form;
}

void TSkinManage::FreeForm(TWinSkinForm* form) {
    // The painter's destructor reports its window; it has left the list already, and another
    // entry for the same handle (a new window in a reused handle) must stay.
    const HWND previous = std::exchange(FFreeingWnd, form->Handle());
    TObject::Free(form);
    FFreeingWnd = previous;
}

void TSkinManage::DetachAndRepaint(TWinSkinForm* form) {
    form->DetachRestore();
    const HWND wnd = form->Handle();
    if (IsWindow(wnd)) {
        InvalidateRect(wnd, nullptr, TRUE);
        UpdateWindow(wnd);
    }
}

void TSkinManage::ForgetWindow(HWND wnd) {
    if (FState == msClosing || !wnd || wnd == FFreeingWnd)
        return;
    const auto it = std::find_if(FForms.begin(), FForms.end(), [wnd](auto* f) { return f->Handle() == wnd; });
    if (it != FForms.end())
        TakeForm(static_cast<std::size_t>(it - FForms.begin()));
}

void TSkinManage::Purge() {
    if (FState == msClosing)
        return;
    for (std::size_t i = FForms.size(); i-- > 0;) {
        if (i >= FForms.size())
            continue;
        TWinSkinForm* form = FForms[i];
        if (form->SkinState() == TWinSkinForm::ssDestroyed && form->OwnerTag() == FOwnerTag)
            FreeForm(TakeForm(i));
    }
}

void TSkinManage::DropAll() {
    FActive = false;
    for (std::size_t i = FForms.size(); i-- > 0;) {
        if (i >= FForms.size() || FForms[i]->OwnerTag() != FOwnerTag)
            continue;
        TWinSkinForm* form = TakeForm(i);
        form->DetachQuiet();
        FreeForm(form);
    }
}

// ---- flags shared with the form painters ---------------------------------------------------

void TSkinManage::FormAttached() {
    if (FState != msClosing)
        FState = msRunning;
}

void TSkinManage::SetMDIFrame(HWND client, TControl* form) {
    FMDIClient = client;
    FMDIForm = form;
}

void TSkinManage::SetMDIButtons(bool on) {
    if (on == FMDIButtons)
        return;
    FMDIButtons = on;
    // With their own borders the children do not change with the frame's buttons.
    if (FDefaultSkin && FDefaultSkin->Options().Contains(xoMDIChildBorder))
        return;
    for (TWinSkinForm* form : std::vector<TWinSkinForm*>(FForms))
        if (std::find(FForms.begin(), FForms.end(), form) != FForms.end() &&
            form->MDIKind() == TWinSkinForm::mdChild)
            ReframeMDIChild(*form, on);
}

void TSkinManage::ReframeMDIChild(TWinSkinForm& form, bool on) {
    if (on) {
        // The child's buttons move into the frame's menu bar: the child gets its caption back.
        if (form.HasRegion())
            form.RemoveRegion();
        form.SetCaption(true);
        return;
    }
    if (form.WinState() == TWinSkinForm::wsMinimized) {
        form.SetCaption(true);
        return;
    }
    form.SetWinState(TWinSkinForm::wsNormal);
    form.BuildRegion();
    form.SetCaption(false);
    if (!form.HasRegion())
        SetWindowPos(form.Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// ---- window lookup ---------------------------------------------------------------------------

ATOM TSkinManage::ControlAtom() {
    return ::ControlAtom();
}

HINSTANCE TSkinManage::ModuleInstance() {
    static const HINSTANCE instance = GetModuleHandleA(nullptr);
    return instance;
}

// ---- the process-wide instance -------------------------------------------------------------

void InstallSkinManage() {
    SetSkinWatcherFactory([] { return std::make_unique<TSkinManage>(); });
}

TSkinManage* SkinManage() {
    return dynamic_cast<TSkinManage*>(SkinWatcher());
}

TSkinManageScope::~TSkinManageScope() {
    SetSkinWatcherFactory({});
    FreeSkinWatcher();
}
