// The standard list box and scroll-bar control, as far as the program and the skin engine's
// scroll-bar overlays use them.
#pragma once

#include "Controls.h"

#include <string>
#include <vector>

// A list control's border: none, or the sunken client edge.
enum TListBorderStyle { lbsNone, lbsSingle };
// Published as "TBorderStyle" with the value names "bsNone" and "bsSingle".
extern const TEnumType ListBorderStyleType;

// A single-selection list of text lines with a vertical scroll bar when they do not fit.
class TListBox : public TWinControl {
    TW_DECLARE_CLASS(TListBox, TWinControl)
    explicit TListBox(TComponent* owner);

    void AddItem(const std::string& text);
    void Clear();
    int Count() const { return static_cast<int>(FItems.size()); }
    // The first line shown; 0 without a window.
    int TopIndex();
    void SetTopIndex(int value);
    TListBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TListBorderStyle value);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    // Kept here too, so that a re-created window shows the same lines.
    std::vector<std::string> FItems;
    TListBorderStyle FBorderStyle = lbsSingle;
};

// A scroll-bar control's direction; published as "TScrollBarKind" with the value names
// "sbHorizontal" and "sbVertical" (the form's own scroll bars use those C++ names).
enum TScrollBarControlKind { sbkHorizontal, sbkVertical };
extern const TEnumType ScrollBarKindType;

// A scroll-bar control. It moves its own thumb for every scroll request it sends its parent:
// a native scroll-bar control only reports the request.
class TScrollBar : public TWinControl {
    TW_DECLARE_CLASS(TScrollBar, TWinControl)
    explicit TScrollBar(TComponent* owner);

    TScrollBarControlKind Kind() const { return FKind; }
    void SetKind(TScrollBarControlKind value);
    int Position() const { return FPosition; }
    void SetPosition(int value);
    int Min() const { return FMin; }
    void SetMin(int value) { SetParams(FPosition, value, FMax); }
    int Max() const { return FMax; }
    void SetMax(int value) { SetParams(FPosition, FMin, value); }
    int PageSize() const { return FPageSize; }
    void SetPageSize(int value);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int value) { FSmallChange = value; }
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int value) { FLargeChange = value; }
    void SetParams(int position, int min, int max);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;

private:
    void ApplyInfo();
    void Scroll(int request);
    // The highest position the thumb can reach: with a page, the last page starts there.
    int Top() const { return FPageSize > 0 ? FMax - FPageSize + 1 : FMax; }

    TScrollBarControlKind FKind = sbkHorizontal;
    int FPosition = 0;
    int FMin = 0;
    int FMax = 100;
    int FPageSize = 0;
    int FSmallChange = 1;
    int FLargeChange = 1;
};
