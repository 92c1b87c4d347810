// The preview form skinned by the watcher: each control kind gets its painter and shows the
// skin's images, with the program's skin and with a made skin of other sizes and frame counts;
// a bad skin file is reported once and the skin shown before stays.
#include "SkinViewForm.h"

#include "SkinMessage.h"
#include "WinSkinForm.h"
#include "WinSkinManage.h"
#include "WinSubClass.h"
#include "controls/SkinPanelsTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

namespace {

using namespace skinformtest;

enum class TSkinKind { Program, Made };

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
    std::string SkinnerClassOf(TControl* control) const {
        for (TSkinControl* skinner : SkinManage()->FindSkinForm(Form->Handle())->Controls())
            if (skinner->Control() == control || skinner->GraphicControl() == control ||
                (skinner->Handle() && dynamic_cast<TWinControl*>(control) &&
                 skinner->Handle() == static_cast<TWinControl*>(control)->Handle()))
                return skinner->ClassName();
        return "";
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

TEST_P(SkinViewTest, ControlsShowTheSkinsImages) {
    const TSkinViewParts& p = Form->Parts();
    // A disabled push button shows the third of the five button frames, its caption aside.
    const HWND button = p.DisabledButton->Handle();
    const SIZE size = ClientSize(button);
    EXPECT_GT(MatchingShare(button, *Elements().Buttons, 5, 3, TRect{0, 0, size.cx, size.cy}), 0.7);
    // The status bar's size grip is frame 5 of the extra images.
    EXPECT_EQ(panelstest::GripMismatches(p.Status->Handle(), *Elements().ExtraImages), 0);
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
                         [](const auto& info) {
                             return info.param == TSkinKind::Program ? "ProgramSkin" : "MadeSkin";
                         });
