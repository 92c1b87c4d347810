// Check-box and radio-button skinners: the mark drawn from the [Buttons] element's check and
// radio images, the caption beside it; and, for foreign check controls that take glyph strips
// of their own, the strip built from the skin and handed over through their properties.
#pragma once

#include "WinSubClass.h"

// What check boxes and radio buttons share: attaching, the messages that change the mark,
// and the mark and caption painting. Each kind says which image and frame it shows.
class TSkinMarkButton : public TSkinControl {
    TW_DECLARE_CLASS(TSkinMarkButton, TSkinControl)
    using TSkinControl::TSkinControl;

    void AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const TRect& r) override;

protected:
    // The mark image and its frame count; null without one.
    virtual TBitmap* MarkImage(int& frames) const = 0;
    // The frame to show for the window's style.
    virtual int MarkFrame(LONG_PTR style, int frames) = 0;
    // How far from the right edge a mark on the right (BS_LEFTTEXT) ends.
    virtual int RightInset() const { return 0; }
    void DrawCaption(HDC dc, TRect text, UINT flags);

    bool FTransparent = false;
};

class TSkinCheckBox : public TSkinMarkButton {
    TW_DECLARE_CLASS(TSkinCheckBox, TSkinMarkButton)
    using TSkinMarkButton::TSkinMarkButton;

    void AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) override;
    void AfterMessage(TMessage& message) override;

protected:
    TBitmap* MarkImage(int& frames) const override;
    int MarkFrame(LONG_PTR style, int frames) override;

private:
    int FCheckMemo = 0; // the last BM_SETCHECK's wParam + 1
};

class TSkinRadioButton : public TSkinMarkButton {
    TW_DECLARE_CLASS(TSkinRadioButton, TSkinMarkButton)
    using TSkinMarkButton::TSkinMarkButton;

protected:
    TBitmap* MarkImage(int& frames) const override;
    int MarkFrame(LONG_PTR style, int frames) override;
    int RightInset() const override { return 1; }
};

// Logical mark index (1 unchecked, 2 checked, 3 unchecked disabled, 4 checked disabled or
// grayed) to the frame of an image with that many frames.
int CheckFrameOf(int logical, bool grayed, bool disabled, int frames);
int RadioFrameOf(int logical, int frames);

// Foreign check and radio controls that take glyph strips: kind 1 and 2 (custom glyph strips
// of nine and six frames), kind 3 (a glyph of six frames on the control's Properties object).
class TSkinObjImage : public TSkinControl {
    TW_DECLARE_CLASS(TSkinObjImage, TSkinControl)
    using TSkinControl::TSkinControl;

    void AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) override;
    void Detach() override;
    void SkinChanged() override;
    void BuildGlyphs();

    int GlyphKind() const { return FGlyphKind; }
    void SetGlyphKind(int kind) { FGlyphKind = kind; }

private:
    int FGlyphKind = 0;
};
