// The program's own windows under the watcher: the main window as its description makes it
// (its skin data component and caption add-on), and each of its dialogs shown modally and
// closed 500 times, as the toolbar does.
#include "WatchTestSupport.h"

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
