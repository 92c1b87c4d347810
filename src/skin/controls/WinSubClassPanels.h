// Skinners of panel-like controls: a framework panel recoloured in the face colour, a dialog
// embedded as a child window, a bare size grip, group boxes, status bars, progress bars and
// track bars.
//
// Split by responsibility: WinSubClassPanels.cpp (boxes, size grips, group boxes),
// WinSubClassStatusBar.cpp, WinSubClassProgress.cpp, WinSubClassTrackBar.cpp.
#pragma once

#include "WinSubClass.h"

#include "ComCtrls.h"

// Recolours a panel-like framework control (panels, tool bars, embedded forms); it does not
// hook the control's messages.
class TSkinBox : public TSkinControl {
    TW_DECLARE_CLASS(TSkinBox, TSkinControl)
    using TSkinControl::TSkinControl;

    void AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) override;
    void Detach() override;
    void AfterMessage(TMessage&) override {}
};

// A dialog window inside another window: face-coloured background and static controls.
class TSkinBoxH : public TSkinControl {
    TW_DECLARE_CLASS(TSkinBoxH, TSkinControl)
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& message) override;
};

// A bare size-grip scroll bar covered with the face colour after its own painting.
class TSkinSizer : public TSkinControl {
    TW_DECLARE_CLASS(TSkinSizer, TSkinControl)
    using TSkinControl::TSkinControl;

    void DrawSkin(HDC dc, const TRect& r) override;
};

// A group box redrawn as a rounded frame in the shadow colour with its caption on the face
// colour. Over a framework control it paints the whole box (variant 1); over a bare group box
// it draws on top of the native painting, erasing the native frame first.
class TSkinGroupBox : public TSkinControl {
    TW_DECLARE_CLASS(TSkinGroupBox, TSkinControl)
    using TSkinControl::TSkinControl;

    void AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const TRect& r) override;

    // Where the caption goes: 8 pixels in from the left, or from the right with WS_EX_RIGHT.
    static TRect CaptionRect(const TRect& r, bool rightAligned);

private:
    void DrawGroupBox(HDC dc, const TRect& r);
};

// A status bar whose panels (or simple text) sit on the [StatusBarEdges] frames, with the
// size grip from [ExtraImages]; 3D bevels where the skin has no edge image.
class TSkinStatusBar : public TSkinControl {
    TW_DECLARE_CLASS(TSkinStatusBar, TSkinControl)
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const TRect& r) override;

private:
    void DrawPanelFrame(TCanvas& canvas, const TRect& r, int frame);
    void DrawSizeGrip(HDC dc, const TRect& r);
    void CallOnDrawPanel(HDC dc);
};

// The frame a status-bar panel of that bevel shows: 1 lowered, 2 raised, 3 none.
int StatusPanelFrame(TStatusPanelBevel bevel);
// A 1-pixel frame: clBtnShadow top and left with clBtnHighlight bottom and right for frame 1,
// the reverse for frame 2, nothing for frame 3.
void DrawBevelPanel(HDC dc, const TRect& r, int frame);

// A progress bar drawn from [Progress]: the track (frame 1) and the filled part (frame 2), or,
// with Style 1, the track with [Progress.Chunk] pieces over it. A standing bar is drawn lying
// and turned a quarter anticlockwise, so it fills from the bottom.
class TSkinProgress : public TSkinControl {
    TW_DECLARE_CLASS(TSkinProgress, TSkinControl)
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const TRect& r) override;
};

// How wide the filled part of a bar `width` long is: position between the limits, nothing
// when the range is empty.
int ProgressFill(int width, int position, int minimum, int maximum);

// A track bar painted through its custom-draw notifications: the channel from [Track] (or
// [TRACKVERT] when standing), the thumb from frame 2 of [Trackbar.ThumbHorz] or
// [Trackbar.ThumbVert], the ticks left to the control.
class TSkinTrackBar : public TSkinControl {
    TW_DECLARE_CLASS(TSkinTrackBar, TSkinControl)
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& message) override;
    void SkinChanged() override;

    // What a custom-draw notification of this track bar is answered with.
    LRESULT CustomDraw(const NMCUSTOMDRAW& draw);

private:
    bool Vertical() const;
    void DrawChannel(const NMCUSTOMDRAW& draw);
    void DrawThumb(const NMCUSTOMDRAW& draw);
};
