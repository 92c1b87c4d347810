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

    TBitmap FBuffer;
    bool FTransparent = false;
};
