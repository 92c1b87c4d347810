// The preview form skinned by the watcher: each control kind gets its painter and shows the
// skin's images, with the program's skin and with a made skin of other sizes and frame counts;
// a bad skin file is reported once and the skin shown before stays.
#include "SkinViewForm.h"

#include "SkinMessage.h"
#include "WinSkinForm.h"
#include "WinSkinManage.h"
#include "WinSubClass.h"
#include "WinSubClassChecks.h"
#include "WinSubClassSpin.h"
#include "WinSubClassScroll.h"
#include "controls/SkinPanelsTestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

namespace {

using namespace skinformtest;
using namespace panelstest;

std::vector<std::uint8_t> SkinBytes(TSkinKind kind) {
    if (kind == TSkinKind::Program)
        return ProgramSkinFile();
    TSmallSkinOptions options;
    options.Buttons = true;
    options.CheckFrames = 4;
    options.RadioFrames = 8;
    options.Bars = true;
    options.Tabs = true;
    options.Menus = true;
    options.MenuBar = true;
    options.Header = true;
    options.Scrolls = true;
    options.Edits = true;
    return SmallSkinFile(options);
}

std::wstring WriteTempFile(const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
    const auto path = std::filesystem::temp_directory_path() / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.wstring();
}

// Share of the control's pixels in area that show frame `frame` of the element composed over
// the area, the way the painters compose it.
double MatchingShare(HWND wnd, TDataSkinObject& element, int frames, int frame, const TRect& area) {
    const int covered = panelstest::CoveredPixels(wnd, element, frames, frame, area);
    return 1.0 - static_cast<double>(covered) / (RectWidth(area) * RectHeight(area));
}

class SkinViewTest : public ::testing::TestWithParam<TSkinKind> {
protected:
    void SetUp() override {
        FScope.emplace();
        Form.reset(new TSkinViewForm(nullptr));
        ASSERT_TRUE(Form->OpenSkin(WriteTempFile(L"tw_skinview_test.skn", SkinBytes(GetParam()))));
        Form->SecondWindow()->Show();
        Form->Show();
        SetForegroundWindow(Form->Handle());
        ASSERT_TRUE(
            PumpUntil([&] { return Started(Form->Handle()) && Started(Form->SecondWindow()->Handle()); }));
        PumpPending();
    }
    void TearDown() override {
        FScope.reset(); // the watcher goes first, as at program end
        Form.reset();
        PumpPending();
    }

    static bool Started(HWND wnd) {
        const TWinSkinForm* painter = SkinManage() ? SkinManage()->FindSkinForm(wnd) : nullptr;
        return painter && painter->SkinState() == TWinSkinForm::ssActive;
    }
    TSkinControl* SkinnerOf(TControl* control) const {
        for (TSkinControl* skinner : SkinManage()->FindSkinForm(Form->Handle())->Controls())
            if (skinner->Control() == control || skinner->GraphicControl() == control ||
                (skinner->Handle() && dynamic_cast<TWinControl*>(control) &&
                 skinner->Handle() == static_cast<TWinControl*>(control)->Handle()))
                return skinner;
        return nullptr;
    }
    std::string SkinnerClassOf(TControl* control) const {
        TSkinControl* skinner = SkinnerOf(control);
        return skinner ? skinner->ClassName() : "";
    }
    const TSkinElements& Elements() const { return Form->Skin().Elements(); }

    std::unique_ptr<TSkinViewForm, TObjectDeleter> Form;

private:
    std::optional<TSkinManageScope> FScope;
};

} // namespace

TEST_P(SkinViewTest, EveryControlKindGetsItsPainter) {
    const TSkinViewParts& p = Form->Parts();
    const std::pair<TControl*, const char*> expected[] = {
        {p.Button, "TSkinButton"},
        {p.DisabledButton, "TSkinButton"},
        {p.GlyphButton, "TSkinBitButton"},
        {p.SpeedButton, "TSkinSpeedButton"},
        {p.DropDownButton, "TSkinMenuButton"},
        {p.Unchecked, "TSkinCheckBox"},
        {p.Grayed, "TSkinCheckBox"},
        {p.Checked, "TSkinCheckBox"},
        {p.DisabledCheck, "TSkinCheckBox"},
        {p.Radio, "TSkinRadioButton"},
        {p.DisabledRadio, "TSkinRadioButton"},
        {p.Group, "TSkinGroupBox"},
        {p.Status, "TSkinStatusBar"},
        {p.Progress, "TSkinProgress"},
        {p.VerticalProgress, "TSkinProgress"},
        {p.TopTabs, "TSkinTab"},
        {p.BottomTabs, "TSkinTab"},
        {p.TabSet, "TSkinTab31"},
        {p.Track, "TSkinTrackBar"},
        {p.VerticalTrack, "TSkinTrackBar"},
        {p.Combo, "TSkinComBox"},
        {p.Date, "TSkinDateTime"},
        {p.Spin, "TSkinUpDown"},
        {p.List, "TSkinListView"},
        {p.ListBox, "TSkinScrollbar"},
        {p.Memo, "TSkinScrollbar"},
        {p.ScrollBar, "TSkinScControl"},
        {p.VerticalScrollBar, "TSkinScControl"},
    };
    for (const auto& [control, skinner] : expected)
        EXPECT_EQ(SkinnerClassOf(control), skinner) << control->ClassName() << " " << control->Caption();
}

// Each check of the table looks at a few pixels of one control kind on the preview form.
TEST_P(SkinViewTest, EachControlKindShowsTheSkinsImages) {
    const TSkinViewParts& p = Form->Parts();
    const TSkinElements& e = Elements();
    TDataSkinButton& buttons = *e.Buttons;

    // A mark sits at the left, vertically centred, in the frame of its state.
    auto mark = [&](TWinControl* box, bool radio, int logical, bool grayed = false) {
        TBitmap& image = radio ? buttons.RadioBitmap : buttons.CheckBitmap;
        const int frames = radio ? buttons.RadioFrames : buttons.CheckFrames;
        const bool disabled = !box->Enabled();
        const int frame =
            radio ? RadioFrameOf(logical, frames) : CheckFrameOf(logical, grayed, disabled, frames);
        const SIZE size = ClientSize(box->Handle());
        return FrameMismatches(box->Handle(), image, frames, frame,
                               POINT{0, (size.cy - image.Height()) / 2}) == 0;
    };
    // Halfway along the filled part and along the rest of a progress bar at `percent`; a
    // standing bar is the lying one turned anticlockwise.
    auto progress = [&](TProgressBar* bar, int percent) {
        const HWND wnd = bar->Handle();
        const SIZE size = ClientSize(wnd);
        const bool standing = bar->Orientation() == pbVertical;
        const int length = standing ? size.cy : size.cx, thickness = standing ? size.cx : size.cy;
        const int fill = length * percent / 100;
        for (const int along : {fill / 2, fill + (length - fill) / 2}) {
            const COLORREF expected =
                along < fill ? ComposedPixel(*e.Progress, 2, 2, fill, thickness, along, thickness / 2)
                             : ComposedPixel(*e.Progress, 2, 1, length, thickness, along, thickness / 2);
            const COLORREF shown = standing ? PixelOf(wnd, thickness / 2, length - 1 - along)
                                            : PixelOf(wnd, along, thickness / 2);
            if (shown != expected)
                return false;
        }
        return true;
    };
    // The middle of a strip frame drawn over a window's rectangle r on the face colour.
    auto stripMiddle = [&](HWND wnd, const RECT& r, TDataSkinObject& image, int frames, int frame) {
        const int w = r.right - r.left, h = r.bottom - r.top;
        TBitmap expected;
        expected.SetSize(w, h);
        expected.Canvas()->Brush()->SetColor(static_cast<TColor>(e.Colors.ButtonFace));
        expected.Canvas()->FillRect(TRect{0, 0, w, h});
        DrawStripFrameDC(expected.Canvas()->Handle(), TRect{0, 0, w, h}, frames, frame, image.Bitmap);
        return PixelOf(wnd, r.left + w / 2, r.top + h / 2) ==
               static_cast<COLORREF>(expected.Canvas()->Pixels(w / 2, h / 2));
    };
    // The thumb's middle shows frame 2 of the five thumb frames.
    auto thumb = [&](TTrackBar* bar) {
        RECT r{};
        SendMessageA(bar->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
        return stripMiddle(bar->Handle(), r,
                           bar->Orientation() == trVertical ? *e.TrackbarThumbVert : *e.TrackbarThumbHorz, 5,
                           2);
    };
    // The date picker's cover arrow over its button: frame 1 of the combo arrow.
    auto dateArrow = [&] {
        auto* skinner = dynamic_cast<TSkinDateTime*>(SkinnerOf(p.Date));
        TArrowButton* arrow = skinner ? skinner->Arrow() : nullptr;
        if (!arrow || !IsWindowVisible(arrow->Handle()))
            return false;
        RECT client{};
        GetClientRect(arrow->Handle(), &client);
        return stripMiddle(arrow->Handle(), client, *e.ComboxArrow, e.ComboxArrow->Frame, 1);
    };
    // The up-down's upper half, near its corner (off the glyph): frame 1 of the standing buttons.
    auto spin = [&] {
        const HWND wnd = p.Spin->Handle();
        TDataSkinBorder& element = *e.UpDownVert;
        const SIZE size = WindowSize(wnd);
        TBitmap expected;
        expected.SetSize(size.cx, size.cy / 2);
        DrawSkinFrame(expected.Canvas()->Handle(), TRect{0, 0, size.cx, size.cy / 2}, element.Bitmap,
                      element.Trans == 1, element.Frame, 1);
        TWindowDC dc(wnd, true);
        return GetPixel(dc.Get(), 3, 3) == static_cast<COLORREF>(expected.Canvas()->Pixels(3, 3));
    };
    // The tab set's tabs where it lays them out, hanging on the upside-down image.
    auto tabSet = [&] {
        const std::vector<TRect> places = p.TabSet->TabRects();
        for (int i = 0; i < static_cast<int>(places.size()); ++i) {
            const TRect& at = places[static_cast<std::size_t>(i)];
            if (IsRectEmpty(&at))
                continue;
            auto expected = ExpectedTab(*e.Tabs, tsdBottom, i == p.TabSet->TabIndex() ? 2 : 1, RectWidth(at),
                                        RectHeight(at));
            if (CornerMismatches(p.TabSet->Handle(), *expected, at.left, at.top,
                                 {{0, 0}, {1, 0}, {0, 1}, {1, 1}}) != 0)
                return false;
        }
        return !places.empty();
    };
    // The outer corners of both tabs: the chosen one in frame 2, the row shifted off the page.
    auto tabs = [&](TPageControl* pages) {
        const HWND wnd = pages->Handle();
        const bool top = pages->TabPosition() == tpTop;
        for (int i = 0; i < 2; ++i) {
            RECT item{};
            SendMessageA(wnd, TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            OffsetRect(&item, 0, top ? 1 : -1);
            auto expected =
                ExpectedTab(*e.Tabs, top ? tsdTop : tsdBottom, i == pages->ActivePageIndex() ? 2 : 1,
                            item.right - item.left, item.bottom - item.top);
            const int wrong = top ? CornerMismatches(wnd, *expected, item.left, item.top, {{0, 0}, {1, 0}})
                                  : CornerMismatches(wnd, *expected, item.left, item.top, {{0, 1}, {1, 1}});
            if (wrong != 0)
                return false;
        }
        return true;
    };
    // The list view's first header item in frame 1, its vertical bar's overlay showing rows of
    // the thumb image's middle colour.
    auto header = [&] {
        const HWND wnd = ListView_GetHeader(p.List->Handle());
        RECT item{};
        SendMessageA(wnd, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
        return EdgeMismatches(wnd, *e.Headerbar, 1, item) == 0;
    };
    auto overlay = [&] {
        auto* skinner = dynamic_cast<TSkinListView*>(SkinnerOf(p.List));
        TWScrollbar* bar = skinner ? skinner->VertBar() : nullptr;
        if (!bar || !bar->Shown())
            return false;
        TBitmap& image = e.VertScrollThumb->Bitmap;
        const int w = image.Width() / std::max(e.VertScrollThumb->Frame, 1);
        const COLORREF body = static_cast<COLORREF>(image.Canvas()->Pixels(w / 2, image.Height() / 2));
        const SIZE size = ClientSize(bar->Handle());
        int rows = 0;
        for (int y = 0; y < size.cy; ++y)
            rows += PixelOf(bar->Handle(), size.cx / 2, y) == body;
        return rows > 0;
    };
    // The menu bar's band right of the last caption: the middle of the active frame's bottom row.
    auto menuBar = [&] {
        const TWinSkinForm& painter = *SkinManage()->FindSkinForm(Form->Handle());
        TBitmap& image = e.MenuBar->Bitmap;
        const TRect borders = painter.Borders();
        TWindowDC dc(Form->Handle(), true);
        const COLORREF shown = GetPixel(dc.Get(), WindowSize(Form->Handle()).cx - borders.right - 20,
                                        borders.top + painter.MenuHeight() - 1);
        return shown ==
               static_cast<COLORREF>(image.Canvas()->Pixels(image.Width() / 2, image.Height() / 2 - 1));
    };
    // The group box's rounded frame in the skin's shadow colour on its face colour.
    auto group = [&] {
        const HWND wnd = p.Group->Handle();
        const int y = ClientSize(wnd).cy / 2;
        return PixelOf(wnd, 1, y) ==
                   static_cast<COLORREF>(ColorToRGB(static_cast<TColor>(e.Colors.ButtonShadow))) &&
               PixelOf(wnd, 0, y) ==
                   static_cast<COLORREF>(ColorToRGB(static_cast<TColor>(e.Colors.ButtonFace)));
    };
    // A disabled push button shows the third of the five button frames, its caption aside.
    auto disabledButton = [&] {
        const HWND wnd = p.DisabledButton->Handle();
        const SIZE size = ClientSize(wnd);
        return MatchingShare(wnd, buttons, 5, 3, TRect{0, 0, size.cx, size.cy}) > 0.7;
    };

    // A button at rest shows frame 1 of the five button frames (5 when it has the focus) over
    // most of it, its caption, glyph or arrow aside; a speed button is drawn on its parent.
    auto restingButton = [&](TControl* button) {
        auto* windowed = dynamic_cast<TWinControl*>(button);
        const HWND wnd = windowed ? windowed->Handle() : Form->Handle();
        const TRect area =
            windowed ? TRect{0, 0, ClientSize(wnd).cx, ClientSize(wnd).cy} : button->BoundsRect();
        const int frame = windowed && GetFocus() == wnd ? 5 : 1;
        return MatchingShare(wnd, buttons, 5, frame, area) > 0.5;
    };

    const std::pair<const char*, std::function<bool()>> checks[] = {
        {"button", [&] { return restingButton(p.Button); }},
        {"glyph button", [&] { return restingButton(p.GlyphButton); }},
        {"speed button", [&] { return restingButton(p.SpeedButton); }},
        {"drop-down button", [&] { return restingButton(p.DropDownButton); }},
        {"disabled button", disabledButton},
        {"unchecked box", [&] { return mark(p.Unchecked, false, 1); }},
        {"checked box", [&] { return mark(p.Checked, false, 2); }},
        {"grayed box", [&] { return mark(p.Grayed, false, 4, true); }},
        {"disabled checked box", [&] { return mark(p.DisabledCheck, false, 4); }},
        {"radio", [&] { return mark(p.Radio, true, 1); }},
        {"checked radio", [&] { return mark(p.CheckedRadio, true, 2); }},
        {"disabled radio", [&] { return mark(p.DisabledRadio, true, 3); }},
        {"group box", group},
        {"progress bar", [&] { return progress(p.Progress, 60); }},
        {"standing progress bar", [&] { return progress(p.VerticalProgress, 40); }},
        {"track bar", [&] { return thumb(p.Track); }},
        {"standing track bar", [&] { return thumb(p.VerticalTrack); }},
        {"tabs on top", [&] { return tabs(p.TopTabs); }},
        {"tabs below", [&] { return tabs(p.BottomTabs); }},
        {"tab set", tabSet},
        {"spin buttons", spin},
        {"date picker arrow", dateArrow},
        {"list header", header},
        {"scroll overlay", overlay},
        {"menu bar", menuBar},
        {"status bar grip", [&] { return GripMismatches(p.Status->Handle(), *e.ExtraImages) == 0; }},
    };
    for (const auto& [kind, shows] : checks)
        EXPECT_TRUE(PumpUntil(shows)) << kind;

    // The combo box's button: the composite of frame and button where the skin has one (the
    // program's), else the button image's frame 1 (the made skin's solid one) around the arrow.
    TDataSkinBorder& combo = *e.ComboButton;
    const HWND comboWnd = p.Combo->Handle();
    const SIZE comboSize = WindowSize(comboWnd);
    const int buttonWidth = GetSystemMetrics(SM_CXHSCROLL);
    auto comboButton = [&] {
        TWindowDC dc(comboWnd, true);
        int compared = 0, wrong = 0;
        for (int y = 3; y < comboSize.cy - 3; ++y)
            for (int x = comboSize.cx - buttonWidth; x < comboSize.cx - 3; ++x) {
                const COLORREF want =
                    combo.Style == 2 ? ComposedPixel(combo, combo.Frame, 1, comboSize.cx, comboSize.cy, x, y)
                                     : static_cast<COLORREF>(combo.Bitmap.Canvas()->Pixels(1, 1));
                if (want == RGB(255, 0, 255))
                    continue;
                ++compared;
                wrong += GetPixel(dc.Get(), x, y) != want;
            }
        // The made skin's arrow covers the button's middle.
        return compared > 0 && wrong <= compared / 3;
    };
    EXPECT_TRUE(PumpUntil(comboButton)) << "combo button";
    // Stood up after it was placed lying: taller than wide.
    EXPECT_GT(ClientSize(p.VerticalTrack->Handle()).cy, ClientSize(p.VerticalTrack->Handle()).cx);
}

TEST_P(SkinViewTest, ABadSkinFileIsReportedOnceAndTheSkinShownBeforeStays) {
    std::vector<std::string> messages;
    TSkinMessageSinkScope sink([&](const std::string& text) { messages.push_back(text); });
    const TDataSkinButton* before = Elements().Buttons.get();
    const int beforeWidth = before->Bitmap.Width();
    const std::wstring bad = WriteTempFile(L"tw_skinview_bad.skn", {'n', 'o', ' ', 's', 'k', 'i', 'n'});

    EXPECT_FALSE(Form->OpenSkin(bad));
    EXPECT_FALSE(Form->OpenSkin(L"Z:\\no such folder\\missing.skn"));
    ASSERT_EQ(messages.size(), 2u);
    for (const std::string& text : messages)
        EXPECT_NE(text.find("The current skin stays."), std::string::npos) << text;
    EXPECT_FALSE(Form->Skin().SkinLoading());
    EXPECT_EQ(Elements().Buttons->Bitmap.Width(), beforeWidth);
    EXPECT_NE(Form->Caption().find("tw_skinview_test.skn"), std::string::npos);
    EXPECT_TRUE(PumpUntil([&] { return Started(Form->Handle()); }));
}

TEST_P(SkinViewTest, AnotherSkinSwitchesLive) {
    const TSkinKind other = GetParam() == TSkinKind::Program ? TSkinKind::Made : TSkinKind::Program;
    const int width = Elements().Buttons->Bitmap.Width();
    ASSERT_TRUE(Form->OpenSkin(WriteTempFile(L"tw_skinview_other.skn", SkinBytes(other))));
    EXPECT_NE(Elements().Buttons->Bitmap.Width(), width);
    EXPECT_NE(Form->Caption().find("tw_skinview_other.skn"), std::string::npos);
    ASSERT_TRUE(PumpUntil([&] { return Started(Form->Handle()); }));
    PumpPending();
    const HWND button = Form->Parts().DisabledButton->Handle();
    const SIZE size = ClientSize(button);
    EXPECT_TRUE(PumpUntil([&] {
        return MatchingShare(button, *Elements().Buttons, 5, 3, TRect{0, 0, size.cx, size.cy}) > 0.7;
    }));
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinViewTest, ::testing::Values(TSkinKind::Program, TSkinKind::Made),
                         SkinName);
