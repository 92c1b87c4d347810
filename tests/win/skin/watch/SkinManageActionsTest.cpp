// The watcher over time: its states, the skin data components' commands run from its timer
// (skin all, unskin all, refresh), components going away, and the handle balance of many
// windows skinned and closed.
#include "WatchTestSupport.h"

#include "HandleCounter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace watchtest;
using skinformtest::ClientSize;
using skinformtest::ProgramSkinFile;
using skinformtest::PumpPending;
using skinformtest::PumpUntil;
using skinformtest::SmallSkinFile;
using skinformtest::WindowSize;

namespace {

bool SameSize(SIZE a, SIZE b) {
    return a.cx == b.cx && a.cy == b.cy;
}

// A form that reports the watcher's state whenever a component it owns goes away.
class TWatchedForm : public TForm {
public:
    using TForm::TForm;
    void Notification(TComponent* component, TOperation operation) override {
        if (operation == opRemove && component == Painter && Watched)
            StatesAtRemoval.push_back(Watched->State());
        TForm::Notification(component, operation);
    }
    TComponent* Painter = nullptr;
    TSkinManage* Watched = nullptr;
    std::vector<int> StatesAtRemoval;
};

TEST_F(WatchTest, TheWatcherStartsQuietRunsOnceAWindowIsActivatedAndIsClosingWhileFreed) {
    TSkinData& skin = AddMainSkin();
    TSkinManage& watcher = Watcher();
    EXPECT_TRUE(watcher.HookInstalled());
    EXPECT_EQ(&skin, watcher.DefaultSkin());
    EXPECT_EQ(TSkinManage::msStarting, watcher.State());
    // The component's activation request only switched skinning on: no window to change yet.
    EXPECT_TRUE(watcher.Active());
    EXPECT_FALSE(watcher.ActionPending());
    watcher.RequestAction(saDeactivate, 250);
    EXPECT_FALSE(watcher.Active());
    EXPECT_FALSE(watcher.ActionPending());
    watcher.RequestAction(saActivate, 250);
    EXPECT_TRUE(watcher.Active());

    std::unique_ptr<TWatchedForm, TObjectDeleter> form(new TWatchedForm(nullptr, TCreateNew{}));
    form->SetBounds(80, 60, 300, 200);
    form->Show();
    ASSERT_TRUE(WaitSkinned(form->Handle()));
    EXPECT_EQ(TSkinManage::msRunning, watcher.State());
    // From now on requests go through the timer.
    watcher.SetActionSkin(&skin);
    watcher.RequestAction(saRefresh, 250);
    EXPECT_TRUE(watcher.ActionPending());
    EXPECT_EQ(saRefresh, watcher.PendingAction());

    form->Painter = watcher.FindSkinForm(form->Handle());
    form->Watched = &watcher;
    FreeSkinWatcher();
    EXPECT_EQ(std::vector<int>{TSkinManage::msClosing}, form->StatesAtRemoval);
    EXPECT_FALSE(AnswersSkinned(form->Handle()));
    EXPECT_EQ(0, form->ComponentCount());
}

TEST_F(WatchTest, SwitchingOffRestoresEveryWindowsNativeFrameAndSwitchingOnReskinsEveryVisibleForm) {
    TSkinData& skin = AddMainSkin();
    int changes = 0;
    struct TCounter {
        int* Count;
        void Changed(TObject*) { ++*Count; }
    } counter{&changes};
    skin.OnSkinChanged = TNotifyEvent(&counter, &TCounter::Changed);

    std::vector<FormPtr> forms;
    std::vector<SIZE> nativeWindow, nativeClient;
    for (int i = 0; i < 2; ++i) {
        FormPtr form(new TForm(nullptr, TCreateNew{}));
        form->SetBounds(60 + 40 * i, 60, 320, 210);
        form->HandleNeeded();
        nativeWindow.push_back(WindowSize(form->Handle()));
        nativeClient.push_back(ClientSize(form->Handle()));
        form->Show();
        ASSERT_TRUE(WaitSkinned(form->Handle()));
        forms.push_back(std::move(form));
    }
    FormPtr hidden(new TForm(nullptr, TCreateNew{}));
    hidden->HandleNeeded();
    for (std::size_t i = 0; i < forms.size(); ++i) {
        EXPECT_FALSE(SameSize(nativeWindow[i], WindowSize(forms[i]->Handle()))) << "skinned frame " << i;
        EXPECT_TRUE(SameSize(nativeClient[i], ClientSize(forms[i]->Handle()))) << "client kept " << i;
    }

    skin.AssignActive(false);
    EXPECT_TRUE(Watcher().ActionPending());
    ASSERT_TRUE(PumpUntil([&] { return Watcher().Forms().empty() && !Watcher().ActionPending(); }));
    EXPECT_FALSE(Watcher().Active());
    EXPECT_EQ(1, changes);
    for (std::size_t i = 0; i < forms.size(); ++i) {
        const HWND wnd = forms[i]->Handle();
        EXPECT_FALSE(AnswersSkinned(wnd)) << i;
        EXPECT_TRUE(SameSize(nativeWindow[i], WindowSize(wnd))) << "native frame " << i;
        EXPECT_TRUE(SameSize(nativeClient[i], ClientSize(wnd))) << "client " << i;
        EXPECT_EQ(WS_CAPTION, GetWindowLongA(wnd, GWL_STYLE) & WS_CAPTION) << i;
    }
    // While off, an activated window stays as it is.
    SetActiveWindow(forms[0]->Handle());
    PumpPending();
    EXPECT_TRUE(Watcher().Forms().empty());

    skin.AssignActive(true);
    ASSERT_TRUE(PumpUntil([&] {
        return Watcher().Forms().size() == 2 && Started(forms[0]->Handle()) && Started(forms[1]->Handle());
    }));
    EXPECT_TRUE(Watcher().Active());
    EXPECT_FALSE(Watcher().ForceAll());
    EXPECT_EQ(nullptr, Watcher().FindSkinForm(hidden->Handle()));
    EXPECT_EQ(2, changes);
    for (std::size_t i = 0; i < forms.size(); ++i)
        EXPECT_TRUE(SameSize(nativeClient[i], ClientSize(forms[i]->Handle()))) << "client " << i;
}

TEST_F(WatchTest, LoadingAnotherSkinRebuildsTheFramesOfTheWindowsUsingTheComponent) {
    TSkinData& skin = AddMainSkin();
    FormPtr form = ShownForm("refreshed");
    ASSERT_TRUE(WaitSkinned(form->Handle()));
    TWinSkinForm* painter = Watcher().FindSkinForm(form->Handle());
    const TRect smallBorders = painter->Borders();
    ASSERT_FALSE(painter->SysButtons().empty());
    int changes = 0;
    struct TCounter {
        int* Count;
        void Changed(TObject*) { ++*Count; }
    } counter{&changes};
    skin.OnSkinChanged = TNotifyEvent(&counter, &TCounter::Changed);

    const auto path = std::filesystem::temp_directory_path() / "tw_watch_refresh.skn";
    {
        const auto bytes = ProgramSkinFile();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    skin.AssignSkinFile(path.string());
    std::filesystem::remove(path);
    // The old caption buttons went at once; the rest follows on the timer.
    EXPECT_TRUE(painter->SysButtons().empty());
    EXPECT_EQ(saRefresh, Watcher().PendingAction());
    ASSERT_TRUE(PumpUntil([&] { return changes == 1; }));
    ASSERT_EQ(painter, Watcher().FindSkinForm(form->Handle()));
    const TRect programBorders = painter->Borders();
    EXPECT_FALSE(smallBorders.left == programBorders.left && smallBorders.top == programBorders.top &&
                 smallBorders.right == programBorders.right && smallBorders.bottom == programBorders.bottom);
    EXPECT_EQ(skin.Elements().SysButtons.size(), painter->SysButtons().size());
    EXPECT_EQ(TWinSkinForm::ssActive, painter->SkinState());
    EXPECT_EQ(nullptr, Watcher().ActionSkin());
}

TEST_F(WatchTest, AComponentForOneFormSwitchesOnlyThatFormOffAndOn) {
    FormPtr own = ShownForm("own skin");
    TSkinData& ownSkin = AddSkin(sfOnlyThisForm, ProgramSkinFile(), own.get());
    AddMainSkin();
    FormPtr shared = ShownForm("main skin");
    ASSERT_TRUE(WaitSkinned(shared->Handle()));
    ASSERT_TRUE(WaitSkinned(own->Handle()));
    ASSERT_EQ(&ownSkin, Watcher().FindSkinForm(own->Handle())->SkinData());

    ownSkin.AssignActive(false);
    ASSERT_TRUE(PumpUntil([&] { return !Watcher().FindSkinForm(own->Handle()); }));
    EXPECT_FALSE(AnswersSkinned(own->Handle()));
    EXPECT_NE(nullptr, Watcher().FindSkinForm(shared->Handle()));

    Watcher().SetActive(true); // the main component's windows go on being skinned
    ownSkin.AssignActive(true);
    ASSERT_TRUE(WaitSkinned(own->Handle()));
    EXPECT_EQ(&ownSkin, Watcher().FindSkinForm(own->Handle())->SkinData());
    EXPECT_EQ(2u, Watcher().Forms().size());
}

TEST_F(WatchTest, AComponentThatGoesAwayTakesItsPaintersWithItAndTheWindowsLookNativeAgain) {
    auto* owner = new TComponent(nullptr);
    std::unique_ptr<TComponent, TObjectDeleter> ownerHolder(owner);
    TSkinData& skin = AddSkin(sfMainform, SmallSkinFile(), owner);
    FormPtr form(new TForm(nullptr, TCreateNew{}));
    form->SetBounds(80, 60, 300, 200);
    form->HandleNeeded();
    const SIZE native = WindowSize(form->Handle());
    form->Show();
    ASSERT_TRUE(WaitSkinned(form->Handle()));
    Watcher().SetActionSkin(&skin);

    ownerHolder.reset();
    EXPECT_TRUE(Watcher().Forms().empty());
    EXPECT_TRUE(Watcher().SkinDatas().empty());
    EXPECT_EQ(nullptr, Watcher().DefaultSkin());
    EXPECT_EQ(nullptr, Watcher().ActionSkin());
    EXPECT_FALSE(AnswersSkinned(form->Handle()));
    EXPECT_TRUE(SameSize(native, WindowSize(form->Handle())));
    // The window goes on working natively.
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpPending();
}

TEST_F(WatchTest, FormsOpenedAndClosed500TimesLeaveTheHandleCountsAndTheListsWhereTheyStarted) {
    AddMainSkin();
    FormPtr main = ShownForm("main");
    ASSERT_TRUE(WaitSkinned(main->Handle()));
    ASSERT_TRUE(THandleCounter::Install());
    auto cycle = [&] {
        FormPtr form = ShownForm("dialog");
        const bool skinned = WaitSkinned(form->Handle());
        form.reset();
        PumpPending();
        return skinned;
    };
    ASSERT_TRUE(cycle()); // first use: window classes, fonts, the skin's cached images
    const THandleCounts before = THandleCounter::Current();
    const std::size_t forms = Watcher().Forms().size();

    int skinned = 0;
    for (int i = 0; i < 500; ++i)
        skinned += cycle() ? 1 : 0;
    EXPECT_EQ(500, skinned);
    const THandleCounts after = THandleCounter::Current();
    EXPECT_EQ(before, after) << "before: " << before.ToString() << "\nafter:  " << after.ToString();
    EXPECT_EQ(forms, Watcher().Forms().size());
    EXPECT_TRUE(Watcher().Popups().empty());
}

TEST_F(WatchTest, MessageBoxesOpenedAndClosed500TimesLeaveTheHandleCountsAndTheListsWhereTheyStarted) {
    AddMainSkin();
    FormPtr main = ShownForm("main");
    ASSERT_TRUE(WaitSkinned(main->Handle()));
    auto cycle = [&] {
        bool skinned = false;
        TModalDriver driver(
            [&] {
                HWND box = ThreadWindowOfClass("#32770");
                if (!box || !Watcher().FindSkinForm(box))
                    return false;
                skinned = true;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                return true;
            },
            [] { CloseThreadMessageBox(); });
        MessageBoxA(main->Handle(), "text", "caption", MB_OK);
        PumpUntil([&] { return GetActiveWindow() == main->Handle(); });
        return skinned;
    };
    ASSERT_TRUE(THandleCounter::Install());
    ASSERT_TRUE(cycle()); // first use: the dialog's class, fonts, the skin's cached images
    Watcher().Purge();
    const THandleCounts before = THandleCounter::Current();
    int skinned = 0;
    for (int i = 0; i < 500; ++i)
        skinned += cycle() ? 1 : 0;
    EXPECT_EQ(500, skinned);
    Watcher().Purge();
    const THandleCounts after = THandleCounter::Current();
    EXPECT_EQ(before, after) << "before: " << before.ToString() << "\nafter:  " << after.ToString();
    EXPECT_EQ(1u, Watcher().Forms().size());
}

} // namespace
