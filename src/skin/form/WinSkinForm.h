// TWinSkinForm: the skinning object of one top-level window. It subclasses the window (and,
// for a framework form, the form's WindowProc), takes over the non-client area (borders, title
// bar with caption buttons and text, window region), handles the non-client mouse and the
// system menu, and keeps the control skinners of the window's controls. It never owns the
// window it paints; a framework form owns its skinning object.
//
// Split by responsibility: WinSkinFormAttach.cpp (classification, start, detachment),
// WinSkinFormDispatch.cpp (window procedures), WinSkinFormFrame.cpp (geometry, painting,
// region), WinSkinFormTitle.cpp (title text), WinSkinFormButtons.cpp (caption buttons and
// non-client mouse), WinSkinFormSysMenu.cpp (system menu and window commands),
// WinSkinFormControls.cpp (the control skinners: list and discovery; the decisions are in
// SkinnerChoice.cpp), WinSkinFormToolbar.cpp (skinned toolbar drawing). The menu bar in the
// frame is a TWinSkinMenu (WinSkinMenu.h).
#pragma once

#include "Bitmap.h"
#include "Canvas.h"
#include "ComCtrls.h"
#include "Component.h"
#include "Controls.h"
#include "Menus.h"
#include "Timer.h"
#include "WinHandle.h"
#include "WinSkinDataComponent.h"
#include "WinSkinFormWatcher.h"
#include "SkinSubclass.h"
#include "SkinnerChoice.h"
#include "WinSkinMenuItem.h"
#include "WinSkinMessages.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

class TWinSkinForm;
class TSkinControl;
class TWinSkinMenu;

// A clickable object of the non-client area (caption button, menu-bar button).
class TNCObject {
public:
    explicit TNCObject(TWinSkinForm& owner) : FOwner(owner) {}
    virtual ~TNCObject() = default;
    TNCObject(const TNCObject&) = delete;
    TNCObject& operator=(const TNCObject&) = delete;

    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Paint() {}

    static constexpr int stNormal = 1;
    static constexpr int stPressed = 2;
    static constexpr int stHot = 3;

    TWinSkinForm& FOwner;
    TRect FBounds{}; // window coordinates
    bool FVisible = false;
    int FState = stNormal;
};

// A caption button drawn from a title-button element of the skin.
class TWinSysButton : public TNCObject {
public:
    TWinSysButton(TWinSkinForm& owner, TDataSkinSysButton& element) : TNCObject(owner), FElement(element) {}
    // Hover and press feedback, straight onto the window DC.
    void Paint() override;

    TDataSkinSysButton& FElement;
};

// Caption-button actions with a built-in meaning.
enum TSysButtonAction {
    baClose = 0,
    baMaximize = 1,
    baMinimize = 2,
    baSystemMenu = 3,
    baMDIMinimize = 7,
    baMDIRestore = 8,
    baMDIClose = 9,
    baIcon = 11,
    baSystemMenu2 = 12,
    baMaximize2 = 22,
    baMinimize2 = 23,
    baMDIMinimize2 = 60,
    baMDIRestore2 = 61,
    baMDIClose2 = 62,
};

class TWinSkinForm : public TComponent {
    TW_DECLARE_CLASS(TWinSkinForm, TComponent)

    explicit TWinSkinForm(TComponent* owner);
    ~TWinSkinForm() override;

    // ---- set up by the watcher, then attach, then post WMS_SKINSTART ----
    HWND Handle() const { return FHandle; }
    void SetHandle(HWND wnd) { FHandle = wnd; }
    void* OwnerTag() const { return FOwnerTag; }
    void SetOwnerTag(void* tag) { FOwnerTag = tag; }
    const std::string& WindowClass() const { return FWindowClass; }
    void SetWindowClass(const std::string& name) { FWindowClass = name; }

    void AttachForm(TSkinData& skinData, TControl* form);
    void AttachHandle(TSkinData& skinData);
    bool Attached() const { return FWindowHook.Installed(); }

    // Skinning switched off while the window lives: native frame, size and colour back.
    void DetachRestore();
    // The window is being destroyed (or every window is dropped): let go, change nothing.
    void DetachQuiet();
    // The frame was never skinned: the controls let go.
    void DetachControls();

    // Re-applies a changed skin.
    void RefreshSkin();
    // The skin data is about to free its element records (a skin is being loaded): everything
    // built on them goes; the caption buttons come back at the first paint after the load.
    void ReleaseSkinElements();
    // A handler failed (an exception): the window has its native look back and this object only
    // passes its messages on, still answering WMS_ISSKINNED.
    bool SkinFailed() const { return FSkinFailed; }
    // What a failed step of the painter leads to (see SkinFailed).
    void FallBackToNative();
    // Runs one of the painter's own steps outside its window procedure (a timer, the framework's
    // hook), where a failure would be reported in the application's error box.
    template <class TStep>
    void Guarded(TStep&& step) {
        try {
            step();
        } catch (...) {
            FallBackToNative();
        }
    }
    // Frame sizes from the border images; rebuilds the caption buttons.
    void BuildFrame();
    void FreeSysButtons();
    void CaptureIcon();
    void BuildRegion();
    void RemoveRegion();
    // Paints borders, title bar and menu band into dc (the window DC when null).
    void PaintFrame(HDC dc = nullptr);
    // Switch the caption style off while skinned (only where classification chose to).
    void SetCaption(bool on);
    void SetSysMenuStyle(bool on);

    // ---- window state commands ----
    void RestoreWindow();
    void ToggleMaximize();
    void ToggleMinimize();
    void MDIChildCommand(UINT command);
    void ShowSystemMenu(POINT screenPoint);

    // ---- what the watcher, the menu bar and the control skinners read ----
    static constexpr int ssAttached = 0;   // not started: non-client painting suppressed
    static constexpr int ssActive = 1;     // skinned
    static constexpr int ssRefreshing = 3; // re-applying a changed skin
    static constexpr int ssDetaching = 4;  // inside WM_NCDESTROY
    static constexpr int ssResizing = 5;   // initial resize
    static constexpr int ssDestroyed = 6;  // window gone: the watcher frees the object

    enum TBorderKind : unsigned char { bkSizeable = 0, bkSingle = 1, bkNone = 2, bkDialog = 3 };
    enum TMDIKind : unsigned char { mdNone = 0, mdFrame = 1, mdChild = 2 };
    enum TWinState : unsigned char { wsNormal = 0, wsMaximized = 1, wsMinimized = 2 };

    int SkinState() const { return FSkinState; }
    TSkinData* SkinData() const { return FSkinData; }
    TControl* Form() const { return FForm; }
    bool SkinFrame() const { return FSkinFrame; }
    bool Active() const { return FActive; }
    TBorderKind BorderKind() const { return FBorderKind; }
    TMDIKind MDIKind() const { return FMDIKind; }
    TWinState WinState() const { return FWinState; }
    void SetWinState(TWinState state) { FWinState = state; }
    bool HasRegion() const { return FHasRegion; }
    bool DialogClass() const { return FDialogClass; }
    // Skinned frame sizes; Top is the title bar.
    TRect Borders() const { return TRect{FBorderLeft, FBorderTop, FBorderRight, FBorderBottom}; }
    int MenuHeight() const { return FMenuHeight; }
    // The native frame measured before skinning: (0, 0, frame width, frame height).
    TRect NativeFrame() const { return FNativeFrame; }
    const std::vector<std::unique_ptr<TWinSysButton>>& SysButtons() const { return FSysButtons; }
    TNCObject* HotObject() const { return FHotObject; }
    void SetHotObject(TNCObject* object) { FHotObject = object; }
    TPopupMenu* SysPopup() const { return FSysPopup.get(); }
    // The skinned menu bar; null when the window has no menu (or its frame is not skinned).
    TWinSkinMenu* MenuBar() const { return FMenuBar.get(); }
    bool MenuTracking() const { return FMenuTracking; }
    void SetMenuTracking(bool on) { FMenuTracking = on; }
    // The menu-bar submenu opened last.
    HMENU PoppedMenu() const { return FPoppedMenu; }
    // The skinned painting of this window's menu items; null before attachment.
    TWinSkinMenuItems* MenuItems() const { return FMenuItems.get(); }
    // Screen point to window coordinates.
    POINT ScreenToWindow(int x, int y) const;
    // The first visible caption button with a non-negative action at a window point.
    TNCObject* ButtonAt(POINT windowPoint);
    void DrawIcon(HDC dc, const TRect& rect);

    // ---- control skinners (WinSkinFormControls.cpp) ----
    // Adds a skinner unless listed; true when it was listed already.
    bool AddControl(TSkinControl* skinner);
    // Removes the skinner's last occurrence.
    void RemoveControl(TSkinControl* skinner);
    // The first skinner serving the window.
    TSkinControl* FindControl(HWND wnd) const;
    // Frees, without detaching, the skinners whose window was destroyed.
    void PurgeDestroyedControls();
    const std::vector<TSkinControl*>& Controls() const { return FControls; }
    // The work canvas lent to the skinners.
    TCanvas* ControlCanvas() { return &FControlCanvas; }

    // Discovery: which control gets which skinner.
    void SkinFormControls(TWinControl* form);
    void SkinComponents(TComponent* component);
    void SkinChildren(TWinControl* control);
    void SkinControl(TControl* control, TControl* parent);
    // Applies the Skin3rd map; true when it names the class.
    bool MapSkin3rd(const std::string& className, TControl* control);
    void SkinWindowChildren(HWND wnd);
    void SkinWindow(HWND wnd);
    // Replaces the scroll-bar skinner of a control that re-created its window.
    void ReskinScroll(HWND wnd);

    // Toolbar custom drawing (WinSkinFormToolbar.cpp).
    void DrawToolbarBack(TToolBar* Sender, const TRect& ARect, bool& DefaultDraw);
    void DrawToolButton(TToolBar* Sender, TToolButton* Button, TCustomDrawState State, bool& DefaultDraw);

private:
    friend class TWinSysButton;
    friend class TMenuBtn;
    friend class TWinSkinMenu;

    // Classification and start (WinSkinFormAttach.cpp).
    void Classify();
    void ClassifyBorder(LONG exStyle);
    void ChooseCaptionSwitch(LONG exStyle);
    void DetectMDI(LONG exStyle);
    void HookMDIClient();
    void UnhookMDIClient();
    bool DetachFrame();
    void StartSkin();
    void AdjustFrameSize(bool keepClient);
    void WidenForCaption(int& width);
    void AfterSkin();
    void MeasureNativeFrame();
    void RestoreNativeSize();
    void ClearControls();
    void RestoreFormLook();
    void SkinChangedControls();
    void SkinOwnControls();
    void BuildCaptionFont();

    // Window procedures (WinSkinFormDispatch.cpp).
    void WndProc(TMessage& message);
    bool FirstStage(TMessage& message);
    bool GroupA(TMessage& message);
    bool GroupB(TMessage& message);
    void Default(TMessage& message);
    void SizeHandler(TMessage& message);
    void MinMaxInfo(TMessage& message);
    void MenuChanged(TMessage& message);
    // A native menu appeared on the window: the bar reads it (and takes it off the window).
    void ReadMenuBar();
    // Alt+letter reaching the form as a dialog character.
    void DialogChar(TMessage& message);
    void OpenMenuAt(TMessage& message);
    // The menu bar when the window has a menu; remembers what the native bar took from the client.
    void CreateMenuBar();
    void FormWindowProc(TMessage& message);
    void FormSetText(TMessage& message);
    void ClientWndProc(TMessage& message);
    void ReadWinState();
    void FailedWndProc(TMessage& message);

    // Geometry and painting (WinSkinFormFrame.cpp).
    void CalcClient(TMessage& message);
    void NcPaint(TMessage& message);
    void NcActivate(TMessage& message);
    void PaintBorderPart(int index, const TRect& rect, HDC dc);
    TBitmap* BuildBorderPart(int index, int w, int h);
    void PaintTitle(HDC dc, TBitmap* leftPart = nullptr, TBitmap* rightPart = nullptr);
    TRegionHandle BorderRegion(int index, const TRect& rect, int width, int height);
    TDataSkinBorder* BorderElement(int index) const;
    HICON WindowIcon() const;
    // A skin is parsed and at hand: nothing is painted from the elements otherwise.
    bool SkinReady() const { return FSkinData && !FSkinData->SkinLoading(); }

    // Title text (WinSkinFormTitle.cpp).
    void PaintTitleText(TCanvas& canvas);
    std::wstring WindowTextW() const;
    void RefreshTitle();

    // Caption buttons and non-client mouse (WinSkinFormButtons.cpp).
    void CreateButtons();
    bool UpdateVisible(TWinSysButton& button);
    bool FirstVisibility(int value, const TDataSkinSysButton& element);
    bool SecondVisibility(int value, const TDataSkinSysButton& element);
    bool StateVisibility(int value, bool needsSysMenu) const;
    void LayoutButtons();
    void DrawButtons(TCanvas& canvas);
    void RunAction(TWinSysButton& button, POINT screenPoint);
    bool CanClose() const;
    void HitTest(TMessage& message);
    void NcMouseMove(TMessage& message);
    void NcLButtonDown(TMessage& message);
    void NcLButtonUp(TMessage& message);
    void NcLButtonDblClk(TMessage& message);
    void NcRButtonDown(TMessage& message);
    void ContextMenu(TMessage& message);
    void HoverTimer(TObject* sender);
    void SetHoverTimer(bool on);

    // System menu and commands (WinSkinFormSysMenu.cpp).
    void BuildSystemPopup();
    void AddFixedSystemItems();
    void CopyNativeSystemItems();
    void SystemItemClick(TObject* sender);
    void FixedItemClick(TObject* sender);
    void CommandRouting(TMessage& message);
    void SysCommand(TMessage& message);

    // Discovery steps (WinSkinFormControls.cpp).
    bool IsSkinnedControl(TControl* control);
    TSkinSettings SkinSettings() const;
    void CarryOut(const TSkinPlan& plan, TControl* control);
    void SkinGroupChildren(TWinControl* group, TChildRule rule);
    TSkinControl* FindControlOf(const TControl* control) const;
    void InstallToolbarHandlers(TToolBar& toolbar);
    void HookToolMenus(TControl* control);
    // Owner drawing of every framework menu of the form back to the framework's own.
    void UnhookMenus();
    void RemoveToolbarHandlers(TControl* control);

    // State shared with the watcher's flags.
    bool CanMaximize() const { return (FCaps & capMaximize) != 0; }
    bool CanMinimize() const { return (FCaps & capMinimize) != 0; }
    bool HasSysMenu() const { return (FCaps & capSysMenu) != 0; }
    bool IsMDIChildMaxOrMin() const { return FMDIKind == mdChild && FWinState != wsNormal; }
    LONG_PTR WindowLong(int index) const;
    void SetWindowLongValue(int index, LONG_PTR value);

    static constexpr unsigned char capMaximize = 1 << 0;
    static constexpr unsigned char capMinimize = 1 << 1;
    static constexpr unsigned char capSysMenu = 1 << 3;
    static constexpr unsigned char capCaptionOff = 1 << 4;

    HWND FHandle = nullptr;
    TWndMethod FOldWindowProc;
    // The window's and the MDI client's procedures: previous ones kept, ours in front.
    TSkinSubclass FWindowHook;
    TSkinSubclass FClientHook;
    TFont FCaptionFont;
    std::unique_ptr<TTimer, TObjectDeleter> FTimer;
    std::string FClassName;
    bool FSavedMenuUpdate = false;
    bool FSkinFrame = false;
    TRect FClientRect{};
    DWORD FLastPopupTick = 0;
    DWORD FDblClickTime = 0;
    int FCaptionWidth = 0;
    HWND FOwnerWnd = nullptr;
    HICON FIcon = nullptr;
    int FIconSize = 0;
    std::wstring FCaptionText;
    int FBorderLeft = 0;
    int FBorderTop = 0;
    int FBorderRight = 0;
    int FBorderBottom = 0;
    TRect FWindowRect{};
    TRect FNativeFrame{};
    int FMenuHeight = 0;
    int FSysButtonCount = 0;
    bool FMenuTracking = false;
    bool FRightToLeft = false;
    bool FUnicode = false;
    bool FDialogClass = false;
    bool FIsChild = false;
    std::unique_ptr<TPopupMenu, TObjectDeleter> FSysPopup;
    std::unique_ptr<TWinSkinMenuItems> FMenuItems;
    std::unique_ptr<TWinSkinMenu> FMenuBar;
    // How much of the client the native menu bar took (given back when the menu comes back).
    int FNativeMenuBand = 0;
    HWND FClientWnd = nullptr;
    HMENU FMenuHandle = nullptr;
    HMENU FSysMenu = nullptr;
    HMENU FPoppedMenu = nullptr;
    TColor FOldColor = clBtnFace;
    LONG_PTR FStyle = 0;
    TNCObject* FHotObject = nullptr;
    bool FHasRegion = false;
    TRegionHandle FRegion;
    TControl* FForm = nullptr;
    TSkinData* FSkinData = nullptr;
    TBitmap FIconBitmap;
    TBitmap FTitleBitmap;
    std::vector<std::unique_ptr<TWinSysButton>> FSysButtons;
    struct TBorderPartCache {
        std::unique_ptr<TBitmap> Bitmap;
        int Width = 0;
        int Height = 0;
        int Frame = 0;
    };
    std::array<TBorderPartCache, 4> FBorderParts;
    int FWindowWidth = 0;
    int FWindowHeight = 0;
    int FRegionWidth = 0;
    int FRegionHeight = 0;
    bool FActive = true;
    TMDIKind FMDIKind = mdNone;
    TBorderKind FBorderKind = bkSingle;
    unsigned char FCaps = 0;
    TWinState FWinState = wsNormal;
    int FSkinState = ssAttached;
    bool FSkinFailed = false;
    bool FButtonsReleased = false; // ReleaseSkinElements took the buttons; the next paint rebuilds
    void* FOwnerTag = nullptr;
    std::string FWindowClass;
    // The skinners of this window's controls; each belongs to its control (or, for bare
    // windows, to this object) and leaves the list when it is freed.
    std::vector<TSkinControl*> FControls;
    TCanvas FControlCanvas;
};
