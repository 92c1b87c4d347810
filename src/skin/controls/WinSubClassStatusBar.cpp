// TSkinStatusBar: the status bar composed off-screen (panels or the simple text on their
// frames, the size grip) and copied in one step; owner-draw panels get their frame here and
// their contents from the application's OnDrawPanel afterwards.
#include "WinSubClassPanels.h"

#include "SkinDraw.h"
#include "TypInfo.h"

#include <algorithm>
#include <utility>
#include <vector>

TClass TSkinStatusBar::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinStatusBar>("TSkinStatusBar").Build();
    return &info;
}

int StatusPanelFrame(TStatusPanelBevel bevel) {
    switch (bevel) {
    case pbRaised:
        return 2;
    case pbNone:
        return 3;
    default:
        return 1;
    }
}

void DrawBevelPanel(HDC dc, const TRect& r, int frame) {
    if (frame != 1 && frame != 2)
        return;
    const bool lowered = frame == 1;
    TBrushHandle shadow(CreateSolidBrush(ColorToRGB(clBtnShadow)));
    TBrushHandle light(CreateSolidBrush(ColorToRGB(clBtnHighlight)));
    const HBRUSH topLeft = lowered ? shadow.Get() : light.Get();
    const HBRUSH bottomRight = lowered ? light.Get() : shadow.Get();
    const TRect top{r.left, r.top, r.right - 1, r.top + 1};
    const TRect left{r.left, r.top, r.left + 1, r.bottom - 1};
    const TRect bottom{r.left, r.bottom - 1, r.right, r.bottom};
    const TRect right{r.right - 1, r.top, r.right, r.bottom};
    FillRect(dc, &top, topLeft);
    FillRect(dc, &left, topLeft);
    FillRect(dc, &bottom, bottomRight);
    FillRect(dc, &right, bottomRight);
}

namespace {

// What one panel shows, read once before painting.
struct TPanelLook {
    TRect Rect;
    std::wstring Text;
    UINT Alignment = DT_LEFT;
    int Frame = 1;
    bool OwnerDraw = false;
};

UINT PanelAlignment(const TStatusPanel& panel) {
    TAlignment alignment = panel.Alignment();
    // Right to left reading exchanges the sides.
    if (panel.BiDiMode() == bdRightToLeft && alignment != taCenter)
        alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    switch (alignment) {
    case taRightJustify:
        return DT_RIGHT;
    case taCenter:
        return DT_CENTER;
    default:
        return DT_LEFT;
    }
}

bool PanelRectOf(HWND bar, int index, TRect& r) {
    RECT found{};
    if (!SendMessageW(bar, SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&found)))
        return false;
    r = found;
    return true;
}

std::vector<TPanelLook> ReadPanels(HWND bar, TCustomStatusBar& statusBar, const TRect& r) {
    std::vector<TPanelLook> looks;
    TStatusPanels& panels = *statusBar.Panels();
    for (int i = 0; i < panels.Count(); ++i) {
        TStatusPanel& panel = *panels.Items(i);
        TPanelLook look;
        if (!PanelRectOf(bar, i, look.Rect))
            continue;
        look.Rect.right += 2;
        if (i == panels.Count() - 1)
            look.Rect.right = r.right;
        look.Text = GetTextProp(&panel, "Text");
        look.Alignment = PanelAlignment(panel);
        look.Frame = StatusPanelFrame(panel.Bevel());
        look.OwnerDraw = panel.Style() == psOwnerDraw;
        looks.push_back(std::move(look));
    }
    return looks;
}

TRect TextArea(const TRect& r) {
    TRect text = r;
    InflateRect(&text, -2, 0);
    return text;
}

// Hands the bar's canvas to OnDrawPanel handlers for the length of the calls; whatever they
// change in the DC is undone afterwards.
class TCanvasLoan {
public:
    TCanvasLoan(TCanvas& canvas, HDC dc) : FCanvas(canvas), FDC(dc), FSaved(SaveDC(dc)) {
        canvas.SetHandle(dc);
    }
    TCanvasLoan(const TCanvasLoan&) = delete;
    TCanvasLoan& operator=(const TCanvasLoan&) = delete;
    ~TCanvasLoan() {
        FCanvas.SetHandle(nullptr);
        RestoreDC(FDC, FSaved);
    }

private:
    TCanvas& FCanvas;
    HDC FDC;
    int FSaved;
};

} // namespace

bool TSkinStatusBar::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT: // painted into the DC given, the same way
        PaintClient(message);
        return false;
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinStatusBar::DrawPanelFrame(TCanvas& canvas, const TRect& r, int frame) {
    TDataSkinObject* edges = FSkinData->Elements().StatusBarEdges.get();
    if (edges && !edges->Bitmap.Empty())
        DrawSkinRect(canvas.Handle(), r, edges->Bitmap, false, edges->Tile == 1, false, 3, frame,
                     edges->Margins());
    else
        DrawBevelPanel(canvas.Handle(), r, frame);
}

void TSkinStatusBar::DrawSizeGrip(HDC dc, const TRect& r) {
    if (!(GetStyle(FHandle, GWL_STYLE) & SBARS_SIZEGRIP))
        return;
    TDataSkinObject* extra = FSkinData->Elements().ExtraImages.get();
    if (!extra || extra->Bitmap.Empty())
        return;
    const int frames = std::max(extra->Frame, 1);
    const int width = extra->Bitmap.Width() / frames;
    const int height = extra->Bitmap.Height();
    DrawStripFrameDC(dc, TRect{r.right - 1 - width, r.bottom - 1 - height, r.right - 1, r.bottom - 1}, frames,
                     5, extra->Bitmap);
}

void TSkinStatusBar::DrawSkin(HDC dc, const TRect& r) {
    auto* statusBar = dynamic_cast<TCustomStatusBar*>(FControl);
    if (!statusBar || !FSkinData)
        return;
    TBitmap work;
    work.SetPixelFormat(pf24bit);
    work.SetSize(RectWidth(r), RectHeight(r));
    const TRect area{0, 0, work.Width(), work.Height()};
    TCanvas& canvas = *work.Canvas();
    FillFace(canvas.Handle(), area);
    canvas.Font()->Assign(statusBar->Font());
    if (TDataSkinObject* edges = FSkinData->Elements().StatusBarEdges.get())
        canvas.Font()->SetColor(edges->NormalColour2);
    const bool enabled = IsWindowEnabled(FHandle) != FALSE;

    if (statusBar->SimplePanel() || statusBar->Panels()->Count() == 0) {
        std::wstring text = TextW(statusBar->SimpleText());
        if (text.empty())
            text = L" ";
        DrawPanelFrame(canvas, area, 1);
        const UINT alignment = statusBar->BiDiMode() == bdRightToLeft ? DT_RIGHT : DT_LEFT;
        DrawCaptionText(*this, canvas, TextArea(area), alignment, enabled, text);
    } else {
        for (const TPanelLook& panel : ReadPanels(FHandle, *statusBar, area)) {
            DrawPanelFrame(canvas, panel.Rect, panel.Frame);
            if (!panel.OwnerDraw)
                DrawCaptionText(*this, canvas, TextArea(panel.Rect), panel.Alignment, enabled,
                                panel.Text.empty() ? L" " : panel.Text);
        }
    }
    DrawSizeGrip(canvas.Handle(), area);
    BitBlt(dc, r.left, r.top, work.Width(), work.Height(), canvas.Handle(), 0, 0, SRCCOPY);
    statusBar->PaintControls(dc);
    CallOnDrawPanel(dc);
}

void TSkinStatusBar::CallOnDrawPanel(HDC dc) {
    auto* statusBar = dynamic_cast<TCustomStatusBar*>(FControl);
    if (!statusBar || !statusBar->OnDrawPanel || statusBar->Panels()->Count() == 0)
        return;
    TCanvasLoan loan(*statusBar->Canvas(), dc);
    statusBar->Canvas()->Font()->Assign(statusBar->Font());
    statusBar->Canvas()->Brush()->SetColor(statusBar->Color());
    TStatusPanels& panels = *statusBar->Panels();
    for (int i = 0; i < panels.Count(); ++i) {
        // Text panels are the skin's: a handler written for its owner-draw panels would paint
        // over them.
        TRect r;
        if (panels.Items(i)->Style() != psOwnerDraw || !PanelRectOf(FHandle, i, r))
            continue;
        InflateRect(&r, -2, -2);
        statusBar->OnDrawPanel(statusBar, panels.Items(i), r);
    }
}
