// Skinners of tabbed controls: tab rows of page and tab controls (and bare tab windows) from
// [Tabs] with their page frame, button-style tab rows from [Buttons], tab sets, tab sheets
// in the face colour, and a foreign page control fed with tab images through properties.
//
// Split by responsibility: WinSubClassTabs.cpp (TSkinTab), WinSubClassTabPages.cpp
// (TSkinTabBtn, TSkinTab31, TSkinTabSheet, TSkinAdvPage).
#pragma once

#include "WinSubClass.h"
#include "WinSubClassSpin.h"

#include <memory>
#include <vector>

// Where a tab row sits.
enum TTabSide { tsdTop, tsdBottom, tsdLeft, tsdRight };
// TCS_BOTTOM (TCS_RIGHT) with TCS_VERTICAL: right; alone: bottom; TCS_VERTICAL alone: left.
TTabSide TabSideOfStyle(LONG_PTR style);

// A tab row from [Tabs] and the page frame from the [Tabs] border image or [Tab.Pane]. Rows on
// the sides are composed lying and turned a quarter at the end; a bottom row uses the images
// upside down. Page controls tagged 7777 with tabs on top get a close mark on every tab.
class TSkinTab : public TSkinControl {
    TW_DECLARE_CLASS(TSkinTab, TSkinControl)
    explicit TSkinTab(TComponent* owner);
    ~TSkinTab() override;

    void AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) override;
    void AttachWindow(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const TRect& r) override;
    void SkinChanged() override;

    // The row's scroll arrows (a comctl32 up-down child) show.
    bool FindScroller();
    TTabSide TabSide() const { return FTabSide; }
    bool CloseMarks() const { return FCloseMarks; }
    // One close box per tab, in tab-row coordinates; empty for tabs that are not drawn.
    const std::vector<TRect>& CloseRects() const { return FCloseRects; }

private:
    void LoadTabImages();
    void ReadTabSide();
    bool CloseHit(TMessage& message);
    void ClosePage(int tabIndex);
    void DrawTabRow(HDC dc, const TRect& r, const TRect& display, int count, int current);
    void DrawTab(HDC dc, const TRect& r, int frame);
    void DrawCloseMark(const TRect& r, int index);
    void CopyAroundScroller(HDC dc, const TRect& r, TBitmap& picture);
    HWND ScrollerWindow() const;

    std::vector<TRect> FCloseRects;
    TTabSide FTabSide = tsdTop;
    bool FWideTabs = false;
    TBitmap FTabImage;
    TBitmap FPaneImage;
    TBitmap FStrip;
    bool FCloseMarks = false;
    TSkinUpDown* FScroller = nullptr; // owned by the owner
    // Cleared when the skinner goes: a close-mark click whose form handler freed the control
    // (and this skinner with it) must not touch it afterwards.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// A page control whose tabs are buttons: the tab row from [Buttons]; the page area keeps its
// native look.
class TSkinTabBtn : public TSkinControl {
    TW_DECLARE_CLASS(TSkinTabBtn, TSkinControl)
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const TRect& r) override;
};

// A tab set: its tabs on [Tabs] upside down (they hang below the strip), laid out the way the
// tab set lays them out.
class TSkinTab31 : public TSkinControl {
    TW_DECLARE_CLASS(TSkinTab31, TSkinControl)
    using TSkinControl::TSkinControl;

    void AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const TRect& r) override;
    void SkinChanged() override;

    // The tab set's scroller control, when it has one.
    TControl* ScrollerControl() const { return FScrollerControl; }

private:
    void LoadTabImage();

    TBitmap FTabImage;
    TControl* FScrollerControl = nullptr;
    TSkinUpDown* FScroller = nullptr; // owned by the owner
};

// A tab sheet filled with the face colour, its windowless children painted over it.
class TSkinTabSheet : public TSkinControl {
    TW_DECLARE_CLASS(TSkinTabSheet, TSkinControl)
    using TSkinControl::TSkinControl;

    bool BeforeMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const TRect& r) override;
};

// A foreign page control that draws its tabs from bitmaps it takes through the published
// properties TabBackGround and TabBackGroundActive.
class TSkinAdvPage : public TSkinControl {
    TW_DECLARE_CLASS(TSkinAdvPage, TSkinControl)
    using TSkinControl::TSkinControl;

    // The control's page kind; 4 takes tab images through properties.
    static constexpr int akTabImages = 4;
    void SetAdvKind(int value) { FAdvKind = value; }
    int AdvKind() const { return FAdvKind; }

    void AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) override;
    void Detach() override;
    void DrawSkin(HDC dc, const TRect& r) override;
    void SkinChanged() override;

    bool FindScroller();

private:
    void PushTabImages();

    int FAdvKind = 0;
    TSkinUpDown* FScroller = nullptr; // owned by the owner
};

// ---- shared by the tab skinners ------------------------------------------------------------

// The comctl32 up-down child of a tab row (its scroll arrows), or null; whether it shows.
HWND FindTabScroller(HWND tabs);
bool TabScrollerShown(HWND tabs);
// The spin skinner for a tab row's scroll arrows, made once (current is returned when there is
// one): owned by owner, attached to the scroller window and registered with the form painter.
TSkinUpDown* AttachScrollerSkinner(TSkinUpDown* current, TComponent* owner, HWND scroller,
                                   TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas,
                                   bool forceHorz = false);

struct TTabItem {
    std::wstring Text;
    int Image = -1;
};
// A tab's text (at most 80 characters, wide or 8-bit as the window keeps them) and image.
TTabItem ReadTabItem(HWND wnd, int index, bool wide);

// The tab row's image list: the control's own, or the window's wrapped without taking it over.
class TTabImages {
public:
    TTabImages(HWND wnd, TWinControl* control);
    TCustomImageList* List() const { return FList; }

private:
    std::unique_ptr<TCustomImageList, TObjectDeleter> FBorrowed;
    TCustomImageList* FList = nullptr;
};
