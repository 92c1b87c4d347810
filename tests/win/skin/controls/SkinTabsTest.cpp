// Tab rows, page frames, close marks, button-style tabs, tab sets, tab sheets and the foreign
// page control fed with tab images, as discovery skins them on a form, with the program's skin
// and with a made skin of other sizes: pixels read back from the windows are compared with the
// skin's images composed, flipped and turned the way the user must see them.
#include "SkinPanelsTestSupport.h"
#include "SkinTestImages.h"
#include "WinSubClassTabs.h"

#include "ComCtrls.h"
#include "ImgUtilBitmap.h"
#include "Tabs.h"
#include "TypInfo.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <vector>

// Rectangles compared by their four edges (empty ones too).
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

using namespace panelstest;
using skinformtest::PumpUntil;

namespace {

class TTabsForm : public TSkinnedForm {
public:
    explicit TTabsForm(TSkinKind kind, int tabsStyle = 0) : TSkinnedForm(kind) {
        if (kind == TSkinKind::Program)
            return;
        skinformtest::TSmallSkinOptions options;
        options.Buttons = true;
        options.Tabs = true;
        options.TabsStyle = tabsStyle;
        Skin = skinformtest::LoadedSkin(skinformtest::SmallSkinFile(options));
    }

    TPageControl* AddPages(int count, TTabPosition position = tpTop, int tag = 0) {
        auto* pages = Add<TPageControl>(10, 10, 360, 220);
        pages->SetTag(tag);
        pages->SetTabPosition(position);
        for (int i = 0; i < count; ++i) {
            auto* sheet = new TTabSheet(Form.get());
            sheet->SetCaption("Page " + std::to_string(i + 1));
            sheet->SetPageControl(pages);
        }
        pages->SetActivePageIndex(0);
        return pages;
    }
};

class SkinTabs : public ::testing::TestWithParam<TSkinKind> {};

TRect ItemRect(HWND tabs, int index) {
    RECT r{};
    SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
}

// Answers WMS_TABCLOSE on the form's window with what the test says, in front of everything.
class TTabCloseAnswer {
public:
    TTabCloseAnswer(HWND form, std::function<LRESULT(int)> answer) : FForm(form), FAnswer(std::move(answer)) {
        SetWindowSubclass(FForm, &Proc, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    ~TTabCloseAnswer() { RemoveWindowSubclass(FForm, &Proc, 1); }
    TTabCloseAnswer(const TTabCloseAnswer&) = delete;
    TTabCloseAnswer& operator=(const TTabCloseAnswer&) = delete;
    std::vector<int> Asked;

private:
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
        if (msg == WMS_TABCLOSE) {
            auto* self = reinterpret_cast<TTabCloseAnswer*>(data);
            self->Asked.push_back(static_cast<int>(lParam));
            return self->FAnswer(static_cast<int>(lParam));
        }
        return DefSubclassProc(wnd, msg, wParam, lParam);
    }
    HWND FForm;
    std::function<LRESULT(int)> FAnswer;
};

void Click(HWND wnd, POINT at) {
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
}

POINT Centre(const TRect& r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

} // namespace

// ---- tab rows and page frames -------------------------------------------------------------------

struct TSideCase {
    TTabPosition Position;
    TTabSide Side;
    POINT Shift;                        // where a tab stands against its item rectangle
    std::initializer_list<POINT> Outer; // its corners away from the page
};

class SkinTabSides : public ::testing::TestWithParam<std::tuple<TSkinKind, int>> {};

TEST_P(SkinTabSides, TabsAndThePageFrameComeFromTheSkinUpsideDownBelowAndTurnedOnTheSides) {
    static const TSideCase cases[] = {
        {tpTop, tsdTop, {0, 1}, {{0, 0}, {1, 0}}},
        {tpBottom, tsdBottom, {0, -1}, {{0, 1}, {1, 1}}},
        {tpLeft, tsdLeft, {0, 0}, {{0, 0}, {0, 1}}},
        {tpRight, tsdRight, {0, -1}, {{1, 0}, {1, 1}}},
    };
    const TSideCase& c = cases[std::get<1>(GetParam())];
    TTabsForm f(std::get<0>(GetParam()));
    TPageControl* pages = f.AddPages(3, c.Position);
    pages->SetActivePageIndex(1);
    f.Start();
    auto* skinner = f.SkinnerOf<TSkinTab>(pages);
    ASSERT_NE(skinner, nullptr);
    ASSERT_EQ(skinner->TabSide(), c.Side);
    const HWND wnd = pages->Handle();
    Repaint(wnd);

    TDataSkinBorder& tabs = *f.Elements().Tabs;
    for (int i = 0; i < 3; ++i) {
        TRect item = ItemRect(wnd, i);
        OffsetRect(&item, c.Shift.x, c.Shift.y);
        auto expected = ExpectedTab(tabs, c.Side, i == 1 ? 2 : 1, RectWidth(item), RectHeight(item));
        EXPECT_EQ(CornerMismatches(wnd, *expected, item.left, item.top, c.Outer), 0) << "tab " << i;
    }

    // The page frame: the border image (Style 0) turned with the row, over the display area
    // grown by 4, one pixel off the row.
    RECT d = pages->ClientRect();
    SendMessageA(wnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&d));
    InflateRect(&d, 4, 4);
    d.top += c.Side == tsdTop;
    d.bottom -= c.Side == tsdBottom;
    d.left += c.Side == tsdLeft;
    d.right -= c.Side == tsdRight;
    TBitmap pane;
    CopyBitmap(tabs.ExtraBitmap, pane);
    pane.SetPixelFormat(pf24bit);
    if (c.Side == tsdBottom)
        FlipBitmap(pane);
    else if (c.Side == tsdLeft)
        RotateLeft(pane);
    else if (c.Side == tsdRight)
        RotateRight(pane);
    auto frame = BuildSkinBitmap(TRect{0, 0, RectWidth(d), RectHeight(d)}, pane, TRect{4, 5, 4, 4}, false,
                                 false, 1, 1);
    const int w = RectWidth(d), h = RectHeight(d);
    const POINT edges[] = {{1, h / 2}, {w - 2, h / 2}, {w / 2, 1}, {w / 2, h - 2}};
    for (POINT p : edges)
        EXPECT_EQ(PixelOf(wnd, d.left + p.x, d.top + p.y),
                  static_cast<COLORREF>(frame->Canvas()->Pixels(p.x, p.y)))
            << "frame at " << p.x << "," << p.y;
}

INSTANTIATE_TEST_SUITE_P(Sides, SkinTabSides,
                         ::testing::Combine(::testing::Values(TSkinKind::Program, TSkinKind::Made),
                                            ::testing::Range(0, 4)));

TEST(SkinTabPane, WithStyle1ThePageFrameIsTabPaneWithItsMargins) {
    TTabsForm f(TSkinKind::Made, 1);
    TPageControl* pages = f.AddPages(2);
    f.Start();
    const HWND wnd = pages->Handle();
    Repaint(wnd);
    RECT d = pages->ClientRect();
    SendMessageA(wnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&d));
    InflateRect(&d, 4, 4);
    d.top += 1;
    // W over A: the left edge is white above the middle and grey below.
    EXPECT_EQ(skintest::LetterOf(PixelOf(wnd, d.left + 1, d.top + 4)), 'W');
    EXPECT_EQ(skintest::LetterOf(PixelOf(wnd, d.left + 1, d.bottom - 4)), 'A');
}

// ---- close marks ------------------------------------------------------------------------------

TEST_P(SkinTabs, ATaggedPageControlShowsA6By6CrossedBoxInEveryTabsTopRightCorner) {
    TTabsForm f(GetParam());
    TPageControl* pages = f.AddPages(3, tpTop, 7777);
    TPageControl* plain = f.AddPages(2, tpTop, 0);
    plain->SetTop(240);
    plain->SetHeight(60);
    f.Start();
    auto* skinner = f.SkinnerOf<TSkinTab>(pages);
    ASSERT_NE(skinner, nullptr);
    ASSERT_TRUE(skinner->CloseMarks());
    EXPECT_FALSE(f.SkinnerOf<TSkinTab>(plain)->CloseMarks());
    const HWND wnd = pages->Handle();
    Repaint(wnd);
    ASSERT_EQ(skinner->CloseRects().size(), 3u);
    for (int i = 0; i < 3; ++i) {
        TRect item = ItemRect(wnd, i);
        OffsetRect(&item, 0, 1);
        const TRect box = skinner->CloseRects()[static_cast<std::size_t>(i)];
        EXPECT_EQ(box, (TRect{item.right - 8, item.top + 2, item.right - 2, item.top + 8}));
        std::vector<std::string> rows;
        TWindowDC dc(wnd);
        for (int y = 0; y < 6; ++y) {
            std::string row;
            for (int x = 0; x < 6; ++x)
                row += GetPixel(dc.Get(), box.left + x, box.top + y) == RGB(0, 0, 0) ? 'X' : '.';
            rows.push_back(row);
        }
        const std::vector<std::string> cross{"XXXXXX", "XX..XX", "X.XX.X", "X.XX.X", "XX..XX", "XXXXXX"};
        EXPECT_EQ(rows, cross) << "tab " << i;
    }
}

// Three pages with close marks, skinned and painted.
class SkinTabClose : public ::testing::Test {
protected:
    void SetUp() override {
        pages = f.AddPages(3, tpTop, 7777);
        f.Start();
        skinner = f.SkinnerOf<TSkinTab>(pages);
        ASSERT_NE(skinner, nullptr);
        Repaint(pages->Handle());
    }
    TTabsForm f{TSkinKind::Made};
    TPageControl* pages = nullptr;
    TSkinTab* skinner = nullptr;
};

TEST_F(SkinTabClose, ClickingACloseBoxAsksTheFormAndFreesThePageOnlyWhenTheAnswerIs0) {
    const HWND wnd = pages->Handle();
    TTabSheet* second = pages->Pages(1);

    LRESULT answer = 1;
    TTabCloseAnswer form(f.Form->Handle(), [&](int) { return answer; });
    Click(wnd, Centre(skinner->CloseRects()[1]));
    EXPECT_EQ(form.Asked, std::vector<int>{1});
    EXPECT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(pages->ActivePageIndex(), 0) << "a close box click does not choose the tab";

    answer = 0;
    Repaint(wnd);
    Click(wnd, Centre(skinner->CloseRects()[1]));
    ASSERT_EQ(pages->PageCount(), 2);
    EXPECT_NE(pages->Pages(0), second);
    EXPECT_NE(pages->Pages(1), second);

    // Beside the box the tab is chosen as usual, and the form is not asked.
    Repaint(wnd);
    TRect item = ItemRect(wnd, 1);
    Click(wnd, POINT{item.left + 3, (item.top + item.bottom) / 2});
    EXPECT_EQ(form.Asked.size(), 2u);
    EXPECT_EQ(pages->ActivePageIndex(), 1);
}

TEST_F(SkinTabClose, AFormThatFreesThePageItselfAndAnswers0LosesThatPageOnly) {
    TTabSheet* third = pages->Pages(2);
    TTabCloseAnswer form(f.Form->Handle(), [&](int tab) {
        TObject::Free(pages->Pages(tab));
        return LRESULT{0};
    });
    Click(pages->Handle(), Centre(skinner->CloseRects()[2]));
    ASSERT_EQ(pages->PageCount(), 2);
    EXPECT_NE(pages->Pages(1), third);
}

// ---- the row's scroll arrows ------------------------------------------------------------------

TEST_P(SkinTabs, TheRowsScrollArrowsStayVisibleOverABareTabWindowThatDoesNotClipThem) {
    TTabsForm f(GetParam());
    f.Start();
    INITCOMMONCONTROLSEX init{sizeof init, ICC_TAB_CLASSES};
    InitCommonControlsEx(&init);
    // No WS_CLIPCHILDREN: painting the row over the arrows would cover them.
    const HWND wnd = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 80,
                                     f.Form->Handle(), nullptr, nullptr, nullptr);
    ASSERT_NE(wnd, nullptr);
    for (int i = 0; i < 12; ++i) {
        std::wstring text = L"Tab number " + std::to_wstring(i);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(wnd, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    const HWND arrows = FindTabScroller(wnd);
    ASSERT_NE(arrows, nullptr) << "the tab window shows scroll arrows when its tabs do not fit";
    f.Painter->SkinWindow(wnd);
    auto* skinner = dynamic_cast<TSkinTab*>(f.Painter->FindControl(wnd));
    ASSERT_NE(skinner, nullptr);
    ASSERT_TRUE(skinner->FindScroller());
    EXPECT_NE(dynamic_cast<TSkinUpDown*>(f.Painter->FindControl(arrows)), nullptr)
        << "the arrows get a spin skinner";

    RECT area{};
    GetWindowRect(arrows, &area);
    MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&area), 2);
    // Orange where the arrows are, then the row alone is painted again.
    auto paintRowOverMarks = [&] {
        Repaint(wnd);
        {
            TWindowDC dc(wnd);
            TBrushHandle orange(CreateSolidBrush(ColorToRGB(skintest::ColorOf('O'))));
            FillRect(dc.Get(), &area, orange.Get());
        }
        ValidateRect(arrows, nullptr);
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
        TWindowDC dc(wnd);
        int marks = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                marks += skintest::LetterOf(GetPixel(dc.Get(), x, y)) == 'O' ? 1 : 0;
        return marks;
    };
    EXPECT_EQ(paintRowOverMarks(), (area.right - area.left) * (area.bottom - area.top));

    // Hidden arrows leave their place to the row.
    ShowWindow(arrows, SW_HIDE);
    EXPECT_FALSE(skinner->FindScroller());
    EXPECT_EQ(paintRowOverMarks(), 0);
    DestroyWindow(wnd);
}

// ---- tab sets ---------------------------------------------------------------------------------

TEST(SkinTabSetLayout, TabsThatDoNotFitAreLeftOutAndLaterNarrowerOnesStillTakeTheirPlace) {
    struct TCase {
        std::vector<int> Widths;
        int First;
        bool Scroller;
        std::vector<TRect> Expected;
    };
    // Start margin 5, limit 100, height 20; a tab is its text plus 9.
    const TCase cases[] = {
        {{20, 30}, 0, false, {{5, 0, 34, 20}, {34, 0, 73, 20}}},
        // 5 + 20 + 9 = 34; 34 + 60 + 9 > 100: left out; 34 + 10 + 9 fits.
        {{20, 60, 10}, 0, false, {{5, 0, 34, 20}, {}, {34, 0, 53, 20}}},
        // With the scroller a tab needs 12 more room: 73 + 18 + 21 > 100, but 73 + 18 + 9 fits.
        {{20, 30, 18}, 0, true, {{5, 0, 34, 20}, {34, 0, 73, 20}, {}}},
        {{20, 30, 18}, 0, false, {{5, 0, 34, 20}, {34, 0, 73, 20}, {73, 0, 100, 20}}},
        // Tabs before the first shown one take no place.
        {{20, 30, 18}, 1, true, {{}, {5, 0, 44, 20}, {44, 0, 71, 20}}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(TabSetLayout(c.Widths, c.First, 5, 100, 20, c.Scroller), c.Expected);
}

TEST_P(SkinTabs, ATabSetShowsItsTabsHangingOnTheUpsideDownImageWhereItLaysThemOut) {
    TTabsForm f(GetParam());
    auto* tabSet = f.Add<TTabSet>(10, 250, 120, 21);
    for (const char* text : {"one", "a much longer tab text", "two", "three"})
        tabSet->Tabs()->Add(text);
    tabSet->SetTabIndex(2);
    f.Start();
    auto* skinner = f.SkinnerOf<TSkinTab31>(tabSet);
    ASSERT_NE(skinner, nullptr);
    EXPECT_EQ(skinner->ScrollerControl(), tabSet->Scroller());
    auto* spin = dynamic_cast<TSkinUpDown*>(f.Painter->FindControl(tabSet->Scroller()->Handle()));
    ASSERT_NE(spin, nullptr);
    EXPECT_TRUE(spin->ForceHorz()) << "the tab set's scroller lies whatever its style";
    const HWND wnd = tabSet->Handle();
    Repaint(wnd);

    const std::vector<TRect> places = tabSet->TabRects();
    ASSERT_TRUE(IsRectEmpty(&places[1])) << "the long tab does not fit";
    ASSERT_FALSE(IsRectEmpty(&places[2])) << "a later short one does";
    TDataSkinBorder& tabs = *f.Elements().Tabs;
    for (int i : {0, 2}) {
        const TRect& at = places[static_cast<std::size_t>(i)];
        auto expected = ExpectedTab(tabs, tsdBottom, i == 2 ? 2 : 1, RectWidth(at), RectHeight(at));
        EXPECT_EQ(CornerMismatches(wnd, *expected, at.left, at.top, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}), 0)
            << "tab " << i;
    }
    // A click on a drawn tab chooses the tab drawn there.
    Click(wnd, Centre(places[0]));
    EXPECT_EQ(tabSet->TabIndex(), 0);
}

// ---- button tabs, sheets and the foreign page control -------------------------------------------

TEST(SkinTabButtons, APageControlWithButtonTabsDrawsItsRowFromTheButtonsElement) {
    TTabsForm f(TSkinKind::Made);
    TPageControl* pages = f.AddPages(3);
    pages->SetStyle(tsButtons);
    pages->SetActivePageIndex(2);
    f.Start();
    ASSERT_NE(f.SkinnerOf<TSkinTabBtn>(pages), nullptr);
    const HWND wnd = pages->Handle();
    Repaint(wnd);
    // [Buttons] frames: R normal, G pressed; a tab stands one pixel below its item rectangle.
    for (int i = 0; i < 3; ++i) {
        const TRect item = ItemRect(wnd, i);
        EXPECT_EQ(skintest::LetterOf(PixelOf(wnd, item.left + 1, item.top + 2)), i == 2 ? 'G' : 'R') << i;
    }
}

TEST_P(SkinTabs, ATabSheetIsTheFaceColour) {
    TTabsForm f(GetParam());
    TPageControl* pages = f.AddPages(2);
    f.Start();
    TTabSheet* sheet = pages->Pages(0);
    ASSERT_NE(f.SkinnerOf<TSkinTabSheet>(sheet), nullptr);
    Repaint(sheet->Handle());
    const COLORREF face = ColorToRGB(static_cast<TColor>(f.Elements().Colors.ButtonFace));
    EXPECT_EQ(PixelOf(sheet->Handle(), 5, 5), face);
    EXPECT_EQ(PixelOf(sheet->Handle(), sheet->Width() - 5, sheet->Height() - 5), face);
}

namespace {

// A foreign page control that draws its tabs from two bitmaps it is given.
class TAdvPageTest : public TCustomControl {
    TW_DECLARE_CLASS(TAdvPageTest, TCustomControl)
    explicit TAdvPageTest(TComponent* owner) : TCustomControl(owner) {}
    TBitmap* TabBackGround() const { return FNormal.get(); }
    void SetTabBackGround(TBitmap* value) { FNormal->Assign(value); }
    TBitmap* TabBackGroundActive() const { return FActive.get(); }
    void SetTabBackGroundActive(TBitmap* value) { FActive->Assign(value); }

private:
    std::unique_ptr<TBitmap> FNormal = std::make_unique<TBitmap>();
    std::unique_ptr<TBitmap> FActive = std::make_unique<TBitmap>();
};

TClass TAdvPageTest::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TAdvPageTest>("TAdvPageTest")
            .Obj<TBitmap>("TabBackGround", &TAdvPageTest::TabBackGround, &TAdvPageTest::SetTabBackGround)
            .Obj<TBitmap>("TabBackGroundActive", &TAdvPageTest::TabBackGroundActive,
                          &TAdvPageTest::SetTabBackGroundActive)
            .Build();
    return &info;
}

} // namespace

TEST_P(SkinTabs, AForeignPageControlGetsBothTabFramesAt100By21UntilItIsLetGo) {
    TTabsForm f(GetParam());
    f.Skin->Skin3rd()->Add("TAdvPageTest=advpagecontrol");
    auto* page = f.Add<TAdvPageTest>(10, 10, 200, 100);
    f.Start();
    auto* skinner = f.SkinnerOf<TSkinAdvPage>(page);
    ASSERT_NE(skinner, nullptr);
    EXPECT_EQ(skinner->AdvKind(), TSkinAdvPage::akTabImages);
    TDataSkinBorder& tabs = *f.Elements().Tabs;
    TBitmap* held[] = {page->TabBackGround(), page->TabBackGroundActive()};
    for (int frame = 1; frame <= 2; ++frame) {
        TBitmap& got = *held[frame - 1];
        ASSERT_EQ(got.Width(), 100);
        ASSERT_EQ(got.Height(), 21);
        auto want = BuildSkinBitmap(TRect{0, 0, 100, 21}, tabs.Bitmap, tabs.Margins(), false, tabs.Tile == 1,
                                    tabs.Frame, frame);
        int differing = 0;
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 100; ++x)
                differing += got.Canvas()->Pixels(x, y) != want->Canvas()->Pixels(x, y) ? 1 : 0;
        EXPECT_EQ(differing, 0) << "frame " << frame;
    }
    f.Painter.reset();
    EXPECT_TRUE(page->TabBackGround()->Empty());
    EXPECT_TRUE(page->TabBackGroundActive()->Empty());
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinTabs, ::testing::Values(TSkinKind::Program, TSkinKind::Made), SkinName);
