// TSkinManage: the one window watcher of the process. A thread-local CBT hook on the GUI thread
// sees every window being created, activated and destroyed; the watcher decides whether and
// with which skin data component a window is skinned and gives it its skinning object (a
// TWinSkinForm for a top-level window, a TWinSkinPopMenu for a popup menu). A timer runs the
// skin data components' skin-all, unskin-all and refresh commands; the flags the painters share
// live here too.
//
// Split by responsibility: WinSkinManage.cpp (lifetime, registration, the lists and the shared
// flags), WinSkinManageHook.cpp (the hook), WinSkinManageDecide.cpp (which windows are skinned
// and with which component), WinSkinManageActions.cpp (the timed commands).
#pragma once

#include "Timer.h"
#include "WinHandle.h"
#include "WinSkinDataComponent.h"
#include "WinSkinDataWatcher.h"
#include "WinSkinForm.h"
#include "WinSkinFormWatcher.h"
#include "WinSkinPopMenu.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

class TCustomForm;

class TSkinManage final : public ISkinWatcher, public ISkinFormWatcher {
public:
    // The states: nothing started yet, commands run through the timer, being freed.
    static constexpr int msStarting = SkinWatcherStarting;
    static constexpr int msRunning = SkinWatcherRunning;
    static constexpr int msClosing = 4;
    // The Tag by which a form asks to be left alone.
    static constexpr std::int32_t NeverSkinTag = 99;

    TSkinManage();
    ~TSkinManage() override;
    TSkinManage(const TSkinManage&) = delete;
    TSkinManage& operator=(const TSkinManage&) = delete;

    // ---- what the skin data components ask ----
    void RegisterSkinData(TSkinData& skin) override;
    void UnregisterSkinData(TSkinData& skin) override;
    // Installs the CBT hook of the calling thread (once) and stores the system version.
    void InstallHook() override;
    void SetActionSkin(TSkinData* skin) override { FActionSkin = skin; }
    // Runs the action after delayMs; in the start-up state only switches skinning on or off.
    void RequestAction(TSkinAction action, int delayMs) override;
    // Every form painter using the action's component drops its caption buttons.
    void RefreshForms() override;
    // Every form painter using the component drops what refers to its elements.
    void ElementsReleasing(TSkinData& skin) override;
    // A visible top-level form is skinned now.
    void SkinForm(TCustomForm& form) override;
    bool Active() const override { return FActive; }
    void SetActive(bool value) override { FActive = value; }
    int State() const override { return FState; }
    void SetState(int value) override { FState = value; }

    // ---- what the form painters share ----
    void FormAttached() override;
    bool HideNewWindows() const override { return FHideNewWindows; }
    void SetHideNewWindows(bool value) override { FHideNewWindows = value; }
    void SetMenuKind(TSkinMenuKind kind) override { FMenuKind = kind; }
    bool MDIButtons() const override { return FMDIButtons; }
    // Shows or hides the MDI child buttons of the frame's menu bar, re-framing the children.
    void SetMDIButtons(bool on) override;
    void SetMDIFrame(HWND client, TControl* form) override;
    // Drops a form painter that is being freed by its owner (the painter is not freed here).
    void ForgetWindow(HWND wnd) override;
    DWORD WinVersion() const override { return FWinVersion; }

    // ---- deciding and skinning ----
    // Skins a top-level window (or an MDI child) when every test passes; true when it did.
    bool SkinWindow(HWND wnd);
    // True unless the class says "preview" without xoPreview, or the default component's
    // veto (OnFormSkin, month calendars, FastReport classes) refuses it.
    bool FilterWindow(HWND wnd, const std::string& className);
    // The component a window is skinned with, or nullptr when none is registered.
    TSkinData* ChooseSkinData(HWND wnd);
    // The framework form (or control) of a window, or nullptr.
    TControl* FindForm(HWND wnd) const;
    TWinSkinForm* FindSkinForm(HWND wnd) const;
    void SkinPopup(HWND wnd);
    // Detaches and frees the popup object of a window; false when it has none.
    bool ReleasePopup(HWND wnd);
    // The newest popup object without a menu takes this one.
    void BindPopupMenu(HMENU menu) override;
    // The background prepared for a menu's window, or nullptr.
    TBitmap* PopupBackground(HMENU menu);
    // The same with where the window's client area lies in it.
    TPopupBackground ItemBackground(HMENU menu) override;
    // Frees the painters of destroyed windows.
    void Purge();
    // Switches skinning off and lets every window go without changing it.
    void DropAll();

    // ---- read by the painters and by tests ----
    const std::vector<TWinSkinForm*>& Forms() const { return FForms; }
    const std::vector<std::unique_ptr<TWinSkinPopMenu>>& Popups() const { return FPopups; }
    const std::vector<TSkinData*>& SkinDatas() const { return FSkinDatas; }
    TSkinData* DefaultSkin() const { return FDefaultSkin; }
    TSkinData* ActionSkin() const { return FActionSkin; }
    TSkinAction PendingAction() const { return FAction; }
    bool ActionPending() const { return FTimer->Enabled(); }
    TSkinMenuKind MenuKind() const { return FMenuKind; }
    bool ForceAll() const { return FForceAll; }
    HWND MDIClient() const { return FMDIClient; }
    TControl* MDIForm() const { return FMDIForm; }
    void* OwnerTag() const { return FOwnerTag; }
    bool HookInstalled() const { return static_cast<bool>(FHook); }
    // The window property under which framework windows keep their control.
    static ATOM ControlAtom();
    // The module whose windows count as the program's own.
    static HINSTANCE ModuleInstance();

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
    void RemoveHook();
    void HookCreate(HWND wnd, const CBT_CREATEWNDA& create);
    void OnActionTimer(TObject* sender);
    void RunFormAction(TSkinData& skin);
    void RunGlobalAction(TSkinData& skin);
    void SkinEveryForm();
    bool SkinTestsPass(HWND wnd, TControl* form, const std::string& className);
    bool OwnerWindowIs(const TSkinData& skin, HWND wnd) const;
    TSkinData* LastOfKind(TSkinFormType kind) const;
    // Takes an entry out of FForms; the caller frees or keeps it.
    TWinSkinForm* TakeForm(std::size_t index);
    void FreeForm(TWinSkinForm* form);
    void DetachAndRepaint(TWinSkinForm* form);
    void FreeFormsUsing(const TSkinData& skin);
    void ReframeMDIChild(TWinSkinForm& form, bool on);
    TWinSkinPopMenu* PopupShowing(HMENU menu) const;

    std::unique_ptr<TTimer, TObjectDeleter> FTimer;
    THookHandle FHook;
    std::vector<TWinSkinForm*> FForms;
    std::vector<std::unique_ptr<TWinSkinPopMenu>> FPopups;
    std::vector<TSkinData*> FSkinDatas;
    bool FActive = false;
    bool FForceAll = false;
    int FState = msStarting;
    TSkinMenuKind FMenuKind = mkPopup;
    bool FMDIButtons = false;
    HWND FMDIClient = nullptr;
    TControl* FMDIForm = nullptr;
    TSkinAction FAction = saNone;
    TSkinData* FActionSkin = nullptr;
    TSkinData* FDefaultSkin = nullptr;
    void* FOwnerTag = nullptr;
    bool FHideNewWindows = false;
    DWORD FWinVersion = 0;
    // The window of a painter this watcher is freeing itself: already out of the list.
    HWND FFreeingWnd = nullptr;
};

// Makes CreateSkinWatcher() build a TSkinManage. Called once by the program before its forms
// are created (and by tests).
void InstallSkinManage();
// The running watcher, or nullptr.
TSkinManage* SkinManage();

// Installs the watcher's factory for its lifetime; at its end the running watcher is freed and
// no new one can be made. The program holds one around its message loop: the watcher must go
// while the windows and the toolkit it uses still exist.
class TSkinManageScope {
public:
    TSkinManageScope() { InstallSkinManage(); }
    ~TSkinManageScope();
    TSkinManageScope(const TSkinManageScope&) = delete;
    TSkinManageScope& operator=(const TSkinManageScope&) = delete;
};
