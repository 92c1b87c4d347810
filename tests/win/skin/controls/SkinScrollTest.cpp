// Scroll-bar overlays on a skinned form, with the program's skin and with a made skin of other
// sizes and frame counts: the overlay covers a list's bar exactly and follows it as it comes and
// goes, presses on it run the native scrolling loop (the list scrolls, the skinned thumb
// follows the mouse and stops at both ends), the corner between two bars takes the face
// colour, a scroll-bar control thinner than the skin is squeezed, and a re-created list gets a
// new skinner.
#include "HandleCounter.h"
#include "SkinPanelsTestSupport.h"
#include "SkinTestImages.h"
#include "StdCtrlsLists.h"
#include "WinSubClassEdits.h"
#include "WinSubClassHeader.h"
#include "WinSubClassScroll.h"

#include "ComCtrls.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

using namespace panelstest;
using skinformtest::PumpPending;
using skinformtest::PumpUntil;

namespace {

class TScrollForm : public TSkinnedForm {
public:
    explicit TScrollForm(TSkinKind kind) : TSkinnedForm(kind) {
        if (kind == TSkinKind::Program)
            return;
        skinformtest::TSmallSkinOptions options;
        options.Buttons = true;
        options.Scrolls = true;
        Skin = skinformtest::LoadedSkin(skinformtest::SmallSkinFile(options));
    }

    TListBox* AddList(int items, int left = 10, int top = 10, int width = 150, int height = 120) {
        auto* list = Add<TListBox>(left, top, width, height);
        for (int i = 0; i < items; ++i)
            list->AddItem("Line " + std::to_string(i));
        return list;
    }

    TColor Face() const { return static_cast<TColor>(Elements().Colors.ButtonFace); }
};

SCROLLBARINFO BarInfo(HWND wnd, LONG object) {
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    GetScrollBarInfo(wnd, object, &info);
    return info;
}

RECT ScreenRect(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r;
}

bool Visible(const TWScrollbar* bar) {
    return bar && bar->HandleAllocated() && IsWindowVisible(const_cast<TWScrollbar*>(bar)->Handle());
}

char LetterAt(TWScrollbar& bar, int x, int y) {
    return skintest::LetterOf(PixelOf(bar.Handle(), x, y));
}

int MaxTopIndex(HWND list) {
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    GetScrollInfo(list, SB_VERT, &info);
    return info.nMax - static_cast<int>(info.nPage) + 1;
}

// Steps run from a timer while a press on an overlay is inside the native scrolling loop: each
// step's action, repeated until its condition holds; at the end (or when a condition does not
// come in time) the button is released.
struct TPressStep {
    std::function<void()> Action;
    std::function<bool()> Done;
};

class TPressScript {
public:
    TPressScript(HWND target, std::vector<TPressStep> steps) : FTarget(target), FSteps(std::move(steps)) {}

    // Presses at p (overlay client coordinates) and returns once the native loop has ended;
    // false when a step timed out.
    bool Run(TWScrollbar& bar, POINT p) {
        POINT screen = p;
        ClientToScreen(bar.Handle(), &screen);
        SetCursorPos(screen.x, screen.y);
        Current = this;
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, &Tick);
        SendMessageA(bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        KillTimer(nullptr, timer);
        Current = nullptr;
        return FStep == FSteps.size() && !FTimedOut;
    }

    // What a step observed, for the test to check after the loop.
    std::vector<int> Seen;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (Current)
            Current->Advance();
    }

    void Advance() {
        if (FReleased)
            return;
        if (FStep < FSteps.size()) {
            TPressStep& step = FSteps[FStep];
            if (FActed && (!step.Done || step.Done())) {
                ++FStep;
                FActed = false;
                FTicks = 0;
                return;
            }
            // Repeated while awaited: the display may report the pointer where it was before.
            if (step.Action)
                step.Action();
            FActed = true;
            if (++FTicks < 500)
                return;
            FTimedOut = true;
        }
        FReleased = true;
        POINT at{};
        GetCursorPos(&at);
        ScreenToClient(FTarget, &at);
        PostMessageA(FTarget, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    }

    static inline TPressScript* Current = nullptr;
    HWND FTarget;
    std::vector<TPressStep> FSteps;
    std::size_t FStep = 0;
    bool FActed = false;
    bool FReleased = false;
    bool FTimedOut = false;
    int FTicks = 0;
};

// Moves the pointer to a screen point; the target (which has the mouse captured) hears of it.
void MoveTo(HWND target, POINT screen) {
    SetCursorPos(screen.x, screen.y);
    POINT client = screen;
    ScreenToClient(target, &client);
    PostMessageA(target, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
}

class SkinScroll : public ::testing::TestWithParam<TSkinKind> {
protected:
    void TearDown() override { SetCursorPos(0, 0); }
};

} // namespace

// ---- the arithmetic of a bar ---------------------------------------------------------------------

TEST(ScrollBarGeometry, PartsAlongTheBar) {
    struct Row {
        int Pos, Part;
    };
    // A bar 100 long, arrows 16, thumb from 40 to 60.
    for (const Row& row : {Row{0, spFirstArrow}, Row{15, spFirstArrow}, Row{16, spTrackBefore},
                           Row{39, spTrackBefore}, Row{40, spThumb}, Row{59, spThumb}, Row{60, spTrackAfter},
                           Row{83, spTrackAfter}, Row{84, spSecondArrow}, Row{99, spSecondArrow}})
        EXPECT_EQ(ScrollBarPartAt(row.Pos, 100, 16, 40, 60), row.Part) << "at " << row.Pos;
}

TEST(ScrollBarGeometry, ThumbOfAScrollBarControl) {
    struct Row {
        int Min, Max, Page, Pos, Top, Bottom;
    };
    // A bar 200 long with arrows of 16: 168 pixels of track.
    for (const Row& row : {
             Row{0, 100, 0, 0, 16, 32},     // no page: the thumb is an arrow long, at the start
             Row{0, 100, 0, 100, 168, 184}, // ... and at the end of 200 - 3 * 16
             Row{0, 100, 21, 50, 100, 134}, // a page of 21: 168 * 20 / 100 long, rounded
             Row{0, 100, 21, 0, 16, 50},    // at the minimum the thumb starts after the arrow
             Row{0, 1000, 2, 500, 96, 104}, // a tiny page: 8 long, over 160 of track
             Row{5, 5, 0, 5, 16, 32},       // an empty range divides by the large stand-in
         }) {
        SCROLLINFO info{sizeof info, SIF_ALL, row.Min, row.Max, static_cast<UINT>(row.Page), row.Pos, 0};
        const TThumbSpan thumb = ControlThumb(info, 200, 16);
        EXPECT_EQ(thumb.Top, row.Top)
            << row.Min << ".." << row.Max << " page " << row.Page << " at " << row.Pos;
        EXPECT_EQ(thumb.Bottom, row.Bottom) << row.Min << ".." << row.Max << " page " << row.Page;
    }
}

// ---- list boxes ---------------------------------------------------------------------------------------

TEST_P(SkinScroll, TheOverlayCoversTheBarWhileItIsThereAndHidesWhenItGoes) {
    TScrollForm f(GetParam());
    TListBox* list = f.AddList(40);
    f.Start();
    auto* skinner = f.SkinnerOf<TSkinScrollbar>(list);
    ASSERT_NE(skinner, nullptr);
    TWScrollbar* bar = skinner->VertBar();
    ASSERT_TRUE(bar->Shown());
    EXPECT_FALSE(skinner->HorzBar()->Shown());
    const HWND wnd = list->Handle();
    auto covers = [&] {
        const RECT native = BarInfo(wnd, OBJID_VSCROLL).rcScrollBar;
        const RECT overlay = ScreenRect(bar->Handle());
        return Visible(bar) && EqualRect(&native, &overlay);
    };
    EXPECT_TRUE(covers());
    // A tool window directly above the list, a child of the list's parent.
    EXPECT_EQ(GetWindow(wnd, GW_HWNDPREV), bar->Handle());
    EXPECT_EQ(GetParent(bar->Handle()), f.Form->Handle());
    EXPECT_EQ(GetWindowLongPtrA(bar->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);

    list->Clear();
    list->AddItem("alone");
    Repaint(wnd);
    EXPECT_TRUE(PumpUntil([&] { return !Visible(bar); }));
    EXPECT_FALSE(bar->Shown());

    for (int i = 0; i < 40; ++i)
        list->AddItem("again " + std::to_string(i));
    Repaint(wnd);
    EXPECT_TRUE(PumpUntil(covers));

    list->SetBounds(30, 20, 180, 150);
    EXPECT_TRUE(PumpUntil(covers));
    list->Hide();
    EXPECT_TRUE(PumpUntil([&] { return !Visible(bar); }));
    list->Show();
    EXPECT_TRUE(PumpUntil(covers));
}

TEST_P(SkinScroll, DraggingTheThumbScrollsNativelyAndTheSkinnedThumbStopsAtBothEnds) {
    TScrollForm f(GetParam());
    TListBox* list = f.AddList(60);
    f.Start();
    TWScrollbar* bar = f.SkinnerOf<TSkinScrollbar>(list)->VertBar();
    ASSERT_TRUE(bar->Shown());
    const HWND wnd = list->Handle();
    PumpPending();
    const SCROLLBARINFO info = BarInfo(wnd, OBJID_VSCROLL);
    const int a = bar->ArrowSize();
    const int length = info.rcScrollBar.bottom - info.rcScrollBar.top;
    const int thumb = info.xyThumbBottom - info.xyThumbTop;
    const POINT down{(info.rcScrollBar.right - info.rcScrollBar.left) / 2,
                     (info.xyThumbTop + info.xyThumbBottom) / 2};
    POINT screen = down;
    ClientToScreen(bar->Handle(), &screen);
    const int x = screen.x;
    const int barTop = info.rcScrollBar.top;
    TPressScript script(
        wnd, {
                 {[&] {
                      MoveTo(wnd, POINT{x, screen.y + 20});
                  },
                  [&] {
                      return list->TopIndex() > 0 && bar->Pressed() &&
                             bar->ThumbTop() == info.xyThumbTop + 20;
                  }},
                 {[&] {
                      MoveTo(wnd, POINT{x, barTop + length - 2});
                  },
                  [&] { return list->TopIndex() == MaxTopIndex(wnd) && bar->ThumbBottom() == length - a; }},
                 {[&] {
                      MoveTo(wnd, POINT{x, barTop + 1});
                  },
                  [&] { return list->TopIndex() == 0 && bar->ThumbTop() == a; }},
             });
    EXPECT_TRUE(script.Run(*bar, down));
    EXPECT_FALSE(bar->Pressed());
    EXPECT_EQ(bar->ThumbBottom() - bar->ThumbTop(), thumb);
}

TEST_P(SkinScroll, ArrowAndTrackPressesAndTheWheelScrollNativelyAndTheThumbFollows) {
    TScrollForm f(GetParam());
    TListBox* list = f.AddList(60);
    f.Start();
    TWScrollbar* bar = f.SkinnerOf<TSkinScrollbar>(list)->VertBar();
    const HWND wnd = list->Handle();
    PumpPending();
    SCROLLBARINFO info = BarInfo(wnd, OBJID_VSCROLL);
    const int width = info.rcScrollBar.right - info.rcScrollBar.left;
    const int length = info.rcScrollBar.bottom - info.rcScrollBar.top;
    auto followed = [&] {
        PumpPending();
        const SCROLLBARINFO now = BarInfo(wnd, OBJID_VSCROLL);
        return bar->ThumbTop() == now.xyThumbTop && bar->ThumbBottom() == now.xyThumbBottom;
    };

    TPressScript arrow(wnd,
                       {{nullptr, [&] { return list->TopIndex() >= 1 && bar->HotPart() == spSecondArrow; }}});
    EXPECT_TRUE(arrow.Run(*bar, POINT{width / 2, length - 2}));
    EXPECT_GE(list->TopIndex(), 1);
    EXPECT_TRUE(PumpUntil(followed));

    const int before = list->TopIndex();
    info = BarInfo(wnd, OBJID_VSCROLL);
    TPressScript track(wnd, {{nullptr, [&] { return list->TopIndex() > before + 1; }}});
    EXPECT_TRUE(track.Run(*bar, POINT{width / 2, (info.xyThumbBottom + length - bar->ArrowSize()) / 2}));
    EXPECT_TRUE(PumpUntil(followed));

    const int paged = list->TopIndex();
    SendMessageA(wnd, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_TRUE(PumpUntil([&] { return list->TopIndex() > paged && followed(); }));
}

TEST_P(SkinScroll, TheOverlayShowsTheSkinsFrames) {
    if (GetParam() == TSkinKind::Program)
        GTEST_SKIP() << "the made skin's solid frames tell the parts apart";
    TScrollForm f(GetParam());
    TListBox* list = f.AddList(12); // a thumb long enough for its grip
    f.Start();
    TWScrollbar* bar = f.SkinnerOf<TSkinScrollbar>(list)->VertBar();
    ASSERT_TRUE(bar->Shown());
    const HWND wnd = list->Handle();
    PumpPending();
    const SCROLLBARINFO info = BarInfo(wnd, OBJID_VSCROLL);
    const int a = bar->ArrowSize(), mid = a / 2;
    const int length = info.rcScrollBar.bottom - info.rcScrollBar.top;
    ASSERT_GT(info.xyThumbBottom - info.xyThumbTop, a + 4);
    EXPECT_EQ(LetterAt(*bar, mid, mid), 'N');                                        // up arrow, frame 9
    EXPECT_EQ(LetterAt(*bar, mid, length - mid), 'P');                               // down arrow, frame 13
    EXPECT_EQ(LetterAt(*bar, mid, length - a - 1), 'C');                             // the track, frame 1
    EXPECT_EQ(LetterAt(*bar, mid, info.xyThumbTop), 'W');                            // the thumb, frame 1
    EXPECT_EQ(LetterAt(*bar, mid, (info.xyThumbTop + info.xyThumbBottom) / 2), 'O'); // grip, frame 20

    SendMessageA(bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(mid, mid));
    EXPECT_TRUE(PumpUntil([&] { return LetterAt(*bar, mid, mid) == 'Y'; })); // hot up arrow, frame 12
    SendMessageA(bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(mid, info.xyThumbTop + 1));
    EXPECT_TRUE(PumpUntil([&] { return LetterAt(*bar, mid, info.xyThumbTop) == 'T'; })); // hot thumb
    EXPECT_EQ(LetterAt(*bar, mid, mid), 'N');
    SendMessageA(bar->Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return LetterAt(*bar, mid, info.xyThumbTop) == 'W'; }));

    list->SetEnabled(false);
    Repaint(wnd);
    EXPECT_TRUE(PumpUntil([&] {
        return LetterAt(*bar, mid, (info.xyThumbTop + info.xyThumbBottom) / 2) == 'S';
    })) << "a disabled bar shows the track's frame 3 and no thumb";
}

// ---- list views, corner and border -------------------------------------------------------------------

TEST_P(SkinScroll, AListViewWithBothBarsGetsItsHeaderSkinnedAndTheCornerInTheFaceColour) {
    TScrollForm f(GetParam());
    auto* view = f.Add<TListView>(10, 10, 200, 150);
    view->SetViewStyle(vsReport);
    for (int i = 0; i < 2; ++i) {
        TListColumn* column = view->Columns()->Add();
        column->SetCaption("Column " + std::to_string(i));
        column->SetWidth(180);
    }
    for (int i = 0; i < 40; ++i)
        view->Items()->Add()->SetCaption("Row " + std::to_string(i));
    f.Start();
    auto* skinner = f.SkinnerOf<TSkinListView>(view);
    ASSERT_NE(skinner, nullptr);
    ASSERT_NE(skinner->Header(), nullptr);
    EXPECT_EQ(skinner->Header()->Handle(), view->HeaderHandle());
    ASSERT_TRUE(skinner->HorzBar()->Shown());
    ASSERT_TRUE(skinner->VertBar()->Shown());

    const HWND wnd = view->Handle();
    const RECT v = BarInfo(wnd, OBJID_VSCROLL).rcScrollBar;
    const RECT h = BarInfo(wnd, OBJID_HSCROLL).rcScrollBar;
    const RECT window = ScreenRect(wnd);
    const COLORREF face = ColorToRGB(f.Face());
    auto cornerIsFace = [&] {
        TWindowDC dc(wnd, true);
        return GetPixel(dc.Get(), (v.left + v.right) / 2 - window.left,
                        (h.top + h.bottom) / 2 - window.top) == face;
    };
    Repaint(wnd);
    EXPECT_TRUE(PumpUntil(cornerIsFace));
}

TEST_P(SkinScroll, TheBorderIsPaintedIntoTheDCTheEngineAsksFor) {
    TScrollForm f(GetParam());
    TListBox* list = f.AddList(40);
    f.Start();
    auto* skinner = f.SkinnerOf<TSkinScrollbar>(list);
    ASSERT_TRUE(skinner->OwnBorder());
    const SIZE size = skinformtest::WindowSize(list->Handle());
    TWindowDC screen(nullptr);
    TMemoryDC dc(CreateCompatibleDC(screen.Get()));
    TBitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
    TSelectScope select(dc.Get(), bitmap.Get());
    EXPECT_EQ(SendMessageA(list->Handle(), WMS_PAINTFRAMETO, reinterpret_cast<WPARAM>(dc.Get()), SKIN_MAGIC),
              SKIN_MAGIC);
    EXPECT_EQ(GetPixel(dc.Get(), 0, size.cy / 2),
              ColorToRGB(static_cast<TColor>(f.Elements().Colors.ButtonShadow)));
    EXPECT_EQ(GetPixel(dc.Get(), 1, size.cy / 2), ColorToRGB(f.Face()));
}

TEST_P(SkinScroll, ARecreatedListGetsANewSkinnerForItsNewWindow) {
    TScrollForm f(GetParam());
    TListBox* list = f.AddList(40);
    f.Start();
    auto* old = f.SkinnerOf<TSkinScrollbar>(list);
    ASSERT_NE(old, nullptr);
    list->SetBorderStyle(lbsNone);
    TSkinScrollbar* renewed = nullptr;
    EXPECT_TRUE(PumpUntil([&] {
        renewed = f.SkinnerOf<TSkinScrollbar>(list);
        return renewed && renewed->Handle() == list->Handle() && renewed->VertBar() &&
               renewed->VertBar()->Shown();
    }));
    ASSERT_NE(renewed, nullptr);
    EXPECT_FALSE(renewed->OwnBorder());
    EXPECT_EQ(renewed->VertBar()->Target(), list->Handle());
}

// ---- scroll-bar controls and bare windows -----------------------------------------------------------

TEST_P(SkinScroll, AScrollBarControlThinnerThanTheSkinIsSqueezed) {
    TScrollForm f(GetParam());
    auto* control = f.Add<TScrollBar>(10, 10, 8, 160);
    control->SetKind(sbkVertical);
    control->SetBounds(10, 10, 8, 160);
    control->SetParams(0, 0, 100);
    f.Start();
    auto* skinner = f.SkinnerOf<TSkinScControl>(control);
    ASSERT_NE(skinner, nullptr) << "discovery gives a scroll-bar control its skinner";
    TWScrollbar* bar = skinner->Bar();
    ASSERT_TRUE(bar->Shown());
    EXPECT_EQ(bar->Orientation(), bkVertical);
    const RECT native = ScreenRect(control->Handle());
    const RECT overlay = ScreenRect(bar->Handle());
    EXPECT_TRUE(EqualRect(&native, &overlay));
    PumpPending();

    control->SetPosition(100);
    EXPECT_TRUE(PumpUntil([&] { return bar->ThumbBottom() == 160 - bar->ArrowSize(); }))
        << "the thumb follows the control's position";
    if (GetParam() == TSkinKind::Program)
        return;
    // The whole width shows the skin's frames, squeezed from the skin's thickness.
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(LetterAt(*bar, x, 2), 'N') << x;                    // up arrow
        EXPECT_EQ(LetterAt(*bar, x, bar->ArrowSize() + 2), 'C') << x; // track
        EXPECT_EQ(LetterAt(*bar, x, bar->ThumbTop() + 1), 'O') << x;  // the grip covers the short thumb
    }
}

TEST_P(SkinScroll, ASimpleComboBoxsListGetsTheBareWindowScrollSkinner) {
    TScrollForm f(GetParam());
    auto* combo = f.Add<TComboBox>(10, 10, 150, 120);
    combo->SetStyle(csSimple);
    for (int i = 0; i < 30; ++i)
        combo->Items()->Add("Item " + std::to_string(i));
    f.Start();
    auto* skinner = f.SkinnerOf<TSkinComBox>(combo);
    ASSERT_NE(skinner, nullptr);
    ASSERT_NE(skinner->ListSkinner(), nullptr);
    TWScrollbar* bar = skinner->ListSkinner()->VertBar();
    EXPECT_EQ(bar->Target(), skinner->ListWnd());
    EXPECT_TRUE(PumpUntil([&] {
        const RECT native = BarInfo(skinner->ListWnd(), OBJID_VSCROLL).rcScrollBar;
        const RECT overlay = ScreenRect(bar->Handle());
        return bar->Shown() && EqualRect(&native, &overlay);
    }));
}

// ---- lifecycle -----------------------------------------------------------------------------------

TEST(SkinScrollLifecycle, SkinningAndUnskinningAListViewAndAListBoxKeepsTheHandleCounts) {
    ASSERT_TRUE(THandleCounter::Install());
    TScrollForm f(TSkinKind::Made);
    auto* view = f.Add<TListView>(10, 10, 200, 150);
    view->SetViewStyle(vsReport);
    TListColumn* column = view->Columns()->Add();
    column->SetCaption("Wide");
    column->SetWidth(400);
    for (int i = 0; i < 40; ++i)
        view->Items()->Add()->SetCaption("Row " + std::to_string(i));
    TListBox* list = f.AddList(40, 220, 10, 150, 120);
    bool covered = false;
    auto cycle = [&] {
        f.Start();
        auto* skinner = f.SkinnerOf<TSkinListView>(view);
        covered = skinner && skinner->Header() && skinner->VertBar()->Shown() && skinner->HorzBar()->Shown();
        SendMessageA(list->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
        SendMessageA(view->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
        Repaint(f.Form->Handle());
        PumpPending();
        f.Painter->DetachRestore();
        f.Painter.reset();
    };
    cycle();
    ASSERT_TRUE(covered);
    const THandleCounts before = THandleCounter::Current();
    for (int i = 0; i < 150; ++i)
        cycle();
    PumpPending();
    EXPECT_EQ(THandleCounter::Current(), before)
        << THandleCounter::Current().ToString() << " vs " << before.ToString();
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinScroll, ::testing::Values(TSkinKind::Program, TSkinKind::Made), SkinName);
