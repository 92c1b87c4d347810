// A sizeable form skinned by a form painter with either the program's skin or the small made
// skin with its bar elements, and the pixel helpers the bar and media-player tests share.
#pragma once

#include "../form/SkinFormTestSupport.h"
#include "SkinDraw.h"
#include "WinSubClass.h"

#include "Forms.h"

#include <commctrl.h>

#include <gtest/gtest.h>

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

// Pixels of the size grip (frame 5 of the extra images, key pixels left out, one pixel in from
// the bottom-right corner) that the status bar does not show; -1 when the frame has none.
inline int GripMismatches(HWND bar, TDataSkinObject& extra) {
    const int gw = extra.Bitmap.Width() / extra.Frame, gh = extra.Bitmap.Height();
    const SIZE size = skinformtest::ClientSize(bar);
    TWindowDC dc(bar);
    int compared = 0, mismatches = 0;
    for (int y = 0; y < gh; ++y)
        for (int x = 0; x < gw; ++x) {
            const TColor source = extra.Bitmap.Canvas()->Pixels(4 * gw + x, y);
            if (source == clFuchsia)
                continue;
            ++compared;
            mismatches += GetPixel(dc.Get(), size.cx - 1 - gw + x, size.cy - 1 - gh + y) !=
                                  static_cast<COLORREF>(source)
                              ? 1
                              : 0;
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
