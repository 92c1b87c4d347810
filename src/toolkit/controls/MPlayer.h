// TMediaPlayer: the row of player buttons (play, pause, stop, next, previous, step, back,
// record, eject). It draws the buttons itself and reports a click on one of them; what a
// button does is the application's (OnClick). No media device is driven.
#pragma once

#include "Bitmap.h"
#include "Controls.h"

#include <array>
#include <memory>
#include <string_view>

enum TMPBtnType { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };
using TButtonSet = TSet<TMPBtnType>;
extern const TEnumType MPBtnTypeType;
inline constexpr int MPButtonCount = 9;

// The glyph bitmaps of the program's module, by kind ("EN" enabled, "DI" disabled, "CL"
// coloured) and button: "EN_MPPLAY" ... "CL_MPEJECT". Olive (0x008080) marks their
// background. Empty when the module has no such resource.
std::unique_ptr<TBitmap> LoadMPGlyph(std::string_view kind, TMPBtnType button);
inline constexpr TColor MPGlyphBackground = clOlive;

using TMPBtnClickEvent = TClosure<void(TObject* Sender, TMPBtnType Button, bool& DoDefault)>;

class TMediaPlayer : public TCustomControl {
    TW_DECLARE_CLASS(TMediaPlayer, TCustomControl)
    explicit TMediaPlayer(TComponent* owner);
    ~TMediaPlayer() override;

    TButtonSet VisibleButtons() const { return FVisibleButtons; }
    void SetVisibleButtons(TButtonSet value);
    TButtonSet EnabledButtons() const { return FEnabledButtons; }
    void SetEnabledButtons(TButtonSet value);
    TButtonSet ColoredButtons() const { return FColoredButtons; }
    void SetColoredButtons(TButtonSet value);
    // The visible button at x, or none (-1).
    int ButtonAt(int x) const;
    void Paint(HDC dc) override;

    // Published as "OnClick": a released click on an enabled button.
    TMPBtnClickEvent OnButtonClick;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    int VisibleCount() const;

    TButtonSet FVisibleButtons;
    TButtonSet FEnabledButtons;
    TButtonSet FColoredButtons;
    int FDownButton = -1;
    std::array<std::array<std::unique_ptr<TBitmap>, 3>, MPButtonCount> FGlyphs;
};
