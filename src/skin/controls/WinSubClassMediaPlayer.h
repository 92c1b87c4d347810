// The media player's skinner: a panel of its own covers the player and draws the same row of
// buttons with skinned faces from [Buttons] and the player's glyphs; presses on the panel are
// passed on to the player underneath, which keeps all of its behaviour.
#pragma once

#include "ExtCtrls.h"
#include "MPlayer.h"
#include "WinSubClass.h"

#include <array>
#include <memory>

class TSkinMP;

// The covering panel. Never skinned itself: its Tag is the skin's DisableTag.
class TWMediaPlayer : public TCustomPanel {
    TW_DECLARE_CLASS(TWMediaPlayer, TCustomPanel)
    explicit TWMediaPlayer(TComponent* owner);
    ~TWMediaPlayer() override;

    static constexpr int NoButton = MPButtonCount;

    void Attach(TSkinMP* skinner, TControl* control, TSkinData* skinData);
    void CopyBounds(TControl* control);
    void Paint(HDC dc) override;
    // The visible button whose span (both ends included) holds x; NoButton when none does.
    int ButtonAt(int x) const;
    int ButtonWidth() const { return FButtonWidth; }
    int VisibleCount() const { return FVisibleCount; }

protected:
    void WndProc(TMessage& message) override;

private:
    struct TButtonLook {
        bool Visible = false;
        bool Enabled = false;
        bool Colored = false;
        std::array<std::unique_ptr<TBitmap>, 3> Glyphs; // enabled, disabled, coloured
    };
    void ReadButtons();
    void DrawMPButton(TCanvas& canvas, int index, const TRect& r);
    void MouseButton(TMessage& message, bool down);

    std::array<TButtonLook, MPButtonCount> FButtons;
    TSkinData* FSkinData = nullptr;
    bool FPressed = false;
    int FDownButton = NoButton;
    int FHitButton = NoButton;
    int FButtonWidth = 0;
    int FVisibleCount = 0;
    TControl* FControl = nullptr;
    TSkinMP* FSkinner = nullptr;
};

class TSkinMP : public TSkinControl {
    TW_DECLARE_CLASS(TSkinMP, TSkinControl)
    using TSkinControl::TSkinControl;
    ~TSkinMP() override;

    void AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) override;
    void AfterMessage(TMessage& message) override;
    void Detach() override;
    void SkinChanged() override;

    TWMediaPlayer* Player() const { return FPlayer; }
    void Notification(TComponent* component, TOperation operation) override;

private:
    void FreePlayer();

    TWMediaPlayer* FPlayer = nullptr;
};
