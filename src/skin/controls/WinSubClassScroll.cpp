// The scroll skinners: framework controls with scroll bars, list views, bare windows and
// scroll-bar controls, each keeping its overlays over the native bars.
#include "WinSubClassScroll.h"

#include "TypInfo.h"
#include "WinHandle.h"
#include "WinSubClassHeader.h"
#include "WinSkinForm.h"
#include "WinSkinMessages.h"

#include <commctrl.h>

#include <string>
#include <utility>

TClass TSkinScrollbar::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinScrollbar>("TSkinScrollbar").Build();
    return &info;
}

TClass TSkinListView::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinListView>("TSkinListView").Build();
    return &info;
}

TClass TSkinScrollbarH::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinScrollbarH>("TSkinScrollbarH").Build();
    return &info;
}

TClass TSkinScControl::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinScControl>("TSkinScControl").Build();
    return &info;
}

TSkinData* ScrollSkinData(TSkinControl* skinner) {
    if (auto* scrolled = dynamic_cast<TSkinScrollbar*>(skinner))
        return scrolled->SkinData();
    if (auto* window = dynamic_cast<TSkinScrollbarH*>(skinner))
        return window->SkinData();
    if (auto* control = dynamic_cast<TSkinScControl*>(skinner))
        return control->SkinData();
    return nullptr;
}

namespace {

// A bar's rectangle in the target's client coordinates moved into its window coordinates, where
// the skinners paint.
TRect InWindow(HWND wnd, const TRect& r) {
    RECT window{};
    GetWindowRect(wnd, &window);
    POINT origin{0, 0};
    ClientToScreen(wnd, &origin);
    TRect moved = r;
    OffsetRect(&moved, origin.x - window.left, origin.y - window.top);
    return moved;
}

// The square between a vertical and a horizontal bar, in window coordinates.
void FillCorner(HWND wnd, HDC dc, const TWScrollbar* horz, const TWScrollbar* vert, TColor face) {
    if (!horz || !vert || !horz->Shown() || !vert->Shown())
        return;
    const TRect v = InWindow(wnd, vert->BarRect());
    const TRect h = InWindow(wnd, horz->BarRect());
    const TRect corner{v.left, h.top, v.right, h.bottom};
    TBrushHandle brush(CreateSolidBrush(ColorToRGB(face)));
    FillRect(dc, &corner, brush.Get());
}

void PlaceBar(TWScrollbar* bar) {
    if (bar)
        bar->Place();
}

void SetHotPart(TWScrollbar* bar, WPARAM wParam) {
    if (!bar)
        return;
    bar->SetHotPart(LOWORD(wParam));
    bar->InvalidateBar();
}

void InvalidateShown(TWScrollbar* bar) {
    if (bar && bar->Shown())
        bar->InvalidateBar();
}

// A bar not covered yet is placed once its window style says it is there.
void RefreshBar(TWScrollbar* bar, LONG_PTR style, LONG_PTR barStyle) {
    if (!bar)
        return;
    if (bar->Shown())
        bar->InvalidateBar();
    else if (style & barStyle)
        bar->Place();
}

} // namespace

// ---- TSkinScrollbar ---------------------------------------------------------------------------

TSkinScrollbar::TSkinScrollbar(TComponent* owner) : TSkinControl(owner) {}

// The overlays go before the components this skinner owns are freed without a word.
void TSkinScrollbar::BeforeDestruction() {
    FreeBars();
    TSkinControl::BeforeDestruction();
}

void TSkinScrollbar::FreeBars() {
    TObject::Free(std::exchange(FHorzBar, nullptr));
    TObject::Free(std::exchange(FVertBar, nullptr));
}

void TSkinScrollbar::AttachScrolled(TWinControl* control, TSkinData* skinData, TWinSkinForm* form,
                                    TCanvas* canvas) {
    if (!BeginAttachControl(form, skinData, false, canvas, control))
        return;
    FUnicode = IsWindowUnicode(FHandle) != FALSE;
    JoinForm();
    FOwnBorder = GetEnumText(control, "BorderStyle") != "bsnone" &&
                 control->ClassName() != "TImageScrollBox" && FVariant != 1;
    TakeFixedColor();
    FHorzBar = new TWScrollbar(this);
    FHorzBar->AttachToControl(this, control, bkHorizontal);
    FVertBar = new TWScrollbar(this);
    FVertBar->AttachToControl(this, control, bkVertical);
    for (TWScrollbar* bar : {FHorzBar, FVertBar}) {
        bar->SetEnabled(control->Enabled());
        if (!control->Visible())
            bar->HideBar();
    }
    FOldWindowProc = control->WindowProc;
    control->WindowProc = TWndMethod(this, &TSkinControl::NewWindowProc);
    FAttached = true;
    FState = stAttached;
}

void TSkinScrollbar::TakeFixedColor() {
    if (!FControl || PropType(FControl, "FixedColor") != tkInteger)
        return;
    // The colour kept is the control's own, not the face colour of an earlier skin.
    if (!FOwnColor)
        FOldColor = static_cast<TColor>(GetIntProp(FControl, "FixedColor"));
    FOwnColor = true;
    SetPropText(FControl, "FixedColor", std::to_string(static_cast<int>(FaceColor())));
}

void TSkinScrollbar::Detach() {
    if (FOwnColor && FControl) {
        SetPropText(FControl, "FixedColor", std::to_string(static_cast<int>(FOldColor)));
        FOwnColor = false;
    }
    TSkinControl::Detach();
    if (FState != stDestroyed)
        FreeBars();
}

void TSkinScrollbar::SkinChanged() {
    TakeFixedColor();
    InvalidateShown(FHorzBar);
    InvalidateShown(FVertBar);
}

void TSkinScrollbar::PaintBorder(HDC dc) {
    RECT window{};
    if (!GetWindowRect(FHandle, &window))
        return;
    RECT r{0, 0, window.right - window.left, window.bottom - window.top};
    TBrushHandle shadow(CreateSolidBrush(ColorToRGB(ShadowColor())));
    FrameRect(dc, &r, shadow.Get());
    InflateRect(&r, -1, -1);
    TBrushHandle face(CreateSolidBrush(ColorToRGB(FaceColor())));
    FrameRect(dc, &r, face.Get());
}

bool TSkinScrollbar::BeforeMessage(TMessage& message) {
    if (message.Msg == WM_NCPAINT) {
        if (!FOwnBorder)
            return true;
        CallOldProc(message);
        TWindowDC dc(FHandle, true);
        if (dc.Get())
            PaintBorder(dc.Get());
        return false;
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinScrollbar::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        FMoved = true;
        PlaceBar(FHorzBar);
        PlaceBar(FVertBar);
        break;
    case WM_HSCROLL:
        SetHotPart(FHorzBar, message.WParam);
        break;
    case WM_VSCROLL:
        SetHotPart(FVertBar, message.WParam);
        break;
    case WM_MOUSEWHEEL:
        InvalidateShown(FHorzBar);
        InvalidateShown(FVertBar);
        break;
    case CM_VISIBLECHANGED:
        for (TWScrollbar* bar : {FHorzBar, FVertBar}) {
            if (!bar)
                continue;
            if (message.WParam)
                bar->Place();
            else
                bar->HideBar();
        }
        break;
    case CM_ENABLEDCHANGED:
        for (TWScrollbar* bar : {FHorzBar, FVertBar})
            if (bar && FControl)
                bar->SetEnabled(FControl->Enabled());
        break;
    case CM_RECREATEWND:
        // The form painter replaces this skinner once the new window exists.
        if (FForm)
            PostMessageA(FForm->Handle(), WMS_RESKINSCROLL, reinterpret_cast<WPARAM>(FHandle), 0);
        break;
    case WMS_PAINTFRAMETO:
        if (message.LParam != SKIN_MAGIC) {
            TSkinControl::AfterMessage(message);
            break;
        }
        if (message.WParam)
            PaintBorder(reinterpret_cast<HDC>(message.WParam));
        message.Result = SKIN_MAGIC;
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinScrollbar::DrawSkin(HDC dc, const TRect&) {
    const LONG_PTR style = GetStyle(FHandle, GWL_STYLE);
    RefreshBar(FHorzBar, style, WS_HSCROLL);
    RefreshBar(FVertBar, style, WS_VSCROLL);
    FillCorner(FHandle, dc, FHorzBar, FVertBar, FaceColor());
}

// ---- TSkinListView ------------------------------------------------------------------------------

TSkinListView::~TSkinListView() {
    if (FHeader)
        FHeader->RemoveFreeNotification(this);
}

void TSkinListView::Notification(TComponent* component, TOperation operation) {
    TSkinScrollbar::Notification(component, operation);
    if (operation == opRemove && component == FHeader)
        FHeader = nullptr;
}

void TSkinListView::AttachScrolled(TWinControl* control, TSkinData* skinData, TWinSkinForm* form,
                                   TCanvas* canvas) {
    if (FAttached)
        return;
    TSkinScrollbar::AttachScrolled(control, skinData, form, canvas);
    if (FAttached)
        AttachHeader();
}

void TSkinListView::AttachHeader() {
    HWND header = reinterpret_cast<HWND>(SendMessageA(FHandle, LVM_GETHEADER, 0, 0));
    if (!header || FHeader)
        return;
    // The header belongs to the list view like this skinner; the form painter lists it.
    FHeader = new TSkinHeader(Owner());
    FHeader->FreeNotification(this);
    FHeader->AttachWindow(header, FSkinData, FForm, FCanvas);
}

// ---- TSkinScrollbarH ------------------------------------------------------------------------------

void TSkinScrollbarH::BeforeDestruction() {
    FreeBars();
    TSkinControl::BeforeDestruction();
}

void TSkinScrollbarH::FreeBars() {
    TObject::Free(std::exchange(FHorzBar, nullptr));
    TObject::Free(std::exchange(FVertBar, nullptr));
}

void TSkinScrollbarH::AttachWindow(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) {
    if (FAttached || !IsWindow(wnd))
        return;
    FForm = form;
    FSkinData = skinData;
    FCanvas = canvas;
    FHandle = wnd;
    FControl = nullptr;
    FEnabled = true;
    JoinForm();
    FHorzBar = new TWScrollbar(this);
    FHorzBar->AttachToWindow(this, wnd, bkHorizontal);
    FVertBar = new TWScrollbar(this);
    FVertBar->AttachToWindow(this, wnd, bkVertical);
    FUnicode = false;
    FSubclass.Install(wnd, TWndMethod(this, &TSkinControl::NewWindowProc), false);
    FAttached = true;
    FState = stAttached;
}

void TSkinScrollbarH::AfterMessage(TMessage& message) {
    // A hidden window leaves no bar to cover: both overlays go, not only the vertical one.
    if (!IsWindowVisible(FHandle))
        for (TWScrollbar* bar : {FHorzBar, FVertBar})
            if (bar && bar->Shown())
                bar->HideBar();
    switch (message.Msg) {
    case WM_SIZE:
    case WM_NCPAINT:
        PlaceBar(FHorzBar);
        PlaceBar(FVertBar);
        Redraw();
        break;
    case WM_HSCROLL:
        SetHotPart(FHorzBar, message.WParam);
        break;
    case WM_VSCROLL:
        SetHotPart(FVertBar, message.WParam);
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinScrollbarH::DrawSkin(HDC dc, const TRect&) {
    InvalidateShown(FHorzBar);
    InvalidateShown(FVertBar);
    FillCorner(FHandle, dc, FHorzBar, FVertBar, FaceColor());
}

void TSkinScrollbarH::Detach() {
    TSkinControl::Detach();
    if (FState != stDestroyed)
        FreeBars();
}

// ---- TSkinScControl --------------------------------------------------------------------------------

void TSkinScControl::BeforeDestruction() {
    FreeBar();
    TSkinControl::BeforeDestruction();
}

void TSkinScControl::FreeBar() {
    TObject::Free(std::exchange(FBar, nullptr));
}

void TSkinScControl::AttachScrollBar(TWinControl* control, TSkinData* skinData, TWinSkinForm* form,
                                     TCanvas* canvas) {
    if (!BeginAttachControl(form, skinData, false, canvas, control))
        return;
    FUnicode = IsWindowUnicode(FHandle) != FALSE;
    JoinForm();
    FBar = new TWScrollbar(this);
    FBar->AttachToControl(this, control, bkControl);
    if (!control->Visible())
        FBar->HideBar();
    FOldWindowProc = control->WindowProc;
    control->WindowProc = TWndMethod(this, &TSkinControl::NewWindowProc);
    FAttached = true;
    FState = stAttached;
}

void TSkinScControl::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_WINDOWPOSCHANGED:
        PlaceBar(FBar);
        break;
    case WM_NCPAINT:
        if (FControl)
            FHandle = FControl->Handle();
        PlaceBar(FBar);
        break;
    case SBM_SETSCROLLINFO:
    case CN_VSCROLL:
    case CN_HSCROLL: // a lying bar moves its thumb the same way
        if (FBar)
            FBar->InvalidateBar();
        break;
    case CM_VISIBLECHANGED:
        if (!FBar)
            break;
        if (message.WParam)
            FBar->Place();
        else
            FBar->HideBar();
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinScControl::DrawSkin(HDC, const TRect&) {
    if (FBar)
        FBar->InvalidateBar();
}

void TSkinScControl::Detach() {
    TSkinControl::Detach();
    if (FState != stDestroyed)
        FreeBar();
}
