// Faults the form painter must survive soundly: exceptions in its window procedures (they fall
// back to the native look instead of crossing user32), letting go of a window under a subclass
// installed later, a greyed Close, a skin change with equal frame sizes, the MDI client's
// character set.
#include "SkinFormFault.h"
#include "SkinFormTestSupport.h"
#include "SkinSubclass.h"

#include "Forms.h"
#include "SysUtils.h"
#include "WinHandle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>

using namespace skinformtest;

namespace {

constexpr DWORD Sizeable = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
constexpr int CloseIndex = 0;

// Makes one step of the painter throw as a GDI failure would, for the scope's lifetime.
class TFailingStep {
public:
    explicit TFailingStep(TSkinFormStep step) {
        Step = step;
        Count = 0;
        SkinFormFaultHook = &Fail;
    }
    ~TFailingStep() { SkinFormFaultHook = nullptr; }
    TFailingStep(const TFailingStep&) = delete;
    TFailingStep& operator=(const TFailingStep&) = delete;
    static inline int Count = 0;

private:
    static void Fail(TSkinFormStep step) {
        if (step != Step)
            return;
        ++Count;
        throw EOutOfResources("Out of system resources");
    }
    static inline TSkinFormStep Step{};
};

SIZE FrameOf(HWND wnd) {
    const SIZE window = WindowSize(wnd);
    const SIZE client = ClientSize(wnd);
    return SIZE{window.cx - client.cx, window.cy - client.cy};
}

bool HasWindowRegion(HWND wnd) {
    TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
    return GetWindowRgn(wnd, region.Get()) != ERROR;
}

LPARAM ScreenLParam(HWND wnd, POINT windowPoint) {
    RECT frame{};
    GetWindowRect(wnd, &frame);
    return MAKELPARAM(frame.left + windowPoint.x, frame.top + windowPoint.y);
}

POINT CentreOf(const TRect& r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// ---- exceptions in the window procedures ----------------------------------------------------

class FailingSteps : public ::testing::Test {
protected:
    // A fresh shaped window and skin (the region must go with the skin).
    void Prepare() {
        TSmallSkinOptions options;
        options.TransparentCorners = true;
        FSkin = LoadedSkin(SmallSkinFile(options));
        FWindow = std::make_unique<TTestWindow>(Sizeable, 0, 300, 200);
        FNativeFrame = FrameOf(Wnd());
        FNativeClient = ClientSize(Wnd());
    }
    void Release() {
        FForm.reset();
        FWindow.reset();
    }
    void TearDown() override { Release(); }
    HWND Wnd() const { return FWindow->Handle(); }

    // What the engine promises after a failure: the window lives on, looks native (native
    // frame, no region), is not taken over again and still works.
    void ExpectNativeLook() {
        ASSERT_TRUE(IsWindow(Wnd()));
        ASSERT_NE(nullptr, FForm);
        EXPECT_TRUE(FForm->SkinFailed());
        EXPECT_FALSE(HasWindowRegion(Wnd()));
        const SIZE frame = FrameOf(Wnd());
        EXPECT_EQ(FNativeFrame.cx, frame.cx);
        EXPECT_EQ(FNativeFrame.cy, frame.cy);
        EXPECT_EQ(1, SendMessageW(Wnd(), WMS_ISSKINNED, 0, 0));
        FWindow->ResetCounts();
        EXPECT_NO_THROW(SendMessageW(Wnd(), WM_NCPAINT, 1, 0));
        EXPECT_NO_THROW(SendMessageW(Wnd(), WM_NCACTIVATE, TRUE, 0));
        EXPECT_EQ(1, FWindow->Count(WM_NCPAINT)) << "the native frame paints itself";
        EXPECT_EQ(1, FWindow->Count(WM_NCACTIVATE));
    }

    std::unique_ptr<TSkinData, TObjectDeleter> FSkin;
    std::unique_ptr<TTestWindow> FWindow;
    std::unique_ptr<TWinSkinForm, TObjectDeleter> FForm;
    SIZE FNativeFrame{};
    SIZE FNativeClient{};
};

TEST_F(FailingSteps, AStartOrFirstFrameResizeThatThrowsLeavesTheWindowNativeWithItsClientSize) {
    for (const TSkinFormStep step : {TSkinFormStep::StartSkin, TSkinFormStep::AdjustFrameSize}) {
        SCOPED_TRACE(static_cast<int>(step));
        Prepare();
        TFailingStep failing(step);
        EXPECT_NO_THROW(FForm = SkinWindow(Wnd(), *FSkin));
        EXPECT_EQ(1, TFailingStep::Count);
        ExpectNativeLook();
        EXPECT_EQ(FNativeClient.cx, ClientSize(Wnd()).cx);
        EXPECT_EQ(FNativeClient.cy, ClientSize(Wnd()).cy);
        Release();
    }
}

TEST_F(FailingSteps, ARegionThatCannotBeBuiltOnResizeLeavesTheWindowNativeAndUnshaped) {
    Prepare();
    FForm = SkinWindow(Wnd(), *FSkin);
    ASSERT_TRUE(HasWindowRegion(Wnd()));
    ASSERT_FALSE(FForm->SkinFailed());
    const SIZE size = WindowSize(Wnd());
    {
        TFailingStep failing(TSkinFormStep::BuildRegion);
        FWindow->ResetCounts();
        EXPECT_NO_THROW(SetWindowPos(Wnd(), nullptr, 0, 0, size.cx + 20, size.cy + 10,
                                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
        EXPECT_EQ(1, TFailingStep::Count);
    }
    EXPECT_GE(FWindow->Count(WM_SIZE), 1) << "the size change reached the window";
    ExpectNativeLook();
    // The client area the skinned frame gave the new size stays.
    EXPECT_EQ(size.cx + 20 - SkinLeft - SkinRight, ClientSize(Wnd()).cx);
    EXPECT_EQ(size.cy + 10 - SkinTop - SkinBottom, ClientSize(Wnd()).cy);
}

TEST_F(FailingSteps, ACaptionButtonThatCannotPaintItsHoverOrPressPassesTheMouseOnAndGoesNative) {
    for (const UINT mouse : {WM_NCMOUSEMOVE, WM_NCLBUTTONDOWN}) {
        SCOPED_TRACE(mouse);
        Prepare();
        FForm = SkinWindow(Wnd(), *FSkin);
        SendMessageW(Wnd(), WM_NCACTIVATE, TRUE, 0);
        const LPARAM close = ScreenLParam(Wnd(), CentreOf(FForm->SysButtons().at(CloseIndex)->FBounds));
        TFailingStep failing(TSkinFormStep::ButtonPaint);
        FWindow->ResetCounts();
        EXPECT_NO_THROW(SendMessageW(Wnd(), mouse, HTNOWHERE, close));
        EXPECT_EQ(1, TFailingStep::Count);
        EXPECT_EQ(1, FWindow->Count(mouse)) << "the failed message had the previous procedure";
        ExpectNativeLook();
        // Gone native: the buttons are not hit any more.
        FWindow->ResetCounts();
        EXPECT_NO_THROW(SendMessageW(Wnd(), WM_NCLBUTTONDOWN, HTNOWHERE, close));
        EXPECT_EQ(1, TFailingStep::Count);
        EXPECT_EQ(1, FWindow->Count(WM_NCLBUTTONDOWN));
        Release();
    }
}

TEST_F(FailingSteps, AHotButtonThatCannotPaintWhenTheHoverTimerLetsItGoGoesNative) {
    Prepare();
    FForm = SkinWindow(Wnd(), *FSkin);
    SendMessageW(Wnd(), WM_NCACTIVATE, TRUE, 0);
    SetCursorPos(0, 0); // outside the window
    const LPARAM close = ScreenLParam(Wnd(), CentreOf(FForm->SysButtons().at(CloseIndex)->FBounds));
    SendMessageW(Wnd(), WM_NCMOUSEMOVE, HTNOWHERE, close);
    ASSERT_NE(nullptr, FForm->HotObject());
    TFailingStep failing(TSkinFormStep::ButtonPaint);
    EXPECT_TRUE(PumpUntil([&] { return FForm->SkinFailed(); }));
    EXPECT_EQ(1, TFailingStep::Count);
    ExpectNativeLook();
}

TEST(FailingFormSteps, AFrameworkFormWhoseSkinChangeThrowsGoesNativeWithoutAnErrorBox) {
    auto skin = LoadedSkin(SmallSkinFile());
    std::unique_ptr<TForm, TObjectDeleter> form(new TForm(nullptr, TCreateNew{}));
    form->SetBounds(60, 60, 320, 220);
    form->Show();
    PumpPending();
    const HWND wnd = form->Handle();
    const SIZE nativeFrame = FrameOf(wnd);
    const TColor nativeColor = form->Color();
    std::unique_ptr<TWinSkinForm, TObjectDeleter> painter(new TWinSkinForm(nullptr));
    painter->SetHandle(wnd);
    painter->SetWindowClass("TForm");
    painter->AttachForm(*skin, form.get());
    SendMessageA(wnd, WMS_SKINSTART, 0, 1000);
    PumpPending();
    ASSERT_FALSE(painter->SkinFailed());
    static int reported = 0;
    SetControlExceptionHandler([](TObject*) { ++reported; });
    {
        TFailingStep failing(TSkinFormStep::AdjustFrameSize);
        EXPECT_NO_THROW(SendMessageW(wnd, WMS_SKINCHANGED, 0, 0));
        EXPECT_EQ(1, TFailingStep::Count);
    }
    SetControlExceptionHandler(nullptr);
    EXPECT_EQ(0, reported) << "the failure reached the application's error box";
    EXPECT_TRUE(painter->SkinFailed());
    EXPECT_EQ(nativeFrame.cx, FrameOf(wnd).cx);
    EXPECT_EQ(nativeFrame.cy, FrameOf(wnd).cy);
    EXPECT_EQ(nativeColor, form->Color());
    painter.reset();
}

TEST_F(FailingSteps, DetachingAWindowThatWentNativeChangesNothingMore) {
    Prepare();
    TFailingStep failing(TSkinFormStep::StartSkin);
    FForm = SkinWindow(Wnd(), *FSkin);
    ASSERT_TRUE(FForm->SkinFailed());
    const SIZE window = WindowSize(Wnd());
    FForm->DetachRestore();
    EXPECT_FALSE(FForm->Attached());
    EXPECT_EQ(0, SendMessageW(Wnd(), WMS_ISSKINNED, 0, 0));
    EXPECT_EQ(window.cx, WindowSize(Wnd()).cx);
    EXPECT_EQ(window.cy, WindowSize(Wnd()).cy);
}

// ---- the subclass every skinning object uses -------------------------------------------------

// A window procedure installed above another one by someone else, the usual way.
struct TForeignSubclass {
    static inline WNDPROC Previous = nullptr;
    static inline int Calls = 0;
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        ++Calls;
        return CallWindowProcW(Previous, wnd, msg, wParam, lParam);
    }
    static void Install(HWND wnd) {
        Calls = 0;
        Previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TForeignSubclass::Proc)));
    }
    static void Remove(HWND wnd) {
        SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Previous));
    }
};

constexpr UINT WM_PROBE = WM_APP + 17;

struct TProbe {
    TSkinSubclass* Hook = nullptr;
    int Calls = 0;
    int Failures = 0;
    bool Throw = false;
    bool PassFirst = false;
    void WndProc(TMessage& message) {
        if (message.Msg == WM_PROBE) {
            ++Calls;
            if (PassFirst)
                Hook->CallPrevious(message);
            if (Throw)
                throw std::runtime_error("probe");
            message.Result = 42;
            return;
        }
        Hook->CallPrevious(message);
    }
    void Failed() { ++Failures; }
};

TEST(SkinSubclass, AnExceptionNeverCrossesTheWindowProcedureAndTheMessageGetsThePreviousOne) {
    TTestWindow window(WS_OVERLAPPEDWINDOW, 0, 200, 100);
    TSkinSubclass hook;
    TProbe probe{&hook};
    hook.SetOnFailure([&probe] { probe.Failed(); });
    hook.Install(window.Handle(), TWndMethod(&probe, &TProbe::WndProc), true);
    EXPECT_EQ(42, SendMessageW(window.Handle(), WM_PROBE, 0, 0));
    EXPECT_EQ(0, window.Count(WM_PROBE));

    probe.Throw = true;
    LRESULT result = -1;
    EXPECT_NO_THROW(result = SendMessageW(window.Handle(), WM_PROBE, 0, 0));
    EXPECT_EQ(0, result) << "the previous procedure's answer";
    EXPECT_EQ(1, window.Count(WM_PROBE));
    EXPECT_EQ(1, probe.Failures);

    // A message the object had passed on already is not passed a second time.
    probe.PassFirst = true;
    EXPECT_NO_THROW(SendMessageW(window.Handle(), WM_PROBE, 0, 0));
    EXPECT_EQ(2, window.Count(WM_PROBE));
    EXPECT_EQ(2, probe.Failures);
    hook.Remove();
}

TEST(SkinSubclass, LettingGoOnTopPutsThePreviousProcedureBack) {
    TTestWindow window(WS_OVERLAPPEDWINDOW, 0, 200, 100);
    const LONG_PTR original = GetWindowLongPtrW(window.Handle(), GWLP_WNDPROC);
    TSkinSubclass hook;
    TProbe probe{&hook};
    hook.Install(window.Handle(), TWndMethod(&probe, &TProbe::WndProc), true);
    EXPECT_NE(original, GetWindowLongPtrW(window.Handle(), GWLP_WNDPROC));
    hook.Remove();
    EXPECT_FALSE(hook.Installed());
    EXPECT_EQ(original, GetWindowLongPtrW(window.Handle(), GWLP_WNDPROC));
}

TEST(SkinSubclass, LettingGoUnderAnotherSubclassKeepsThatOneInTheChainAndOnlyPassesMessagesOn) {
    TTestWindow window(WS_OVERLAPPEDWINDOW, 0, 200, 100);
    const HWND wnd = window.Handle();
    auto hook = std::make_unique<TSkinSubclass>();
    TProbe probe{hook.get()};
    hook->Install(wnd, TWndMethod(&probe, &TProbe::WndProc), true);
    TForeignSubclass::Install(wnd);
    const LONG_PTR foreign = reinterpret_cast<LONG_PTR>(&TForeignSubclass::Proc);

    hook->Remove();
    hook.reset(); // the object may go; its procedure stays callable
    EXPECT_EQ(foreign, GetWindowLongPtrW(wnd, GWLP_WNDPROC)) << "the later subclass was cut out";
    TForeignSubclass::Calls = 0;
    EXPECT_EQ(0, SendMessageW(wnd, WM_PROBE, 0, 0));
    EXPECT_EQ(1, TForeignSubclass::Calls);
    EXPECT_EQ(1, window.Count(WM_PROBE)) << "passed on to the window's own procedure";
    EXPECT_EQ(0, probe.Calls) << "no longer handled";

    // The later subclass lets go in its turn, putting back what it saw: still a working chain.
    TForeignSubclass::Remove(wnd);
    EXPECT_EQ(0, SendMessageW(wnd, WM_PROBE, 0, 0));
    EXPECT_EQ(2, window.Count(WM_PROBE));
    EXPECT_EQ(0, probe.Calls);
}

TEST(SkinSubclass, APainterLettingGoUnderAnotherSubclassLeavesItInPlace) {
    auto skin = LoadedSkin(SmallSkinFile());
    TTestWindow window(Sizeable, 0, 300, 200);
    const HWND wnd = window.Handle();
    auto form = SkinWindow(wnd, *skin);
    ASSERT_EQ(1, SendMessageW(wnd, WMS_ISSKINNED, 0, 0));
    TForeignSubclass::Install(wnd);
    const LONG_PTR foreign = reinterpret_cast<LONG_PTR>(&TForeignSubclass::Proc);

    form->DetachRestore();
    EXPECT_EQ(foreign, GetWindowLongPtrW(wnd, GWLP_WNDPROC));
    TForeignSubclass::Calls = 0;
    window.ResetCounts();
    EXPECT_EQ(0, SendMessageW(wnd, WMS_ISSKINNED, 0, 0)) << "no longer skinned";
    EXPECT_EQ(1, TForeignSubclass::Calls);
    EXPECT_EQ(1, window.Count(WMS_ISSKINNED));
    form.reset();
    SendMessageW(wnd, WM_NCPAINT, 1, 0);
    EXPECT_EQ(1, window.Count(WM_NCPAINT));
    TForeignSubclass::Remove(wnd);
}

// ---- smaller faults ------------------------------------------------------------------------

// Ends every menu a moment after it opened.
class TMenuCloser {
public:
    TMenuCloser() { FHook.Reset(SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId())); }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            char name[16] = {};
            GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
            if (std::string(name) == "#32768")
                SetTimer(nullptr, 0, 100, EndMenuSoon);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static void CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        EndMenu();
    }
    THookHandle FHook;
};

TEST(SystemMenuStates, AGreyedDefaultCloseDisablesTheCloseButtonAndTheSkinnedItem) {
    auto skin = LoadedSkin(SmallSkinFile());
    TTestWindow window(Sizeable, 0, 300, 200);
    const HWND wnd = window.Handle();
    std::vector<UINT> commands;
    window.Filter = [&commands](UINT msg, WPARAM wParam, LPARAM) {
        if (msg == WM_SYSCOMMAND)
            commands.push_back(static_cast<UINT>(wParam & 0xFFF0));
        return msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE;
    };
    const HMENU native = GetSystemMenu(wnd, FALSE);
    EnableMenuItem(native, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    ASSERT_TRUE(GetMenuItemInfoW(native, SC_CLOSE, FALSE, &info));
    ASSERT_EQ(static_cast<UINT>(MFS_DEFAULT | MFS_GRAYED), info.fState);

    auto form = SkinWindow(wnd, *skin);
    SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);
    const POINT close = CentreOf(form->SysButtons().at(CloseIndex)->FBounds);
    SendMessageW(wnd, WM_NCLBUTTONDOWN, HTNOWHERE, ScreenLParam(wnd, close));
    SendMessageW(wnd, WM_NCLBUTTONUP, HTNOWHERE, ScreenLParam(wnd, close));
    // A close command would be posted before this marker.
    PostMessageW(wnd, WM_PROBE, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return window.Count(WM_PROBE) == 1; }));
    EXPECT_EQ(0, std::count(commands.begin(), commands.end(), SC_CLOSE)) << "a greyed Close does not close";

    TMenuCloser closer;
    SendMessageW(wnd, WM_NCRBUTTONDOWN, HTCAPTION, ScreenLParam(wnd, POINT{WindowSize(wnd).cx / 2, 12}));
    TPopupMenu* popup = form->SysPopup();
    ASSERT_NE(nullptr, popup);
    bool found = false;
    for (int i = 0; i < popup->Items()->Count(); ++i) {
        TMenuItem* item = popup->Items()->Items(i);
        if (item->Tag() != SC_CLOSE)
            continue;
        found = true;
        EXPECT_FALSE(item->Enabled());
    }
    EXPECT_TRUE(found);
}

TEST(SkinChanges, AForeignWindowGetsTheNewSkinsRegionWhenTheFrameSizesStayTheSame) {
    TSmallSkinOptions shaped;
    shaped.TransparentCorners = true;
    auto skin = LoadedSkin(SmallSkinFile(shaped));
    TTestWindow window(Sizeable, 0, 300, 200);
    const HWND wnd = window.Handle();
    auto form = SkinWindow(wnd, *skin);
    {
        TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
        ASSERT_EQ(COMPLEXREGION, GetWindowRgn(wnd, region.Get()));
        ASSERT_FALSE(PtInRegion(region.Get(), 0, 0));
    }
    const SIZE size = WindowSize(wnd);

    // The same frame sizes, no transparent corners.
    ASSERT_TRUE(ChangeSkin(*skin, *form, SmallSkinFile()));
    EXPECT_EQ(size.cx, WindowSize(wnd).cx);
    EXPECT_EQ(size.cy, WindowSize(wnd).cy);
    TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
    const int kind = GetWindowRgn(wnd, region.Get());
    ASSERT_NE(ERROR, kind);
    EXPECT_EQ(SIMPLEREGION, kind);
    EXPECT_TRUE(PtInRegion(region.Get(), 0, 0)) << "the corner of the new skin is not transparent";
    EXPECT_TRUE(PtInRegion(region.Get(), SkinLeft, 0));
}

TEST(MDIWindows, TheMDIClientKeepsItsUnicodeProcedureWhileHooked) {
    auto skin = LoadedSkin(SmallSkinFile());
    TTestWindow frame(WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 500, 400);
    CLIENTCREATESTRUCT ccs{};
    const HWND client =
        CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 480, 340,
                        frame.Handle(), nullptr, GetModuleHandleW(nullptr), &ccs);
    ASSERT_NE(nullptr, client);
    ASSERT_TRUE(IsWindowUnicode(client));
    auto form = SkinWindow(frame.Handle(), *skin);
    ASSERT_EQ(TWinSkinForm::mdFrame, form->MDIKind());
    EXPECT_TRUE(IsWindowUnicode(client)) << "hooked through the ANSI call";
    // Text that the ANSI code page cannot hold comes through whole.
    const std::wstring text = L"\x0E01\x0E02 client";
    SendMessageW(client, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    wchar_t read[64] = {};
    GetWindowTextW(client, read, 64);
    EXPECT_EQ(text, std::wstring(read));
    form->DetachRestore();
    EXPECT_TRUE(IsWindowUnicode(client));
}

} // namespace
