// The menu bar's buttons: read from the native menu (or the framework menu), painted in the
// band under the title bar and lit under the mouse.
#include "WinSkinMenu.h"

#include "Color.h"
#include "Forms.h"
#include "SkinDraw.h"
#include "SysUtils.h"
#include "WinSkinMenuLayout.h"

#include <algorithm>

namespace {

COLORREF RGBOf(TColor color) {
    return static_cast<COLORREF>(ColorToRGB(color)) & 0xFFFFFF;
}

// Systems whose menu items cannot be read back reliably: the framework describes them.
bool ReadsFrameworkMenu() {
    const DWORD version = SkinFormWatcher().WinVersion();
    const int major = LOBYTE(LOWORD(version));
    const int minor = HIBYTE(LOWORD(version));
    return (SkinIsNT() && major < 5) || (major == 4 && minor == 0);
}

TMenu* MenuOfForm(TControl* form) {
    auto* custom = dynamic_cast<TCustomForm*>(form);
    return custom ? dynamic_cast<TMenu*>(custom->Menu()) : nullptr;
}

struct TNativeItem {
    std::wstring Text;
    UINT State = 0;
    UINT Id = 0;
    HMENU SubMenu = nullptr;
};

bool ReadNativeItem(HMENU menu, int position, TNativeItem& item) {
    wchar_t text[80] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = static_cast<UINT>(std::size(text) - 1);
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info))
        return false;
    item.Text = (info.fType & MFT_SEPARATOR) ? std::wstring() : std::wstring(text);
    item.State = info.fState;
    item.Id = info.wID;
    item.SubMenu = info.hSubMenu;
    return true;
}

// The framework item speaks for a button: its caption, state, command and sub-menu.
void TakeFrameworkItem(TMenuBtn& button, TMenuItem* item) {
    button.FCaption = AnsiToWide(item->Caption());
    button.FEnabled = item->Enabled();
    button.FCommand = item->Command();
    button.FItem = item;
    button.FSubMenu = item->Count() > 0 ? item->Handle() : nullptr;
}

// A button for an item read from the native menu.
std::unique_ptr<TMenuBtn> NativeButton(TWinSkinForm& form, TWinSkinMenu& bar, int index,
                                       const TNativeItem& native) {
    auto button = std::make_unique<TMenuBtn>(form, bar);
    button->FIndex = index;
    button->FSubMenu = native.SubMenu;
    button->FEnabled = (native.State & (MFS_GRAYED | MFS_DISABLED)) == 0;
    button->FVisible = true;
    button->FCommand = static_cast<int>(native.Id);
    button->FCaption = native.Text;
    return button;
}

} // namespace

// ---- buttons ---------------------------------------------------------------------------------

void TMenuBtn::Paint() {
    if (!FOwner.SkinReady() || FOwner.FSkinFailed || FBar.FBarBitmap.Empty() || RectWidth(FBounds) <= 0)
        return;
    TWindowDC dc(FOwner.Handle(), true);
    if (!dc.Get())
        return;
    const TRect& bar = FBar.FBarRect;
    // The column under the button back to the band's background, then the feedback.
    BitBlt(dc.Get(), FBounds.left, bar.top, RectWidth(FBounds), RectHeight(bar),
           FBar.FBarBitmap.Canvas()->Handle(), FBounds.left - bar.left, 0, SRCCOPY);
    if (FState == stPressed || FState == stHot) {
        TBrushHandle frame(CreateSolidBrush(RGBOf(FBar.SkinData().Elements().Colors.ButtonHilight)));
        FrameRect(dc.Get(), &FBounds, frame.Get());
    }
    FBar.DrawCaption(dc.Get(), *this, FBounds);
}

// ---- the bar ---------------------------------------------------------------------------------

TWinSkinMenu::TWinSkinMenu(TWinSkinForm& form, TSkinData& skinData) : FSkinData(&skinData), FForm(form) {}

TWinSkinMenu::~TWinSkinMenu() {
    AbandonTracking();
    ClearButtons();
}

bool TWinSkinMenu::RightToLeft() const {
    return FForm.FRightToLeft;
}

TMenuBtn* TWinSkinMenu::Button(int index) const {
    if (index < 0 || index >= Count())
        return nullptr;
    return FButtons[static_cast<std::size_t>(index)].get();
}

void TWinSkinMenu::ClearButtons() {
    for (const auto& button : FButtons)
        if (FForm.HotObject() == button.get())
            FForm.SetHotObject(nullptr);
    FButtons.clear();
}

void TWinSkinMenu::DetachNativeMenu() {
    HWND wnd = FForm.Handle();
    if (IsWindow(wnd) && GetMenu(wnd))
        ::SetMenu(wnd, nullptr);
}

void TWinSkinMenu::RestoreNativeMenu() {
    HWND wnd = FForm.Handle();
    if (FNativeMenu && IsMenu(FNativeMenu) && IsWindow(wnd) && !GetMenu(wnd))
        ::SetMenu(wnd, FNativeMenu);
}

void TWinSkinMenu::ReadMenu() {
    if (ReadsFrameworkMenu()) {
        ReadFrameworkMenu();
        return;
    }
    HMENU current = GetMenu(FForm.Handle());
    if (FForm.Form()) {
        FMenu = MenuOfForm(FForm.Form());
        if (!FMenu && !current) {
            // The form's menu went away: so does the bar.
            ClearButtons();
            FNativeMenu = nullptr;
            return;
        }
        // A menu the form shows without a menu component is read like a foreign window's.
    }
    if (current)
        FNativeMenu = current;
    if (!FNativeMenu)
        return;
    ClearButtons();
    const int count = GetMenuItemCount(FNativeMenu);
    if (count <= 0)
        return;
    for (int i = 0; i < count; ++i) {
        TNativeItem native;
        if (!ReadNativeItem(FNativeMenu, i, native))
            continue;
        auto button = NativeButton(FForm, *this, static_cast<int>(FButtons.size()), native);
        if (FMenu)
            if (TMenuItem* item = FMenu->FindItem(native.Id, fkCommand))
                TakeFrameworkItem(*button, item);
        FButtons.push_back(std::move(button));
    }
    DetachNativeMenu();
}

void TWinSkinMenu::ReadFrameworkMenu() {
    if (HMENU current = GetMenu(FForm.Handle()))
        FNativeMenu = current;
    FMenu = MenuOfForm(FForm.Form());
    ClearButtons();
    if (!FMenu)
        return;
    TMenuItem* root = FMenu->Items();
    for (int i = 0; i < root->Count(); ++i) {
        TMenuItem* item = root->Items(i);
        auto button = std::make_unique<TMenuBtn>(FForm, *this);
        button->FIndex = i;
        button->FVisible = item->Visible();
        TakeFrameworkItem(*button, item);
        FButtons.push_back(std::move(button));
    }
    DetachNativeMenu();
}

void TWinSkinMenu::ReadMDIMenu() {
    if (HMENU current = GetMenu(FForm.Handle()))
        FNativeMenu = current;
    if (FForm.Form() && !FMenu)
        FMenu = MenuOfForm(FForm.Form());
    if (!FNativeMenu)
        return;
    ClearButtons();
    const int count = GetMenuItemCount(FNativeMenu);
    for (int i = 0; i < count; ++i) {
        TNativeItem native;
        if (!ReadNativeItem(FNativeMenu, i, native))
            continue;
        auto button = NativeButton(FForm, *this, static_cast<int>(FButtons.size()), native);
        // Items the frame adds for a maximized child have no text; the framework knows them.
        if (native.Text.empty() && FMenu)
            if (TMenuItem* item = FMenu->FindItem(native.Id, fkCommand))
                TakeFrameworkItem(*button, item);
        FButtons.push_back(std::move(button));
    }
    DetachNativeMenu();
    LayoutBar();
}

// ---- geometry and painting -------------------------------------------------------------------

std::vector<int> TWinSkinMenu::CaptionWidths(HDC dc) const {
    TSelectScope font(dc, MenuItemFont().Handle());
    std::vector<int> widths;
    widths.reserve(FButtons.size());
    for (const auto& button : FButtons) {
        if (!button->FVisible) {
            widths.push_back(-1);
            continue;
        }
        RECT r{0, 0, 0, 0};
        DrawTextW(dc, button->FCaption.c_str(), static_cast<int>(button->FCaption.size()), &r,
                  DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
        widths.push_back(std::max(static_cast<int>(r.right - r.left), 0));
    }
    return widths;
}

bool TWinSkinMenu::BandGeometry(TRect& band, int& margin) const {
    const TRect borders = FForm.Borders();
    RECT window{};
    GetWindowRect(FForm.Handle(), &window);
    band = TRect{borders.left, borders.top, (window.right - window.left) - borders.right,
                 borders.top + FForm.MenuHeight()};
    if (RectWidth(band) <= 0 || RectHeight(band) <= 0)
        return false;
    const TDataSkinObject* element = FSkinData->Elements().MenuBar.get();
    margin = element && !element->Bitmap.Empty()
                 ? MenuBarMargin(element->LeftWidth, element->RightWidth, RightToLeft(), RectWidth(band))
                 : MenuBarMargin(-1, -1, RightToLeft(), RectWidth(band));
    return true;
}

void TWinSkinMenu::PlaceButtons(const TRect& band, const std::vector<TRect>& cells) {
    for (std::size_t i = 0; i < FButtons.size() && i < cells.size(); ++i) {
        TMenuBtn& button = *FButtons[i];
        if (!button.FVisible) {
            button.FBounds = TRect{0, 0, 0, 0};
            continue;
        }
        const TRect& cell = cells[i];
        button.FBounds =
            TRect{cell.left + band.left, cell.top + band.top, cell.right + band.left, cell.bottom + band.top};
    }
}

void TWinSkinMenu::LayoutBar() {
    TRect band{};
    int margin = 0;
    TBitmap* work = SkinWorkBitmap();
    if (!work || !FSkinData || FSkinData->SkinLoading() || !BandGeometry(band, margin))
        return;
    const auto cells = MenuBarCells(CaptionWidths(work->Canvas()->Handle()), margin, RectWidth(band),
                                    RectHeight(band), RightToLeft());
    PlaceButtons(band, cells);
}

void TWinSkinMenu::DrawCaption(HDC dc, const TMenuBtn& button, const TRect& rect) const {
    if (button.FCaption.empty())
        return;
    TSelectScope font(dc, MenuItemFont().Handle());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF color =
        button.FEnabled ? RGBOf(FSkinData->Elements().Colors.MenuBarText) : GetSysColor(COLOR_BTNSHADOW);
    const COLORREF oldColor = SetTextColor(dc, color);
    RECT r = rect;
    DrawTextW(dc, button.FCaption.c_str(), static_cast<int>(button.FCaption.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
}

void TWinSkinMenu::PaintBar(HDC dc, const TRect& band) {
    TBitmap* work = SkinWorkBitmap();
    const int w = RectWidth(band);
    const int h = RectHeight(band);
    if (!work || w <= 0 || h <= 0)
        return;
    work->SetSize(w, h);
    HDC workDC = work->Canvas()->Handle();
    const TRect local{0, 0, w, h};
    const TSkinElements& elements = FSkinData->Elements();
    TDataSkinObject* element = elements.MenuBar.get();
    int margin = 0;
    if (element && !element->Bitmap.Empty()) {
        const int frame = FForm.Active() ? 1 : 2;
        const RECT margins = element->Margins();
        if (element->Tile == 1)
            DrawSkinRect(workDC, local, element->Bitmap, true, false, false, 2, frame, margins);
        else
            DrawSkinBar(*work->Canvas(), local, element->Bitmap, true, false, 2, frame, margins);
        margin = MenuBarMargin(element->LeftWidth, element->RightWidth, RightToLeft(), w);
    } else {
        TBrushHandle fill(CreateSolidBrush(RGBOf(elements.Colors.MenuBar)));
        FillRect(workDC, &local, fill.Get());
        margin = MenuBarMargin(-1, -1, RightToLeft(), w);
    }
    FBarRect = band;
    FBarBitmap.SetSize(w, h);
    BitBlt(FBarBitmap.Canvas()->Handle(), 0, 0, w, h, workDC, 0, 0, SRCCOPY);

    FPainting = true;
    const auto cells = MenuBarCells(CaptionWidths(workDC), margin, w, h, RightToLeft());
    for (std::size_t i = 0; i < FButtons.size() && i < cells.size(); ++i)
        if (FButtons[i]->FVisible)
            DrawCaption(workDC, *FButtons[i], cells[i]);
    PlaceButtons(band, cells);
    FPainting = false;

    // A maximized MDI child's buttons sit at the end of the frame's bar.
    if (FForm.MDIKind() == TWinSkinForm::mdFrame && FForm.FClientWnd) {
        BOOL maximized = FALSE;
        const auto active = reinterpret_cast<HWND>(
            SendMessageA(FForm.FClientWnd, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
        if (active && maximized) {
            for (const auto& sys : FForm.SysButtons()) {
                TDataSkinSysButton& e = sys->FElement;
                if (e.Visibility != 100 || e.Bitmap.Empty())
                    continue;
                const TRect at{sys->FBounds.left - band.left, sys->FBounds.top - band.top,
                               sys->FBounds.right - band.left, sys->FBounds.bottom - band.top};
                DrawSkinFrame(workDC, at, e.Bitmap, true, e.Frame > 0 ? e.Frame : 1, 1);
            }
            if (!SkinFormWatcher().MDIButtons())
                SkinFormWatcher().SetMDIButtons(true);
        }
    }
    BitBlt(dc, band.left, band.top, w, h, workDC, 0, 0, SRCCOPY);
}

// ---- lookups ---------------------------------------------------------------------------------

TMenuBtn* TWinSkinMenu::MenuButtonAt(POINT windowPoint) const {
    for (const auto& button : FButtons)
        if (!button->FCaption.empty() && PtInRect(&button->FBounds, windowPoint))
            return button.get();
    return nullptr;
}

TMenuBtn* TWinSkinMenu::FindAccel(wchar_t key) const {
    for (const auto& button : FButtons)
        if (button->FEnabled && button->FVisible && CaptionHasAccel(button->FCaption, key))
            return button.get();
    return nullptr;
}
