// Push-button skinners: the whole button composed off screen from the skin's [Buttons]
// element (frame by state), then the caption over it, copied to the window in one step.
#pragma once

#include "WinSubClass.h"

class TSkinButton : public TSkinControl {
    TW_DECLARE_CLASS(TSkinButton, TSkinControl)
    explicit TSkinButton(TComponent* owner);

    void AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const TRect& r) override;

    // [Buttons] frames by state.
    static constexpr int frNormal = 1;
    static constexpr int frPressed = 2;
    static constexpr int frDisabled = 3;
    static constexpr int frHot = 4;
    static constexpr int frFocused = 5;
    static constexpr unsigned char msHot = 1;
    static constexpr unsigned char msPressed = 2;

    bool Transparent() const { return FTransparent; }

protected:
    // The caption (first "||" as a line break) in r, centred for DT_CENTER, with the focus
    // rectangle of a focused button.
    void DrawButtonText(TCanvas& canvas, const TRect& r, UINT alignment, std::wstring_view text);
    // FFocused, FEnabled and FCaption as the window shows them now.
    void ReadState();
    int StateFrame() const;
    // The skin's button element when it has a picture.
    TDataSkinButton* ButtonElement() const;
    // Background and skin frame of the buffer, the buffer sized to r.
    void PaintFace(const TRect& r, int frame);
    // The caption font and colour for the frame.
    void PrepareFont(TCanvas& canvas, int frame);
    void DrawFocusRectangle(TCanvas& canvas, const TRect& text);
    void Click();
    // The caption text after the first "||" became a line break, measured in r (DT_WORDBREAK).
    SIZE MeasureCaption(TCanvas& canvas, const TRect& r);
    // Caption in text with flags (transparent background, DT_RTLREADING where it applies),
    // then the focus rectangle.
    void DrawPlacedCaption(TCanvas& canvas, const TRect& text, UINT flags, bool rightToLeft = true);

    TBitmap FBuffer;
    bool FTransparent = false;
};

// Where the glyph and the caption of a glyph button go inside a client of the given size, and
// the text flags: the layout (0 glyph left, 1 right, 2 top, 3 bottom), Margin and Spacing (-1:
// spread the free room), with or without the "tacenter" rule; speed buttons centre a margin of
// -1 one pixel further.
struct TGlyphPlacement {
    POINT Glyph{};
    TRect Text{};
    UINT Flags = DT_WORDBREAK;
};
TGlyphPlacement PlaceGlyphAndText(SIZE client, SIZE glyph, SIZE text, int layout, int margin, int spacing,
                                  bool centred, bool speedButton);

// Layout by the published "Layout" value ("blglyphleft" 0 ... "blglyphbottom" 3; others 0).
int GlyphLayoutOf(TObject* control);

// Buttons with a glyph (or an image-list image, or a picture property's graphic).
class TSkinBitButton : public TSkinButton {
    TW_DECLARE_CLASS(TSkinBitButton, TSkinButton)
    using TSkinButton::TSkinButton;

    void DrawSkin(HDC dc, const TRect& r) override;
    // Glyph picture glyphIndex of numGlyphs side by side, grey for index 2, at r's top-left with
    // its bottom-left colour transparent.
    static void DrawGlyph(TCanvas& canvas, const TRect& r, int numGlyphs, int glyphIndex, TBitmap& glyph);
    void SetPictureProp(const std::string& name) { FPictureProp = name; }
    const std::string& PictureProp() const { return FPictureProp; }

protected:
    void DrawPictureButton(HDC dc, const TRect& r);
    // Glyph and caption of a control's glyph size placed in the client, the caption measured.
    TGlyphPlacement LayOut(TCanvas& canvas, TObject* control, SIZE client, SIZE glyph, bool speedButton);
    // Glyph index for a frame: pressed 3, disabled 2, otherwise 1.
    static int GlyphIndexOf(int frame);

    std::string FPictureProp;
};

// A windowless speed button: its framework message handling is hooked and it is drawn on its
// own canvas.
class TSkinSpeedButton : public TSkinBitButton {
    TW_DECLARE_CLASS(TSkinSpeedButton, TSkinBitButton)
    using TSkinBitButton::TSkinBitButton;
    ~TSkinSpeedButton() override;

    void AttachGraphic(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas);
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void PaintNow(HDC dc) override;
    void DrawSpeedButton(TCanvas& canvas, const TRect& r);

private:
    void GiveBackWindowProc();
    bool FPainting = false;
};

// A push button with a drop-down arrow beside its caption.
class TSkinMenuButton : public TSkinButton {
    TW_DECLARE_CLASS(TSkinMenuButton, TSkinButton)
    using TSkinButton::TSkinButton;

    void DrawSkin(HDC dc, const TRect& r) override;
};
