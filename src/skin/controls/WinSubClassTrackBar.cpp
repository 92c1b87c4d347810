// TSkinTrackBar: answers the track bar's custom-draw notifications, drawing the channel and
// the thumb itself and leaving the ticks to the control.
#include "WinSubClassPanels.h"

#include "SkinDraw.h"
#include "TypInfo.h"
#include "WinHandle.h"

#include <utility>

TClass TSkinTrackBar::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinTrackBar>("TSkinTrackBar").Build();
    return &info;
}

namespace {

// The thumb's picture is frame 2 of 5, whatever the thumb's state.
constexpr int kThumbFrames = 5;
constexpr int kThumbFrame = 2;

void Stretch(HDC dc, const TRect& to, TBitmap& image, const TRect& from) {
    if (RectWidth(to) <= 0 || RectHeight(to) <= 0 || RectWidth(from) <= 0 || RectHeight(from) <= 0)
        return;
    StretchBlt(dc, to.left, to.top, RectWidth(to), RectHeight(to), image.Canvas()->Handle(), from.left,
               from.top, RectWidth(from), RectHeight(from), SRCCOPY);
}

// A standing channel: the top and bottom ends at their height, the middle stretched, the image
// centred across the channel when it is narrower.
void DrawStandingChannel(HDC dc, const TRect& c, TDataSkinObject& element) {
    TBitmap& image = element.Bitmap;
    const int w = image.Width(), h = image.Height();
    const int top = element.TopHeight, bottom = element.BottomHeight;
    const int x = w < RectWidth(c) ? c.left + (RectWidth(c) - w) / 2 : c.left;
    Stretch(dc, Bounds(x, c.top, w, top), image, Rect(0, 0, w, top));
    Stretch(dc, Bounds(x, c.top + top, w, RectHeight(c) - top - bottom), image, Rect(0, top, w, h - bottom));
    Stretch(dc, Bounds(x, c.bottom - bottom, w, bottom), image, Rect(0, h - bottom, w, h));
}

// A lying channel: the left and right ends at their width, the middle stretched.
void DrawLyingChannel(HDC dc, const TRect& c, TDataSkinObject& element) {
    TBitmap& image = element.Bitmap;
    const int w = image.Width(), h = image.Height();
    const int left = element.LeftWidth, right = element.RightWidth;
    const int y = h < RectHeight(c) ? c.top + (RectHeight(c) - h) / 2 : c.top;
    Stretch(dc, Bounds(c.left, y, left, h), image, Rect(0, 0, left, h));
    Stretch(dc, Bounds(c.left + left, y, RectWidth(c) - left - right, h), image, Rect(left, 0, w - right, h));
    Stretch(dc, Bounds(c.right - right, y, right, h), image, Rect(w - right, 0, w, h));
}

bool HasImage(const TDataSkinObject* element) {
    return element && !element->Bitmap.Empty();
}

} // namespace

bool TSkinTrackBar::Vertical() const {
    return (GetStyle(FHandle, GWL_STYLE) & TBS_VERT) != 0;
}

bool TSkinTrackBar::BeforeMessage(TMessage& message) {
    if (message.Msg == WM_NOTIFY || message.Msg == CN_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
        // Only this bar's own drawing: a tooltip's custom draw looks the same.
        if (header && header->code == static_cast<UINT>(NM_CUSTOMDRAW) && header->hwndFrom == FHandle) {
            message.Result = CustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(message.LParam));
            return false;
        }
        return true;
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinTrackBar::SkinChanged() {
    // The bar asks for its custom drawing again when it repaints.
    Redraw();
}

LRESULT TSkinTrackBar::CustomDraw(const NMCUSTOMDRAW& draw) {
    if (draw.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw.dwDrawStage != CDDS_ITEMPREPAINT)
        return CDRF_DODEFAULT;
    switch (draw.dwItemSpec) {
    case TBCD_THUMB:
        DrawThumb(draw);
        return CDRF_SKIPDEFAULT;
    case TBCD_CHANNEL:
        DrawChannel(draw);
        return CDRF_SKIPDEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

void TSkinTrackBar::DrawChannel(const NMCUSTOMDRAW& draw) {
    if (!FSkinData)
        return;
    RECT channel{};
    SendMessageW(FHandle, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    TRect c = channel;
    TDataSkinObject* standing = FSkinData->Elements().TrackVert.get();
    TDataSkinObject* lying = FSkinData->Elements().Track.get();
    if (Vertical() && HasImage(standing)) {
        // Windows reports a standing channel as if it were lying (other implementations do
        // not): turned back only when it comes lying.
        if (RectWidth(c) > RectHeight(c))
            c = TRect{channel.top, channel.left, channel.bottom, channel.right};
        DrawStandingChannel(draw.hdc, c, *standing);
    } else if (HasImage(lying)) {
        DrawLyingChannel(draw.hdc, c, *lying);
    }
}

void TSkinTrackBar::DrawThumb(const NMCUSTOMDRAW& draw) {
    if (!IsWindow(FHandle) || !FSkinData)
        return;
    RECT thumb{};
    SendMessageW(FHandle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    TDataSkinObject* image = FSkinData->Elements().TrackbarThumbHorz.get();
    if (Vertical() && FSkinData->Elements().TrackbarThumbVert)
        image = FSkinData->Elements().TrackbarThumbVert.get();
    if (HasImage(image)) {
        DrawStripFrameDC(draw.hdc, thumb, kThumbFrames, kThumbFrame, image->Bitmap);
        return;
    }
    TPenHandle pen(CreatePen(PS_SOLID, 1, ColorToRGB(ShadowColor())));
    TSelectScope selectPen(draw.hdc, pen.Get());
    TSelectScope selectBrush(draw.hdc, GetStockObject(NULL_BRUSH));
    Rectangle(draw.hdc, thumb.left, thumb.top, thumb.right, thumb.bottom);
}
