// How an owner-drawn menu item measures and paints itself when no handler does: a glyph
// column (image, check mark or radio dot), the caption with its accelerator underlined, and
// the shortcut right-aligned; separators are an etched line.
#include "Menus.h"

#include "MenuDispatch.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kGlyphSize = 16;
constexpr int kTextGap = 6;      // between the glyph column and the caption
constexpr int kShortCutGap = 15; // between the caption and the shortcut
constexpr int kRightMargin = 10; // room for the sub-menu arrow the system draws

int GlyphWidth(const TCustomImageList* images) {
    return images ? std::max(images->Width(), kGlyphSize) : kGlyphSize;
}

int GlyphHeight(const TCustomImageList* images) {
    return images ? std::max(images->Height(), kGlyphSize) : kGlyphSize;
}

void DrawCheckMark(TCanvas& canvas, const TRect& box, TColor color, bool radio) {
    const int cx = (box.left + box.right) / 2;
    const int cy = (box.top + box.bottom) / 2;
    canvas.Pen()->SetColor(color);
    canvas.Pen()->SetWidth(1);
    if (radio) {
        canvas.Brush()->SetColor(color);
        canvas.Brush()->SetStyle(bsSolid);
        canvas.Ellipse(cx - 3, cy - 3, cx + 3, cy + 3);
        return;
    }
    // A tick three pixels thick: down from the left, then up to the right.
    for (int dy = 0; dy < 3; ++dy) {
        const std::array<TPoint, 3> tick{
            {{cx - 4, cy - 1 + dy}, {cx - 2, cy + 1 + dy}, {cx + 3, cy - 4 + dy}}};
        canvas.Polyline(tick);
    }
}

} // namespace

TFont& MenuItemFont() {
    static const std::unique_ptr<TFont> font = [] {
        auto f = std::make_unique<TFont>();
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof metrics;
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
            TFontHandle menuFont(CreateFontIndirectA(&metrics.lfMenuFont));
            if (menuFont)
                f->SetHandle(menuFont.Get());
        }
        return f;
    }();
    return *font;
}

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height) {
    if (IsLine()) {
        width = kGlyphSize;
        height = GetSystemMetrics(SM_CYMENU) / 2;
    } else {
        const TFontStyles style = canvas->Font()->Style();
        if (FDefault)
            canvas->Font()->SetStyle(style + TFontStyles{fsBold});
        TRect text{0, 0, 0, 0};
        // An empty caption still measures one line high.
        canvas->TextRect(text, FCaption.empty() ? std::string(" ") : FCaption,
                         DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
        if (IsTopLevel()) {
            width = RectWidth(text) + kTextGap;
            height = std::max<int>(RectHeight(text), GetSystemMetrics(SM_CYMENU));
        } else {
            const TCustomImageList* images = GetImageList();
            width = 1 + GlyphWidth(images) + kTextGap + RectWidth(text) + kRightMargin;
            if (FShortCut != scNone)
                width += kShortCutGap + canvas->TextWidth(ShortCutToText(FShortCut));
            height = std::max(RectHeight(text) + 4, GlyphHeight(images) + 4);
        }
        canvas->Font()->SetStyle(style);
    }
    if (OnMeasureItem)
        OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::DrawItem(TCanvas* canvas, const TRect& rect, bool selected) {
    if (OnDrawItem)
        OnDrawItem(this, canvas, rect, selected);
    else
        DrawDefault(canvas, rect, selected);
}

void TMenuItem::DrawDefault(TCanvas* canvas, const TRect& rect, bool selected) {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(selected ? clHighlight : clMenu);
    canvas->FillRect(rect);
    if (IsLine()) {
        TRect line = rect;
        line.top += RectHeight(rect) / 2 - 1;
        DrawEdge(canvas->Handle(), &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const TColor ink = !FEnabled ? clGrayText : selected ? clHighlightText : clMenuText;
    canvas->Font()->SetColor(ink);
    if (FDefault)
        canvas->Font()->SetStyle(canvas->Font()->Style() + TFontStyles{fsBold});
    if (IsTopLevel()) {
        TRect text = rect;
        canvas->Brush()->SetStyle(bsClear);
        canvas->TextRect(text, FCaption, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return;
    }

    TCustomImageList* images = GetImageList();
    const int gw = GlyphWidth(images);
    const int gh = GlyphHeight(images);
    const TRect glyph = Bounds(rect.left + 1, rect.top + (RectHeight(rect) - gh) / 2, gw, gh);
    if (images && FImageIndex >= 0 && FImageIndex < images->Count()) {
        if (FChecked) {
            TRect frame = glyph;
            InflateRect(&frame, 1, 1);
            DrawEdge(canvas->Handle(), &frame, BDR_SUNKENOUTER, BF_RECT);
        }
        images->Draw(canvas, glyph.left + (gw - images->Width()) / 2, glyph.top + (gh - images->Height()) / 2,
                     FImageIndex, FEnabled);
    } else if (FChecked) {
        DrawCheckMark(*canvas, glyph, ink, FRadioItem);
    }

    canvas->Brush()->SetStyle(bsClear);
    TRect text{glyph.right + kTextGap, rect.top, rect.right - kRightMargin, rect.bottom};
    canvas->TextRect(text, FCaption, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
    if (FShortCut != scNone) {
        TRect shortcut{glyph.right + kTextGap, rect.top, rect.right - kRightMargin, rect.bottom};
        canvas->TextRect(shortcut, ShortCutToText(FShortCut),
                         DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}
