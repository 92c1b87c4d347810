// Skinners of spin controls: up-down buttons from [UpDown.Vert] / [UpDown.Horz] (also used
// for the scroll arrows of tab rows, forced horizontal), and date pickers whose drop-down
// button is covered by a small window painted from [ComboxArrow].
//
// Split by responsibility: WinSubClassSpin.cpp (up-down buttons and arrows),
// WinSubClassSpinDate.cpp (date pickers and their cover button).
#pragma once

#include "WinSubClassEdits.h"

#include "Controls.h"

#include <memory>

// Arrow directions of the spin buttons.
inline constexpr int udUp = 0;
inline constexpr int udDown = 1;
inline constexpr int udLeft = 2;
inline constexpr int udRight = 3;

// Up-down buttons: each half shows frame 1 normal, 2 pressed, 3 disabled, 4 under the mouse
// of its group (1-4 up or left, 5-8 down or right), with the glyph of the same frame over it.
// Without the element, plain face-coloured buttons with drawn arrows.
class TSkinUpDown : public TSkinControl {
    TW_DECLARE_CLASS(TSkinUpDown, TSkinControl)
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const TRect& r) override;

    // The buttons sit inside an edit: they keep off the edit's border.
    void SetInEdit(bool value) { FInEdit = value; }
    bool InEdit() const { return FInEdit; }
    // Treats the control as lying (left and right) whatever its style: a tab row's scroller.
    void SetForceHorz(bool value) { FForceHorz = value ? 1 : 0; }
    bool ForceHorz() const { return FForceHorz == 1; }
    bool Horizontal() const;

protected:
    void DrawButton(HDC dc, const TRect& r, int direction, int state);
    void DrawPlainButton(TCanvas& canvas, const TRect& r, int direction, int state);

    bool FInEdit = false;
    int FForceHorz = 0;

private:
    int HalfUnderCursor(const TRect& r) const;

    int FHotHalf = -1; // the half under the mouse when it was last painted
};

// r pulled inside the edit around it so that no side of the window lies closer than 3
// pixels to the edit's top, bottom or right edge (both rectangles in screen coordinates; r
// in the window's own).
TRect InsideEdit(const TRect& r, const RECT& window, const RECT& edit);

// A small solid arrow (a triangle for up and down, an outline for left and right) around
// (x, y) in the canvas's pen.
void DrawArrow(TCanvas& canvas, int x, int y, int direction);

class TSkinDateTime;

// The window that covers a date picker's drop-down button and passes its clicks on to it.
class TArrowButton : public TCustomControl {
    TW_DECLARE_CLASS(TArrowButton, TCustomControl)
    explicit TArrowButton(TComponent* owner);

    void Attach(TSkinDateTime* skinner, TWinControl* control);
    void Paint(HDC dc) override;
    bool Hot() const { return (FHot & 1) != 0; }

protected:
    void WndProc(TMessage& message) override;

private:
    void SetHot(bool hot);

    int FSize = 0;
    TWinControl* FControl = nullptr;
    TSkinDateTime* FSkinner = nullptr;
    HWND FTarget = nullptr;
    int FHot = 0;
};

// A date picker with the edit's flat border (two frames) and, in drop-down mode, the cover
// arrow over its button.
class TSkinDateTime : public TSkinEdit {
    TW_DECLARE_CLASS(TSkinDateTime, TSkinEdit)
    using TSkinEdit::TSkinEdit;
    ~TSkinDateTime() override;

    void AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) override;
    void DrawSkin(HDC dc, const TRect& r) override;

    TArrowButton* Arrow() const { return FArrow.get(); }
    TSkinData* SkinData() const { return FSkinData; }

private:
    // Owned here alone, not through the component tree: the skinner's own components are
    // freed before its destructor runs.
    std::unique_ptr<TArrowButton, TObjectDeleter> FArrow;
};
