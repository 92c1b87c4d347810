// Images composed from other elements when a skin loads: the combo box drawn as one picture
// per state (and mirrored), its small arrow, a gradient for toolbars, the frame colour and the
// button-face brush.
#include "WinSkinDataElements.h"

#include "ImgUtil.h"
#include "ImgUtilBitmap.h"
#include "ImgUtilWin.h"
#include "SkinDraw.h"
#include "WinSkinDataBitmaps.h"

#include <algorithm>

namespace {

using WinSkinDataBitmaps::BlitArea;

constexpr int kCellWidth = 50;
constexpr int kCellHeight = 21;
constexpr int kArrowSize = 17;

void Fill(HDC dc, const TRect& r, TColor color) {
    const TBrushHandle brush(CreateSolidBrush(ColorToColorRef(color)));
    FillRect(dc, &r, brush.Get());
}

void Make24(TBitmap& bitmap, int width, int height) {
    bitmap.Assign(nullptr);
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(width, height);
}

// The edit frame and the drop-down button joined into one 50 x 21 cell per state, the text
// area left transparent. ComboButton takes the composite, SunkEdge its mirror image (the
// button on the left, for right-to-left fields).
void BuildComboComposite(TSkinElements& e) {
    if (!e.SunkEdge || !e.ComboButton)
        return;
    TDataSkinObject& sunk = *e.SunkEdge;
    TDataSkinBorder& button = *e.ComboButton;
    const int w = GetSystemMetrics(SM_CXHSCROLL) + 2;
    const int frames = std::max(sunk.Frame, 1);
    TBitmap composite;
    Make24(composite, kCellWidth * frames, kCellHeight);
    const HDC compositeDC = composite.Canvas()->Handle();
    Fill(compositeDC, Rect(0, 0, composite.Width(), kCellHeight), SkinKeyColor);
    TBitmap cell;
    Make24(cell, kCellWidth, kCellHeight);
    const HDC cellDC = cell.Canvas()->Handle();
    const TRect whole = Rect(0, 0, kCellWidth, kCellHeight);
    const TRect buttonPart = Rect(kCellWidth - w, 0, kCellWidth, kCellHeight);
    for (int f = 1; f <= frames; ++f) {
        Fill(cellDC, whole, clWhite);
        DrawSkinRect(cellDC, whole, sunk.Bitmap, false, false, sunk.Trans != 0, sunk.Frame, f,
                     sunk.Margins());
        DrawSkinRect(cellDC, buttonPart, button.Bitmap, false, false, true, button.Frame, f,
                     button.Margins());
        if (e.ExtraImages)
            DrawSkinGlyph(cellDC, buttonPart, e.ExtraImages->Bitmap, true, e.ExtraImages->Frame, f);
        Fill(cellDC, Rect(2, 2, kCellWidth - 1 - w, kCellHeight - 3), SkinKeyColor);
        BitBlt(compositeDC, kCellWidth * (f - 1), 0, kCellWidth, kCellHeight, cellDC, 0, 0, SRCCOPY);
    }
    button.Style = 2;
    button.LeftWidth = 2;
    button.TopHeight = sunk.TopHeight;
    button.RightWidth = w + 2;
    button.BottomHeight = sunk.BottomHeight;
    button.Bitmap.Assign(&composite);

    MirrorBitmap(composite.PixelView());
    sunk.Bitmap.Assign(&composite);
    sunk.LeftWidth = w + 2;
    sunk.RightWidth = 2;
}

void BuildComboArrow(TSkinElements& e) {
    e.ComboxArrow = std::make_unique<TDataSkinObject>("ComboxArrow");
    TDataSkinObject& arrow = *e.ComboxArrow;
    if (!e.ComboButton)
        return;
    TDataSkinBorder& button = *e.ComboButton;
    if (!e.SunkEdge) {
        // The button alone, its transparent parts painted in the face colour it sits on.
        arrow.Bitmap.Assign(&button.Bitmap);
        ReplaceMagenta(arrow.Bitmap, ColorToRGB(e.Colors.ButtonFace));
        arrow.Frame = button.Frame;
        return;
    }
    const int n = e.SunkEdge->Frame;
    if (button.Style != 2 || n < 1)
        return;
    // The arrow square at the right end of each composite cell.
    const int cw = button.Bitmap.Width() / n;
    Make24(arrow.Bitmap, kArrowSize * n, kArrowSize);
    const HDC arrowDC = arrow.Bitmap.Canvas()->Handle();
    for (int i = 0; i < n; ++i)
        BlitArea(arrowDC, kArrowSize * i, 0, button.Bitmap,
                 Bounds((i + 1) * cw - 19, 2, kArrowSize, kArrowSize));
    arrow.Frame = n;
}

// The colour a third of the way into the top border's first frame, or the button face.
TColor SkinFrameColor(TSkinElements& e) {
    TDataSkinBorder& top = *e.BorderTop;
    if (top.Bitmap.Empty())
        return e.Colors.ButtonFace;
    const int frameHeight = top.Bitmap.Height() / std::max(top.Frame, 1);
    return top.Bitmap.Canvas()->Pixels(top.Bitmap.Width() / 3, frameHeight / 3);
}

// A light vertical gradient: nearly white at the top, toward the frame colour at the bottom.
void BuildToolbarGradient(TSkinElements& e, TColor frameColor) {
    e.Toolbar = std::make_unique<TDataSkinObject>("Toolbar");
    const TColor top = BlendColor(e.Colors.ButtonFace, clWhite, 150);
    const int saturation = ColorSaturation(ColorToRGB(frameColor));
    // A strongly coloured frame gives a tint of itself; a greyish one is mixed with grey.
    const TColor bottom = saturation > 110
                              ? BlendColor(frameColor, clWhite, (225 - saturation) * 25 / 140 + 50)
                              : BlendColor(clGray, frameColor, 150);
    TBitmap gradient;
    Make24(gradient, 10, 40);
    GradientFill(gradient.Canvas()->Handle(), Rect(0, 0, 10, 40), top, true, bottom);
    e.Toolbar->Bitmap.Assign(&gradient);
    e.Toolbar->Frame = 1;
}

} // namespace

void BuildDerivedImages(TSkinElements& e) {
    BuildComboComposite(e);
    BuildComboArrow(e);
    const TColor frameColor = SkinFrameColor(e);
    BuildToolbarGradient(e, frameColor);
    e.FrameColor = frameColor;
    e.ButtonFaceBrush.Reset(CreateSolidBrush(ColorToColorRef(e.Colors.ButtonFace)));
}
