// The scroll-bar overlays: TWScrollbar covers one native scroll bar (a window's non-client bar
// or a scroll-bar control) exactly and paints it from [Scrollbar], the tracks and the thumbs.
// It scrolls nothing itself: a press on it is handed to the native bar, whose own scrolling
// loop runs, and the overlay only repaints. The skinners keep their overlays placed over the
// bars as the controls move, resize, show, hide and scroll.
//
// Split by responsibility: WinSubClassScrollBar.cpp (the overlay), WinSubClassScroll.cpp (the
// skinners).
#pragma once

#include "ExtCtrls.h"
#include "WinSubClass.h"

class TSkinHeader;

// The bar's parts, numbered like the scroll requests they cause.
inline constexpr int spNone = -1;
inline constexpr int spFirstArrow = SB_LINEUP;
inline constexpr int spSecondArrow = SB_LINEDOWN;
inline constexpr int spTrackBefore = SB_PAGEUP;
inline constexpr int spTrackAfter = SB_PAGEDOWN;
inline constexpr int spThumb = SB_THUMBTRACK;

// What a bar is: a window's horizontal or vertical non-client bar, or a scroll-bar control.
inline constexpr int bkHorizontal = 0;
inline constexpr int bkVertical = 1;
inline constexpr int bkControl = 2;

// The part of a bar length pixels long (arrows arrowSize long, thumb from thumbTop to
// thumbBottom) at pos along its axis.
int ScrollBarPartAt(int pos, int length, int arrowSize, int thumbTop, int thumbBottom);

// Where the thumb of a scroll-bar control lies along a bar length pixels long: range from the
// scroll information, a minimum thumb of 8 pixels when the page is small.
struct TThumbSpan {
    int Top = 0;
    int Bottom = 0;
};
TThumbSpan ControlThumb(const SCROLLINFO& info, int length, int arrowSize);

class TWScrollbar : public TCustomPanel {
    TW_DECLARE_CLASS(TWScrollbar, TCustomPanel)
    explicit TWScrollbar(TComponent* owner);

    void AttachToControl(TSkinControl* skinner, TWinControl* control, int kind);
    void AttachToWindow(TSkinControl* skinner, HWND wnd, int kind);
    // Puts the overlay over the bar, or hides it when the target or the bar is not shown.
    void Place();
    void HideBar();
    int HitTest(POINT p) const;
    // The bar as SCROLLBARINFO has it (rectangle in screen coordinates); false when it cannot
    // be read.
    bool ReadBarInfo(SCROLLBARINFO& info);
    void Paint(HDC dc) override;

    bool Shown() const { return FShown; }
    int Kind() const { return FKind; }
    int Orientation() const { return FOrientation; }
    int HotPart() const { return FHotPart; }
    void SetHotPart(int part) { FHotPart = part; }
    bool Pressed() const { return FPressed; }
    HWND Target() const { return FTarget; }
    // The bar in the target's client coordinates, as last placed.
    const TRect& BarRect() const { return FBarRect; }
    // The thumb along the axis as last painted.
    int ThumbTop() const { return FThumbTop; }
    int ThumbBottom() const { return FThumbBottom; }
    int ArrowSize() const { return FArrowSize; }
    void InvalidateBar();

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    void Attach(TSkinControl* skinner, HWND wnd, int kind);
    void ShowOverlay(bool show);
    bool ComputeControlInfo(SCROLLBARINFO& info);
    int DownThumbTop(const SCROLLBARINFO& info);
    void ButtonDown(TMessage& message);
    void ButtonUp(TMessage& message);
    void MouseMoved(TMessage& message);
    int GripSize(TBitmap& image) const;

    int FLength = 0;
    int FThumbTop = 0;
    int FThumbBottom = 0;
    POINT FBarPos{};
    POINT FDownCursor{};
    int FDownThumbTop = 0;
    bool FPressed = false;
    int FOrientation = 0;
    int FHotPart = spNone;
    int FArrowSize = 0;
    HWND FTarget = nullptr;
    TWinControl* FTargetControl = nullptr;
    TSkinControl* FSkinner = nullptr;
    int FKind = bkHorizontal;
    TRect FBarRect{};
    bool FShown = false;
    // Reused by every paint: the bar is composed here and copied in one go.
    TBitmap FWork;
    // The bar without its thumb, and what it was composed for.
    struct TBackgroundKey {
        int Width = 0, Height = 0, Grip = 0;
        int TrackFrame = 0, FirstArrow = 0, SecondArrow = 0;
        TColor Face = clNone;
        HBITMAP Strip = nullptr, Track = nullptr;
        bool operator==(const TBackgroundKey&) const = default;
    };
    TBitmap FBackground;
    TBackgroundKey FBackgroundKey;
};

// The skinner of framework controls with non-client scroll bars (list boxes, memos, grids, tree
// views): two overlays, the corner between them in the face colour, and a flat border.
class TSkinScrollbar : public TSkinControl {
    TW_DECLARE_CLASS(TSkinScrollbar, TSkinControl)
    explicit TSkinScrollbar(TComponent* owner);
    void BeforeDestruction() override;

    virtual void AttachScrolled(TWinControl* control, TSkinData* skinData, TWinSkinForm* form,
                                TCanvas* canvas);
    void Detach() override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const TRect& r) override;
    void SkinChanged() override;

    TWScrollbar* HorzBar() const { return FHorzBar; }
    TWScrollbar* VertBar() const { return FVertBar; }
    bool OwnBorder() const { return FOwnBorder; }
    bool Moved() const { return FMoved; }
    TSkinData* SkinData() const { return FSkinData; }
    // The shadow frame with the face frame inside it, over the control's window rectangle.
    void PaintBorder(HDC dc);

protected:
    void TakeFixedColor();
    void FreeBars();

    TWScrollbar* FHorzBar = nullptr;
    TWScrollbar* FVertBar = nullptr;
    bool FMoved = false;
    bool FOwnBorder = false;
};

// A list view: the scroll skinner and the skinner of its column header.
class TSkinListView : public TSkinScrollbar {
    TW_DECLARE_CLASS(TSkinListView, TSkinScrollbar)
    using TSkinScrollbar::TSkinScrollbar;
    ~TSkinListView() override;

    void AttachScrolled(TWinControl* control, TSkinData* skinData, TWinSkinForm* form,
                        TCanvas* canvas) override;
    void Notification(TComponent* component, TOperation operation) override;

    TSkinHeader* Header() const { return FHeader; }

private:
    void AttachHeader();

    TSkinHeader* FHeader = nullptr;
};

// The scroll skinner of a bare window, such as a simple combo box's list.
class TSkinScrollbarH : public TSkinControl {
    TW_DECLARE_CLASS(TSkinScrollbarH, TSkinControl)
    using TSkinControl::TSkinControl;
    void BeforeDestruction() override;

    void AttachWindow(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) override;
    void Detach() override;
    void AfterMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const TRect& r) override;

    TWScrollbar* HorzBar() const { return FHorzBar; }
    TWScrollbar* VertBar() const { return FVertBar; }
    TSkinData* SkinData() const { return FSkinData; }

private:
    void FreeBars();

    TWScrollbar* FHorzBar = nullptr;
    TWScrollbar* FVertBar = nullptr;
};

// A scroll-bar control covered by one overlay stretched to its size.
class TSkinScControl : public TSkinControl {
    TW_DECLARE_CLASS(TSkinScControl, TSkinControl)
    using TSkinControl::TSkinControl;
    void BeforeDestruction() override;

    void AttachScrollBar(TWinControl* control, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas);
    void Detach() override;
    void AfterMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const TRect& r) override;

    TWScrollbar* Bar() const { return FBar; }
    TSkinData* SkinData() const { return FSkinData; }

private:
    void FreeBar();

    TWScrollbar* FBar = nullptr;
};

// The skin data of the skinner that owns an overlay.
TSkinData* ScrollSkinData(TSkinControl* skinner);
