// TSkinHeader: the header composed in one work bitmap, item by item, and copied in one step.
#include "WinSubClassHeader.h"

#include "SkinDraw.h"
#include "WinSkinDataShared.h"

#include <algorithm>
#include <array>
#include <memory>

#include <commctrl.h>

TClass TSkinHeader::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinHeader>("TSkinHeader").Build();
    return &info;
}

namespace {

// Each item's rectangle loses this much on both sides: the dividers stay out of hot tracking.
constexpr int kDividerGap = 3;
constexpr int kHotFrame = 2;
constexpr int kNormalFrame = 1;
constexpr int kItemTextLength = 200;

// The header's image list wrapped without taking it over; null when it has none.
class THeaderImages {
public:
    explicit THeaderImages(HWND wnd) {
        const auto handle = reinterpret_cast<HIMAGELIST>(SendMessageW(wnd, HDM_GETIMAGELIST, 0, 0));
        if (!handle)
            return;
        FList.reset(new TCustomImageList(nullptr));
        FList->SetShareImages(true);
        FList->SetHandle(handle);
    }
    TCustomImageList* List() const { return FList.get(); }

private:
    std::unique_ptr<TCustomImageList, TObjectDeleter> FList;
};

int ItemCount(HWND wnd) {
    return static_cast<int>(SendMessageW(wnd, HDM_GETITEMCOUNT, 0, 0));
}

} // namespace

TSkinHeader::TSkinHeader(TComponent* owner) : TSkinControl(owner) {}

void TSkinHeader::AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) {
    TSkinControl::AttachControl(form, skinData, ownColor, canvas);
    FHotItem = -1;
}

void TSkinHeader::AttachWindow(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) {
    TSkinControl::AttachWindow(wnd, skinData, form, canvas);
    FHotItem = -1;
}

bool TSkinHeader::HasImage() const {
    const TDataSkinObject* bar = FSkinData ? FSkinData->Elements().Headerbar.get() : nullptr;
    return bar && !bar->Bitmap.Empty();
}

// ---- messages -------------------------------------------------------------------------------

bool TSkinHeader::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        // A skin without the element leaves the header to paint itself.
        if (!HasImage())
            return TSkinControl::BeforeMessage(message);
        PaintClient(message);
        return false;
    case WM_ERASEBKGND:
        if (!HasImage())
            return TSkinControl::BeforeMessage(message);
        message.Result = 1;
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinHeader::TrackHotItem(POINT at) {
    for (std::size_t i = 0; i < FItemRects.size(); ++i) {
        if (!PtInRect(&FItemRects[i], at))
            continue;
        if (static_cast<int>(i) != FHotItem) {
            FHotItem = static_cast<int>(i);
            Redraw();
        }
        return;
    }
    // Past the last item the bar is empty: nothing there stays lit.
    int itemsEnd = 0;
    for (const TRect& item : FItemRects)
        if (!IsRectEmpty(&item))
            itemsEnd = std::max(itemsEnd, static_cast<int>(item.right) + kDividerGap);
    if (FHotItem != -1 && at.x >= itemsEnd) {
        FHotItem = -1;
        Redraw();
    }
}

void TSkinHeader::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_MOUSEMOVE:
        TrackHotItem(
            POINT{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))});
        SkinTrackMouseLeave(FHandle);
        break;
    case WM_MOUSELEAVE:
        FHotItem = -1;
        Redraw();
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

// ---- painting -------------------------------------------------------------------------------

void TSkinHeader::DrawHeaderItem(TCustomImageList* images, TCanvas& canvas, int index, const TRect& r) {
    TDataSkinObject& bar = *FSkinData->Elements().Headerbar;
    std::array<wchar_t, kItemTextLength + 1> text{};
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    if (!SendMessageW(FHandle, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
        text[0] = L'\0';
    const int frame = index == FHotItem ? kHotFrame : kNormalFrame;
    auto picture = BuildSkinBitmap(r, bar.Bitmap, bar.Margins(), false, bar.Tile == 1, bar.Frame, frame);
    if (picture->Empty())
        return;
    const std::wstring_view caption(text.data());
    const int image = (item.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) ? item.iImage : -1;
    // An item with only an image keeps it.
    if (!caption.empty() || (images && image != -1)) {
        TCanvas& target = *picture->Canvas();
        target.Font()->Assign(canvas.Font());
        target.Font()->SetColor(frame == kHotFrame ? bar.MouseOverColour2 : bar.NormalColour2);
        const int alignment = (item.fmt & HDF_RIGHT) ? 2 : (item.fmt & HDF_CENTER) ? 1 : 0;
        DrawImageText(*this, target, TRect{0, 0, picture->Width(), picture->Height()}, alignment, caption,
                      image, images);
    }
    BitBlt(canvas.Handle(), r.left, r.top, picture->Width(), picture->Height(), picture->Canvas()->Handle(),
           0, 0, SRCCOPY);
}

void TSkinHeader::DrawSkin(HDC dc, const TRect& r) {
    if (!HasImage() || RectWidth(r) <= 0 || RectHeight(r) <= 0)
        return;
    TDataSkinObject& bar = *FSkinData->Elements().Headerbar;
    TBitmap work;
    work.SetPixelFormat(pf32bit);
    work.SetSize(RectWidth(r), RectHeight(r));
    if (work.Empty())
        return;
    TCanvas& canvas = *work.Canvas();
    FillFace(canvas.Handle(), TRect{0, 0, work.Width(), work.Height()});
    canvas.Font()->SetHandle(reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0)));
    canvas.Brush()->SetStyle(bsClear);
    SetBkMode(canvas.Handle(), TRANSPARENT);
    FEnabled = true;
    const THeaderImages images(FHandle);
    const int count = std::max(ItemCount(FHandle), 0);
    FItemRects.assign(static_cast<std::size_t>(count), TRect{});
    int lastRight = r.left;
    for (int i = 0; i < count; ++i) {
        RECT item{};
        if (!SendMessageW(FHandle, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
            continue;
        DrawHeaderItem(images.List(), canvas, i, item);
        lastRight = std::max(lastRight, static_cast<int>(item.right));
        InflateRect(&item, -kDividerGap, 0);
        FItemRects[static_cast<std::size_t>(i)] = item;
    }
    if (lastRight < r.right) {
        const TRect rest{lastRight, r.top, r.right, r.bottom};
        auto picture =
            BuildSkinBitmap(rest, bar.Bitmap, bar.Margins(), false, bar.Tile == 1, bar.Frame, kNormalFrame);
        if (!picture->Empty())
            BitBlt(canvas.Handle(), rest.left, rest.top, picture->Width(), picture->Height(),
                   picture->Canvas()->Handle(), 0, 0, SRCCOPY);
    }
    BitBlt(dc, r.left, r.top, work.Width(), work.Height(), canvas.Handle(), 0, 0, SRCCOPY);
}
