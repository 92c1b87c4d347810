// The menu messages of the toolkit's windows: commands and owner drawing lead to the item
// with the command id; a form gets its main menu on its window and its menu's shortcuts.
#include "MenuDispatch.h"

#include <algorithm>

namespace {

// The main menu a top-level control's published Menu property names.
TMainMenu* FormMenu(TWinControl* control) {
    if (control->Parent() || PropType(control, "Menu") != tkClass)
        return nullptr;
    return dynamic_cast<TMainMenu*>(GetObjectProp(*control, "Menu"));
}

TWinControl* TopLevel(TWinControl* control) {
    while (control->Parent())
        control = control->Parent();
    return control;
}

// Shows the menu the form's Menu property names, and only that one.
void AttachFormMenu(TWinControl* control) {
    if (control->Parent() || !control->HandleAllocated())
        return;
    HWND wnd = control->Handle();
    TMainMenu* wanted = FormMenu(control);
    TMainMenu* shown = MainMenuOfWindow(wnd);
    if (wanted == shown)
        return;
    if (shown)
        shown->SetWindowHandle(nullptr);
    if (wanted)
        wanted->SetWindowHandle(wnd);
}

// A canvas on a DC with the menu font, giving the DC back as it was.
class MenuCanvas {
public:
    explicit MenuCanvas(HDC dc) : FDC(dc), FSaved(SaveDC(dc)) {
        FCanvas.SetHandle(dc);
        FCanvas.Font()->Assign(&MenuItemFont());
    }
    MenuCanvas(const MenuCanvas&) = delete;
    MenuCanvas& operator=(const MenuCanvas&) = delete;
    ~MenuCanvas() {
        FCanvas.SetHandle(nullptr);
        RestoreDC(FDC, FSaved);
    }
    TCanvas* Get() { return &FCanvas; }

private:
    HDC FDC;
    int FSaved;
    TCanvas FCanvas;
};

bool MeasureItem(MEASUREITEMSTRUCT& measure) {
    TMenuItem* item = FindMenuItemByCommand(static_cast<int>(measure.itemID));
    if (!item)
        return false;
    TWindowDC screen(nullptr);
    MenuCanvas canvas(screen.Get());
    int width = static_cast<int>(measure.itemWidth);
    int height = static_cast<int>(measure.itemHeight);
    item->MeasureItem(canvas.Get(), width, height);
    measure.itemWidth = static_cast<UINT>(std::max(width, 0));
    measure.itemHeight = static_cast<UINT>(std::max(height, 0));
    return true;
}

bool DrawItem(const DRAWITEMSTRUCT& draw) {
    TMenuItem* item = FindMenuItemByCommand(static_cast<int>(draw.itemID));
    if (!item)
        return false;
    MenuCanvas canvas(draw.hDC);
    item->DrawItem(canvas.Get(), draw.rcItem, (draw.itemState & ODS_SELECTED) != 0);
    return true;
}

bool DispatchMenuMessage(TWinControl* control, TMessage& message) {
    switch (message.Msg) {
    case WM_CREATE:
    case CM_MENUCHANGED:
        AttachFormMenu(control);
        return false;
    case WM_DESTROY:
        // Destroying a window destroys its menu: the menu leaves first, to be shown again
        // when the window is created again.
        if (control->HandleAllocated())
            if (TMainMenu* menu = MainMenuOfWindow(control->Handle()))
                menu->SetWindowHandle(nullptr);
        return false;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: {
        TMainMenu* menu = FormMenu(TopLevel(control));
        return menu &&
               menu->IsShortCut(static_cast<WORD>(message.WParam), KeyDataToShiftState(message.LParam));
    }
    default:
        return HandleMenuItemMessage(message);
    }
}

} // namespace

bool HandleMenuItemMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_COMMAND: {
        if (message.LParam != 0 || HIWORD(message.WParam) != 0)
            return false; // a control's notification or an accelerator
        TMenuItem* item = FindMenuItemByCommand(LOWORD(message.WParam));
        if (!item)
            return false;
        item->Click();
        message.Result = 0;
        return true;
    }
    case WM_MEASUREITEM: {
        auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
        if (measure.CtlType != ODT_MENU || !MeasureItem(measure))
            return false;
        message.Result = TRUE;
        return true;
    }
    case WM_DRAWITEM: {
        const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
        if (draw.CtlType != ODT_MENU || !DrawItem(draw))
            return false;
        message.Result = TRUE;
        return true;
    }
    case WM_INITMENUPOPUP:
        if (HIWORD(message.LParam) == 0) // not the window menu
            if (TMenuItem* item = FindMenuItemByHandle(reinterpret_cast<HMENU>(message.WParam)))
                if (TMenu* menu = item->GetParentMenu())
                    menu->DispatchPopup(reinterpret_cast<HMENU>(message.WParam));
        return false;
    default:
        return false;
    }
}

void InstallMenuMessageHook() {
    SetMenuMessageHook(&DispatchMenuMessage);
}
