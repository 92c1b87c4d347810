// The program's own windows under the watcher: the main window as its description makes it
// (its skin data component and caption add-on, its skinned status bar), and each of its
// dialogs shown modally and closed 500 times, as the toolbar does.
#include "WatchTestSupport.h"
#include "controls/SkinPanelsTestSupport.h"

#include "HandleCounter.h"
#include "SkinCaption.h"
#include "Wmain.h"
#include "Wsystemedit.h"
#include "wUpan.h"
#include "wabout.h"

#include <gtest/gtest.h>

using namespace watchtest;
using skinformtest::PumpUntil;

namespace {

template <class T>
using Owned = std::unique_ptr<T, TObjectDeleter>;

class ProgramDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(THandleCounter::Install());
        FScope.emplace();
        FMain.reset(CreateForm<Tmain>(nullptr));
        FMain->Show();
        ASSERT_TRUE(PumpUntil([&] { return Skinned(FMain->Handle()); }));
    }
    void TearDown() override {
        FMain.reset();
        FScope.reset();
    }

    static bool Skinned(HWND wnd) {
        const TSkinManage* watcher = SkinManage();
        const TWinSkinForm* painter = watcher ? watcher->FindSkinForm(wnd) : nullptr;
        return painter && painter->SkinState() == TWinSkinForm::ssActive;
    }

    // Shows the dialog modally, closes it once the watcher has skinned it; true when it had.
    static bool OpenAndClose(TForm& dialog) {
        bool skinned = false;
        TModalDriver driver(
            [&] {
                if (!dialog.HandleAllocated() || !IsWindowVisible(dialog.Handle()) ||
                    !Skinned(dialog.Handle()))
                    return false;
                skinned = true;
                dialog.Close();
                return true;
            },
            [&] { dialog.Close(); });
        dialog.ShowModal();
        return skinned;
    }

    template <class T>
    void CheckDialog() {
        Owned<T> dialog(CreateForm<T>(nullptr));
        ASSERT_TRUE(OpenAndClose(*dialog)); // first use: classes, fonts, the skin's images
        const THandleCounts before = THandleCounter::Current();
        const std::size_t forms = SkinManage()->Forms().size();
        int skinned = 0;
        for (int i = 0; i < 500; ++i)
            skinned += OpenAndClose(*dialog) ? 1 : 0;
        EXPECT_EQ(500, skinned);
        const THandleCounts after = THandleCounter::Current();
        EXPECT_EQ(before, after) << "before: " << before.ToString() << "\nafter:  " << after.ToString();
        EXPECT_EQ(forms, SkinManage()->Forms().size());
        EXPECT_TRUE(SkinManage()->Popups().empty());
        EXPECT_TRUE(Skinned(FMain->Handle()));
    }

    std::optional<TSkinManageScope> FScope;
    Owned<Tmain> FMain;
};

TEST_F(ProgramDialogs, TheMainWindowComesUpSkinnedWithItsCaptionAddOn) {
    auto* caption = dynamic_cast<TSkinCaption*>(FMain->FindComponent("SkinCaption1"));
    ASSERT_NE(nullptr, caption);
    EXPECT_TRUE(caption->Active());
    EXPECT_EQ(0, caption->SkinAlpha());
    EXPECT_TRUE(TSkinCaption::HooksInstalled());
    EXPECT_EQ(FMain->SkinData1, SkinManage()->DefaultSkin());
    EXPECT_EQ(TSkinManage::msRunning, SkinManage()->State());
    // SkinAlpha 0: the add-on leaves the window opaque.
    EXPECT_EQ(0, GetWindowLongA(FMain->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST_F(ProgramDialogs, TheMainStatusBarShowsItsTwoPanelsAndTheGripFromTheSkinWithItsTexts) {
    TStatusBar* bar = FMain->StatusBar1;
    ASSERT_NE(nullptr, bar);
    const TWinSkinForm* painter = SkinManage()->FindSkinForm(FMain->Handle());
    ASSERT_NE(nullptr, painter);
    const auto& skinners = painter->Controls();
    EXPECT_TRUE(std::any_of(skinners.begin(), skinners.end(), [bar](TSkinControl* s) {
        return s->Control() == bar && s->ClassNameIs("TSkinStatusBar");
    }));
    const HWND wnd = bar->Handle();
    ASSERT_TRUE(GetWindowLongPtrA(wnd, GWL_STYLE) & SBARS_SIZEGRIP);
    panelstest::Repaint(wnd);

    TDataSkinObject& edges = *FMain->SkinData1->Elements().StatusBarEdges;
    TDataSkinObject& grip = *FMain->SkinData1->Elements().ExtraImages;
    const int gripWidth = grip.Bitmap.Width() / grip.Frame;
    for (int i = 0; i < 2; ++i) {
        const bool last = i == 1;
        const TRect r = panelstest::FramedPanel(wnd, i, last);
        const int w = RectWidth(r), h = RectHeight(r);
        // A column right of the text (and left of the grip) shows the lowered frame top to bottom.
        const int x = last ? w - gripWidth - 8 : w - 5;
        for (int y = 0; y < h; ++y)
            EXPECT_EQ(panelstest::PixelOf(wnd, r.left + x, r.top + y),
                      panelstest::ComposedPixel(edges, 3, 1, w, h, x, y))
                << "panel " << i << " row " << y;
        EXPECT_GT(panelstest::CoveredPixels(wnd, edges, 3, 1, TRect{r.left, r.top, r.left + 60, r.bottom}), 0)
            << "the text of panel " << i;
        char shown[256] = {};
        SendMessageA(wnd, SB_GETTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(shown));
        EXPECT_EQ(bar->Panels()->Items(i)->Text(), shown) << "panel " << i;
    }
    EXPECT_EQ(0u, bar->Panels()->Items(0)->Text().rfind("   Tarnwick", 0)) << "the description's text";
    EXPECT_EQ(0, panelstest::GripMismatches(wnd, grip));
}

TEST_F(ProgramDialogs, TheStartupItemsDialogOpenedAndClosed500TimesLeavesTheCountsAndListsAsTheyWere) {
    CheckDialog<Tsystemedit>();
}

TEST_F(ProgramDialogs, TheImmunizerOpenedAndClosed500TimesLeavesTheCountsAndListsAsTheyWere) {
    CheckDialog<Tupan>();
}

TEST_F(ProgramDialogs, TheAboutBoxOpenedAndClosed500TimesLeavesTheCountsAndListsAsTheyWere) {
    CheckDialog<Tabout>();
}

} // namespace
