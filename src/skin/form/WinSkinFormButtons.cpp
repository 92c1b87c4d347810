// Caption buttons: one per title-button element of the skin, shown by the element's two
// visibility conditions and its action, placed by its alignment, drawn into the title bar and
// highlighted under the mouse; and the non-client mouse messages that drive them.
#include "WinSkinForm.h"

#include "SkinDraw.h"
#include "SkinFormFault.h"
#include "WinSkinMenu.h"

namespace {

bool DrawsIcon(int action) {
    return action == baSystemMenu || action == baIcon;
}

int FramesOf(const TDataSkinSysButton& element) {
    return element.Frame > 0 ? element.Frame : 1;
}

POINT PointOf(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

} // namespace

// ---- non-client objects -------------------------------------------------------------------

void TNCObject::MouseDown() {
    if (FOwner.HotObject() && FOwner.HotObject() != this)
        FOwner.HotObject()->MouseLeave();
    if (!FVisible)
        return;
    FOwner.SetHotObject(this);
    FState = stPressed;
    Paint();
}

void TNCObject::MouseUp() {
    if (!FVisible)
        return;
    FState = stHot;
    Paint();
}

void TNCObject::MouseEnter() {
    if (FOwner.HotObject() == this)
        return;
    if (FOwner.HotObject())
        FOwner.HotObject()->MouseLeave();
    if (!FVisible)
        return;
    FOwner.SetHotObject(this);
    FState = stHot;
    Paint();
}

void TNCObject::MouseLeave() {
    if (!FVisible)
        return;
    FOwner.SetHotObject(nullptr);
    FState = stNormal;
    Paint();
}

void TWinSysButton::Paint() {
    // While a skin loads the element may be on its way out.
    if (!FOwner.SkinReady() || FOwner.FSkinFailed)
        return;
    SkinFormStep(TSkinFormStep::ButtonPaint);
    TWindowDC dc(FOwner.Handle(), true);
    if (!dc.Get())
        return;
    if (DrawsIcon(FElement.Action)) {
        FOwner.DrawIcon(dc.Get(), FBounds);
        return;
    }
    const int frame = (FElement.Visibility == 100 && FState == stHot) ? 4 : FState;
    DrawSkinFrame(dc.Get(), FBounds, FElement.Bitmap, true, FramesOf(FElement), frame);
}

// ---- the buttons of a window --------------------------------------------------------------

void TWinSkinForm::FreeSysButtons() {
    for (const auto& button : FSysButtons)
        if (FHotObject == button.get())
            FHotObject = nullptr;
    FSysButtons.clear();
    FSysButtonCount = 0;
}

void TWinSkinForm::CreateButtons() {
    FreeSysButtons();
    FButtonsReleased = false;
    if (!SkinReady())
        return;
    for (const auto& element : FSkinData->Elements().SysButtons) {
        if (DrawsIcon(element->Action)) {
            CaptureIcon();
            if (element->Bitmap.Empty())
                element->Bitmap.Assign(&FIconBitmap);
            if (FSkinData->AppIcon().Empty())
                FSkinData->AppIcon().Assign(&FIconBitmap);
            element->Frame = 1;
        }
        FSysButtons.push_back(std::make_unique<TWinSysButton>(*this, *element));
    }
    FSysButtonCount = static_cast<int>(FSysButtons.size());
}

// The conditions both visibility values share: 0 always, 1 maximized, 2 not maximized,
// 3 active, 4 inactive, 6 can maximize, 7 cannot, 8 can minimize, 9 cannot; 5 and anything
// else never. The first value also asks for a system menu with 6 and 8.
bool TWinSkinForm::StateVisibility(int value, bool needsSysMenu) const {
    const bool maximized = FWinState == wsMaximized;
    const bool sysMenu = !needsSysMenu || HasSysMenu();
    switch (value) {
    case 0:
        return true;
    case 1:
        return maximized;
    case 2:
        return !maximized;
    case 3:
        return FActive;
    case 4:
        return !FActive;
    case 6:
        return CanMaximize() && sysMenu;
    case 7:
        return !CanMaximize();
    case 8:
        return CanMinimize() && sysMenu;
    case 9:
        return !CanMinimize();
    default:
        return false;
    }
}

bool TWinSkinForm::FirstVisibility(int value, const TDataSkinSysButton& element) {
    if (value >= 201 && value <= 999)
        return true;
    if (value >= 1000 && value <= 2000)
        return SendMessageA(FHandle, WMS_BUTTONVISIBLE, static_cast<WPARAM>(value), element.Action) > 0;
    switch (value) {
    case 100:
        return FMDIKind == mdFrame && SkinFormWatcher().MDIButtons() && FMenuHeight > 0;
    case 200:
        return !FDialogClass && FBorderKind == bkDialog;
    default:
        // -1 and the values without a settled meaning are hidden.
        return StateVisibility(value, true);
    }
}

bool TWinSkinForm::SecondVisibility(int value, const TDataSkinSysButton& element) {
    if (value == 100)
        return FirstVisibility(element.Visibility, element);
    return StateVisibility(value, false);
}

bool TWinSkinForm::UpdateVisible(TWinSysButton& button) {
    const TDataSkinSysButton& element = button.FElement;
    bool visible =
        FirstVisibility(element.Visibility, element) && SecondVisibility(element.Visibility1, element);
    switch (element.Action) {
    case baClose:
        visible = visible && HasSysMenu();
        break;
    case baMaximize:
        visible = visible && CanMaximize();
        break;
    case baMinimize:
        visible = visible && CanMinimize();
        break;
    case baSystemMenu:
    case baIcon:
    case baSystemMenu2:
        visible = visible && FBorderKind != bkDialog;
        break;
    default:
        break;
    }
    button.FVisible = visible;
    return visible;
}

void TWinSkinForm::LayoutButtons() {
    for (const auto& button : FSysButtons) {
        TDataSkinSysButton& element = button->FElement;
        if (!UpdateVisible(*button) || element.Bitmap.Empty())
            continue;
        const int w = element.Bitmap.Width() / FramesOf(element);
        const int h = element.Bitmap.Height();
        int left = 0;
        int top = 0;
        switch (element.Align) {
        case 0:
        case 3:
        case 9:
            left = element.Xcoord;
            top = element.Ycoord;
            break;
        case 1:
            left = FWindowWidth - element.Xcoord;
            top = element.Ycoord;
            break;
        case 2:
        case 8:
            // Placed against a reference point no window sets: outside the window.
            left = -w - element.Xcoord;
            top = element.Ycoord;
            break;
        case 100: {
            const TDataSkinObject* menuBar = FSkinData->Elements().MenuBar.get();
            const int shift = menuBar ? menuBar->LeftWidth : 0;
            top = FBorderTop + (FMenuHeight - h) / 2;
            left = FRightToLeft ? FBorderLeft + element.Xcoord + shift
                                : FWindowWidth - element.Xcoord - FBorderRight - shift;
            break;
        }
        default:
            break;
        }
        button->FBounds = TRect{left, top, left + w, top + h};
    }
}

void TWinSkinForm::DrawButtons(TCanvas& canvas) {
    for (const auto& button : FSysButtons) {
        TDataSkinSysButton& element = button->FElement;
        if (!button->FVisible || element.Bitmap.Empty() || element.Visibility == 100)
            continue;
        const int frames = FramesOf(element);
        const int frame = (FActive || frames < 4) ? 1 : 4;
        if (DrawsIcon(element.Action))
            DrawIcon(canvas.Handle(), button->FBounds);
        else
            DrawSkinFrame(canvas.Handle(), button->FBounds, element.Bitmap, true, frames, frame);
    }
}

TNCObject* TWinSkinForm::ButtonAt(POINT windowPoint) {
    for (const auto& button : FSysButtons)
        if (button->FVisible && button->FElement.Action >= 0 && PtInRect(&button->FBounds, windowPoint))
            return button.get();
    return FMenuBar ? FMenuBar->MenuButtonAt(windowPoint) : nullptr;
}

POINT TWinSkinForm::ScreenToWindow(int x, int y) const {
    POINT p{x, y};
    ScreenToClient(FHandle, &p);
    if (!(FMDIKind == mdChild && FWinState == wsMinimized)) {
        p.x += FBorderLeft;
        p.y += FBorderTop + FMenuHeight;
    }
    return p;
}

void TWinSkinForm::SetHoverTimer(bool on) {
    if (FTimer)
        FTimer->SetEnabled(on);
}

void TWinSkinForm::HoverTimer(TObject*) {
    if (FMenuTracking || !FHotObject)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    const POINT p = ScreenToWindow(cursor.x, cursor.y);
    if (PtInRect(&FHotObject->FBounds, p))
        return;
    Guarded([this] { FHotObject->MouseLeave(); });
    FHotObject = nullptr;
}

// ---- actions ------------------------------------------------------------------------------

bool TWinSkinForm::CanClose() const {
    const DWORD version = SkinFormWatcher().WinVersion();
    if (!SkinIsNT() || LOBYTE(LOWORD(version)) < 5)
        return true;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    // A greyed Close (also the default item: MFS_DEFAULT | MFS_GRAYED) does not close.
    return FSysMenu && GetMenuItemInfoA(FSysMenu, SC_CLOSE, FALSE, &info) &&
           (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
}

void TWinSkinForm::RunAction(TWinSysButton& button, POINT screenPoint) {
    const int action = button.FElement.Action;
    switch (action) {
    case baClose:
        if (CanClose()) {
            SetHoverTimer(false);
            PostMessageA(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return;
    case baMaximize:
    case baMaximize2:
        ToggleMaximize();
        return;
    case baMinimize:
    case baMinimize2:
        ToggleMinimize();
        return;
    case baSystemMenu:
    case baIcon:
    case baSystemMenu2:
        ShowSystemMenu(POINT{screenPoint.x + 1, screenPoint.y + 1});
        return;
    case baMDIMinimize:
    case baMDIMinimize2:
        MDIChildCommand(SC_MINIMIZE);
        return;
    case baMDIRestore:
    case baMDIRestore2:
        MDIChildCommand(SC_RESTORE);
        return;
    case baMDIClose:
    case baMDIClose2:
        MDIChildCommand(SC_CLOSE);
        return;
    default:
        if (action >= 0)
            PostMessageA(FHandle, WMS_BUTTONACTION, static_cast<WPARAM>(action), 0);
    }
}

// ---- non-client mouse ---------------------------------------------------------------------

void TWinSkinForm::HitTest(TMessage& message) {
    Default(message);
    switch (message.Result) {
    case HTNOWHERE:
    case HTCAPTION:
    // The native caption buttons are not drawn: their places belong to the skinned title.
    case HTSYSMENU:
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTCLOSE:
    case HTHELP:
        break;
    default:
        return;
    }
    const POINT cursor = PointOf(message.LParam);
    const POINT p = ScreenToWindow(cursor.x, cursor.y);
    if (p.y > 3)
        message.Result = HTCAPTION;
    if (p.y > FBorderTop && FMenuHeight > 0)
        message.Result = HTMENU;
}

void TWinSkinForm::NcMouseMove(TMessage& message) {
    if (!FActive) {
        message.Result = 0;
        return;
    }
    const POINT cursor = PointOf(message.LParam);
    if (TNCObject* object = ButtonAt(ScreenToWindow(cursor.x, cursor.y))) {
        object->MouseEnter();
        message.Result = 0;
        return;
    }
    if (FHotObject) {
        FHotObject->MouseLeave();
        FHotObject = nullptr;
    }
    Default(message);
}

void TWinSkinForm::NcLButtonDown(TMessage& message) {
    const POINT cursor = PointOf(message.LParam);
    if (TNCObject* object = ButtonAt(ScreenToWindow(cursor.x, cursor.y))) {
        if (!FActive)
            SetForegroundWindow(FHandle);
        object->MouseDown();
        message.Result = 0;
        if (auto* menuButton = dynamic_cast<TMenuBtn*>(object); menuButton && FMenuBar)
            FMenuBar->OpenMenu(menuButton);
        return;
    }
    // A maximized window is not dragged by its title.
    if (FWinState == wsMaximized && FActive && message.WParam == HTCAPTION)
        message.WParam = HTMENU;
    Default(message);
}

void TWinSkinForm::NcLButtonUp(TMessage& message) {
    const POINT cursor = PointOf(message.LParam);
    TNCObject* object = ButtonAt(ScreenToWindow(cursor.x, cursor.y));
    if (!object) {
        Default(message);
        return;
    }
    message.Result = 0;
    // Only the button that was pressed acts: entering another one on the way made that one
    // hot but not pressed.
    auto* button = dynamic_cast<TWinSysButton*>(object);
    if (!button || button != FHotObject || button->FState != TNCObject::stPressed)
        return;
    button->MouseUp();
    RunAction(*button, cursor);
}

void TWinSkinForm::NcLButtonDblClk(TMessage& message) {
    const POINT cursor = PointOf(message.LParam);
    if (TNCObject* object = ButtonAt(ScreenToWindow(cursor.x, cursor.y))) {
        auto* button = dynamic_cast<TWinSysButton*>(object);
        if (button && DrawsIcon(button->FElement.Action)) {
            SetHoverTimer(false);
            PostMessageA(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        message.Result = 0;
        return;
    }
    if (FWinState != wsNormal)
        RestoreWindow();
    else if (CanMaximize())
        ToggleMaximize();
    else
        Default(message);
}

// A press left to the default (before the frame has started) comes back on release as a
// context menu request (Wine's default runs a loop of its own for the press and asks then):
// over the title it opens the skinned system menu, not the native one.
void TWinSkinForm::ContextMenu(TMessage& message) {
    const POINT at = PointOf(message.LParam);
    // From the keyboard both coordinates are -1, whatever the width of lParam.
    const bool byMouse = at.x != -1 || at.y != -1;
    if (byMouse && reinterpret_cast<HWND>(message.WParam) == FHandle && FMDIKind != mdChild) {
        const LRESULT hit = SendMessageA(FHandle, WM_NCHITTEST, 0, message.LParam);
        if (hit == HTCAPTION || hit == HTSYSMENU) {
            ShowSystemMenu(at);
            message.Result = 0;
            return;
        }
    }
    Default(message);
}

void TWinSkinForm::NcRButtonDown(TMessage& message) {
    if (message.WParam == HTCAPTION && FMDIKind != mdChild) {
        ShowSystemMenu(PointOf(message.LParam));
        message.Result = 0;
        return;
    }
    Default(message);
}
