// Buttons with a glyph: the push button TBitBtn and the windowless TSpeedButton. A glyph
// bitmap holds NumGlyphs pictures side by side (normal, disabled, pressed, down); its
// bottom-left pixel's colour is transparent.
#pragma once

#include "Bitmap.h"
#include "Controls.h"
#include "StdCtrls.h"

#include <memory>

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
extern const TEnumType ButtonLayoutType;

// Where the glyph and the caption of a button go: Margin -1 centres both, Spacing -1 spreads
// the free room evenly.
struct TButtonGlyphLayout {
    RECT Glyph{};
    RECT Text{};
};
TButtonGlyphLayout LayoutButtonGlyph(const RECT& client, SIZE glyph, SIZE text, TButtonLayout layout,
                                     int margin, int spacing);

// The glyph part of a button: the picture and how many it holds.
class TButtonGlyph {
public:
    TBitmap* Glyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);
    // The size of one picture; (0, 0) without a glyph.
    SIZE PictureSize() const;
    // Picture index (1 normal, 2 disabled, 3 pressed, 4 down; the first one where the glyph
    // holds fewer) at (x, y), its transparent colour left out.
    void Draw(HDC dc, int x, int y, int index) const;

private:
    std::unique_ptr<TBitmap> FGlyph = std::make_unique<TBitmap>();
    int FNumGlyphs = 1;
};

class TBitBtn : public TButton {
    TW_DECLARE_CLASS(TBitBtn, TButton)
    explicit TBitBtn(TComponent* owner);

    TBitmap* Glyph() const { return FGlyph.Glyph(); }
    void SetGlyph(TBitmap* value);
    int NumGlyphs() const { return FGlyph.NumGlyphs(); }
    void SetNumGlyphs(int value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& item);

    TButtonGlyph FGlyph;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
};

// A windowless button: it shows a glyph and caption, stays Down in a group (GroupIndex) or
// after a click with AllowAllUp, and with Flat shows its edge only under the mouse.
class TSpeedButton : public TGraphicControl {
    TW_DECLARE_CLASS(TSpeedButton, TGraphicControl)
    explicit TSpeedButton(TComponent* owner);

    TBitmap* Glyph() const { return FGlyph.Glyph(); }
    void SetGlyph(TBitmap* value);
    int NumGlyphs() const { return FGlyph.NumGlyphs(); }
    void SetNumGlyphs(int value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    bool Down() const { return FDown; }
    void SetDown(bool value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value) { FGroupIndex = value; }
    bool AllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool value) { FAllowAllUp = value; }

    void Paint(HDC dc) override;
    void Click() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    void WndProc(TMessage& message) override;

private:
    // Only one button of a group is down.
    void ReleaseGroup();

    TButtonGlyph FGlyph;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
    bool FDown = false;
    bool FFlat = false;
    int FGroupIndex = 0;
    bool FAllowAllUp = false;
    bool FPressed = false;
    bool FHot = false;
};
