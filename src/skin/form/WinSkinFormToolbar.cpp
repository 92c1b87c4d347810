// Toolbars keep their own buttons; the form painter draws the bar's background and each
// button's face from the skin through the toolbar's custom-draw events, and the system then
// draws glyphs and captions over them.
#include "WinSkinForm.h"

#include "SkinDraw.h"

namespace {

// The [Buttons] frame for a toolbar button's state; 0: nothing is drawn.
int ToolButtonFrame(TCustomDrawState state) {
    if (state.Contains(cdsSelected))
        return 2;
    if (state.Contains(cdsFocused) || state.Contains(cdsHot))
        return 4;
    if (state.Contains(cdsDefault) && !state.Contains(cdsGrayed) && !state.Contains(cdsDisabled))
        return 1;
    return 0;
}

} // namespace

void TWinSkinForm::InstallToolbarHandlers(TToolBar& toolbar) {
    if (!toolbar.OnCustomDraw)
        toolbar.OnCustomDraw = TTBCustomDrawEvent(this, &TWinSkinForm::DrawToolbarBack);
    if (!toolbar.OnCustomDrawButton)
        toolbar.OnCustomDrawButton = TTBCustomDrawBtnEvent(this, &TWinSkinForm::DrawToolButton);
    toolbar.Invalidate();
}

void TWinSkinForm::RemoveToolbarHandlers(TControl* control) {
    auto* toolbar = dynamic_cast<TToolBar*>(control);
    if (!toolbar)
        return;
    if (toolbar->OnCustomDraw == TTBCustomDrawEvent(this, &TWinSkinForm::DrawToolbarBack))
        toolbar->OnCustomDraw = {};
    if (toolbar->OnCustomDrawButton == TTBCustomDrawBtnEvent(this, &TWinSkinForm::DrawToolButton))
        toolbar->OnCustomDrawButton = {};
    toolbar->Invalidate();
}

void TWinSkinForm::DrawToolbarBack(TToolBar* Sender, const TRect& ARect, bool&) {
    if (!Sender || !FSkinData || FSkinData->SkinLoading() || FSkinData->Options().Contains(xoToolbarBK))
        return;
    TDataSkinObject* element = FSkinData->Elements().Toolbar.get();
    if (!element || element->Bitmap.Empty())
        return;
    TBitmap& image = element->Bitmap;
    const HDC dc = Sender->Canvas()->Handle();
    const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, ARect.left, ARect.top, RectWidth(ARect), RectHeight(ARect), image.Canvas()->Handle(), 0, 0,
               image.Width(), image.Height(), SRCCOPY);
    if (oldMode)
        SetStretchBltMode(dc, oldMode);
}

void TWinSkinForm::DrawToolButton(TToolBar* Sender, TToolButton* Button, TCustomDrawState State, bool&) {
    if (!Sender || !Button || !FSkinData || FSkinData->SkinLoading() || FSkinState != ssActive)
        return;
    TDataSkinButton* element = FSkinData->Elements().Buttons.get();
    if (!element || element->Bitmap.Empty())
        return;
    const int frame = ToolButtonFrame(State);
    if (frame == 0)
        return;
    TCanvas& canvas = *Sender->Canvas();
    if (frame == 1 && element->HasNormalColour2)
        canvas.Font()->SetColor(element->NormalColour2);
    else if (frame == 4 && element->HasMouseOverColour2)
        canvas.Font()->SetColor(element->MouseOverColour2);
    else if (frame == 2 && element->HasPressedColour2)
        canvas.Font()->SetColor(element->PressedColour2);
    TRect bounds = Button->BoundsRect();
    InflateRect(&bounds, -1, -1);
    DrawSkinRect(canvas.Handle(), bounds, element->Bitmap, false, false, element->Trans == 1, 5, frame,
                 element->Margins());
}
