// TSkinTabBtn, TSkinTab31, TSkinTabSheet and TSkinAdvPage: the lighter tab skinners.
#include "WinSubClassTabs.h"

#include "ComCtrls.h"
#include "ImgUtilBitmap.h"
#include "SkinDraw.h"
#include "Tabs.h"
#include "TypInfo.h"

#include <commctrl.h>

TClass TSkinTabBtn::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinTabBtn>("TSkinTabBtn").Build();
    return &info;
}

TClass TSkinTab31::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinTab31>("TSkinTab31").Build();
    return &info;
}

TClass TSkinTabSheet::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinTabSheet>("TSkinTabSheet").Build();
    return &info;
}

TClass TSkinAdvPage::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinAdvPage>("TSkinAdvPage").Build();
    return &info;
}

namespace {

// A 24-bit work bitmap of that size; its canvas draws the picture before the one copy.
void PrepareWork(TBitmap& work, int width, int height) {
    work.SetPixelFormat(pf24bit);
    work.SetSize(width, height);
}

} // namespace

// ---- TSkinTabBtn ------------------------------------------------------------------------------

bool TSkinTabBtn::BeforeMessage(TMessage& message) {
    if (message.Msg != WM_PAINT)
        return TSkinControl::BeforeMessage(message);
    PaintClient(message);
    return false;
}

void TSkinTabBtn::DrawSkin(HDC dc, const TRect& r) {
    TDataSkinButton* buttons = FSkinData ? FSkinData->Elements().Buttons.get() : nullptr;
    FEnabled = FControl ? FControl->Enabled() : IsWindowEnabled(FHandle) != FALSE;
    if (!buttons || buttons->Bitmap.Empty())
        return;
    RECT d = r;
    SendMessageW(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&d));
    InflateRect(&d, 4, 4);
    const TRect row{r.left, r.top, r.right, d.top + 1};
    TBitmap work;
    PrepareWork(work, RectWidth(row), RectHeight(row));
    if (work.Empty())
        return;
    TCanvas& canvas = *work.Canvas();
    FillFace(canvas.Handle(), TRect{0, 0, work.Width(), work.Height()});
    if (FControl)
        canvas.Font()->Assign(FControl->Font());
    const TTabImages images(FHandle, FControl);
    const bool wide = IsWindowUnicode(FHandle) != FALSE;
    const int count = static_cast<int>(SendMessageW(FHandle, TCM_GETITEMCOUNT, 0, 0));
    const int current = static_cast<int>(SendMessageW(FHandle, TCM_GETCURFOCUS, 0, 0));
    for (int i = 0; i < count; ++i) {
        RECT tab{};
        if (!SendMessageW(FHandle, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab)))
            continue;
        OffsetRect(&tab, 0, 1);
        const int frame = i == current ? 2 : 1;
        DrawElement(canvas.Handle(), tab, buttons->Frame, frame, *buttons);
        TColor color = clBlack;
        if (frame == 1 && buttons->HasNormalColour2)
            color = buttons->NormalColour2;
        else if (frame == 2 && buttons->HasPressedColour2)
            color = buttons->PressedColour2;
        canvas.Font()->SetColor(color);
        const TTabItem item = ReadTabItem(FHandle, i, wide);
        DrawImageText(*this, canvas, tab, 1, item.Text, item.Image, images.List());
    }
    BitBlt(dc, row.left, row.top, work.Width(), work.Height(), canvas.Handle(), 0, 0, SRCCOPY);
}

// ---- TSkinTab31 -------------------------------------------------------------------------------

void TSkinTab31::AttachControl(TWinSkinForm* form, TSkinData* skinData, bool, TCanvas* canvas) {
    auto* tabSet = dynamic_cast<TTabSet*>(Owner());
    if (Attached() || !tabSet)
        return;
    FControl = tabSet;
    FHandle = tabSet->Handle();
    AttachWindow(FHandle, skinData, form, canvas);
    LoadTabImage();
    if (tabSet->ComponentCount() > 0 && tabSet->Components(0) == tabSet->Scroller()) {
        FScrollerControl = tabSet->Scroller();
        FScroller = AttachScrollerSkinner(FScroller, Owner(), tabSet->Scroller()->Handle(), skinData, form,
                                          canvas, true);
    }
}

void TSkinTab31::LoadTabImage() {
    FTabImage.SetSize(0, 0);
    TDataSkinBorder* tabs = FSkinData ? FSkinData->Elements().Tabs.get() : nullptr;
    if (!tabs || tabs->Bitmap.Empty())
        return;
    CopyBitmap(tabs->Bitmap, FTabImage);
    // The tabs hang below the strip.
    FlipBitmap(FTabImage);
}

// The image first: the base repaints.
void TSkinTab31::SkinChanged() {
    LoadTabImage();
    TSkinControl::SkinChanged();
}

bool TSkinTab31::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        PaintClient(message);
        return true;
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinTab31::DrawSkin(HDC dc, const TRect& r) {
    auto* tabSet = dynamic_cast<TTabSet*>(FControl);
    TDataSkinBorder* tabs = FSkinData ? FSkinData->Elements().Tabs.get() : nullptr;
    if (!tabSet || !tabs || FTabImage.Empty())
        return;
    FEnabled = tabSet->Enabled();
    TBitmap work;
    PrepareWork(work, RectWidth(r), RectHeight(r));
    if (work.Empty())
        return;
    TCanvas& canvas = *work.Canvas();
    FillFace(canvas.Handle(), TRect{0, 0, work.Width(), work.Height()});
    canvas.Font()->Assign(tabSet->Font());
    // The tab set's own layout, so the tabs drawn are the tabs that take clicks.
    const std::vector<TRect> places =
        TabSetLayout(tabSet->TabWidths(), tabSet->FirstIndex(), tabSet->StartMargin(),
                     r.right - tabSet->EndMargin(), r.bottom, tabSet->ScrollerShown());
    for (std::size_t i = 0; i < places.size(); ++i) {
        const TRect& at = places[i];
        if (IsRectEmpty(&at))
            continue;
        const int frame = static_cast<int>(i) == tabSet->TabIndex() ? 2 : 1;
        DrawSkinRect(canvas.Handle(), at, FTabImage, false, tabs->Tile == 1, tabs->Trans == 1, tabs->Frame,
                     frame, tabs->Margins());
        canvas.Font()->SetColor(frame == 2 ? tabs->MouseOverColour2 : tabs->NormalColour2);
        DrawCaptionText(*this, canvas, at, DT_CENTER, FEnabled,
                        TextW(tabSet->Tabs()->Get(static_cast<int>(i))));
    }
    BitBlt(dc, r.left, r.top, work.Width(), work.Height(), canvas.Handle(), 0, 0, SRCCOPY);
}

// ---- TSkinTabSheet ----------------------------------------------------------------------------

bool TSkinTabSheet::BeforeMessage(TMessage& message) {
    const bool passOn = TSkinControl::BeforeMessage(message);
    if (FVariant != 0)
        return passOn;
    switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        PaintClient(message);
        return false;
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(FHandle, &client);
        const auto dc = reinterpret_cast<HDC>(message.WParam);
        if (HBRUSH face = FSkinData ? FSkinData->Elements().ButtonFaceBrush.Get() : nullptr)
            FillRect(dc, &client, face);
        else
            FillFace(dc, client);
        message.Result = 1;
        return false;
    }
    default:
        return passOn;
    }
}

void TSkinTabSheet::DrawSkin(HDC dc, const TRect& r) {
    FillFace(dc, r);
    if (FControl)
        FControl->PaintControls(dc);
}

// ---- TSkinAdvPage -----------------------------------------------------------------------------

namespace {

constexpr const char* TabImageProps[] = {"TabBackGround", "TabBackGroundActive"};

// The bitmap a property of the control holds, when it holds one.
TBitmap* HeldBitmap(TObject* control, const char* name) {
    return dynamic_cast<TBitmap*>(GetObjectPropOf(control, name, TBitmap::StaticClass()));
}

} // namespace

void TSkinAdvPage::AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) {
    if (Attached())
        return;
    TSkinControl::AttachControl(form, skinData, ownColor, canvas);
    if (FAdvKind == akTabImages)
        PushTabImages();
    FAttached = true;
    FState = stAttached;
}

void TSkinAdvPage::SkinChanged() {
    TSkinControl::SkinChanged();
    if (FAdvKind == akTabImages)
        PushTabImages();
}

// Frame 1 (a tab) and frame 2 (the chosen tab) of [Tabs] composed at 100 x 21; the control
// takes copies.
void TSkinAdvPage::PushTabImages() {
    TDataSkinBorder* tabs = FSkinData ? FSkinData->Elements().Tabs.get() : nullptr;
    if (!tabs || !FControl)
        return;
    for (int frame = 1; frame <= 2; ++frame) {
        TBitmap* held = HeldBitmap(FControl, TabImageProps[frame - 1]);
        if (!held)
            continue;
        auto composed = BuildSkinBitmap(TRect{0, 0, 100, 21}, tabs->Bitmap, tabs->Margins(), false,
                                        tabs->Tile == 1, tabs->Frame, frame);
        held->Assign(composed.get());
    }
}

void TSkinAdvPage::Detach() {
    if (FControl)
        for (const char* name : TabImageProps)
            if (TBitmap* held = HeldBitmap(FControl, name))
                held->Assign(nullptr);
    TSkinControl::Detach();
}

bool TSkinAdvPage::FindScroller() {
    FScroller =
        AttachScrollerSkinner(FScroller, Owner(), FindTabScroller(FHandle), FSkinData, FForm, FCanvas);
    return TabScrollerShown(FHandle);
}

void TSkinAdvPage::DrawSkin(HDC, const TRect&) {
    FindScroller();
}
