// A sizeable form skinned by a form painter with either the program's skin or the small made
// skin with its bar elements, and the pixel helpers the control tests share.
#pragma once

#include "../form/SkinFormTestSupport.h"
#include "ImgUtilBitmap.h"
#include "SkinDraw.h"
#include "WinSubClass.h"
#include "WinSubClassTabs.h"

#include "Forms.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>

namespace panelstest {

enum class TSkinKind { Program, Made };

inline std::string SkinName(const ::testing::TestParamInfo<TSkinKind>& info) {
    return info.param == TSkinKind::Program ? "ProgramSkin" : "MadeSkin";
}

inline COLORREF PixelOf(HWND wnd, int x, int y) {
    TWindowDC dc(wnd);
    return GetPixel(dc.Get(), x, y);
}

// The pixel (x, y) of frame `frame` of an element composed to width x height.
inline COLORREF ComposedPixel(TDataSkinObject& element, int frames, int frame, int width, int height, int x,
                              int y) {
    auto composed = BuildSkinBitmap(TRect{0, 0, width, height}, element.Bitmap, element.Margins(), false,
                                    element.Tile == 1, frames, frame);
    return static_cast<COLORREF>(composed->Canvas()->Pixels(x, y));
}

inline TRect PanelRect(HWND bar, int index) {
    RECT r{};
    SendMessageA(bar, SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

// The status bar's rectangle of panel `index` as the skinner frames it.
inline TRect FramedPanel(HWND bar, int index, bool last) {
    TRect r = PanelRect(bar, index);
    r.right += 2;
    if (last)
        r.right = skinformtest::ClientSize(bar).cx;
    return r;
}

// Pixels of `area` (in the window) that differ from frame `frame` of the element composed over
// `area`: where text or other drawing covers the frame.
inline int CoveredPixels(HWND wnd, TDataSkinObject& element, int frames, int frame, const TRect& area) {
    auto composed = BuildSkinBitmap(TRect{0, 0, RectWidth(area), RectHeight(area)}, element.Bitmap,
                                    element.Margins(), false, element.Tile == 1, frames, frame);
    TWindowDC dc(wnd);
    int covered = 0;
    for (int y = 0; y < RectHeight(area); ++y)
        for (int x = 0; x < RectWidth(area); ++x)
            covered += GetPixel(dc.Get(), area.left + x, area.top + y) !=
                               static_cast<COLORREF>(composed->Canvas()->Pixels(x, y))
                           ? 1
                           : 0;
    return covered;
}

// Pixels of frame `frame` (1-based, of `frames` side by side; key pixels left out) that the
// window does not show with the frame's top-left at `at`; -1 when the frame has none.
inline int FrameMismatches(HWND wnd, TBitmap& image, int frames, int frame, POINT at) {
    const int w = image.Width() / std::max(frames, 1), h = image.Height();
    TWindowDC dc(wnd);
    int compared = 0, mismatches = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TColor source = image.Canvas()->Pixels((frame - 1) * w + x, y);
            if (source == clFuchsia)
                continue;
            ++compared;
            mismatches += GetPixel(dc.Get(), at.x + x, at.y + y) != static_cast<COLORREF>(source) ? 1 : 0;
        }
    return compared == 0 ? -1 : mismatches;
}

// Mismatches of the size grip (frame 5 of the extra images, one pixel in from the bottom-right
// corner).
inline int GripMismatches(HWND bar, TDataSkinObject& extra) {
    const SIZE size = skinformtest::ClientSize(bar);
    const int gw = extra.Bitmap.Width() / extra.Frame, gh = extra.Bitmap.Height();
    return FrameMismatches(bar, extra.Bitmap, extra.Frame, 5, POINT{size.cx - 1 - gw, size.cy - 1 - gh});
}

// Pixels of the two top and two bottom rows of area (where no text goes) that differ from the
// element's frame composed over area.
inline int EdgeMismatches(HWND wnd, TDataSkinObject& element, int frame, const TRect& area) {
    const int w = RectWidth(area), h = RectHeight(area);
    auto composed = BuildSkinBitmap(TRect{0, 0, w, h}, element.Bitmap, element.Margins(), false,
                                    element.Tile == 1, element.Frame, frame);
    TWindowDC dc(wnd);
    int mismatches = 0;
    for (int y : {0, 1, h - 2, h - 1})
        for (int x = 0; x < w; ++x)
            mismatches += GetPixel(dc.Get(), area.left + x, area.top + y) !=
                          static_cast<COLORREF>(composed->Canvas()->Pixels(x, y));
    return mismatches;
}

// Frame `frame` of the [Tabs] image composed for a tab of that side, turned as it stands.
inline std::unique_ptr<TBitmap> ExpectedTab(TDataSkinBorder& tabs, TTabSide side, int frame, int width,
                                            int height) {
    TBitmap image;
    CopyBitmap(tabs.Bitmap, image);
    image.SetPixelFormat(pf24bit);
    if (side == tsdBottom)
        FlipBitmap(image);
    const bool lying = side == tsdLeft || side == tsdRight;
    auto composed = BuildSkinBitmap(TRect{0, 0, lying ? height : width, lying ? width : height}, image,
                                    tabs.Margins(), false, tabs.Tile == 1, tabs.Frame, frame);
    if (side == tsdLeft)
        RotateLeft(*composed);
    else if (side == tsdRight)
        RotateRight(*composed);
    return composed;
}

// Pixels of the expected picture (its key colour left out) that the window does not show at
// (left, top), within the 2 x 2 blocks of the given corners.
inline int CornerMismatches(HWND wnd, TBitmap& expected, int left, int top,
                            std::initializer_list<POINT> corners) {
    TWindowDC dc(wnd);
    int mismatches = 0, compared = 0;
    for (POINT corner : corners)
        for (int dy = 0; dy < 2; ++dy)
            for (int dx = 0; dx < 2; ++dx) {
                const int x = corner.x ? expected.Width() - 1 - dx : dx;
                const int y = corner.y ? expected.Height() - 1 - dy : dy;
                const TColor want = expected.Canvas()->Pixels(x, y);
                if (want == clFuchsia)
                    continue;
                ++compared;
                mismatches += GetPixel(dc.Get(), left + x, top + y) != static_cast<COLORREF>(want) ? 1 : 0;
            }
    return compared == 0 ? -1 : mismatches;
}

inline void Repaint(HWND wnd) {
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

class TSkinnedForm {
public:
    // bars: the made skin has its bar elements.
    explicit TSkinnedForm(TSkinKind kind, int progressStyle = 0, bool bars = true) {
        skinformtest::TSmallSkinOptions options;
        options.Buttons = true;
        options.Bars = bars;
        options.ProgressStyle = progressStyle;
        Skin = skinformtest::LoadedSkin(kind == TSkinKind::Program ? skinformtest::ProgramSkinFile()
                                                                   : skinformtest::SmallSkinFile(options));
        Skin->Skin3rd()->Add("TProgressBar=progress");
        Skin->Skin3rd()->Add("TTrackBar=trackbar");
        Skin->Skin3rd()->Add("TGroupBox=groupbox");
        Form.reset(new TForm(nullptr, TCreateNew{}));
        Form->SetBorderStyle(bsSizeable);
        Form->SetBounds(50, 50, 420, 300);
        Form->Show();
        skinformtest::PumpPending();
    }
    ~TSkinnedForm() {
        Painter.reset();
        Form.reset();
    }

    template <class T>
    T* Add(int left, int top, int width, int height) {
        auto* control = new T(Form.get());
        control->SetParent(Form.get());
        control->SetBounds(left, top, width, height);
        return control;
    }

    // Starts a form painter on the form, the way the watcher does; the controls get their
    // skinners by discovery.
    TWinSkinForm& Start() {
        Painter.reset(new TWinSkinForm(Form.get()));
        Painter->SetHandle(Form->Handle());
        Painter->AttachForm(*Skin, Form.get());
        SendMessageA(Form->Handle(), WMS_SKINSTART, 0, 1000);
        skinformtest::PumpPending();
        return *Painter;
    }

    template <class T>
    T* SkinnerOf(const TControl* control) const {
        if (Painter)
            for (TSkinControl* skinner : Painter->Controls())
                if (skinner->Control() == control)
                    return dynamic_cast<T*>(skinner);
        return nullptr;
    }

    const TSkinElements& Elements() const { return Skin->Elements(); }

    std::unique_ptr<TSkinData, TObjectDeleter> Skin;
    std::unique_ptr<TForm, TObjectDeleter> Form;
    std::unique_ptr<TWinSkinForm, TObjectDeleter> Painter;
};

} // namespace panelstest
