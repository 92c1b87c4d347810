// Skinners of text fields: combo boxes (frame and drop-down button from [ComboButton],
// [SunkEdge] and [ExtraImages]) and single-line edits (a flat skin-coloured border, and the
// spin buttons that sit inside the edit).
//
// Split by responsibility: WinSubClassEdits.cpp (combo boxes), WinSubClassEditsEdit.cpp
// (edits).
#pragma once

#include "WinSubClass.h"

class TSkinScrollbarH;
class TSkinUpDown;

// A combo box's frame and drop-down button. The button shows frame 1 normal, 2 pressed,
// 3 disabled, 4 under the mouse or focused; a right-to-left box gets it mirrored at its left.
class TSkinComBox : public TSkinControl {
    TW_DECLARE_CLASS(TSkinComBox, TSkinControl)
    explicit TSkinComBox(TComponent* owner);
    ~TSkinComBox() override;

    void AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) override;
    void AttachWindow(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) override;
    void Detach() override;
    void AfterMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const TRect& r) override;

    void Notification(TComponent* component, TOperation operation) override;

    // The list of a simple combo box; null for the other styles.
    HWND ListWnd() const { return FListWnd; }
    // The scroll skinner of a simple combo box's list; a bare combo window gets none.
    TSkinScrollbarH* ListSkinner() const { return FListSkinner; }
    // The edit child of a drop-down box whose painting is followed.
    HWND EditWnd() const { return FEditWnd; }
    bool Dropped() const { return FDropped; }
    bool Hot() const { return (FMouseState & msHot) != 0; }
    // The drop-down button as last painted (window coordinates).
    const TRect& ButtonRect() const { return FButtonRect; }

    static constexpr unsigned char msHot = 1;
    static constexpr unsigned char msPressed = 2;

private:
    void AttachList(bool withSkinner);
    void HookEdit();
    void UnhookEdit();
    void EditProc(TMessage& message);
    void SetHot(bool hot);
    // A press on the box or on its edit child shows the pressed button until the release; false
    // for other messages.
    bool FollowPress(UINT msg);
    int ButtonState() const;
    bool RightToLeft() const { return (FExStyle & WS_EX_LEFTSCROLLBAR) != 0; }
    void DrawFlatCombo(HDC dc, const TRect& r);
    void DrawComposite(HDC dc, const TRect& r, int state);
    void DrawParts(HDC dc, const TRect& r, int state);

    LONG_PTR FStyle = 0;
    LONG_PTR FExStyle = 0;
    HWND FListWnd = nullptr;
    TSkinScrollbarH* FListSkinner = nullptr;
    HWND FEditWnd = nullptr;
    bool FDropped = false;
    // Our procedure in front of the edit child's, so the whole box repaints after the edit.
    TSkinSubclass FEditSubclass;
    COMBOBOXINFO FInfo{};
    TRect FButtonRect{};
};

// Where a combo box's parts lie in its window rectangle r (at 0, 0) for a drop-down button
// arrowWidth wide: the text area left alone, the button, and the area its arrow is centred in.
struct TComboParts {
    TRect Text;
    TRect Button;
    TRect Arrow;
};
TComboParts ComboParts(const TRect& r, int arrowWidth, bool rightToLeft);

// A single-line edit with a border gets a flat one: the shadow colour outside, white inside.
// A spin button inside the edit is skinned too (with xcSpin).
class TSkinEdit : public TSkinControl {
    TW_DECLARE_CLASS(TSkinEdit, TSkinControl)
    using TSkinControl::TSkinControl;
    ~TSkinEdit() override;

    void AfterMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const TRect& r) override;

    void Notification(TComponent* component, TOperation operation) override;

    TSkinUpDown* Spin() const { return FSpin; }

protected:
    void FindSpin(HWND wnd, TSkinData* skinData, TCanvas* canvas);
    void DrawPrintBorder(HDC dc, const TRect& r);
    // The border: the shadow colour, then white (frames - 1) times, one inside the other;
    // nothing for an edit without a border.
    void DrawBorder(HDC dc, const TRect& r, int frames);

    TSkinUpDown* FSpin = nullptr;
};

// The client rectangle of wnd is as large as r, in width or height, within slack pixels.
bool ClientFills(HWND wnd, const TRect& r, int slack);
