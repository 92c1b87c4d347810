// TTabSet: the older kind of tab row, tabs hanging below a strip, laid out by the control
// itself. Tabs that do not fit are left out; a horizontal scroller at the right end turns the
// first shown tab while not all of them fit.
#pragma once

#include "Controls.h"
#include "Strings.h"

#include <memory>
#include <string>
#include <vector>

// The tab set's scroller: a horizontal comctl32 up-down whose position is the first shown tab.
class TTabScroller : public TWinControl {
    TW_DECLARE_CLASS(TTabScroller, TWinControl)
    explicit TTabScroller(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
};

// Where the tabs go: widths are the texts' widths from firstIndex on, left the start margin,
// limit the right end (width minus the end margin); a tab takes its text width plus 9, and
// needs 12 more room while the scroller shows. A tab that does not fit is left out (its entry
// stays empty) and a later, narrower one may still fit. Entries before firstIndex are empty.
std::vector<TRect> TabSetLayout(const std::vector<int>& widths, int firstIndex, int left, int limit,
                                int height, bool scrollerShown);

class TTabSet : public TCustomControl {
    TW_DECLARE_CLASS(TTabSet, TCustomControl)
    explicit TTabSet(TComponent* owner);
    ~TTabSet() override;

    TStrings* Tabs() const { return FTabs.get(); }
    void SetTabs(TStrings* value);
    int TabIndex() const { return FTabIndex; }
    void SetTabIndex(int value);
    int FirstIndex() const { return FFirstIndex; }
    void SetFirstIndex(int value);
    int StartMargin() const { return FStartMargin; }
    void SetStartMargin(int value);
    int EndMargin() const { return FEndMargin; }
    void SetEndMargin(int value);
    TTabScroller* Scroller() const { return FScroller; }
    bool ScrollerShown() const;

    // Every tab's text width in the control's font, and the tabs' places now.
    std::vector<int> TabWidths();
    std::vector<TRect> TabRects();

    void Paint(HDC dc) override;

    TNotifyEvent OnChange;

protected:
    void CreateWnd() override;
    void Resize() override;
    void WndProc(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void TabsChanged(TObject* sender);
    // Shows the scroller while not all tabs fit from the first one, and moves it to the right.
    void UpdateScroller();

    std::unique_ptr<TStringList> FTabs;
    TTabScroller* FScroller = nullptr; // owned as a component, the first one
    int FTabIndex = -1;
    int FFirstIndex = 0;
    int FStartMargin = 5;
    int FEndMargin = 5;
};
