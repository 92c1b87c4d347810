// Opening the bar's submenus and moving between them: TrackPopupMenu for one button at a time,
// and the message-filter hook that watches the menu loop for the arrow keys and the mouse.
//
// Moving to a neighbour ends the open popup (EndMenu) and opens the neighbour's once
// TrackPopupMenu has returned, so that there is never more than one menu loop.
#include "WinSkinMenu.h"

#include "WinSkinMenuLayout.h"

namespace {

// The item last reported by WM_MENUSELECT.
struct TTrackedItem {
    bool Valid = false;
    HMENU Menu = nullptr;    // the menu it lies in
    HMENU SubMenu = nullptr; // its own popup, when it has one
};

struct TTrackState {
    THookHandle Hook;
    TWinSkinMenu* Bar = nullptr; // owner of the open menu; cleared when it is freed meanwhile
    int Index = -1;
    TTrackedItem Item;
    bool FirstKeySent = false;
    bool SwitchPending = false;
    int SwitchTo = -1;
    POINT LastCursor{};
};

TTrackState& State() {
    static TTrackState state;
    return state;
}

// A button the user can move to while a menu is open: one that opens a submenu. Items that
// only run a command are not opened by passing over them.
bool CanOpen(const TMenuBtn* button) {
    return button && button->FVisible && button->FEnabled && button->FSubMenu && !button->FCaption.empty();
}

// The next button that can open, wrapping; -1 when no other one can.
int Neighbour(const TWinSkinMenu& bar, int from, bool forward) {
    int index = from;
    for (int step = 0; step < bar.Count(); ++step) {
        index = NeighbourMenuIndex(index, bar.Count(), forward);
        if (index == from)
            return -1;
        if (CanOpen(bar.Button(index)))
            return index;
    }
    return -1;
}

bool AtTopLevel(const TTrackState& state, HMENU popped) {
    return !state.Item.Valid || state.Item.Menu == popped || state.Item.SubMenu == popped;
}

LRESULT CALLBACK MenuFilter(int code, WPARAM wParam, LPARAM lParam) {
    TTrackState& state = State();
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == MSGF_MENU && msg && state.Bar && state.Bar->RightToLeft() &&
        (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP)) {
        if (msg->wParam == VK_LEFT)
            msg->wParam = VK_RIGHT;
        else if (msg->wParam == VK_RIGHT)
            msg->wParam = VK_LEFT;
    }
    const LRESULT result = CallNextHookEx(state.Hook.Get(), code, wParam, lParam);
    if (result != 0 || code != MSGF_MENU || !msg || !state.Bar)
        return result;
    TWinSkinMenu& bar = *state.Bar;
    if (!state.FirstKeySent) {
        // Opened like a native menu bar's menu: its first item selected.
        state.FirstKeySent = true;
        PostMessageA(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
    }
    int target = -1;
    switch (msg->message) {
    case WM_KEYDOWN:
        switch (msg->wParam) {
        case VK_RETURN:
        case VK_ESCAPE:
            state.SwitchPending = false;
            break;
        case VK_LEFT:
            if (AtTopLevel(state, bar.Form().PoppedMenu()))
                target = Neighbour(bar, state.Index, false);
            break;
        case VK_RIGHT:
            // An item with sub-items opens them instead.
            if (!(state.Item.Valid && state.Item.SubMenu))
                target = Neighbour(bar, state.Index, true);
            break;
        default:
            break;
        }
        break;
    case WM_SYSKEYDOWN:
        if (msg->wParam == VK_MENU)
            bar.Form().SetMenuTracking(false);
        return result;
    case WM_MOUSEMOVE:
        if (msg->pt.x != state.LastCursor.x || msg->pt.y != state.LastCursor.y) {
            state.LastCursor = msg->pt;
            const TMenuBtn* button = bar.MenuButtonAt(bar.Form().ScreenToWindow(msg->pt.x, msg->pt.y));
            if (CanOpen(button))
                target = button->FIndex;
        }
        break;
    default:
        break;
    }
    if (target >= 0 && target != state.Index) {
        state.SwitchPending = true;
        state.SwitchTo = target;
        EndMenu();
    }
    return result;
}

// The tracking state of one TrackPopupMenu: the hook is installed for its lifetime and
// removed on every way out.
class TTrackScope {
public:
    TTrackScope(TWinSkinMenu& bar, int index) {
        TTrackState& state = State();
        state.Bar = &bar;
        state.Index = index;
        state.Item = {};
        state.FirstKeySent = false;
        state.SwitchPending = false;
        state.SwitchTo = -1;
        GetCursorPos(&state.LastCursor);
        if (!state.Hook)
            state.Hook.Reset(SetWindowsHookExA(WH_MSGFILTER, MenuFilter, nullptr, GetCurrentThreadId()));
    }
    TTrackScope(const TTrackScope&) = delete;
    TTrackScope& operator=(const TTrackScope&) = delete;
    ~TTrackScope() {
        TTrackState& state = State();
        state.Hook.Reset();
        state.Item = {};
        state.Index = -1;
        state.FirstKeySent = false;
        state.Bar = nullptr;
    }
};

constexpr int Abandoned = -2;

bool OldNT4() {
    return SkinIsNT() && LOBYTE(LOWORD(SkinFormWatcher().WinVersion())) == 4;
}

} // namespace

namespace skinmenutrack {

bool Tracking(const TWinSkinMenu* bar) {
    return bar && State().Bar == bar;
}

void MenuSelect(WPARAM wParam, LPARAM lParam) {
    TTrackState& state = State();
    if (!state.Bar)
        return;
    const UINT flags = HIWORD(wParam);
    const auto menu = reinterpret_cast<HMENU>(lParam);
    if (flags == 0xFFFF && !menu) {
        // The menu closes; a switch to a neighbour keeps the bar in tracking.
        if (!state.SwitchPending)
            state.Bar->Form().SetMenuTracking(false);
        return;
    }
    state.Item.Valid = true;
    state.Item.Menu = menu;
    state.Item.SubMenu = (flags & MF_POPUP) ? GetSubMenu(menu, LOWORD(wParam)) : nullptr;
}

} // namespace skinmenutrack

void TWinSkinMenu::AbandonTracking() {
    TTrackState& state = State();
    if (state.Bar != this)
        return;
    // The window goes while its menu is open: the menu loop ends, and OpenMenu must not come
    // back to this object.
    state.Bar = nullptr;
    EndMenu();
    FForm.SetMenuTracking(false);
    RestoreOwnerDraw();
}

void TWinSkinMenu::SwitchOwnerDraw(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
            continue;
        if (info.hSubMenu) {
            SwitchOwnerDraw(info.hSubMenu);
            continue; // the popup's own entry keeps the system's drawing and its arrow
        }
        // Control command ids are left to the default, which draws nothing for owner-drawn ones.
        if ((info.fType & MFT_OWNERDRAW) || IsControlCommand(info.wID))
            continue;
        MENUITEMINFOW set{};
        set.cbSize = sizeof set;
        set.fMask = MIIM_FTYPE; // the text stays: the item painter reads it back
        set.fType = info.fType | MFT_OWNERDRAW;
        if (SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &set))
            FOwnerDrawn.push_back(TOwnerDrawn{menu, static_cast<UINT>(i)});
    }
}

void TWinSkinMenu::RestoreOwnerDraw() {
    for (const TOwnerDrawn& entry : FOwnerDrawn) {
        if (!IsMenu(entry.Menu))
            continue;
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        if (!GetMenuItemInfoW(entry.Menu, entry.Position, TRUE, &info))
            continue;
        info.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
        SetMenuItemInfoW(entry.Menu, entry.Position, TRUE, &info);
    }
    FOwnerDrawn.clear();
}

bool TWinSkinMenu::OpenMenu(TMenuBtn* button) {
    State().SwitchPending = false;
    // One menu-bar popup at a time; a disabled item opens nothing and runs nothing.
    if (!button || State().Bar || !button->FEnabled)
        return false;
    int index = button->FIndex;
    bool opened = false;
    while (index >= 0) {
        const int next = TrackOnce(index, opened);
        if (next == Abandoned)
            return true;
        index = next;
    }
    return opened;
}

int TWinSkinMenu::TrackOnce(int index, bool& opened) {
    TMenuBtn* button = Button(index);
    if (!button || !button->FEnabled)
        return -1;
    HWND wnd = FForm.Handle();
    // The framework runs the item's click handler (which may update its sub-items); a native
    // popup entry's id is no command and is not sent.
    if (button->FItem || !button->FSubMenu)
        PostMessageA(wnd, WM_COMMAND, static_cast<WPARAM>(static_cast<WORD>(button->FCommand)), 0);
    if (!button->FSubMenu)
        return -1;
    opened = true;
    if (RectWidth(button->FBounds) <= 0)
        LayoutBar(); // opened before the bar was ever painted
    HMENU popup = button->FSubMenu;
    GetWindowRect(wnd, &FForm.FWindowRect);
    if (!OldNT4() && FSkinData->SkinControls().Contains(xcMenuItem))
        SwitchOwnerDraw(popup);
    FForm.SetMenuTracking(true);
    const bool rightToLeft = RightToLeft();
    const int x = FForm.FWindowRect.left + (rightToLeft ? button->FBounds.right : button->FBounds.left);
    const int y = FForm.FWindowRect.top + button->FBounds.bottom;
    SkinFormWatcher().SetMenuKind(mkMenuBar);
    FForm.FPoppedMenu = popup;
    if (button->FState != TNCObject::stPressed)
        button->MouseDown();
    int next = -1;
    {
        TTrackScope scope(*this, index);
        UINT flags = TPM_NONOTIFY | TPM_RIGHTBUTTON;
        if (rightToLeft)
            flags |= TPM_RIGHTALIGN;
        TrackPopupMenu(popup, flags, x, y, 0, wnd, nullptr);
        if (State().Bar != this)
            return Abandoned;
        if (State().SwitchPending)
            next = State().SwitchTo;
    }
    RestoreOwnerDraw();
    FForm.SetMenuTracking(false);
    State().SwitchPending = false;
    // The buttons may have been read again while the menu was open.
    if (TMenuBtn* again = Button(index)) {
        if (FForm.HotObject() == again)
            FForm.SetHotObject(nullptr);
        again->FState = TNCObject::stNormal;
        if (again->FVisible)
            again->Paint();
    }
    return next;
}

void TWinSkinMenu::OpenMenuByClick(TMenuBtn* button) {
    if (!button)
        return;
    HWND wnd = FForm.Handle();
    GetWindowRect(wnd, &FForm.FWindowRect);
    const int x = button->FBounds.left + FForm.FWindowRect.left + 1;
    const int y = button->FBounds.top + FForm.FWindowRect.top + 1;
    PostMessageA(wnd, WM_NCLBUTTONDOWN, HTCLIENT, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}
