// The skinned menu bar on a window with a native menu: the menu leaves the window and comes
// back, the band shows the skin's menu-bar image, accelerators open menus, the arrows move
// between top-level menus (wrapping, skipping what cannot open), commands of items without
// sub-items, and the handle balance over many openings.
//
// A menu that is open runs its own message loop inside the call that opened it, so the steps
// taken while it is open run from a timer, each when its condition holds.
#include "Forms.h"
#include "HandleCounter.h"
#include "SkinFormTestSupport.h"
#include "SkinTestImages.h"
#include "WinSkinMenu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

using namespace skinformtest;
using skintest::LetterOf;

namespace {

constexpr DWORD Sizeable = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
constexpr UINT IdOpen = 5001;
constexpr UINT IdUndo = 5011;
constexpr UINT IdZoom = 5021;
constexpr UINT IdHelp = 5100;
constexpr UINT Marker = WM_APP + 7;

// &File (Open), &Edit (disabled, Undo), &View (Zoom), &Help (a command without sub-items).
struct TTestMenu {
    HMENU Bar = CreateMenu();
    HMENU File = CreatePopupMenu();
    HMENU Edit = CreatePopupMenu();
    HMENU View = CreatePopupMenu();
    TTestMenu() {
        AppendMenuW(File, MF_STRING, IdOpen, L"&Open");
        AppendMenuW(Edit, MF_STRING, IdUndo, L"&Undo");
        AppendMenuW(View, MF_STRING, IdZoom, L"&Zoom");
        AppendMenuW(Bar, MF_POPUP, reinterpret_cast<UINT_PTR>(File), L"&File");
        AppendMenuW(Bar, MF_POPUP | MF_GRAYED, reinterpret_cast<UINT_PTR>(Edit), L"&Edit");
        AppendMenuW(Bar, MF_POPUP, reinterpret_cast<UINT_PTR>(View), L"&View");
        AppendMenuW(Bar, MF_STRING, IdHelp, L"&Help");
    }
};

HWND OpenPopupWindow() {
    for (HWND wnd = FindWindowA("#32768", nullptr); wnd; wnd = FindWindowExA(nullptr, wnd, "#32768", nullptr))
        if (IsWindowVisible(wnd))
            return wnd;
    return nullptr;
}

// Steps run by a thread timer, which menu loops dispatch too; a step waits for its condition.
// Past the deadline any open menu is ended and the script reports failure.
class TScript {
public:
    struct TStep {
        const char* Name;
        std::function<bool()> Ready;
        std::function<void()> Act;
    };
    explicit TScript(std::vector<TStep> steps) : FSteps(std::move(steps)) {}

    // Starts the timer, runs start() (which may open a menu and return only when it closed)
    // and pumps until every step ran; false with the step that never became ready.
    bool Run(const std::function<void()>& start, int timeoutMs = 8000) {
        Current() = this;
        FDeadline = GetTickCount() + static_cast<DWORD>(timeoutMs);
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, &TScript::Tick);
        start();
        PumpUntil([this] { return Done() || FTimedOut; }, timeoutMs);
        KillTimer(nullptr, timer);
        Current() = nullptr;
        return Done();
    }
    bool Done() const { return FNext >= FSteps.size(); }
    const char* Pending() const { return Done() ? "" : FSteps[FNext].Name; }

private:
    static TScript*& Current() {
        static TScript* script = nullptr;
        return script;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        TScript* s = Current();
        if (!s || s->Done())
            return;
        if (static_cast<LONG>(GetTickCount() - s->FDeadline) > 0) {
            s->FTimedOut = true;
            EndMenu();
            return;
        }
        TStep& step = s->FSteps[s->FNext];
        if (!step.Ready())
            return;
        ++s->FNext;
        if (step.Act)
            step.Act();
    }

    std::vector<TStep> FSteps;
    std::size_t FNext = 0;
    DWORD FDeadline = 0;
    bool FTimedOut = false;
};

class SkinMenuBar : public ::testing::Test {
protected:
    void Skin(const std::vector<std::uint8_t>& file, DWORD exStyle = 0) {
        FSkin = LoadedSkin(file);
        FWindow = std::make_unique<TTestWindow>(Sizeable, exStyle, 400, 260);
        FMenu = std::make_unique<TTestMenu>();
        SetMenu(Wnd(), FMenu->Bar);
        FWindow->Filter = [this](UINT msg, WPARAM wParam, LPARAM) {
            if (msg == WM_COMMAND)
                FCommands.push_back(LOWORD(wParam));
            return false;
        };
        SetForegroundWindow(Wnd());
        FClient = ClientSize(Wnd());
        FForm = SkinWindow(Wnd(), *FSkin);
        ASSERT_NE(nullptr, FForm->MenuBar());
    }
    // The small skin with its menu-bar image.
    void SkinSmall(DWORD exStyle = 0) {
        TSmallSkinOptions options;
        options.MenuBar = true;
        Skin(SmallSkinFile(options), exStyle);
    }
    HWND Wnd() const { return FWindow->Handle(); }
    TWinSkinMenu& Bar() const { return *FForm->MenuBar(); }
    bool Popped(HMENU menu) const {
        return FForm->MenuTracking() && FForm->PoppedMenu() == menu && OpenPopupWindow();
    }
    // Everything posted so far has been handled once the marker arrives.
    void Settle() {
        const int seen = FWindow->Count(Marker);
        PostMessageA(Wnd(), Marker, 0, 0);
        ASSERT_TRUE(PumpUntil([&] { return FWindow->Count(Marker) > seen; }));
    }
    void Key(WPARAM key) { PostMessageA(Wnd(), WM_KEYDOWN, key, 1); }
    void AltKey(char letter) { PostMessageA(Wnd(), WM_SYSCOMMAND, SC_KEYMENU, letter); }
    char At(int x, int y) const {
        TWindowDC dc(Wnd(), true);
        return LetterOf(GetPixel(dc.Get(), x, y));
    }

    std::unique_ptr<TSkinData, TObjectDeleter> FSkin;
    std::unique_ptr<TTestWindow> FWindow;
    std::unique_ptr<TTestMenu> FMenu;
    std::unique_ptr<TWinSkinForm, TObjectDeleter> FForm;
    std::vector<UINT> FCommands;
    SIZE FClient{};
};

TEST_F(SkinMenuBar, TheNativeMenuLeavesTheWindowAndComesBackWithItsClientSize) {
    SkinSmall();
    EXPECT_EQ(nullptr, GetMenu(Wnd()));
    EXPECT_EQ(4, Bar().Count());
    EXPECT_EQ(GetSystemMetrics(SM_CYMENU), FForm->MenuHeight());
    // The client keeps its size; the band lies between title and client.
    EXPECT_EQ(FClient.cx, ClientSize(Wnd()).cx);
    EXPECT_EQ(FClient.cy, ClientSize(Wnd()).cy);
    POINT origin{0, 0};
    ClientToScreen(Wnd(), &origin);
    RECT frame{};
    GetWindowRect(Wnd(), &frame);
    EXPECT_EQ(SkinTop + FForm->MenuHeight(), origin.y - frame.top);

    // Another skin keeps the bar and the client.
    ASSERT_TRUE(ChangeSkin(*FSkin, *FForm, ProgramSkinFile()));
    EXPECT_EQ(nullptr, GetMenu(Wnd()));
    EXPECT_EQ(4, Bar().Count());
    EXPECT_EQ(FClient.cy, ClientSize(Wnd()).cy);

    FForm->DetachRestore();
    EXPECT_EQ(FMenu->Bar, GetMenu(Wnd()));
    EXPECT_EQ(FClient.cx, ClientSize(Wnd()).cx);
    EXPECT_EQ(FClient.cy, ClientSize(Wnd()).cy);
}

TEST_F(SkinMenuBar, TheBandShowsTheMenuBarImageAndTheButtonsFollowTheCaptions) {
    SkinSmall();
    SendMessageW(Wnd(), WM_NCACTIVATE, TRUE, 0);
    const int w = WindowSize(Wnd()).cx;
    // The caps and the repeated middle of frame 1; nothing of it outside the band.
    EXPECT_EQ('L', At(SkinLeft, SkinTop));
    EXPECT_EQ('L', At(w - SkinRight - 1, SkinTop + FForm->MenuHeight() - 1));
    EXPECT_EQ('R', At(SkinLeft - 1, SkinTop + 2));
    SendMessageW(Wnd(), WM_NCACTIVATE, FALSE, 0);
    EXPECT_EQ('A', At(SkinLeft + 1, SkinTop + 1));

    // Buttons left to right from the margin (cap 2 + 4), each as wide as its caption + 10.
    const auto& buttons = Bar().Buttons();
    EXPECT_EQ(SkinLeft + 6, buttons[0]->FBounds.left);
    for (std::size_t i = 1; i < buttons.size(); ++i)
        EXPECT_EQ(buttons[i - 1]->FBounds.right, buttons[i]->FBounds.left) << i;
    EXPECT_GT(RectWidth(buttons[0]->FBounds), 10);
    EXPECT_FALSE(buttons[1]->FEnabled);
    EXPECT_EQ(nullptr, buttons[3]->FSubMenu);
    const POINT inFile{buttons[0]->FBounds.left + 2, buttons[0]->FBounds.top + 2};
    EXPECT_EQ(buttons[0].get(), FForm->ButtonAt(inFile));
    EXPECT_EQ(buttons[2].get(), Bar().FindAccel(L'v'));
    EXPECT_EQ(nullptr, Bar().FindAccel(L'e')); // disabled
}

TEST_F(SkinMenuBar, TheProgramSkinsMenuBarImageFillsTheBandAndAHotButtonIsFramed) {
    Skin(ProgramSkinFile());
    SendMessageW(Wnd(), WM_NCACTIVATE, TRUE, 0);
    TDataSkinObject& element = *FSkin->Elements().MenuBar;
    const TRect borders = FForm->Borders();
    // A point of the band's middle below any caption shows the image's middle of frame 1.
    const int y = borders.top + FForm->MenuHeight() - 1;
    const int x = WindowSize(Wnd()).cx - borders.right - 20;
    TWindowDC dc(Wnd(), true);
    const int frameHeight = element.Bitmap.Height() / 2;
    const COLORREF expected =
        GetPixel(element.Bitmap.Canvas()->Handle(), element.Bitmap.Width() / 2, frameHeight - 1);
    EXPECT_EQ(expected, GetPixel(dc.Get(), x, y));

    TMenuBtn& file = *Bar().Buttons()[0];
    const COLORREF before = GetPixel(dc.Get(), file.FBounds.left, file.FBounds.top + 3);
    file.MouseEnter();
    EXPECT_EQ(ColorToRGB(FSkin->Elements().Colors.ButtonHilight) & 0xFFFFFF,
              GetPixel(dc.Get(), file.FBounds.left, file.FBounds.top + 3) & 0xFFFFFF);
    file.MouseLeave();
    EXPECT_EQ(before, GetPixel(dc.Get(), file.FBounds.left, file.FBounds.top + 3));
}

bool OwnerDrawn(HMENU menu, UINT position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    return GetMenuItemInfoW(menu, position, TRUE, &info) && (info.fType & MFT_OWNERDRAW);
}

TEST_F(SkinMenuBar, AltFOpensFileSkinDrawnAndItsItemsCommandArrives) {
    TSmallSkinOptions options;
    options.MenuBar = true;
    options.Menus = true;
    Skin(SmallSkinFile(options));
    auto controls = FSkin->SkinControls();
    controls.Include(xcMenuItem);
    FSkin->SetSkinControls(controls);
    bool drawnBySkin = false;
    TScript script({
        {"File open, first item selected",
         [&] { return Popped(FMenu->File) && (GetMenuState(FMenu->File, 0, MF_BYPOSITION) & MF_HILITE); },
         [&] {
             drawnBySkin = OwnerDrawn(FMenu->File, 0);
             Key(VK_RETURN);
         }},
        {"menu closed", [&] { return !FForm->MenuTracking() && !OpenPopupWindow(); }, nullptr},
    });
    EXPECT_TRUE(script.Run([&] { AltKey('f'); })) << script.Pending();
    Settle();
    EXPECT_NE(FCommands.end(), std::find(FCommands.begin(), FCommands.end(), IdOpen));
    EXPECT_TRUE(drawnBySkin);
    EXPECT_FALSE(OwnerDrawn(FMenu->File, 0)); // the system draws it again once closed
}

TEST_F(SkinMenuBar, ArrowsMoveBetweenTheMenusThatOpenAndWrapAtBothEnds) {
    SkinSmall();
    // Edit is disabled and Help has no sub-items: File and View take turns.
    TScript script({
        {"File open", [&] { return Popped(FMenu->File); }, [&] { Key(VK_RIGHT); }},
        {"View after Right", [&] { return Popped(FMenu->View); }, [&] { Key(VK_RIGHT); }},
        {"File after Right (wrapped)", [&] { return Popped(FMenu->File); }, [&] { Key(VK_LEFT); }},
        {"View after Left (wrapped)", [&] { return Popped(FMenu->View); }, [&] { Key(VK_ESCAPE); }},
        {"closed", [&] { return !FForm->MenuTracking() && !OpenPopupWindow(); }, nullptr},
    });
    // F10 (or Alt alone) opens the first menu.
    EXPECT_TRUE(script.Run([&] { AltKey(0); })) << script.Pending();
    Settle();
    EXPECT_TRUE(FCommands.empty()); // moving runs no command
}

TEST_F(SkinMenuBar, RightToLeftBarsStartAtTheRightAndSwapTheArrows) {
    SkinSmall(WS_EX_LEFTSCROLLBAR);
    SendMessageW(Wnd(), WM_NCACTIVATE, TRUE, 0);
    const auto& buttons = Bar().Buttons();
    EXPECT_EQ(WindowSize(Wnd()).cx - SkinRight - 10, buttons[0]->FBounds.right); // cap 2 + 8
    EXPECT_EQ(buttons[0]->FBounds.left, buttons[1]->FBounds.right);
    TScript script({
        {"File open", [&] { return Popped(FMenu->File); }, [&] { Key(VK_LEFT); }},
        {"View after Left", [&] { return Popped(FMenu->View); }, [&] { Key(VK_ESCAPE); }},
        {"closed", [&] { return !FForm->MenuTracking(); }, nullptr},
    });
    EXPECT_TRUE(script.Run([&] { AltKey('f'); })) << script.Pending();
}

TEST_F(SkinMenuBar, ADisabledItemOpensNothingAndACommandItemOnlyPostsItsCommand) {
    SkinSmall();
    TMenuBtn* edit = Bar().Buttons()[1].get();
    TMenuBtn* help = Bar().Buttons()[3].get();
    EXPECT_FALSE(Bar().OpenMenu(edit));
    AltKey('e');
    Settle();
    EXPECT_FALSE(FForm->MenuTracking());
    EXPECT_EQ(nullptr, OpenPopupWindow());
    EXPECT_TRUE(FCommands.empty());

    // A click on Help (posted the way accelerators open menus) runs its command, no popup.
    Bar().OpenMenuByClick(help);
    Settle();
    Settle();
    ASSERT_EQ(1u, FCommands.size());
    EXPECT_EQ(IdHelp, FCommands[0]);
    EXPECT_EQ(nullptr, OpenPopupWindow());
    EXPECT_FALSE(FForm->MenuTracking());
}

TEST_F(SkinMenuBar, TheMouseSwitchesMenusOnlyOverCaptionsThatOpen) {
    SkinSmall();
    // Away from the bar, and the moves queued on the way handled before the menu opens.
    SetCursorPos(0, 0);
    Settle();
    RECT window{};
    GetWindowRect(Wnd(), &window);
    auto moveOver = [&](int index) {
        const TRect& b = Bar().Buttons()[static_cast<std::size_t>(index)]->FBounds;
        SetCursorPos(window.left + (b.left + b.right) / 2, window.top + (b.top + b.bottom) / 2);
        PostMessageA(Wnd(), WM_MOUSEMOVE, 0, 0);
    };
    TScript script({
        {"File open", [&] { return Popped(FMenu->File); },
         [&] {
             moveOver(3); // Help runs a command: passing over it runs nothing
             moveOver(1); // Edit is disabled
         }},
        {"still File", [&] { return Popped(FMenu->File); }, [&] { moveOver(2); }},
        {"View open", [&] { return Popped(FMenu->View); }, [&] { Key(VK_ESCAPE); }},
        {"closed", [&] { return !FForm->MenuTracking(); }, nullptr},
    });
    EXPECT_TRUE(script.Run([&] { AltKey('f'); })) << script.Pending();
    SetCursorPos(0, 0);
    Settle();
    EXPECT_TRUE(FCommands.empty());
}

void CALLBACK EndOpenMenu(HWND, UINT, UINT_PTR, DWORD) {
    if (OpenPopupWindow())
        EndMenu();
}

// A framework form's main menu: its items are found behind the buttons, changes to them reach
// the bar, Alt+letter arrives as the form's dialog character, clicks run the items' handlers.
struct TClicks {
    int Count = 0;
    void Click(TObject*) { ++Count; }
};

TEST(SkinMenuBarForm, AFrameworkMainMenuIsReadChangedAndOpenedByItsAccelerator) {
    TSmallSkinOptions options;
    options.MenuBar = true;
    auto skin = LoadedSkin(SmallSkinFile(options));
    std::unique_ptr<TForm, TObjectDeleter> form(new TForm(nullptr, TCreateNew{}));
    form->SetBounds(60, 60, 360, 240);
    auto* menu = new TMainMenu(form.get());
    auto* file = new TMenuItem(menu);
    file->SetCaption("&File");
    auto* open = new TMenuItem(menu);
    open->SetCaption("&Open");
    file->Add(open);
    auto* help = new TMenuItem(menu);
    help->SetCaption("&Help");
    TClicks clicks;
    help->OnClick = TNotifyEvent(&clicks, &TClicks::Click);
    menu->Items()->Add(file);
    menu->Items()->Add(help);
    form->SetMenu(menu);
    form->Show();
    PumpPending();
    SetForegroundWindow(form->Handle());
    const HMENU native = GetMenu(form->Handle());
    ASSERT_NE(nullptr, native);

    std::unique_ptr<TWinSkinForm, TObjectDeleter> painter(new TWinSkinForm(nullptr));
    painter->SetHandle(form->Handle());
    painter->SetWindowClass("TForm");
    painter->AttachForm(*skin, form.get());
    SendMessageA(form->Handle(), WMS_SKINSTART, 0, 1000);
    PumpPending();
    ASSERT_NE(nullptr, painter->MenuBar());
    TWinSkinMenu& bar = *painter->MenuBar();
    EXPECT_EQ(nullptr, GetMenu(form->Handle()));
    ASSERT_EQ(2, bar.Count());
    EXPECT_EQ(file, bar.Buttons()[0]->FItem);
    EXPECT_EQ(file->Handle(), bar.Buttons()[0]->FSubMenu);

    help->SetCaption("&About");
    PumpPending();
    ASSERT_EQ(2, bar.Count());
    EXPECT_EQ(L"&About", bar.Buttons()[1]->FCaption);
    EXPECT_EQ(nullptr, GetMenu(form->Handle()));

    EXPECT_FALSE(bar.OpenMenu(bar.Buttons()[1].get()));
    PumpUntil([&] { return clicks.Count > 0; });
    EXPECT_EQ(1, clicks.Count);

    // Alt+F as typed: the form's dialog character opens File.
    bool opened = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, &EndOpenMenu);
    INPUT keys[4]{};
    const WORD vks[4] = {VK_MENU, 'F', 'F', VK_MENU};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = vks[i];
        keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, keys, sizeof(INPUT));
    PumpUntil([&] {
        return (opened = opened || painter->PoppedMenu() == file->Handle()) && !painter->MenuTracking();
    });
    KillTimer(nullptr, timer);
    EXPECT_TRUE(opened);

    painter->DetachRestore();
    EXPECT_EQ(native, GetMenu(form->Handle()));
}

TEST_F(SkinMenuBar, AWindowDestroyedWhileItsMenuIsOpenEndsTheMenuAndTheHook) {
    ASSERT_TRUE(THandleCounter::Install());
    SkinSmall();
    const int hooks = THandleCounter::Current().Hooks;
    TScript script({
        {"File open", [&] { return Popped(FMenu->File); }, [&] { DestroyWindow(Wnd()); }},
        {"window gone", [&] { return !IsWindow(Wnd()) && !OpenPopupWindow(); }, nullptr},
    });
    EXPECT_TRUE(script.Run([&] { AltKey('f'); })) << script.Pending();
    EXPECT_EQ(nullptr, FForm->MenuBar());
    EXPECT_FALSE(FForm->MenuTracking());
    EXPECT_EQ(hooks, THandleCounter::Current().Hooks);
}

TEST_F(SkinMenuBar, OneHundredAndTwentyOpeningsLeaveTheHandleCountsUnchanged) {
    ASSERT_TRUE(THandleCounter::Install());
    SkinSmall();
    // File, View (Right), File (Right, wrapped), closed: three openings.
    auto openAndClose = [&] {
        TScript script({
            {"File open", [&] { return Popped(FMenu->File); }, [&] { Key(VK_RIGHT); }},
            {"View open", [&] { return Popped(FMenu->View); }, [&] { Key(VK_RIGHT); }},
            {"File again", [&] { return Popped(FMenu->File); }, [&] { Key(VK_ESCAPE); }},
            {"closed", [&] { return !FForm->MenuTracking() && !OpenPopupWindow(); }, nullptr},
        });
        return script.Run([&] { AltKey('f'); });
    };
    ASSERT_TRUE(openAndClose()); // process-wide scratch objects are made once
    Settle();
    const THandleCounts before = THandleCounter::Current();
    int openings = 0;
    for (int round = 0; round < 40; ++round) {
        ASSERT_TRUE(openAndClose()) << round;
        openings += 3;
    }
    Settle();
    EXPECT_EQ(120, openings);
    EXPECT_EQ(before, THandleCounter::Current())
        << before.ToString() << " -> " << THandleCounter::Current().ToString();
}

} // namespace
