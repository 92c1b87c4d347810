// Attaching framework forms and foreign windows: the framework hook, colours, the title text,
// events around skinning, detachment on destruction, and the handle balance of a thousand
// attach/detach and paint cycles.
#include "SkinFormTestSupport.h"
#include "SkinTestImages.h"

#include "Forms.h"
#include "HandleCounter.h"

#include <gtest/gtest.h>

using namespace skinformtest;
using skintest::LetterOf;

namespace {

using FormPtr = std::unique_ptr<TForm, TObjectDeleter>;

FormPtr ShownForm(const std::string& caption) {
    FormPtr form(new TForm(nullptr, TCreateNew{}));
    form->SetBounds(60, 60, 320, 220);
    form->SetCaption(caption);
    form->Show();
    PumpPending();
    return form;
}

std::unique_ptr<TWinSkinForm, TObjectDeleter> SkinForm(TForm& form, TSkinData& skin) {
    std::unique_ptr<TWinSkinForm, TObjectDeleter> painter(new TWinSkinForm(nullptr));
    painter->SetHandle(form.Handle());
    painter->SetWindowClass("TForm");
    painter->AttachForm(skin, &form);
    SendMessageA(form.Handle(), WMS_SKINSTART, 0, 1000);
    PumpPending();
    return painter;
}

// Counts the title pixels of a colour other than the title image's.
int TitleInk(HWND wnd, int width) {
    TWindowDC dc(wnd, true);
    int ink = 0;
    for (int x = 24; x < width - 40; ++x) // between the icon and the buttons
        for (int y = 2; y < SkinTop - 2; ++y)
            if (LetterOf(GetPixel(dc.Get(), x, y)) != 'Y')
                ++ink;
    return ink;
}

class FormAttach : public ::testing::Test {
protected:
    void SetUp() override { FSkin = LoadedSkin(SmallSkinFile()); }
    std::unique_ptr<TSkinData, TObjectDeleter> FSkin;
};

TEST_F(FormAttach, AFrameworkFormTakesTheSkinColourAndAnswersThroughItsWindowProcHook) {
    FormPtr form = ShownForm("hook");
    const TColor before = form->Color();
    auto painter = SkinForm(*form, *FSkin);
    EXPECT_EQ(form.get(), painter->Form());
    EXPECT_EQ(RGB(10, 20, 30), static_cast<COLORREF>(form->Color()));
    EXPECT_EQ(SKIN_MAGIC, SendMessageA(form->Handle(), WMS_PING, 0, SKIN_MAGIC));
    EXPECT_EQ(1, SendMessageA(form->Handle(), WMS_PING, 0, 0));

    // Painting the frame into a DC of the caller's.
    const SIZE size = WindowSize(form->Handle());
    auto surface = skintest::Surface(size.cx, size.cy, clWhite);
    EXPECT_EQ(SKIN_MAGIC, SendMessageA(form->Handle(), WMS_PAINTFRAMETO,
                                       reinterpret_cast<WPARAM>(surface->Canvas()->Handle()), SKIN_MAGIC));
    EXPECT_EQ('R', LetterOf(GetPixel(surface->Canvas()->Handle(), 1, size.cy / 2)));

    painter->DetachRestore();
    EXPECT_EQ(before, form->Color());
    EXPECT_EQ(0, SendMessageA(form->Handle(), WMS_PING, 0, SKIN_MAGIC));
}

TEST_F(FormAttach, TheTitleShowsTheWindowTextAndFollowsItsChanges) {
    FormPtr form = ShownForm("");
    auto painter = SkinForm(*form, *FSkin);
    SendMessageA(form->Handle(), WM_NCACTIVATE, TRUE, 0);
    const int width = WindowSize(form->Handle()).cx;
    EXPECT_EQ(0, TitleInk(form->Handle(), width));
    form->SetCaption("Skinned title");
    PumpPending();
    EXPECT_GT(TitleInk(form->Handle(), width), 20);
    form->SetCaption("");
    PumpPending();
    EXPECT_EQ(0, TitleInk(form->Handle(), width));
}

TEST_F(FormAttach, AForeignWindowsTitleFollowsItsText) {
    TTestWindow window(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 320, 200);
    auto painter = SkinWindow(window.Handle(), *FSkin);
    SendMessageW(window.Handle(), WM_NCACTIVATE, TRUE, 0);
    const int width = WindowSize(window.Handle()).cx;
    EXPECT_EQ(0, TitleInk(window.Handle(), width));
    SetWindowTextW(window.Handle(), L"Foreign title");
    EXPECT_GT(TitleInk(window.Handle(), width), 20);
    SetWindowTextW(window.Handle(), L"");
    EXPECT_EQ(0, TitleInk(window.Handle(), width));
}

TEST_F(FormAttach, EventsRunBeforeAndAfterSkinningWithTheWindowAndItsClass) {
    struct TRecorder {
        std::vector<std::string> Calls;
        void Before(TObject*, HWND, const std::string& name) { Calls.push_back("before " + name); }
        void After(TObject*, HWND, const std::string& name) { Calls.push_back("after " + name); }
    } recorder;
    FSkin->OnBeforeSkinForm = TOnSkinForm(&recorder, &TRecorder::Before);
    FSkin->OnAfterSkinForm = TOnSkinForm(&recorder, &TRecorder::After);
    FormPtr form = ShownForm("events");
    auto painter = SkinForm(*form, *FSkin);
    EXPECT_EQ((std::vector<std::string>{"before TForm", "after TForm"}), recorder.Calls);
}

TEST_F(FormAttach, DestroyingTheWindowDetachesQuietlyAndMarksThePainter) {
    auto window = std::make_unique<TTestWindow>(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 200, 150);
    auto painter = SkinWindow(window->Handle(), *FSkin);
    window.reset();
    EXPECT_EQ(TWinSkinForm::ssDestroyed, painter->SkinState());
    EXPECT_FALSE(painter->Attached());
}

TEST_F(FormAttach, AWindowThatIsNotStartedKeepsItsFrameUnpainted) {
    TTestWindow window(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 200, 150);
    std::unique_ptr<TWinSkinForm, TObjectDeleter> painter(new TWinSkinForm(nullptr));
    painter->SetHandle(window.Handle());
    painter->AttachHandle(*FSkin);
    window.ResetCounts();
    EXPECT_EQ(0, SendMessageW(window.Handle(), WM_NCPAINT, 1, 0));
    EXPECT_EQ(0, SendMessageW(window.Handle(), WM_NCACTIVATE, FALSE, 0));
    EXPECT_EQ(0, window.Count(WM_NCPAINT));
    EXPECT_EQ(0, window.Count(WM_NCACTIVATE));
    EXPECT_EQ(TWinSkinForm::ssAttached, painter->SkinState());
}

TEST_F(FormAttach, AThousandAttachDetachAndPaintCyclesLeaveTheHandleCountsUnchanged) {
    ASSERT_TRUE(THandleCounter::Install());
    auto skin = LoadedSkin(ProgramSkinFile());
    FormPtr form = ShownForm("leaks");
    auto cycle = [&] {
        auto painter = SkinForm(*form, *skin);
        SendMessageA(form->Handle(), WM_NCACTIVATE, FALSE, 0);
        SendMessageA(form->Handle(), WM_NCACTIVATE, TRUE, 0);
        painter->DetachRestore();
    };
    cycle(); // process-wide scratch objects are made once
    const THandleCounts before = THandleCounter::Current();
    for (int i = 0; i < 1000; ++i)
        cycle();
    PumpPending();
    EXPECT_EQ(before, THandleCounter::Current())
        << before.ToString() << " -> " << THandleCounter::Current().ToString();

    auto painter = SkinForm(*form, *skin);
    SendMessageA(form->Handle(), WM_NCACTIVATE, TRUE, 0);
    PumpPending();
    const THandleCounts painting = THandleCounter::Current();
    for (int i = 0; i < 1000; ++i) {
        SendMessageA(form->Handle(), WM_NCPAINT, 1, 0);
        SetWindowPos(form->Handle(), nullptr, 0, 0, 320 + i % 7, 220,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    PumpPending();
    EXPECT_EQ(painting, THandleCounter::Current())
        << painting.ToString() << " -> " << THandleCounter::Current().ToString();
}

} // namespace
