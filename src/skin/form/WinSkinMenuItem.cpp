#include "WinSkinMenuItem.h"

#include "Bitmap.h"
#include "Color.h"
#include "ComCtrls.h"
#include "Forms.h"
#include "SkinDraw.h"
#include "SysUtils.h"
#include "WinSkinDataShared.h"
#include "WinSkinFormWatcher.h"
#include "WinSkinMenuLayout.h"

#include <algorithm>
#include <memory>

namespace {

using TDrawEvent = TMenuDrawItemEvent;
using TMeasureEvent = TMenuMeasureItemEvent;

// A memory DC for a moment, deleted at the end of the scope.
class TMemoryDC {
public:
    explicit TMemoryDC(HDC like) : FDC(CreateCompatibleDC(like)) {}
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    ~TMemoryDC() {
        if (FDC)
            DeleteDC(FDC);
    }
    HDC Get() const { return FDC; }

private:
    HDC FDC;
};

// A work bitmap of the item's size with the screen menu font.
std::unique_ptr<TBitmap> ItemBitmap(const TRect& rect) {
    auto work = std::make_unique<TBitmap>();
    work->SetSize(std::max(RectWidth(rect), 0), std::max(RectHeight(rect), 0));
    work->Canvas()->Font()->Assign(&MenuItemFont());
    return work;
}

void Blit(TCanvas& canvas, const TRect& rect, TBitmap& work) {
    BitBlt(canvas.Handle(), rect.left, rect.top, work.Width(), work.Height(), work.Canvas()->Handle(), 0, 0,
           SRCCOPY);
}

// The framework's pattern of a checked glyph: button face and highlight, pixel by pixel.
TBrushHandle CheckedPatternBrush() {
    TBitmap pattern;
    pattern.SetSize(8, 8);
    const COLORREF face = static_cast<COLORREF>(ColorToRGB(clBtnFace));
    const COLORREF light = static_cast<COLORREF>(ColorToRGB(clBtnHighlight));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            SetPixel(pattern.Canvas()->Handle(), x, y, ((x + y) & 1) ? light : face);
    return TBrushHandle(CreatePatternBrush(pattern.Handle()));
}

// The system check mark (monochrome) drawn in a colour, its white left as it was.
void DrawCheckMark(HDC dc, int x, int y, COLORREF color) {
    TBitmapHandle check(LoadBitmapA(nullptr, MAKEINTRESOURCEA(32760))); // OBM_CHECK
    BITMAP info{};
    if (!check || !GetObjectA(check.Get(), sizeof info, &info))
        return;
    TMemoryDC mem(dc);
    TSelectScope selected(mem.Get(), check.Get());
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
    // Black where the mark is, the rest untouched; then the colour into the black.
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, mem.Get(), 0, 0, SRCAND);
    SetTextColor(dc, color);
    SetBkColor(dc, RGB(0, 0, 0));
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, mem.Get(), 0, 0, SRCPAINT);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
}

int CheckMarkWidth() {
    return GetSystemMetrics(SM_CXMENUCHECK);
}

} // namespace

// ---- switching owner drawing ---------------------------------------------------------------

void TWinSkinMenuItems::UnhookItem(TMenuItem* item) {
    // Only our own handlers go: an application's handler stays.
    if (item->OnDrawItem == TDrawEvent(this, &TWinSkinMenuItems::DrawSkinnedItem))
        item->OnDrawItem.Clear();
    if (item->OnMeasureItem == TMeasureEvent(this, &TWinSkinMenuItems::MeasurePopupItem) ||
        item->OnMeasureItem == TMeasureEvent(this, &TWinSkinMenuItems::MeasureMenuItem))
        item->OnMeasureItem.Clear();
}

void TWinSkinMenuItems::UnhookItems(TMenuItem* item) {
    if (!item)
        return;
    UnhookItem(item);
    for (int i = 0; i < item->Count(); ++i)
        UnhookItems(item->Items(i));
}

void TWinSkinMenuItems::UnhookTree(TComponent* root) {
    if (!root)
        return;
    for (int i = 0; i < root->ComponentCount(); ++i) {
        TComponent* owned = root->Components(i);
        if (auto* menu = dynamic_cast<TMenu*>(owned))
            UnhookItems(menu->Items());
        else if (auto* button = dynamic_cast<TToolButton*>(owned))
            UnhookItems(button->MenuItem());
        else if (auto* item = dynamic_cast<TMenuItem*>(owned))
            UnhookItems(item);
        UnhookTree(owned);
    }
}

void TWinSkinMenuItems::HookPopupItem(TMenuItem* item) {
    item->OnDrawItem = TDrawEvent(this, &TWinSkinMenuItems::DrawSkinnedItem);
    if (!item->OnMeasureItem)
        item->OnMeasureItem = TMeasureEvent(this, &TWinSkinMenuItems::MeasurePopupItem);
}

void TWinSkinMenuItems::HookPopupItems(TMenuItem* item, bool on) {
    for (int i = 0; i < item->Count(); ++i) {
        TMenuItem* sub = item->Items(i);
        if (on)
            HookPopupItem(sub);
        else
            UnhookItem(sub);
        HookPopupItems(sub, on);
    }
}

void TWinSkinMenuItems::HookPopupMenus(TComponent* component, bool on) {
    if (!component || component->ClassName() == "TwwRichEditForm")
        return;
    for (int i = 0; i < component->ComponentCount(); ++i) {
        TComponent* owned = component->Components(i);
        if (dynamic_cast<TCustomForm*>(owned)) {
            HookPopupMenus(owned, on);
            continue;
        }
        auto* popup = dynamic_cast<TPopupMenu*>(owned);
        if (!popup || !FSkinData->SkinControls().Contains(xcPopupMenu) ||
            popup->Tag() == FSkinData->DisableTag())
            continue;
        popup->SetOwnerDraw(on);
        HookPopupItems(popup->Items(), on);
    }
}

void TWinSkinMenuItems::HookMainItems(TMenuItem* item, int depth, bool on) {
    for (int i = 0; i < item->Count(); ++i) {
        TMenuItem* sub = item->Items(i);
        if (!on)
            UnhookItem(sub);
        else if (depth >= 2 && !sub->OnDrawItem) {
            sub->OnDrawItem = TDrawEvent(this, &TWinSkinMenuItems::DrawSkinnedItem);
            sub->OnMeasureItem = TMeasureEvent(this, &TWinSkinMenuItems::MeasureMenuItem);
        }
        HookMainItems(sub, depth + 1, on);
    }
}

void TWinSkinMenuItems::HookMainMenus(TComponent* component, bool on) {
    if (!component)
        return;
    for (int i = 0; i < component->ComponentCount(); ++i)
        if (auto* menu = dynamic_cast<TMainMenu*>(component->Components(i))) {
            menu->SetOwnerDraw(on);
            // The root's own items are depth 1.
            HookMainItems(menu->Items(), 1, on);
        }
}

void TWinSkinMenuItems::HookItemTree(TMenuItem* item, bool on) {
    if (!item)
        return;
    if (on) {
        item->OnDrawItem = TDrawEvent(this, &TWinSkinMenuItems::DrawSkinnedItem);
        item->OnMeasureItem = TMeasureEvent(this, &TWinSkinMenuItems::MeasureMenuItem);
    } else {
        UnhookItem(item);
    }
    for (int i = 0; i < item->Count(); ++i)
        HookItemTree(item->Items(i), on);
}

// ---- measuring -------------------------------------------------------------------------------

bool TWinSkinMenuItems::HasElement() const {
    return !FSkinData->SkinLoading() && FSkinData->Elements().MenuItem &&
           !FSkinData->Elements().MenuItem->Bitmap.Empty();
}

int TWinSkinMenuItems::ElementLeftWidth() const {
    return HasElement() ? FSkinData->Elements().MenuItem->LeftWidth : -1;
}

// The framework has measured the item already when its event runs.
void TWinSkinMenuItems::MeasureMenuItem(TObject* Sender, TCanvas*, int& Width, int&) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    Width += MenuItemExtraWidth(ElementLeftWidth(), item && item->GetImageList(), false);
}

void TWinSkinMenuItems::MeasurePopupItem(TObject* Sender, TCanvas*, int& Width, int&) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    Width += MenuItemExtraWidth(ElementLeftWidth(), item && item->GetImageList(), true);
}

// ---- painting ----------------------------------------------------------------------------------

void TWinSkinMenuItems::DrawSkinnedItem(TObject* Sender, TCanvas* ACanvas, const TRect& ARect,
                                        bool Selected) {
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    if (!item || !ACanvas || RectWidth(ARect) <= 0 || RectHeight(ARect) <= 0)
        return;
    if (!HasElement()) {
        DrawPlainItem(*item, *ACanvas, Selected, ARect);
        return;
    }
    HMENU parentMenu = item->Parent() ? item->Parent()->Handle() : nullptr;
    if (parentMenu)
        SkinFormWatcher().BindPopupMenu(parentMenu);
    DrawOverBackground(parentMenu, *item, Selected, ARect, *ACanvas, true);
}

void TWinSkinMenuItems::DrawNativeItem(HMENU menu, TMenuItem& item, bool selected, const TRect& rect,
                                       TCanvas& canvas) {
    if (RectWidth(rect) <= 0 || RectHeight(rect) <= 0)
        return;
    if (!HasElement()) {
        DrawPlainItem(item, canvas, selected, rect);
        return;
    }
    DrawOverBackground(menu, item, selected, rect, canvas, false);
}

void TWinSkinMenuItems::DrawOverBackground(HMENU menu, TMenuItem& item, bool selected, const TRect& rect,
                                           TCanvas& canvas, bool separatorCase) {
    const auto work = ItemBitmap(rect);
    const TRect local{0, 0, work->Width(), work->Height()};
    const TPopupBackground background = SkinFormWatcher().ItemBackground(menu);
    if (background.Bitmap && !background.Bitmap->Empty()) {
        // The popup's background is in window coordinates, the item rectangle in client ones.
        TRect source = rect;
        OffsetRect(&source, background.ClientOrigin.x, background.ClientOrigin.y);
        work->Canvas()->CopyRect(local, background.Bitmap->Canvas(), source);
    } else {
        work->Canvas()->Brush()->SetStyle(bsSolid);
        work->Canvas()->Brush()->SetColor(FSkinData->Elements().Colors.Menu);
        work->Canvas()->FillRect(local);
    }
    TDataSkinObject& element = *FSkinData->Elements().MenuItem;
    if (separatorCase && item.IsLine()) {
        Blit(canvas, rect, *work);
        DrawSeparator(canvas, rect);
        return;
    }
    DrawSkinRect(work->Canvas()->Handle(), local, element.Bitmap, false, element.Tile == 1,
                 element.Trans != 0, MenuItemFrames, MenuItemFrame(selected), element.Margins());
    DrawItemContent(item, *work->Canvas(), selected, local);
    Blit(canvas, rect, *work);
}

void TWinSkinMenuItems::DrawPlainItem(TMenuItem& item, TCanvas& canvas, bool selected, const TRect& rect) {
    if (RectWidth(rect) <= 0 || RectHeight(rect) <= 0)
        return;
    const auto work = ItemBitmap(rect);
    const TRect local{0, 0, work->Width(), work->Height()};
    const TSkinColorTable& colors = FSkinData->Elements().Colors;
    work->Canvas()->Brush()->SetStyle(bsSolid);
    work->Canvas()->Brush()->SetColor(selected ? colors.Hilight : colors.Menu);
    work->Canvas()->FillRect(local);
    DrawItemContent(item, *work->Canvas(), selected, local);
    Blit(canvas, rect, *work);
}

void TWinSkinMenuItems::DrawSeparator(TCanvas& canvas, const TRect& rect) {
    TDataSkinObject& element = *FSkinData->Elements().MenuItem;
    TBitmap& image = element.Bitmap;
    const int fw = image.Width() / MenuItemFrames;
    const int w = RectWidth(rect);
    const int h = RectHeight(rect);
    if (fw <= 0 || w <= 0 || h <= 0)
        return;
    const int x0 = fw * (MenuItemSeparatorFrame - 1);
    const int top = SeparatorSourceTop(image.Height(), h);
    const int ih = image.Height() - top;
    const int lw = std::min(element.LeftWidth, fw);
    const int rw = std::min(element.RightWidth, fw - lw);
    TBitmap work;
    work.SetSize(w, h);
    HDC dst = work.Canvas()->Handle();
    HDC src = image.Canvas()->Handle();
    SetStretchBltMode(dst, COLORONCOLOR);
    StretchBlt(dst, 0, 0, lw, h, src, x0, top, lw, ih, SRCCOPY);
    StretchBlt(dst, w - rw, 0, rw, h, src, x0 + fw - rw, top, rw, ih, SRCCOPY);
    StretchBlt(dst, lw, 0, w - lw - rw, h, src, x0 + lw, top, fw - lw - rw, ih, SRCCOPY);
    DrawTransparent(canvas.Handle(), rect, work, SkinKeyColor);
}

void TWinSkinMenuItems::DrawGlyph(TMenuItem& item, TCanvas& canvas, TRect glyph, const TRect& rect) {
    TCustomImageList* images = item.GetImageList();
    if (images && item.ImageIndex() >= 0 && item.ImageIndex() < images->Count()) {
        if (item.Checked()) {
            glyph.bottom = glyph.top + 16;
            const TBrushHandle pattern = CheckedPatternBrush();
            FillRect(canvas.Handle(), &glyph, pattern.Get());
            DrawEdge(canvas.Handle(), &glyph, BDR_SUNKENOUTER, BF_RECT);
        } else {
            glyph.bottom = glyph.top + images->Height();
        }
        images->Draw(&canvas, glyph.left, glyph.top, item.ImageIndex(), item.Enabled());
    } else if (item.Checked()) {
        const int size = CheckMarkWidth();
        const int x = glyph.left + (RectWidth(glyph) - size) / 2 + 1;
        const int y = rect.top + (RectHeight(rect) - size) / 2 + 1;
        DrawCheckMark(canvas.Handle(), x, y, static_cast<COLORREF>(ColorToRGB(clBtnText)));
    }
}

void TWinSkinMenuItems::DrawItemContent(TMenuItem& item, TCanvas& canvas, bool selected, const TRect& rect) {
    const std::string caption = item.Caption();
    const bool line = caption == "-";
    TCustomImageList* images = item.GetImageList();
    const int gw = MenuGlyphWidth(images ? images->Width() : 0, item.Checked());
    const TMenuItemLayout layout = MenuItemLayout(rect, gw, ElementLeftWidth(), line, FRightToLeft);
    if (!line)
        DrawGlyph(item, canvas, layout.Glyph, rect);
    TRect measured = layout.Text;
    DrawItemText(item, canvas, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE, selected, measured,
                 caption);
    TRect text = CentredCaption(layout.Text, RectWidth(measured), RectHeight(measured), FRightToLeft);
    const UINT align = FRightToLeft ? DT_RIGHT : 0;
    DrawItemText(item, canvas, align | DT_EXPANDTABS | DT_SINGLELINE, selected, text, caption);
    if (item.ShortCut() != scNone && !line) {
        TRect shortcut = ShortCutRect(rect, text, FRightToLeft);
        DrawItemText(item, canvas, (FRightToLeft ? DT_LEFT : DT_RIGHT) | DT_SINGLELINE, selected, shortcut,
                     ShortCutToText(item.ShortCut()));
    }
}

void TWinSkinMenuItems::DrawItemText(TMenuItem& item, TCanvas& canvas, UINT flags, bool selected, TRect& rect,
                                     const std::string& text) {
    const bool measuring = (flags & DT_CALCRECT) != 0;
    if (text == "-") {
        if (!measuring) {
            TRect line = rect;
            OffsetRect(&line, 0, 4);
            DrawEdge(canvas.Handle(), &line, EDGE_ETCHED, BF_TOP);
        }
        return;
    }
    const TSkinColorTable& colors = FSkinData->Elements().Colors;
    canvas.Brush()->SetStyle(bsClear);
    const TFontStyles style = canvas.Font()->Style();
    if (item.Default())
        canvas.Font()->SetStyle(style + TFontStyles{fsBold});
    TColor color = selected ? colors.HilightText : colors.MenuText;
    if (!item.Enabled())
        color = DisabledMenuTextColor(colors.ButtonShadow, colors.MenuText);
    canvas.Font()->SetColor(color);
    HDC dc = canvas.Handle();
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(color)));
    SetBkMode(dc, TRANSPARENT);
    DrawSkinText(dc, AnsiToWide(measuring ? MeasuredCaption(text) : text), rect, flags);
    canvas.Font()->SetStyle(style);
}

// ---- the window's messages ---------------------------------------------------------------------

TMenuItem* TWinSkinMenuItems::FrameworkItem(TControl* form, UINT id) const {
    if (!form)
        return nullptr;
    if (FBarMenu)
        return FBarMenu->FindItem(id, fkCommand);
    return FindMenuItemByCommand(static_cast<int>(id));
}

bool TWinSkinMenuItems::MeasureNative(TControl* form, HMENU popped, MEASUREITEMSTRUCT& measure) {
    if (measure.CtlType != ODT_MENU)
        return false;
    if (TMenuItem* item = FrameworkItem(form, measure.itemID)) {
        TWindowDC screen(nullptr);
        TCanvas canvas;
        canvas.SetHandle(screen.Get());
        canvas.Font()->Assign(&MenuItemFont());
        int width = static_cast<int>(measure.itemWidth);
        int height = static_cast<int>(measure.itemHeight);
        // The framework's measurement without the item's own event, then the skin's room.
        TMeasureEvent own;
        own.Swap(item->OnMeasureItem);
        item->MeasureItem(&canvas, width, height);
        own.Swap(item->OnMeasureItem);
        MeasureMenuItem(item, &canvas, width, height);
        canvas.SetHandle(nullptr);
        measure.itemWidth = static_cast<UINT>(std::max(width, 0));
        measure.itemHeight = static_cast<UINT>(std::max(height, 0));
        return true;
    }
    if (IsControlCommand(measure.itemID) || !popped)
        return false;
    char text[81] = {};
    GetMenuStringA(popped, measure.itemID, text, sizeof text - 1, MF_BYCOMMAND);
    TWindowDC screen(nullptr);
    TCanvas canvas;
    canvas.SetHandle(screen.Get());
    canvas.Font()->Assign(&MenuItemFont());
    const int textWidth = canvas.TextWidth(std::string_view(text));
    canvas.SetHandle(nullptr);
    const SIZE size = NativeItemSize(textWidth, text[0] == 0, ElementLeftWidth(),
                                     static_cast<int>(measure.itemHeight), !SkinIsNT());
    measure.itemWidth = static_cast<UINT>(size.cx);
    measure.itemHeight = static_cast<UINT>(size.cy);
    return true;
}

bool TWinSkinMenuItems::DrawNativeMessage(TControl* form, DRAWITEMSTRUCT& draw) {
    if (draw.CtlType != ODT_MENU)
        return false;
    HMENU menu = reinterpret_cast<HMENU>(draw.hwndItem);
    SkinFormWatcher().BindPopupMenu(menu);
    TCanvas canvas;
    canvas.SetHandle(draw.hDC);
    const int saved = SaveDC(draw.hDC);
    canvas.Font()->Assign(&MenuItemFont());
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    bool handled = true;
    if (TMenuItem* item = FrameworkItem(form, draw.itemID)) {
        if (HasElement())
            DrawSkinnedItem(item, &canvas, draw.rcItem, selected);
        else
            DrawPlainItem(*item, canvas, selected, draw.rcItem);
    } else if (IsControlCommand(draw.itemID)) {
        handled = false;
    } else {
        // A temporary item read from the native menu.
        char text[81] = {};
        GetMenuStringA(menu, draw.itemID, text, sizeof text - 1, MF_BYCOMMAND);
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE;
        GetMenuItemInfoA(menu, draw.itemID, FALSE, &info);
        std::unique_ptr<TMenuItem, TObjectDeleter> item(new TMenuItem(nullptr));
        item->SetCaption(text[0] ? std::string(text) : std::string("-"));
        item->SetEnabled((info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0);
        item->SetChecked((info.fState & MFS_CHECKED) != 0);
        DrawNativeItem(menu, *item, selected, draw.rcItem, canvas);
    }
    canvas.SetHandle(nullptr);
    RestoreDC(draw.hDC, saved);
    return handled;
}
