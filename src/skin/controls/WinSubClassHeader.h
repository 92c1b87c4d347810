// The skinner of header controls (the column headers of list views, and bare header windows):
// every item from [Headerbar], the item under the mouse in its hot frame, the bar past the
// last item in the normal frame.
#pragma once

#include "WinSubClass.h"

#include <vector>

class TSkinHeader : public TSkinControl {
    TW_DECLARE_CLASS(TSkinHeader, TSkinControl)
    explicit TSkinHeader(TComponent* owner);

    void AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) override;
    void AttachWindow(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const TRect& r) override;

    // Paints item index, text and image included, into r of the canvas.
    void DrawHeaderItem(TCustomImageList* images, TCanvas& canvas, int index, const TRect& r);

    // The item shown hot, -1 for none.
    int HotItem() const { return FHotItem; }
    // The items' rectangles as last painted, each 3 pixels narrower on both sides: the mouse
    // over a divider belongs to no item.
    const std::vector<TRect>& ItemRects() const { return FItemRects; }

private:
    bool HasImage() const;
    void TrackHotItem(POINT at);

    std::vector<TRect> FItemRects;
    int FHotItem = -1;
};
