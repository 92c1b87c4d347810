// Creation, classification of the window, the start sequence, frame resizing and the three
// strengths of detachment.
#include "WinSkinForm.h"

#include "Forms.h"
#include "SkinFormFault.h"
#include "TypInfo.h"
#include "WinSkinMenu.h"

#include <algorithm>

TClass TWinSkinForm::StaticClass() {
    static const TClassInfo info = TClassBuilder<TWinSkinForm>("TWinSkinForm").Build();
    return &info;
}

namespace {

constexpr LONG_PTR CaptionBits = WS_CAPTION; // both bits: border and title bar

bool StyleHas(LONG_PTR style, LONG_PTR bits) {
    return (style & bits) == bits;
}

} // namespace

TWinSkinForm::TWinSkinForm(TComponent* owner) : TComponent(owner) {
    FDblClickTime = GetDoubleClickTime();
    BuildCaptionFont();
    FActive = true;
}

TWinSkinForm::~TWinSkinForm() {
    // A window that still runs through this object must not call into freed memory.
    if (Attached())
        DetachQuiet();
    FMenuBar.reset();
    ClearControls();
    FreeSysButtons();
    FTimer.reset();
    FSysPopup.reset();
    if (FHandle)
        SkinFormWatcher().ForgetWindow(FHandle);
}

void TWinSkinForm::BuildCaptionFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return;
    TFontHandle font(CreateFontIndirectA(&metrics.lfCaptionFont));
    if (font)
        FCaptionFont.SetHandle(font.Get());
}

LONG_PTR TWinSkinForm::WindowLong(int index) const {
    return FUnicode ? GetWindowLongPtrW(FHandle, index) : GetWindowLongPtrA(FHandle, index);
}

void TWinSkinForm::SetWindowLongValue(int index, LONG_PTR value) {
    if (FUnicode)
        SetWindowLongPtrW(FHandle, index, value);
    else
        SetWindowLongPtrA(FHandle, index, value);
}

// ---- attachment ---------------------------------------------------------------------------

void TWinSkinForm::AttachForm(TSkinData& skinData, TControl* form) {
    FForm = form;
    if (skinData.OnBeforeSkinForm)
        skinData.OnBeforeSkinForm(form, FHandle, FWindowClass);
    if (form && skinData.SkinControls().Contains(xcMenuItem) && IsPublishedProp(form, "AutoScroll"))
        SetPropValue(*form, "AutoScroll", "False");
    AttachHandle(skinData);
    if (!form)
        return;
    if (FSkinFrame) {
        FOldWindowProc = form->WindowProc;
        form->WindowProc = TWndMethod(this, &TWinSkinForm::FormWindowProc);
    }
    FOldColor = form->Color();
    form->SetColor(static_cast<TColor>(skinData.Elements().Colors.ButtonFace));
    if (skinData.SkinControls().Contains(xcMenuItem) && FMenuItems)
        FMenuItems->HookMainMenus(form, true);
}

void TWinSkinForm::AttachHandle(TSkinData& skinData) {
    if (Attached() || !IsWindow(FHandle))
        return;
    SkinFormWatcher().FormAttached();
    FSkinData = &skinData;
    FMenuItems = std::make_unique<TWinSkinMenuItems>(skinData);
    FTimer.reset(new TTimer(nullptr));
    FTimer->SetEnabled(false);
    FTimer->SetInterval(250);
    FTimer->OnTimer = TNotifyEvent(this, &TWinSkinForm::HoverTimer);
    FSkinFrame = skinData.SkinControls().Contains(xcMainMenu);
    FUnicode = IsWindowUnicode(FHandle) != FALSE;
    Classify();
    if (FSkinData->Options().Contains(xoMDIChildBorder) && FMDIKind == mdChild)
        FSkinFrame = false;
    if (SkinFormWatcher().HideNewWindows() && !FIsChild && FSkinFrame && FBorderKind != bkNone)
        SetWindowLongValue(GWL_STYLE, WindowLong(GWL_STYLE) & ~static_cast<LONG_PTR>(WS_VISIBLE));
    if (!SkinIsNT()) {
        auto controls = skinData.SkinControls();
        controls.Exclude(xcSystemMenu);
        skinData.SetSkinControls(controls);
    }
    if (FMDIKind == mdFrame) {
        FSavedMenuUpdate = skinData.MenuUpdate();
        HookMDIClient();
    }
    FWindowHook.SetOnFailure([this] { FallBackToNative(); });
    FWindowHook.Install(FHandle, TWndMethod(this, &TWinSkinForm::WndProc), FUnicode);
    if (!FSkinFrame) {
        FSkinState = ssActive;
        return;
    }
    FMenuHandle = GetMenu(FHandle);
    if (FMenuHandle && FMDIKind != mdChild && FBorderKind != bkNone)
        CreateMenuBar();
    const bool mdiChildInMenuBar = FMDIKind == mdChild && SkinFormWatcher().MDIButtons();
    if (!mdiChildInMenuBar && FWinState != wsMinimized)
        SetCaption(false);
    BuildFrame();
    if (FMDIKind == mdChild) {
        const int nativeTitle = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CXFRAME);
        if (FBorderTop < nativeTitle)
            FMenuHeight = nativeTitle - FBorderTop;
        if (FWinState == wsMaximized)
            SkinFormWatcher().SetMDIButtons(true);
    }
}

void TWinSkinForm::CreateMenuBar() {
    FMenuBar = std::make_unique<TWinSkinMenu>(*this, *FSkinData);
    FMenuHeight = GetSystemMetrics(SM_CYMENU);
    if (auto* form = dynamic_cast<TCustomForm*>(FForm)) {
        auto* menu = dynamic_cast<TMenu*>(form->Menu());
        FMenuBar->SetFrameworkMenu(menu);
        if (FMenuItems)
            FMenuItems->SetBarMenu(menu);
    }
    RECT before{};
    GetClientRect(FHandle, &before);
    FMenuBar->ReadMenu();
    RECT after{};
    GetClientRect(FHandle, &after);
    FNativeMenuBand = std::max(0, static_cast<int>(after.bottom - before.bottom));
}

void TWinSkinForm::Classify() {
    FStyle = WindowLong(GWL_STYLE);
    const LONG exStyle = static_cast<LONG>(WindowLong(GWL_EXSTYLE));
    FRightToLeft = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
    if (FMenuItems)
        FMenuItems->SetRightToLeft(FRightToLeft);
    FIsChild = (FStyle & WS_CHILD) != 0;
    char name[101] = {};
    GetClassNameA(FHandle, name, sizeof name);
    FClassName = name;
    FOwnerWnd = GetWindow(FHandle, GW_OWNER);

    FCaps = 0;
    if ((FStyle & WS_SYSMENU) || FSysMenu)
        FCaps |= capSysMenu;
    if (FStyle & WS_MINIMIZEBOX)
        FCaps |= capMinimize;
    if (FStyle & WS_MAXIMIZEBOX)
        FCaps |= capMaximize;

    ReadWinState();
    DetectMDI(exStyle);
    ClassifyBorder(exStyle);
    ChooseCaptionSwitch(exStyle);
    if (FClassName == "#32770" || FClassName == "TMessageForm") {
        FBorderKind = bkDialog;
        FDialogClass = true;
    }
}

void TWinSkinForm::DetectMDI(LONG exStyle) {
    for (HWND child = GetTopWindow(FHandle); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[101] = {};
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, "MDIClient") == 0) {
            FMDIKind = mdFrame;
            FClientWnd = child;
            SkinFormWatcher().SetMDIFrame(child, FForm);
            break;
        }
    }
    if (exStyle & WS_EX_MDICHILD)
        FMDIKind = mdChild;
}

void TWinSkinForm::ClassifyBorder(LONG exStyle) {
    FBorderKind = bkSingle;
    if (!StyleHas(FStyle, CaptionBits))
        FBorderKind = bkNone;
    else if (FStyle & WS_THICKFRAME)
        FBorderKind = bkSizeable;
    else if (FStyle & DS_MODALFRAME)
        FBorderKind = bkDialog;
    if (exStyle & WS_EX_DLGMODALFRAME)
        FBorderKind = bkDialog;
}

void TWinSkinForm::ChooseCaptionSwitch(LONG exStyle) {
    const DWORD version = SkinFormWatcher().WinVersion();
    const int major = LOBYTE(LOWORD(version));
    const int minor = HIBYTE(LOWORD(version));
    if (major <= 4 || minor != 0)
        return;
    const bool appWindowOnNT = SkinIsNT() && (exStyle & WS_EX_APPWINDOW);
    const bool unowned = !FOwnerWnd && FMDIKind != mdChild;
    if (appWindowOnNT || unowned)
        FCaps |= capCaptionOff;
}

void TWinSkinForm::HookMDIClient() {
    if (!FClientWnd)
        return;
    FClientHook.SetOnFailure([this] { FallBackToNative(); });
    // The system's MDI client is a Unicode window: the ANSI call would make it an ANSI one.
    FClientHook.Install(FClientWnd, TWndMethod(this, &TWinSkinForm::ClientWndProc),
                        IsWindowUnicode(FClientWnd) != FALSE);
}

void TWinSkinForm::UnhookMDIClient() {
    FClientHook.Remove();
}

// ---- caption style --------------------------------------------------------------------------

void TWinSkinForm::SetCaption(bool on) {
    if (!(FCaps & capCaptionOff) || !IsWindow(FHandle))
        return;
    const LONG_PTR style = WindowLong(GWL_STYLE);
    const LONG_PTR wanted = on ? (style | CaptionBits) : (style & ~CaptionBits);
    if (wanted != style)
        SetWindowLongValue(GWL_STYLE, wanted);
}

void TWinSkinForm::SetSysMenuStyle(bool on) {
    if ((FCaps & capCaptionOff) || !IsWindow(FHandle))
        return;
    const LONG_PTR style = WindowLong(GWL_STYLE);
    if (!on && (style & WS_SYSMENU))
        SetWindowLongValue(GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_SYSMENU));
    else if (on && FSysMenu && !(style & WS_SYSMENU))
        SetWindowLongValue(GWL_STYLE, style | WS_SYSMENU);
}

// ---- start ----------------------------------------------------------------------------------

void TWinSkinForm::MeasureNativeFrame() {
    RECT window{};
    GetWindowRect(FHandle, &window);
    GetClientRect(FHandle, &FClientRect);
    FNativeFrame = TRect{0, 0, (window.right - window.left) - FClientRect.right,
                         (window.bottom - window.top) - FClientRect.bottom};
}

void TWinSkinForm::StartSkin() {
    SkinFormStep(TSkinFormStep::StartSkin);
    FSysMenu = GetSystemMenu(FHandle, FALSE);
    if (FSysMenu)
        FCaps |= capSysMenu;
    CaptureIcon();
    MeasureNativeFrame();
    // Activation changes before the start were not painted; begin with the real state.
    if (FMDIKind != mdChild)
        FActive = GetActiveWindow() == FHandle;
    if (SkinFormWatcher().HideNewWindows()) {
        SkinFormWatcher().SetHideNewWindows(false);
        const LONG_PTR style = WindowLong(GWL_STYLE);
        if (!(style & WS_VISIBLE))
            SetWindowLongValue(GWL_STYLE, style | WS_VISIBLE);
    }
    SkinOwnControls();
    if (FSkinState == ssAttached && FSkinFrame) {
        if (FMDIKind == mdChild) {
            if (FWinState == wsMaximized)
                PostMessageA(FClientWnd ? FClientWnd : GetParent(FHandle), WMS_REDRAWALL, 0, 0);
            else if (FWinState == wsMinimized)
                SetCaption(true);
            else {
                FSkinState = ssResizing;
                AdjustFrameSize(false);
                FSkinState = ssActive;
                BuildRegion();
            }
        } else if (!FIsChild && FBorderKind != bkNone && FWinState != wsMinimized) {
            FSkinState = ssResizing;
            AdjustFrameSize(false);
            FSkinState = ssActive;
            if (FWinState == wsMaximized)
                SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                             SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            else
                BuildRegion();
        }
    }
    AfterSkin();
    FSkinState = ssActive;
    SetHoverTimer(true);
}

void TWinSkinForm::AdjustFrameSize(bool keepClient) {
    SkinFormStep(TSkinFormStep::AdjustFrameSize);
    if (FWinState == wsMaximized) {
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        return;
    }
    RECT window{};
    GetWindowRect(FHandle, &window);
    if (FDialogClass || FSkinState == ssRefreshing || keepClient)
        GetClientRect(FHandle, &FClientRect);
    int width = FClientRect.right + FBorderLeft + FBorderRight;
    int clientHeight = FClientRect.bottom;
    // The native menu bar's room went to the client when the bar took the menu over; the
    // skinned band takes its place.
    if (!keepClient && !FForm && FMDIKind != mdChild)
        clientHeight -= FNativeMenuBand;
    if (!keepClient && FForm) {
        // The form's client area as the form knows it, menu included (the native menu bar
        // leaves the client when the frame takes the menu over).
        const RECT formClient = FForm->ClientRect();
        width = formClient.right + FBorderLeft + FBorderRight;
        clientHeight = FMDIKind == mdChild ? formClient.bottom : formClient.bottom - FNativeMenuBand;
    }
    const int height = clientHeight + FBorderTop + FBorderBottom + FMenuHeight;
    if (FDialogClass && !keepClient)
        WidenForCaption(width);
    SetWindowPos(FHandle, nullptr, window.left, window.top, width, height,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
}

void TWinSkinForm::WidenForCaption(int& width) {
    FCaptionText = WindowTextW();
    TBitmap measure;
    measure.SetSize(1, 1);
    TCanvas& canvas = *measure.Canvas();
    canvas.SetFont(&FCaptionFont);
    FCaptionWidth = canvas.TextWidth(std::wstring_view(FCaptionText));
    const TDataSkinTitle& title = *FSkinData->Elements().Title;
    const int required = title.LeftWidth + FCaptionWidth + title.RightWidth;
    if (width >= required)
        return;
    const int shift = (required - width) / 2;
    for (HWND child = GetWindow(FHandle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT bounds{};
        GetWindowRect(child, &bounds);
        MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&bounds), 2);
        SetWindowPos(child, nullptr, bounds.left + shift, bounds.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
    }
    width = required;
}

void TWinSkinForm::AfterSkin() {
    SendMessageA(FHandle, WMS_SKINDONE, 0, SKIN_MAGIC);
    if (FSkinData && FSkinData->OnAfterSkinForm)
        FSkinData->OnAfterSkinForm(FForm, FHandle, FWindowClass);
}

void TWinSkinForm::RefreshSkin() {
    if (!FSkinData || FSkinFailed)
        return;
    const auto face = static_cast<TColor>(FSkinData->Elements().Colors.ButtonFace);
    if (FForm) {
        FForm->SetColor(face);
        for (int i = 0; i < FForm->ComponentCount(); ++i)
            if (auto* owned = dynamic_cast<TCustomForm*>(FForm->Components(i)))
                owned->SetColor(face);
    }
    SkinChangedControls();
    SkinOwnControls(); // controls made since the start
    FSkinState = ssRefreshing;
    if (FSkinFrame) {
        // Foreign windows too: their client area must follow the new frame sizes.
        AdjustFrameSize(true);
        if (FForm) {
            if (FMenuItems)
                FMenuItems->HookPopupMenus(FForm, true);
            // A one-pixel height change and back makes the form lay itself out again.
            FForm->SetHeight(FForm->Height() + 1);
            FForm->SetHeight(FForm->Height() - 1);
        }
        // A form's new height rebuilt the region; a foreign window with frame sizes equal to the
        // old skin's has not changed size and gets the new borders' region here.
        if (!FForm && FWinState != wsMinimized && !(FMDIKind == mdChild && SkinFormWatcher().MDIButtons()))
            BuildRegion();
    }
    AfterSkin();
    FSkinState = ssActive;
}

// ---- detachment -----------------------------------------------------------------------------

void TWinSkinForm::RestoreFormLook() {
    if (FForm && FSkinState != ssDetaching)
        FForm->SetColor(FOldColor);
}

void TWinSkinForm::RestoreNativeSize() {
    if (FSkinState == ssDetaching || !IsWindow(FHandle))
        return;
    if (FMDIKind != mdChild && (FStyle & WS_CHILD))
        return;
    RECT window{};
    GetWindowRect(FHandle, &window);
    if (FMDIKind == mdChild)
        MapWindowPoints(nullptr, GetParent(FHandle), reinterpret_cast<POINT*>(&window), 2);
    const int width = (window.right - window.left) + FNativeFrame.right - FBorderLeft - FBorderRight;
    // A native menu given back takes its room from the window again, not from the client.
    const int menuBand = (FNativeMenuBand > 0 && GetMenu(FHandle)) ? FNativeMenuBand : 0;
    const int height = (window.bottom - window.top) + FNativeFrame.bottom - FBorderTop - FBorderBottom -
                       FMenuHeight + menuBand;
    // The frame sizes are gone once the window answers WM_NCCALCSIZE natively again.
    SetWindowPos(FHandle, nullptr, window.left, window.top, width, height,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
}

// What both detachments of a skinned frame do first; false when nothing was attached.
bool TWinSkinForm::DetachFrame() {
    FSysPopup.reset();
    SetHoverTimer(false);
    if (!Attached())
        return false;
    if (FForm && FOldWindowProc)
        FForm->WindowProc = std::exchange(FOldWindowProc, TWndMethod());
    FWindowHook.Remove();
    ClearControls();
    UnhookMenus();
    return true;
}

void TWinSkinForm::DetachRestore() {
    if (!FSkinFrame) {
        DetachControls();
        return;
    }
    if (!DetachFrame())
        return;
    if (FSkinFailed) {
        // The native look is back already.
        FMenuBar.reset();
        UnhookMDIClient();
        return;
    }
    RestoreFormLook();
    SetSysMenuStyle(true);
    SetCaption(true);
    if (FMenuBar) {
        FMenuBar->RestoreNativeMenu();
        FMenuBar.reset();
    }
    UnhookMDIClient();
    RestoreNativeSize();
    if (IsWindow(FHandle))
        SetWindowRgn(FHandle, nullptr, TRUE);
    FRegion.Reset();
    FHasRegion = false;
    FRegionWidth = FRegionHeight = 0;
}

void TWinSkinForm::DetachQuiet() {
    if (!FSkinFrame) {
        DetachControls();
    } else {
        DetachFrame();
        FMenuBar.reset();
    }
}

void TWinSkinForm::DetachControls() {
    SetHoverTimer(false);
    ClearControls();
    UnhookMenus();
    RestoreFormLook();
    if (FForm && FOldWindowProc)
        FForm->WindowProc = std::exchange(FOldWindowProc, TWndMethod());
    FWindowHook.Remove();
    UnhookMDIClient();
    if (FForm && FSkinState != ssDetaching)
        for (int i = 0; i < FForm->ComponentCount(); ++i)
            if (auto* control = dynamic_cast<TControl*>(FForm->Components(i)))
                control->Invalidate();
}
