// Header controls skinned from [Headerbar] on a skinned form, with the program's skin and with a
// made skin of other sizes, frame count and tiling: the items and the bar past them in the
// normal frame with their texts, the item under the mouse in the hot frame until the mouse
// leaves, and the native painting untouched by a skin without the element.
#include "SkinPanelsTestSupport.h"
#include "SkinTestImages.h"
#include "WinSubClassHeader.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <array>
#include <memory>
#include <type_traits>

using namespace panelstest;
using skinformtest::PumpPending;

namespace {

// What reaches the header's own procedure below the skinner. Declared before the form, so it
// outlives the window it counts for.
struct TNativeCounts {
    int Paint = 0;
    int Erase = 0;

    void Watch(HWND wnd) { SetWindowSubclass(wnd, &Proc, 1, reinterpret_cast<DWORD_PTR>(this)); }
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
        auto* self = reinterpret_cast<TNativeCounts*>(data);
        self->Paint += msg == WM_PAINT;
        self->Erase += msg == WM_ERASEBKGND;
        return DefSubclassProc(wnd, msg, wParam, lParam);
    }
};

using TImageListOwner = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, decltype(&ImageList_Destroy)>;

// An image list of one 8 x 8 lime image, shown by item 0.
TImageListOwner GiveFirstItemAnImage(HWND wnd) {
    TImageListOwner images(ImageList_Create(8, 8, ILC_COLOR24, 1, 0), &ImageList_Destroy);
    auto picture = skintest::Picture(skintest::Rows(8, 8, 'G'));
    ImageList_Add(images.get(), picture->Handle(), nullptr);
    SendMessageW(wnd, HDM_SETIMAGELIST, HDSIL_NORMAL, reinterpret_cast<LPARAM>(images.get()));
    HDITEMW item{};
    item.mask = HDI_FORMAT | HDI_IMAGE;
    item.fmt = HDF_LEFT | HDF_STRING | HDF_IMAGE;
    item.iImage = 0;
    SendMessageW(wnd, HDM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    Repaint(wnd);
    return images;
}

class THeaderForm : public TSkinnedForm {
public:
    explicit THeaderForm(TSkinKind kind, bool headerImage = true) : TSkinnedForm(kind) {
        if (kind == TSkinKind::Program)
            return;
        skinformtest::TSmallSkinOptions options;
        options.Buttons = true;
        options.Header = headerImage;
        Skin = skinformtest::LoadedSkin(skinformtest::SmallSkinFile(options));
    }

    // A bare header of three items (left, centred, right aligned) narrower than the window,
    // skinned the way a list view's skinner skins its header.
    HWND AddHeader(TNativeCounts& counts) {
        Start();
        const HWND wnd = CreateWindowExW(0, WC_HEADERW, L"", WS_CHILD | WS_VISIBLE | HDS_BUTTONS | HDS_HORZ,
                                         10, 60, 300, 24, Form->Handle(), nullptr, nullptr, nullptr);
        static constexpr std::array<const wchar_t*, 3> texts{L"Name", L"Size", L"Date"};
        static constexpr std::array<int, 3> formats{HDF_LEFT, HDF_CENTER, HDF_RIGHT};
        for (int i = 0; i < 3; ++i) {
            HDITEMW item{};
            item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
            item.pszText = const_cast<wchar_t*>(texts[static_cast<std::size_t>(i)]);
            item.cxy = 60 + 10 * i;
            item.fmt = formats[static_cast<std::size_t>(i)] | HDF_STRING;
            SendMessageW(wnd, HDM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        }
        counts.Watch(wnd);
        Skinner = new TSkinHeader(Painter.get());
        Skinner->AttachWindow(wnd, Skin.get(), Painter.get(), Painter->ControlCanvas());
        Repaint(wnd);
        PumpPending();
        counts = TNativeCounts{};
        Repaint(wnd);
        return wnd;
    }

    TSkinHeader* Skinner = nullptr; // owned by the form painter
};

TRect ItemRect(HWND wnd, int index) {
    RECT r{};
    SendMessageW(wnd, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

int PixelsOfColour(HDC dc, const TRect& area, COLORREF colour) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            count += GetPixel(dc, x, y) == colour;
    return count;
}

// Pixels of the text colour the window shows in area beyond those the frame itself has.
int TextPixels(HWND wnd, TDataSkinObject& bar, int frame, const TRect& area, TColor text) {
    const COLORREF colour = ColorToRGB(text);
    auto composed = BuildSkinBitmap(TRect{0, 0, RectWidth(area), RectHeight(area)}, bar.Bitmap, bar.Margins(),
                                    false, bar.Tile == 1, bar.Frame, frame);
    TWindowDC dc(wnd);
    return PixelsOfColour(dc.Get(), area, colour) -
           PixelsOfColour(composed->Canvas()->Handle(), TRect{0, 0, composed->Width(), composed->Height()},
                          colour);
}

void MouseAt(HWND wnd, POINT p) {
    POINT screen = p;
    ClientToScreen(wnd, &screen);
    SetCursorPos(screen.x, screen.y);
    PumpPending();
    SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
}

POINT Centre(const TRect& r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class SkinHeader : public ::testing::TestWithParam<TSkinKind> {
protected:
    void TearDown() override { SetCursorPos(0, 0); }
};

} // namespace

TEST_P(SkinHeader, ItemsAndTheBarPastThemShowTheNormalFrameWithTheirTextsAndImages) {
    TNativeCounts native;
    TImageListOwner images(nullptr, &ImageList_Destroy); // outlives the header that shows it
    THeaderForm f(GetParam());
    const HWND wnd = f.AddHeader(native);
    images = GiveFirstItemAnImage(wnd);
    native = TNativeCounts{};
    Repaint(wnd);
    TDataSkinObject& bar = *f.Elements().Headerbar;
    ASSERT_FALSE(bar.Bitmap.Empty());
    for (int i = 0; i < 3; ++i) {
        const TRect item = ItemRect(wnd, i);
        EXPECT_EQ(EdgeMismatches(wnd, bar, 1, item), 0) << "item " << i;
        EXPECT_GT(EdgeMismatches(wnd, bar, 2, item), 0) << "item " << i << " is not hot";
        EXPECT_GT(TextPixels(wnd, bar, 1, item, bar.NormalColour2), 0) << "text of item " << i;
    }
    EXPECT_GE(TextPixels(wnd, bar, 1, ItemRect(wnd, 0), clLime), 8 * 8) << "the image of item 0";
    EXPECT_EQ(ImageList_GetImageCount(images.get()), 1) << "the header's image list stays its own";
    const TRect rest{ItemRect(wnd, 2).right, 0, skinformtest::ClientSize(wnd).cx,
                     skinformtest::ClientSize(wnd).cy};
    ASSERT_GT(RectWidth(rest), 0);
    EXPECT_EQ(CoveredPixels(wnd, bar, bar.Frame, 1, rest), 0) << "the bar past the last item";
    EXPECT_EQ(native.Paint, 0);
    EXPECT_EQ(native.Erase, 0);
}

TEST_P(SkinHeader, TheItemUnderTheMouseShowsTheHotFrameAloneUntilTheMouseLeaves) {
    TNativeCounts native;
    THeaderForm f(GetParam());
    const HWND wnd = f.AddHeader(native);
    TDataSkinObject& bar = *f.Elements().Headerbar;
    auto framesShown = [&](int hot) {
        int wrong = 0;
        for (int i = 0; i < 3; ++i)
            wrong += EdgeMismatches(wnd, bar, i == hot ? 2 : 1, ItemRect(wnd, i));
        return wrong;
    };
    MouseAt(wnd, Centre(ItemRect(wnd, 1)));
    EXPECT_EQ(f.Skinner->HotItem(), 1);
    EXPECT_EQ(framesShown(1), 0);

    SendMessageW(wnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(f.Skinner->HotItem(), -1);
    EXPECT_EQ(framesShown(-1), 0);

    // Over the empty bar past the items nothing stays lit.
    MouseAt(wnd, Centre(ItemRect(wnd, 2)));
    EXPECT_EQ(f.Skinner->HotItem(), 2);
    MouseAt(wnd, POINT{ItemRect(wnd, 2).right + 10, 5});
    EXPECT_EQ(f.Skinner->HotItem(), -1);
    EXPECT_EQ(framesShown(-1), 0);
}

TEST(SkinHeaderNoImage, ASkinWithoutTheElementLeavesTheNativePainting) {
    TNativeCounts native;
    THeaderForm f(TSkinKind::Made, false);
    f.AddHeader(native);
    ASSERT_TRUE(!f.Elements().Headerbar || f.Elements().Headerbar->Bitmap.Empty());
    EXPECT_GT(native.Paint, 0);
    EXPECT_GT(native.Erase, 0);
    TMessage erase{WM_ERASEBKGND, 0, 0, 0};
    EXPECT_TRUE(f.Skinner->BeforeMessage(erase)) << "passed on to the header";
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinHeader, ::testing::Values(TSkinKind::Program, TSkinKind::Made), SkinName);
