// The window's system menu as an owner-drawn popup (built from the native system menu, or a
// fixed list on old NT), the window state commands, and the command and system-command
// bookkeeping that keeps the recorded window state in step.
#include "WinSkinForm.h"

#include "WinSkinMenu.h"

#include <string>

namespace {

constexpr int SystemPopupTag = 33333;

// Images of the skin's menu glyphs.
constexpr int giRestore = 0;
constexpr int giMaximize = 1;
constexpr int giMinimize = 2;
constexpr int giClose = 3;

// Tags of the fixed list.
constexpr int ftRestore = 0;
constexpr int ftMaximize = 1;
constexpr int ftMinimize = 2;
constexpr int ftClose = 3;
constexpr int ftLine = 100;

bool OldNT() {
    return SkinIsNT() && LOBYTE(LOWORD(SkinFormWatcher().WinVersion())) < 5;
}

} // namespace

// ---- window state commands -----------------------------------------------------------------

void TWinSkinForm::RestoreWindow() {
    FWinState = wsNormal;
    PostMessageA(FHandle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::ToggleMaximize() {
    if (FWinState == wsMaximized) {
        RestoreWindow();
        return;
    }
    if (FMDIKind == mdChild)
        SkinFormWatcher().SetMDIButtons(true);
    FWinState = wsMaximized;
    PostMessageA(FHandle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    FHotObject = nullptr;
}

void TWinSkinForm::ToggleMinimize() {
    if (FWinState == wsMinimized) {
        RestoreWindow();
        return;
    }
    FWinState = wsMinimized;
    SetSysMenuStyle(true);
    PostMessageA(FHandle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::MDIChildCommand(UINT command) {
    if (FMDIKind != mdFrame || !FClientWnd)
        return;
    if (HWND child = reinterpret_cast<HWND>(SendMessageA(FClientWnd, WM_MDIGETACTIVE, 0, 0)))
        SendMessageA(child, WM_SYSCOMMAND, command, 0);
}

// ---- the popup -----------------------------------------------------------------------------

void TWinSkinForm::ShowSystemMenu(POINT screenPoint) {
    const DWORD now = GetTickCount();
    const DWORD elapsed = now - FLastPopupTick;
    if (elapsed > FDblClickTime) {
        SkinFormWatcher().SetMenuKind(mkSystemMenu);
        FLastPopupTick = now;
        BuildSystemPopup();
        FSysPopup->Popup(screenPoint.x, screenPoint.y);
        return;
    }
    // The second click of a double click on the icon closes the window.
    if (FHotObject) {
        SetHoverTimer(false);
        PostMessageA(FHandle, WM_CLOSE, 0, 0);
    }
}

void TWinSkinForm::BuildSystemPopup() {
    FSysPopup.reset(new TPopupMenu(nullptr));
    FSysPopup->SetTag(SystemPopupTag);
    FSysPopup->SetOwnerDraw(true);
    if (FSkinData)
        FSysPopup->SetImages(&FSkinData->MenuGlyphs());
    if (OldNT() || !FSysMenu)
        AddFixedSystemItems();
    else
        CopyNativeSystemItems();
}

void TWinSkinForm::AddFixedSystemItems() {
    struct Entry {
        const char* Caption;
        int Tag;
        bool Shown;
    };
    const Entry entries[] = {
        {" Restore ", ftRestore, true},
        {" Maximize ", ftMaximize, CanMaximize()},
        {" Minimize ", ftMinimize, CanMinimize()},
        {"-", ftLine, true},
        {" Close ", ftClose, true},
    };
    for (const Entry& entry : entries) {
        if (!entry.Shown)
            continue;
        auto* item = new TMenuItem(FSysPopup.get());
        item->SetCaption(entry.Caption);
        item->SetTag(entry.Tag);
        if (entry.Tag != ftLine)
            item->SetImageIndex(entry.Tag);
        if (entry.Tag == ftClose)
            item->SetShortCut(scAlt | VK_F4);
        item->OnClick = TNotifyEvent(this, &TWinSkinForm::FixedItemClick);
        FSysPopup->Items()->Add(item);
        if (FMenuItems)
            FMenuItems->HookPopupItem(item);
    }
}

void TWinSkinForm::CopyNativeSystemItems() {
    const int count = GetMenuItemCount(FSysMenu);
    for (int i = 0; i < count; ++i) {
        char text[81] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING | MIIM_ID | MIIM_STATE;
        info.dwTypeData = text;
        info.cch = sizeof text - 1;
        if (!GetMenuItemInfoA(FSysMenu, static_cast<UINT>(i), TRUE, &info))
            continue;
        auto* item = new TMenuItem(FSysPopup.get());
        item->SetCaption(text[0] ? std::string(text) : std::string("-"));
        item->SetTag(static_cast<int>(info.wID));
        bool enabled = true;
        switch (info.wID) {
        case SC_SIZE:
        case SC_MOVE:
            enabled = FWinState != wsMaximized;
            break;
        case SC_MINIMIZE:
            item->SetImageIndex(giMinimize);
            enabled = FWinState != wsMinimized && CanMinimize();
            break;
        case SC_MAXIMIZE:
            item->SetImageIndex(giMaximize);
            enabled = FWinState != wsMaximized && CanMaximize();
            break;
        case SC_CLOSE:
            item->SetImageIndex(giClose);
            break;
        case SC_RESTORE:
            item->SetImageIndex(giRestore);
            enabled = FWinState != wsNormal;
            break;
        default:
            break;
        }
        // Greyed whatever else the state holds (a greyed Close is also the default item).
        if (info.fState & (MFS_DISABLED | MFS_GRAYED))
            enabled = false;
        item->SetEnabled(enabled);
        item->SetChecked((info.fState & MFS_CHECKED) != 0);
        item->OnClick = TNotifyEvent(this, &TWinSkinForm::SystemItemClick);
        FSysPopup->Items()->Add(item);
        if (FMenuItems)
            FMenuItems->HookPopupItem(item);
    }
}

void TWinSkinForm::SystemItemClick(TObject* sender) {
    if (auto* item = dynamic_cast<TMenuItem*>(sender))
        PostMessageA(FHandle, WM_SYSCOMMAND, static_cast<WPARAM>(item->Tag()), 0);
}

void TWinSkinForm::FixedItemClick(TObject* sender) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item)
        return;
    switch (item->Tag()) {
    case ftRestore:
        RestoreWindow();
        break;
    case ftMaximize:
        ToggleMaximize();
        break;
    case ftMinimize:
        ToggleMinimize();
        break;
    case ftClose:
        SetHoverTimer(false);
        PostMessageA(FHandle, WM_CLOSE, 0, 0);
        break;
    default:
        break;
    }
}

// ---- commands ------------------------------------------------------------------------------

void TWinSkinForm::CommandRouting(TMessage& message) {
    switch (LOWORD(message.WParam)) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE:
        // The owner-drawn system menu reports its choices as commands.
        PostMessageA(FHandle, WM_SYSCOMMAND, LOWORD(message.WParam), 0);
        message.Result = 0;
        return;
    default:
        Default(message);
    }
}

void TWinSkinForm::SysCommand(TMessage& message) {
    const UINT command = static_cast<UINT>(message.WParam & 0xFFF0);
    const LPARAM key = message.LParam;
    if (!FMenuTracking && command == SC_KEYMENU && FMenuBar && key != VK_SPACE && key != '-' &&
        !GetCapture()) {
        // F10 or Alt alone opens the first menu, Alt+letter the one with that accelerator.
        TMenuBtn* button = key == 0 ? FMenuBar->Button(0) : FMenuBar->FindAccel(static_cast<wchar_t>(key));
        if (key == 0 || button) {
            FMenuBar->OpenMenu(button);
            message.Result = 1;
            return;
        }
    }
    if (!FMenuTracking && command == SC_KEYMENU && message.LParam == VK_SPACE) {
        POINT origin{0, 0};
        ClientToScreen(FHandle, &origin);
        ShowSystemMenu(origin);
        message.Result = 0;
        return;
    }
    switch (command) {
    case SC_MINIMIZE:
        FWinState = wsMinimized;
        if (FMDIKind == mdChild)
            SetCaption(true);
        break;
    case SC_MAXIMIZE:
        FWinState = wsMaximized;
        break;
    case SC_RESTORE:
        FWinState = wsNormal;
        if (FMDIKind == mdChild) {
            SetCaption(false);
            if (SkinFormWatcher().MDIButtons())
                SkinFormWatcher().SetMDIButtons(false);
        }
        break;
    default:
        break;
    }
    Default(message);
}
