// The caption add-on: made by name from a form, its design-time tip, hooks that live exactly
// as long as the add-ons, the frame refresh when it is switched, and the opacity it gives
// skinned windows.
#include "SkinCaption.h"
#include "WatchTestSupport.h"

#include "FormReader.h"
#include "HandleCounter.h"

#include <gtest/gtest.h>

using namespace watchtest;
using skinformtest::PumpPending;
using skinformtest::TTestWindow;

namespace {

using CaptionPtr = std::unique_ptr<TSkinCaption, TObjectDeleter>;

constexpr DWORD kFrameStyle = WS_OVERLAPPEDWINDOW;

// Puts the shared opacity back to 0 at its end, so that other tests see windows unchanged.
struct TAlphaReset {
    ~TAlphaReset() {
        TSkinCaption reset(nullptr);
        reset.SetSkinAlpha(0);
        reset.Loaded();
    }
};

bool Layered(HWND wnd) {
    return (GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

BYTE OpacityOf(HWND wnd) {
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(wnd, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA))
        return 0;
    return alpha;
}

TEST(SkinCaption, IsMadeByNameFromAFormDescriptionWithItsPublishedSettings) {
    std::unique_ptr<TComponent, TObjectDeleter> root(new TComponent(nullptr));
    ReadComponentText(*root,
                      "object Root: TComponent\n"
                      "  object SkinCaption1: TSkinCaption\n"
                      "    Active = True\n"
                      "    SkinAlpha = 300\n"
                      "    Author = 'somebody else'\n"
                      "  end\n"
                      "  object Extra1: TClassAcSkin\n"
                      "  end\n"
                      "  object Extra2: TClassAcButton\n"
                      "  end\n"
                      "end\n",
                      "caption form");
    auto* caption = dynamic_cast<TSkinCaption*>(root->FindComponent("SkinCaption1"));
    ASSERT_NE(nullptr, caption);
    EXPECT_TRUE(caption->Active());
    EXPECT_EQ(255, caption->SkinAlpha()); // a byte
    EXPECT_EQ(255, TSkinCaption::SharedSkinAlpha());
    EXPECT_EQ(TSkinCaption::AuthorText, GetStrProp(*caption, "Author"));
    auto* skin = dynamic_cast<TClassAcSkin*>(root->FindComponent("Extra1"));
    auto* button = dynamic_cast<TClassAcButton*>(root->FindComponent("Extra2"));
    ASSERT_NE(nullptr, skin);
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(nullptr, skin->FTarget);
    EXPECT_EQ(0, button->FValue);
    caption->SetSkinAlpha(-4);
    EXPECT_EQ(0, caption->SkinAlpha());
    TAlphaReset reset;
}

TEST(SkinCaption, AtDesignTimeWithoutSkinDataItShowsTheTipAndStaysInactive) {
    { TSkinCaption gone(nullptr); } // leaves the shared switch off
    ASSERT_FALSE(TSkinCaption::SharedActive());
    ASSERT_TRUE(THandleCounter::Install());
    const int hooks = THandleCounter::Current().Hooks;

    std::unique_ptr<TComponent, TObjectDeleter> designed(new TComponent(nullptr));
    designed->SetDesigning(true);
    std::vector<std::string> texts;
    TModalDriver driver(
        [&] {
            HWND box = ThreadWindowOfClass("#32770");
            if (!box)
                return false;
            for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
                char text[512] = {};
                GetWindowTextA(child, text, sizeof text);
                texts.push_back(text);
            }
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        },
        [] { CloseThreadMessageBox(); });
    auto* lonely = new TSkinCaption(designed.get());
    EXPECT_FALSE(driver.GaveUp());
    EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), TSkinCaption::MissingSkinDataTip()));
    EXPECT_FALSE(lonely->Active());
    EXPECT_EQ(hooks, THandleCounter::Current().Hooks); // nothing hooked at design time

    // Next to a TSkinData it switches on without a word.
    std::unique_ptr<TComponent, TObjectDeleter> complete(new TComponent(nullptr));
    new TSkinData(complete.get());
    complete->SetDesigning(true);
    texts.clear();
    auto* paired = new TSkinCaption(complete.get());
    EXPECT_TRUE(paired->Active());
    EXPECT_TRUE(texts.empty());
    EXPECT_EQ(hooks, THandleCounter::Current().Hooks);
}

TEST(SkinCaption, ItsHooksLiveExactlyAsLongAsTheAddOnsMadeAtRunTime) {
    ASSERT_TRUE(THandleCounter::Install());
    const int hooks = THandleCounter::Current().Hooks;
    ASSERT_FALSE(TSkinCaption::HooksInstalled());
    CaptionPtr first(new TSkinCaption(nullptr));
    EXPECT_TRUE(first->Active());
    EXPECT_TRUE(TSkinCaption::HooksInstalled());
    EXPECT_EQ(hooks + 2, THandleCounter::Current().Hooks);
    CaptionPtr second(new TSkinCaption(nullptr));
    EXPECT_EQ(hooks + 2, THandleCounter::Current().Hooks);
    first.reset();
    EXPECT_TRUE(TSkinCaption::HooksInstalled());
    EXPECT_FALSE(second->Active()); // one switch for all
    second.reset();
    EXPECT_FALSE(TSkinCaption::HooksInstalled());
    EXPECT_EQ(hooks, THandleCounter::Current().Hooks);
}

TEST_F(WatchTest, SwitchingTheAddOnReframesEverySkinnedWindowAtOnce) {
    AddMainSkin();
    CaptionPtr caption(new TSkinCaption(nullptr));
    std::vector<std::unique_ptr<TTestWindow>> windows;
    std::vector<int> reframed(2, 0);
    for (int i = 0; i < 2; ++i) {
        windows.push_back(std::make_unique<TTestWindow>(kFrameStyle, 0, 240, 160));
        ShowWindow(windows[i]->Handle(), SW_SHOW);
        ASSERT_TRUE(WaitSkinned(windows[i]->Handle()));
        windows[i]->Filter = [&reframed, i](UINT msg, WPARAM, LPARAM lParam) {
            if (msg == WM_WINDOWPOSCHANGING &&
                (reinterpret_cast<WINDOWPOS*>(lParam)->flags & SWP_FRAMECHANGED))
                ++reframed[i];
            return false;
        };
    }
    caption->SetActive(false);
    EXPECT_EQ((std::vector<int>{1, 1}), reframed);
    caption->SetActive(true);
    EXPECT_EQ((std::vector<int>{2, 2}), reframed);
    for (auto& window : windows)
        window->Filter = nullptr;
}

TEST_F(WatchTest, WithSkinAlphaZeroWindowsAreUnchangedAndAboveZeroSkinnedWindowsTakeThatOpacity) {
    AddMainSkin();
    TAlphaReset reset;
    CaptionPtr caption(new TSkinCaption(nullptr));
    caption->Loaded(); // SkinAlpha 0, as on the main window
    TTestWindow first(kFrameStyle, 0, 240, 160);
    ShowWindow(first.Handle(), SW_SHOW);
    ASSERT_TRUE(WaitSkinned(first.Handle()));
    EXPECT_FALSE(Layered(first.Handle()));

    // A window translucent on its own keeps its setting throughout.
    TTestWindow own(kFrameStyle, WS_EX_LAYERED, 240, 160);
    SetLayeredWindowAttributes(own.Handle(), 0, 100, LWA_ALPHA);
    ShowWindow(own.Handle(), SW_SHOW);
    ASSERT_TRUE(WaitSkinned(own.Handle()));

    caption->SetSkinAlpha(200);
    caption->Loaded();
    EXPECT_EQ(200, OpacityOf(first.Handle())); // already skinned: at once
    TTestWindow second(kFrameStyle, 0, 240, 160);
    ShowWindow(second.Handle(), SW_SHOW);
    ASSERT_TRUE(WaitSkinned(second.Handle()));
    EXPECT_EQ(200, OpacityOf(second.Handle())); // as it is skinned
    EXPECT_EQ(100, OpacityOf(own.Handle()));

    caption->SetActive(false);
    EXPECT_FALSE(Layered(first.Handle()));
    EXPECT_FALSE(Layered(second.Handle()));
    EXPECT_EQ(100, OpacityOf(own.Handle()));
    caption->SetActive(true);
    EXPECT_EQ(200, OpacityOf(second.Handle()));
    caption.reset();
    EXPECT_FALSE(Layered(first.Handle()));
    EXPECT_FALSE(Layered(second.Handle()));
    EXPECT_TRUE(Layered(own.Handle()));
}

} // namespace
