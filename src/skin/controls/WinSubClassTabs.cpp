// TSkinTab: the tab row composed in its own strip (lying for side rows, turned at the end),
// the page frame over the display area, both composed off-screen over the parent colour and
// copied in one step around the row's scroll arrows.
#include "WinSubClassTabs.h"

#include "ComCtrls.h"
#include "ImgUtilBitmap.h"
#include "SkinDraw.h"
#include "WinSkinForm.h"

#include <algorithm>
#include <array>

#include <commctrl.h>

TClass TSkinTab::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinTab>("TSkinTab").Build();
    return &info;
}

TTabSide TabSideOfStyle(LONG_PTR style) {
    const bool bottomOrRight = (style & TCS_BOTTOM) != 0;
    const bool vertical = (style & TCS_VERTICAL) != 0;
    if (bottomOrRight)
        return vertical ? tsdRight : tsdBottom;
    return vertical ? tsdLeft : tsdTop;
}

HWND FindTabScroller(HWND tabs) {
    return FindWindowExA(tabs, nullptr, UPDOWN_CLASSA, nullptr);
}

TTabItem ReadTabItem(HWND wnd, int index, bool wide) {
    constexpr int TabTextLength = 80;
    TTabItem item;
    if (wide) {
        std::array<wchar_t, TabTextLength + 1> text{};
        TCITEMW tab{};
        tab.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
        tab.pszText = text.data();
        tab.cchTextMax = TabTextLength;
        if (SendMessageW(wnd, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab))) {
            item.Text = text.data();
            item.Image = tab.iImage;
        }
    } else {
        std::array<char, TabTextLength + 1> text{};
        TCITEMA tab{};
        tab.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_STATE;
        tab.pszText = text.data();
        tab.cchTextMax = TabTextLength;
        if (SendMessageA(wnd, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&tab))) {
            item.Text = TextW(text.data());
            item.Image = tab.iImage;
        }
    }
    return item;
}

TTabImages::TTabImages(HWND wnd, TWinControl* control) {
    if (auto* tabs = dynamic_cast<TCustomTabControl*>(control)) {
        FList = tabs->Images();
        return;
    }
    const auto handle = reinterpret_cast<HIMAGELIST>(SendMessageW(wnd, TCM_GETIMAGELIST, 0, 0));
    if (!handle)
        return;
    FBorrowed.reset(new TCustomImageList(nullptr));
    FBorrowed->SetShareImages(true);
    FBorrowed->SetHandle(handle);
    FList = FBorrowed.get();
}

bool TabScrollerShown(HWND tabs) {
    const HWND scroller = FindTabScroller(tabs);
    return scroller && (GetWindowLongPtrW(scroller, GWL_STYLE) & WS_VISIBLE);
}

TSkinUpDown* AttachScrollerSkinner(TSkinUpDown* current, TComponent* owner, HWND scroller,
                                   TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas, bool forceHorz) {
    if (current || !scroller || !owner)
        return current;
    auto* spin = new TSkinUpDown(owner);
    spin->SetForceHorz(forceHorz);
    spin->AttachWindow(scroller, skinData, form, canvas);
    return spin;
}

namespace {

constexpr int CloseMarksTag = 7777;

bool Lying(TTabSide side) {
    return side == tsdLeft || side == tsdRight;
}

// The display area grown over the native frame, one pixel off the tab row.
TRect PaneRect(HWND wnd, const TRect& r, TTabSide side) {
    RECT d = r;
    SendMessageW(wnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&d));
    InflateRect(&d, 4, 4);
    switch (side) {
    case tsdTop:
        ++d.top;
        break;
    case tsdBottom:
        --d.bottom;
        break;
    case tsdLeft:
        ++d.left;
        break;
    case tsdRight:
        --d.right;
        break;
    }
    return d;
}

TRect TabRowRect(const TRect& r, const TRect& d, TTabSide side) {
    switch (side) {
    case tsdBottom:
        return TRect{r.left, d.bottom, r.right, r.bottom};
    case tsdLeft:
        return TRect{r.left, r.top, d.left, r.bottom};
    case tsdRight:
        return TRect{d.right, r.top, r.right, r.bottom};
    default:
        return TRect{r.left, r.top, r.right, d.top};
    }
}

// A tab's rectangle (window coordinates) in the strip, which side rows have lying.
TRect TabInStrip(const TRect& tab, TTabSide side, int stripWidth, const TRect& r, const TRect& d) {
    switch (side) {
    case tsdBottom:
        return TRect{tab.left, tab.top - (d.bottom + 1), tab.right, tab.bottom - (d.bottom + 1)};
    case tsdLeft:
        return TRect{stripWidth - tab.bottom, tab.left, stripWidth - tab.top, tab.right};
    case tsdRight:
        return TRect{tab.top - 1, r.right - tab.right, tab.bottom - 1, r.right - tab.left};
    default:
        return TRect{tab.left, tab.top + 1, tab.right, tab.bottom + 1};
    }
}

} // namespace

TSkinTab::TSkinTab(TComponent* owner) : TSkinControl(owner) {
    FStrip.SetPixelFormat(pf24bit);
}

TSkinTab::~TSkinTab() {
    *FAlive = false;
}

// ---- attaching --------------------------------------------------------------------------------

void TSkinTab::AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) {
    if (Attached())
        return;
    TSkinControl::AttachControl(form, skinData, ownColor, canvas);
    if (!FControl)
        return;
    FEnabled = !(GetStyle(FHandle, GWL_STYLE) & WS_DISABLED);
    auto* pages = dynamic_cast<TPageControl*>(FControl);
    FCloseMarks = pages && FControl->Tag() == CloseMarksTag && pages->TabPosition() == tpTop;
    LoadTabImages();
    FindScroller();
    FActive = true;
    FWideTabs = IsWindowUnicode(FHandle) != FALSE;
}

void TSkinTab::AttachWindow(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) {
    if (Attached())
        return;
    TSkinControl::AttachWindow(wnd, skinData, form, canvas);
    if (!Attached())
        return;
    FFocused = GetFocus() == wnd;
    FEnabled = !(GetStyle(wnd, GWL_STYLE) & WS_DISABLED);
    FCaption = GetWindowCaption(wnd);
    LoadTabImages();
    FindScroller();
    FActive = true;
    FWideTabs = IsWindowUnicode(wnd) != FALSE;
}

// The images first: the base repaints.
void TSkinTab::SkinChanged() {
    LoadTabImages();
    TSkinControl::SkinChanged();
}

void TSkinTab::ReadTabSide() {
    FTabSide = TabSideOfStyle(GetStyle(FHandle, GWL_STYLE));
}

void TSkinTab::LoadTabImages() {
    ReadTabSide();
    // A skin without a pane image must not keep the previous skin's.
    FTabImage.SetSize(0, 0);
    FPaneImage.SetSize(0, 0);
    TDataSkinBorder* tabs = FSkinData ? FSkinData->Elements().Tabs.get() : nullptr;
    if (!tabs)
        return;
    if (!tabs->Bitmap.Empty())
        CopyBitmap(tabs->Bitmap, FTabImage);
    TDataSkinObject* pane = FSkinData->Elements().TabPane.get();
    if (tabs->Style == 0 && !tabs->ExtraBitmap.Empty())
        CopyBitmap(tabs->ExtraBitmap, FPaneImage);
    else if (tabs->Style == 1 && pane)
        CopyBitmap(pane->Bitmap, FPaneImage);
    FTabImage.SetPixelFormat(pf24bit);
    FPaneImage.SetPixelFormat(pf24bit);
    switch (FTabSide) {
    case tsdBottom:
        FlipBitmap(FTabImage);
        FlipBitmap(FPaneImage);
        break;
    case tsdLeft:
        RotateLeft(FPaneImage);
        break;
    case tsdRight:
        RotateRight(FPaneImage);
        break;
    case tsdTop:
        break;
    }
}

HWND TSkinTab::ScrollerWindow() const {
    return FindTabScroller(FHandle);
}

bool TSkinTab::FindScroller() {
    FScroller = AttachScrollerSkinner(FScroller, Owner(), ScrollerWindow(), FSkinData, FForm, FCanvas);
    return TabScrollerShown(FHandle);
}

// ---- messages -------------------------------------------------------------------------------

bool TSkinTab::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        TDataSkinBorder* tabs = FSkinData ? FSkinData->Elements().Tabs.get() : nullptr;
        if (!tabs || tabs->Bitmap.Empty())
            return TSkinControl::BeforeMessage(message); // the native row stays
        PaintClient(message);
        return false;
    }
    case WM_LBUTTONDOWN:
        if (FCloseMarks && CloseHit(message)) {
            message.Result = 0; // the tab is not selected
            return false;
        }
        return TSkinControl::BeforeMessage(message);
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

bool TSkinTab::CloseHit(TMessage& message) {
    const POINT at{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
    std::vector<int> hits;
    for (std::size_t i = 0; i < FCloseRects.size(); ++i)
        if (PtInRect(&FCloseRects[i], at))
            hits.push_back(static_cast<int>(i));
    if (hits.empty())
        return false;
    // The pages are looked up before the form is asked: its answer may free pages, the page
    // control, or this skinner.
    auto* pages = dynamic_cast<TPageControl*>(FControl);
    std::vector<TTabSheet*> sheets;
    for (int tab : hits) {
        TTabSheet* sheet = nullptr;
        for (int p = 0; pages && p < pages->PageCount(); ++p)
            if (pages->Pages(p)->TabIndex() == tab)
                sheet = pages->Pages(p);
        sheets.push_back(sheet);
    }
    const std::shared_ptr<bool> alive = FAlive;
    const HWND formWnd = FForm ? FForm->Handle() : GetAncestor(FHandle, GA_ROOT);
    for (std::size_t i = 0; i < hits.size(); ++i) {
        const LRESULT answer =
            SendMessageA(formWnd, WMS_TABCLOSE, reinterpret_cast<WPARAM>(FHandle), hits[i]);
        if (!*alive)
            return true;
        if (answer != 0 || !sheets[i])
            continue;
        // Only a page that is still one of the control's: the form may have freed it itself.
        for (int p = 0; p < pages->PageCount(); ++p)
            if (pages->Pages(p) == sheets[i]) {
                TObject::Free(sheets[i]);
                break;
            }
        if (!*alive)
            return true;
    }
    return true;
}

// ---- painting -------------------------------------------------------------------------------

void TSkinTab::DrawTab(HDC dc, const TRect& r, int frame) {
    TDataSkinBorder& tabs = *FSkinData->Elements().Tabs;
    DrawSkinRect(dc, r, FTabImage, false, tabs.Tile == 1, tabs.Trans == 1, tabs.Frame, frame, tabs.Margins());
}

void TSkinTab::DrawCloseMark(const TRect& r, int index) {
    const TRect box{r.right - 8, r.top + 2, r.right - 2, r.top + 8};
    TCanvas& canvas = *FStrip.Canvas();
    const HDC dc = canvas.Handle();
    TBrushHandle pen(CreateSolidBrush(ColorToRGB(canvas.Pen()->Color())));
    FrameRect(dc, &box, pen.Get());
    canvas.MoveTo(box.left, box.top);
    canvas.LineTo(box.right, box.bottom);
    canvas.MoveTo(box.right - 1, box.top);
    canvas.LineTo(box.left - 1, box.bottom);
    FCloseRects[static_cast<std::size_t>(index)] = box;
}

void TSkinTab::DrawTabRow(HDC dc, const TRect& r, const TRect& d, int count, int current) {
    const TRect row = TabRowRect(r, d, FTabSide);
    const bool lying = Lying(FTabSide);
    FStrip.SetSize(lying ? RectHeight(row) : RectWidth(row), lying ? RectWidth(row) : RectHeight(row));
    if (FStrip.Empty())
        return;
    TCanvas& canvas = *FStrip.Canvas();
    FillParentColor(canvas.Handle(), TRect{0, 0, FStrip.Width(), FStrip.Height()});
    if (FControl)
        canvas.Font()->Assign(FControl->Font());
    else
        canvas.Font()->SetHandle(reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0)));
    const TTabImages images(FHandle, FControl);
    const TDataSkinBorder& tabs = *FSkinData->Elements().Tabs;
    for (int i = 0; i < count; ++i) {
        const TTabItem item = ReadTabItem(FHandle, i, FWideTabs);
        RECT tab{};
        if (!SendMessageW(FHandle, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab)))
            continue;
        const TRect at = TabInStrip(tab, FTabSide, FStrip.Width(), r, d);
        const int frame = i == current ? 2 : 1;
        DrawTab(canvas.Handle(), at, frame);
        if (FCloseMarks)
            DrawCloseMark(at, i);
        canvas.Font()->SetColor(frame == 2 ? tabs.MouseOverColour2 : tabs.NormalColour2);
        DrawImageText(*this, canvas, at, 1, item.Text, item.Image, images.List());
    }
    if (FTabSide == tsdRight)
        RotateRight(FStrip);
    else if (FTabSide == tsdLeft)
        RotateLeft(FStrip);
    BitBlt(dc, row.left, row.top, FStrip.Width(), FStrip.Height(), FStrip.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TSkinTab::CopyAroundScroller(HDC dc, const TRect& r, TBitmap& picture) {
    const int saved = SaveDC(dc);
    if (FindScroller()) {
        RECT arrows{};
        GetWindowRect(ScrollerWindow(), &arrows);
        OffsetRect(&arrows, -FWindowRect.left, -FWindowRect.top);
        ExcludeClipRect(dc, arrows.left, arrows.top, arrows.right, arrows.bottom);
    }
    BitBlt(dc, r.left, r.top, picture.Width(), picture.Height(), picture.Canvas()->Handle(), 0, 0, SRCCOPY);
    RestoreDC(dc, saved);
}

void TSkinTab::DrawSkin(HDC dc, const TRect& r) {
    TDataSkinBorder* tabs = FSkinData ? FSkinData->Elements().Tabs.get() : nullptr;
    if (!tabs || RectWidth(r) <= 0 || RectHeight(r) <= 0)
        return;
    FEnabled = !(GetStyle(FHandle, GWL_STYLE) & WS_DISABLED);
    const TRect d = PaneRect(FHandle, r, FTabSide);
    const int count = static_cast<int>(SendMessageW(FHandle, TCM_GETITEMCOUNT, 0, 0));
    const int current = static_cast<int>(SendMessageW(FHandle, TCM_GETCURFOCUS, 0, 0));
    FCloseRects.assign(static_cast<std::size_t>(std::max(count, 0)), TRect{});

    // Whatever neither the row nor the frame covers shows the parent's colour.
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(RectWidth(r), RectHeight(r));
    const HDC pictureDC = picture.Canvas()->Handle();
    FillParentColor(pictureDC, TRect{0, 0, picture.Width(), picture.Height()});
    if (!FTabImage.Empty())
        DrawTabRow(pictureDC, r, d, count, current);
    if (!FPaneImage.Empty()) {
        TDataSkinObject* pane = FSkinData->Elements().TabPane.get();
        const RECT margins = tabs->Style != 0 && pane ? pane->Margins() : RECT{4, 5, 4, 4};
        DrawSkinRect(pictureDC, d, FPaneImage, false, false, false, 1, 1, margins);
    }
    CopyAroundScroller(dc, r, picture);
    if (FVariant == 2 && FControl)
        FControl->PaintControls(dc);
}
