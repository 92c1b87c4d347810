// Skinners of panel-like controls: a framework panel recoloured in the face colour, a dialog
// embedded as a child window, and a bare size grip.
#pragma once

#include "WinSubClass.h"

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
