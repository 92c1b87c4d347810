// The window procedures: the skinned window's own (two stages: every window, then the skinned
// frame), the framework form's WindowProc hook and the MDI client's.
#include "WinSkinForm.h"

#include "Forms.h"
#include "WinSkinMenu.h"

namespace {

constexpr UINT WM_THEME_CAPTION_REDRAW = 0x00AE; // themed caption repaint: the skin draws it
constexpr UINT CM_MENU_CHANGED = CM_MENUCHANGED;

} // namespace

void TWinSkinForm::Default(TMessage& message) {
    FWindowHook.CallPrevious(message);
}

void TWinSkinForm::WndProc(TMessage& message) {
    // What a handler throws reaches the subclass, which falls back to the native look.
    if (FSkinFailed) {
        FailedWndProc(message);
        return;
    }
    if (FSkinState == ssAttached && message.Msg == WM_NCPAINT) {
        message.Result = 0;
        return;
    }
    if (FirstStage(message))
        return;
    if (!FSkinFrame || (FIsChild && FMDIKind != mdChild)) {
        Default(message);
        return;
    }
    if (GroupA(message))
        return;
    if (!(FMDIKind == mdChild && FWinState == wsMaximized) && FSkinState != ssAttached && GroupB(message))
        return;
    Default(message);
}

// Messages every attached window handles; true when the message is done.
bool TWinSkinForm::FirstStage(TMessage& message) {
    switch (message.Msg) {
    case WM_ERASEBKGND:
        Default(message);
        if (!FForm && FSkinData) {
            RECT client{};
            GetClientRect(FHandle, &client);
            FillRect(reinterpret_cast<HDC>(message.WParam), &client,
                     FSkinData->Elements().ButtonFaceBrush.Get());
            message.Result = 1;
        }
        return true;
    case WM_NCDESTROY:
        FSkinState = ssDetaching;
        DetachQuiet();
        Default(message);
        FSkinState = ssDestroyed;
        return true;
    case WM_NCACTIVATE:
        if (FSkinState == ssAttached && FMDIKind != mdChild) {
            message.Result = 0;
            return true;
        }
        return false;
    case WM_THEME_CAPTION_REDRAW:
        message.Result = 0;
        return true;
    case WM_INITMENUPOPUP:
        SkinFormWatcher().SetMenuKind(reinterpret_cast<HMENU>(message.WParam) == FSysMenu ? mkSystemMenu
                                                                                          : mkMenuBar);
        Default(message);
        return true;
    case WM_CTLCOLORBTN:
        Default(message);
        if (!FForm)
            SetBkMode(reinterpret_cast<HDC>(message.WParam), TRANSPARENT);
        return true;
    case WM_CTLCOLORSTATIC:
        Default(message);
        if (!FForm && FSkinData) {
            SetBkMode(reinterpret_cast<HDC>(message.WParam), TRANSPARENT);
            message.Result = reinterpret_cast<LRESULT>(FSkinData->Elements().ButtonFaceBrush.Get());
        }
        return true;
    case WMS_SKINSTART:
        StartSkin();
        return true;
    case WMS_RESKINSCROLL:
        ReskinScroll(reinterpret_cast<HWND>(message.WParam));
        return true;
    case WMS_ISSKINNED:
        message.Result = 1;
        return true;
    default:
        return false;
    }
}

// Skinned frame, any state.
bool TWinSkinForm::GroupA(TMessage& message) {
    switch (message.Msg) {
    case WM_SIZE:
        SizeHandler(message);
        return true;
    case WM_GETMINMAXINFO:
        MinMaxInfo(message);
        return true;
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
        FActive = LOBYTE(message.WParam) != 0;
        return false;
    case WM_WINDOWPOSCHANGED:
        ReadWinState();
        Default(message);
        return true;
    case WM_SETTEXT:
        // The default draws a native caption over the skinned one; framework forms repaint
        // through their hook, other windows here.
        Default(message);
        if (!FForm && FSkinState == ssActive)
            PaintFrame();
        return true;
    case WM_COMMAND:
        CommandRouting(message);
        return true;
    case WM_SYSCOMMAND:
        SysCommand(message);
        return true;
    case WMS_OPENMENUAT:
        OpenMenuAt(message);
        return true;
    case WM_CONTEXTMENU:
        ContextMenu(message);
        return true;
    case WM_MENUSELECT:
        if (skinmenutrack::Tracking(FMenuBar.get()))
            skinmenutrack::MenuSelect(message.WParam, message.LParam);
        return false;
    case CM_MENU_CHANGED:
        MenuChanged(message);
        return true;
    default:
        return false;
    }
}

// Skinned frame once started.
bool TWinSkinForm::GroupB(TMessage& message) {
    switch (message.Msg) {
    case WM_NCACTIVATE:
        NcActivate(message);
        return true;
    case WM_NCCALCSIZE:
        CalcClient(message);
        return true;
    case WM_NCPAINT:
        NcPaint(message);
        return true;
    case WM_NCHITTEST:
        HitTest(message);
        return true;
    case WM_NCMOUSEMOVE:
        NcMouseMove(message);
        return true;
    case WM_NCLBUTTONDOWN:
        NcLButtonDown(message);
        return true;
    case WM_NCLBUTTONUP:
        NcLButtonUp(message);
        return true;
    case WM_NCLBUTTONDBLCLK:
        NcLButtonDblClk(message);
        return true;
    case WM_NCRBUTTONDOWN:
        NcRButtonDown(message);
        return true;
    case WM_NCRBUTTONUP:
        // The press opened the system menu already; the default would ask for it once more.
        if (message.WParam == HTCAPTION && FMDIKind != mdChild) {
            message.Result = 0;
            return true;
        }
        return false;
    case WMS_REPAINTFRAME:
        PaintFrame();
        return true;
    case WM_MEASUREITEM:
        if (FMenuHandle && FMenuItems &&
            FMenuItems->MeasureNative(FForm, FPoppedMenu,
                                      *reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam))) {
            message.Result = TRUE;
            return true;
        }
        return false;
    case WM_DRAWITEM:
        if (FMenuHandle && FMenuItems &&
            FMenuItems->DrawNativeMessage(FForm, *reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam))) {
            message.Result = TRUE;
            return true;
        }
        return false;
    default:
        return false;
    }
}

void TWinSkinForm::ReadWinState() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(FHandle, &placement))
        return;
    if (placement.showCmd == SW_SHOWMINIMIZED || placement.showCmd == SW_MINIMIZE ||
        placement.showCmd == SW_SHOWMINNOACTIVE)
        FWinState = wsMinimized;
    else if (placement.showCmd == SW_SHOWMAXIMIZED)
        FWinState = wsMaximized;
    else
        FWinState = wsNormal;
}

void TWinSkinForm::SizeHandler(TMessage& message) {
    Default(message);
    switch (message.WParam) {
    case SIZE_MINIMIZED:
        FWinState = wsMinimized;
        return;
    case SIZE_MAXIMIZED:
        FWinState = wsMaximized;
        break;
    case SIZE_RESTORED:
        FWinState = wsNormal;
        break;
    default:
        break;
    }
    if (FMDIKind == mdChild && (SkinFormWatcher().MDIButtons() || FWinState != wsNormal))
        return;
    if (FSkinState == ssActive || FSkinState == ssRefreshing)
        BuildRegion();
}

void TWinSkinForm::MinMaxInfo(TMessage& message) {
    Default(message);
    ReadWinState();
    const bool captionBack = FWinState == wsMinimized || (FMDIKind == mdChild && FWinState == wsMaximized);
    SetCaption(captionBack);
}

void TWinSkinForm::MenuChanged(TMessage& message) {
    // The framework rebuilds its menu here, which makes the default paint a native frame.
    const bool painting = FSkinData && FSkinData->FramePainting();
    if (FSkinData)
        FSkinData->SetFramePainting(false);
    Default(message);
    if (FSkinData)
        FSkinData->SetFramePainting(painting);
    const bool attached = GetMenu(FHandle) != nullptr;
    if (FMenuBar && (attached || FMenuBar->NativeMenu())) {
        if (FSkinData && FSkinData->MenuUpdate()) {
            FMenuBar->ReadMenu();
            PaintFrame();
        }
    }
    // Without a bar the native menu stays: nothing else would show it.
    if (FMenuBar && GetMenu(FHandle))
        ::SetMenu(FHandle, nullptr);
}

void TWinSkinForm::ReadMenuBar() {
    if (!FMenuBar || !GetMenu(FHandle))
        return;
    FMenuBar->ReadMenu();
    PaintFrame();
}

void TWinSkinForm::OpenMenuAt(TMessage& message) {
    message.Result = 0;
    const POINT screen{static_cast<short>(LOWORD(message.LParam)),
                       static_cast<short>(HIWORD(message.LParam))};
    if (auto* button = dynamic_cast<TMenuBtn*>(ButtonAt(ScreenToWindow(screen.x, screen.y)));
        button && FMenuBar)
        FMenuBar->OpenMenu(button);
}

void TWinSkinForm::DialogChar(TMessage& message) {
    const bool altOnly =
        GetKeyState(VK_MENU) < 0 && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0;
    if (FMenuBar && altOnly)
        if (TMenuBtn* button = FMenuBar->FindAccel(static_cast<wchar_t>(message.WParam))) {
            FMenuBar->OpenMenuByClick(button);
            message.Result = 1;
            return;
        }
    if (FMDIKind == mdChild) {
        // The frame's bar answers its children's accelerators.
        if (HWND client = GetParent(FHandle))
            if (HWND frame = GetParent(client))
                message.Result = SendMessageA(frame, CM_DIALOGCHAR, message.WParam, message.LParam);
        return;
    }
    // Other forms share the main form's bar, unless the main form is disabled (a modal form
    // is in front of it).
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (main && main != FForm && main->HandleAllocated() && IsWindowEnabled(main->Handle()))
        main->Perform(CM_DIALOGCHAR, message.WParam, message.LParam);
    message.Result = 0;
}

// ---- framework form hook -------------------------------------------------------------------

void TWinSkinForm::FormWindowProc(TMessage& message) {
    // The framework would report what the painter throws in its error box: the painter's own
    // steps are guarded here, the form's own handling is not.
    if (FSkinFailed) {
        if (FOldWindowProc)
            FOldWindowProc(message);
        return;
    }
    switch (message.Msg) {
    case WM_SETTEXT:
        FormSetText(message);
        return;
    case WMS_SKINCHANGED:
        Guarded([this] { RefreshSkin(); });
        return;
    case WMS_PAINTFRAMETO:
        if (message.LParam == SKIN_MAGIC && message.WParam) {
            Guarded([&] { PaintFrame(reinterpret_cast<HDC>(message.WParam)); });
            message.Result = SKIN_MAGIC;
            return;
        }
        break;
    case WMS_PING:
        message.Result = message.LParam == SKIN_MAGIC ? SKIN_MAGIC : 1;
        return;
    case CM_DIALOGCHAR:
        if (FOldWindowProc)
            FOldWindowProc(message);
        if (message.Result == 0)
            Guarded([&] { DialogChar(message); });
        return;
    case CM_MENU_CHANGED:
        // A menu put on the window by the framework directly (the form's Menu changed).
        if (FOldWindowProc)
            FOldWindowProc(message);
        Guarded([this] { ReadMenuBar(); });
        return;
    default:
        break;
    }
    if (FOldWindowProc)
        FOldWindowProc(message);
}

void TWinSkinForm::FormSetText(TMessage& message) {
    if (!IsWindowVisible(FHandle)) {
        FOldWindowProc(message);
        return;
    }
    if (FUnicode || FMDIKind == mdChild)
        FOldWindowProc(message);
    else {
        // Setting the text makes the default draw a native caption; hold drawing meanwhile.
        SendMessageA(FHandle, WM_SETREDRAW, FALSE, 0);
        FOldWindowProc(message);
        SendMessageA(FHandle, WM_SETREDRAW, TRUE, 0);
    }
    Guarded([this] { RefreshTitle(); });
}

// After a failure: everything is handled natively; the window still counts as skinned (so that
// it is not taken over again) and is let go when it is destroyed.
void TWinSkinForm::FailedWndProc(TMessage& message) {
    switch (message.Msg) {
    case WMS_ISSKINNED:
        message.Result = 1;
        return;
    case WM_NCDESTROY:
        FSkinState = ssDetaching;
        DetachQuiet();
        Default(message);
        FSkinState = ssDestroyed;
        return;
    default:
        Default(message);
    }
}

// ---- MDI client hook -----------------------------------------------------------------------

void TWinSkinForm::ClientWndProc(TMessage& message) {
    auto pass = [&] { FClientHook.CallPrevious(message); };
    switch (message.Msg) {
    case WM_NCDESTROY:
        pass();
        UnhookMDIClient();
        return;
    case WM_NCCALCSIZE:
        if (FSkinFrame && FSkinData && !FSkinData->Options().Contains(xoMDIScrollbar)) {
            const LONG_PTR style = GetWindowLongPtrA(FClientWnd, GWL_STYLE);
            SetWindowLongPtrA(FClientWnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VSCROLL | WS_HSCROLL));
        }
        pass();
        return;
    case WM_MDICREATE:
        if (FSkinData)
            FSkinData->SetMenuUpdate(false);
        pass();
        return;
    case WM_MDIDESTROY: {
        pass();
        if (!FSkinFrame)
            return;
        BOOL maximized = FALSE;
        const HWND active = reinterpret_cast<HWND>(
            FClientHook.CallPrevious(WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
        SkinFormWatcher().SetMDIButtons(active && maximized);
        if (!active && FSkinData)
            FSkinData->SetMenuUpdate(FSavedMenuUpdate);
        if (!active && FMenuBar)
            Guarded([this] { FMenuBar->ReadMenu(); });
        return;
    }
    case WM_MDISETMENU:
        pass();
        if (FSkinFrame && message.WParam && FMenuBar)
            Guarded([this] { FMenuBar->ReadMDIMenu(); });
        if (FSkinFrame && GetMenu(FHandle) && FMenuBar)
            ::SetMenu(FHandle, nullptr);
        return;
    case WM_MDITILE:
    case WM_MDICASCADE:
        if (FSkinFrame && SkinFormWatcher().MDIButtons())
            SkinFormWatcher().SetMDIButtons(false);
        pass();
        return;
    case WMS_REDRAWALL:
        RedrawWindow(FHandle, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        return;
    default:
        pass();
    }
}
