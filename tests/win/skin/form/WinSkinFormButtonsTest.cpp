// Caption buttons and the non-client mouse: hover and press feedback, actions on release,
// double clicks, the system menu popup, visibility by window state and border kind, and the
// widening of a common dialog whose title does not fit.
#include "SkinFormTestSupport.h"
#include "SkinTestImages.h"

#include <gtest/gtest.h>

using namespace skinformtest;
using skintest::LetterOf;

namespace {

constexpr DWORD Sizeable = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
constexpr int CloseIndex = 0;
constexpr int MaximizeIndex = 1;
constexpr int RestoreIndex = 2;
constexpr int IconIndex = 3;

class CaptionButtons : public ::testing::Test {
protected:
    void SetUp() override {
        FSkin = LoadedSkin(SmallSkinFile());
        FWindow = std::make_unique<TTestWindow>(Sizeable, 0, 300, 200);
        // Closing would end the test window: count the commands instead.
        FWindow->Filter = [this](UINT msg, WPARAM wParam, LPARAM) {
            if (msg != WM_SYSCOMMAND)
                return false;
            FCommands.push_back(static_cast<UINT>(wParam & 0xFFF0));
            return (wParam & 0xFFF0) == SC_CLOSE;
        };
        FForm = SkinWindow(Wnd(), *FSkin);
        SendMessageW(Wnd(), WM_NCACTIVATE, TRUE, 0);
    }
    void TearDown() override {
        FForm.reset();
        FWindow.reset();
    }

    HWND Wnd() const { return FWindow->Handle(); }
    TWinSysButton& Button(int index) const { return *FForm->SysButtons().at(static_cast<size_t>(index)); }
    // lParam of a non-client mouse message at a window point.
    LPARAM At(POINT windowPoint) const {
        RECT frame{};
        GetWindowRect(Wnd(), &frame);
        return MAKELPARAM(frame.left + windowPoint.x, frame.top + windowPoint.y);
    }
    static POINT CentreOf(const TRect& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    POINT ButtonCentre(int index) const { return CentreOf(Button(index).FBounds); }
    char Shows(POINT p) const {
        TWindowDC dc(Wnd(), true);
        return LetterOf(GetPixel(dc.Get(), p.x, p.y));
    }
    void Send(UINT msg, WPARAM hit, POINT p) { SendMessageW(Wnd(), msg, hit, At(p)); }
    int Commands(UINT command) const {
        return static_cast<int>(std::count(FCommands.begin(), FCommands.end(), command));
    }

    std::unique_ptr<TSkinData, TObjectDeleter> FSkin;
    std::unique_ptr<TTestWindow> FWindow;
    std::unique_ptr<TWinSkinForm, TObjectDeleter> FForm;
    std::vector<UINT> FCommands;
};

TEST_F(CaptionButtons, HoverAndPressShowTheirFramesAndReleaseRunsTheAction) {
    const POINT close = ButtonCentre(CloseIndex);
    const SIZE size = WindowSize(Wnd());
    EXPECT_EQ(size.cx - 14, Button(CloseIndex).FBounds.left);
    EXPECT_EQ('O', Shows(close));

    Send(WM_NCMOUSEMOVE, HTCAPTION, close);
    EXPECT_EQ(&Button(CloseIndex), FForm->HotObject());
    EXPECT_EQ('W', Shows(close));
    Send(WM_NCLBUTTONDOWN, HTCAPTION, close);
    EXPECT_EQ('K', Shows(close));
    Send(WM_NCLBUTTONUP, HTCAPTION, close);
    EXPECT_EQ('W', Shows(close));
    PumpUntil([&] { return Commands(SC_CLOSE) > 0; }, 2000);
    EXPECT_EQ(1, Commands(SC_CLOSE));

    // Leaving the title bar gives the button its normal look back.
    Send(WM_NCMOUSEMOVE, HTCAPTION, POINT{size.cx / 2, 12});
    EXPECT_EQ(nullptr, FForm->HotObject());
    EXPECT_EQ('O', Shows(close));
}

TEST_F(CaptionButtons, ReleasingOverAnotherButtonRunsNothing) {
    Send(WM_NCMOUSEMOVE, HTCAPTION, ButtonCentre(CloseIndex));
    Send(WM_NCLBUTTONDOWN, HTCAPTION, ButtonCentre(CloseIndex));
    Send(WM_NCMOUSEMOVE, HTCAPTION, ButtonCentre(MaximizeIndex));
    Send(WM_NCLBUTTONUP, HTCAPTION, ButtonCentre(MaximizeIndex));
    PumpPending();
    EXPECT_TRUE(FCommands.empty());
    EXPECT_FALSE(IsZoomed(Wnd()));
}

TEST_F(CaptionButtons, MaximizeAndRestoreSwapWhenTheWindowIsMaximized) {
    EXPECT_TRUE(Button(MaximizeIndex).FVisible);
    EXPECT_FALSE(Button(RestoreIndex).FVisible);
    const POINT place = ButtonCentre(MaximizeIndex);
    Send(WM_NCMOUSEMOVE, HTCAPTION, place);
    Send(WM_NCLBUTTONDOWN, HTCAPTION, place);
    Send(WM_NCLBUTTONUP, HTCAPTION, place);
    ASSERT_TRUE(PumpUntil([&] { return IsZoomed(Wnd()) != FALSE; }));
    PumpPending();
    EXPECT_EQ(TWinSkinForm::wsMaximized, FForm->WinState());
    FForm->PaintFrame();
    // The restore button, later in the skin, is drawn over the maximize button.
    EXPECT_TRUE(Button(RestoreIndex).FVisible);
    EXPECT_EQ('A', Shows(ButtonCentre(RestoreIndex)));

    const POINT restore = ButtonCentre(RestoreIndex);
    Send(WM_NCMOUSEMOVE, HTCAPTION, restore);
    Send(WM_NCLBUTTONDOWN, HTCAPTION, restore);
    Send(WM_NCLBUTTONUP, HTCAPTION, restore);
    ASSERT_TRUE(PumpUntil([&] { return !IsZoomed(Wnd()); }));
    FForm->PaintFrame();
    EXPECT_FALSE(Button(RestoreIndex).FVisible);
    EXPECT_EQ('S', Shows(ButtonCentre(MaximizeIndex)));
}

TEST_F(CaptionButtons, DoubleClickOnTheIconClosesOnTheTitleMaximizesAndRestores) {
    ASSERT_TRUE(Button(IconIndex).FVisible);
    Send(WM_NCLBUTTONDBLCLK, HTCAPTION, ButtonCentre(IconIndex));
    PumpUntil([&] { return Commands(SC_CLOSE) > 0; }, 2000);
    EXPECT_EQ(1, Commands(SC_CLOSE));

    const POINT title{WindowSize(Wnd()).cx / 2, 12};
    Send(WM_NCLBUTTONDBLCLK, HTCAPTION, title);
    ASSERT_TRUE(PumpUntil([&] { return IsZoomed(Wnd()) != FALSE; }));
    Send(WM_NCLBUTTONDBLCLK, HTCAPTION, POINT{WindowSize(Wnd()).cx / 2, 12});
    ASSERT_TRUE(PumpUntil([&] { return !IsZoomed(Wnd()); }));
}

// Ends every menu a moment after it opened and counts the menu windows created.
class TMenuWatch {
public:
    TMenuWatch() {
        Instance = this;
        FHook.Reset(SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId()));
    }
    ~TMenuWatch() { Instance = nullptr; }
    int Menus = 0;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND && Instance) {
            char name[16] = {};
            GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
            if (std::string(name) == "#32768") {
                ++Instance->Menus;
                SetTimer(nullptr, 0, 100, EndMenuSoon);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static void CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        EndMenu();
    }
    static inline TMenuWatch* Instance = nullptr;
    THookHandle FHook;
};

TEST_F(CaptionButtons, TwoRightClicksWithinTheDoubleClickTimeOpenTheSystemMenuOnce) {
    TMenuWatch watch;
    const POINT title{WindowSize(Wnd()).cx / 2, 12};
    Send(WM_NCRBUTTONDOWN, HTCAPTION, title);
    ASSERT_EQ(1, watch.Menus);
    ASSERT_NE(nullptr, FForm->SysPopup());
    EXPECT_EQ(33333, FForm->SysPopup()->Tag());
    Send(WM_NCRBUTTONDOWN, HTCAPTION, title);
    EXPECT_EQ(1, watch.Menus);
    // Nothing was hot: the second click closes nothing either.
    PumpPending();
    EXPECT_EQ(0, FWindow->Count(WM_CLOSE));
}

// A real click: before the frame has started the press goes to the default, which (in Wine
// for every press) comes back with a context menu request on release.
TEST_F(CaptionButtons, ARealRightClickOnTheTitleOpensTheSkinnedSystemMenuStartedOrNot) {
    TTestWindow unstarted(Sizeable, 0, 300, 200);
    std::unique_ptr<TWinSkinForm, TObjectDeleter> attached(new TWinSkinForm(nullptr));
    attached->SetHandle(unstarted.Handle());
    attached->SetWindowClass("TwSkinFormTestWindow");
    attached->AttachHandle(*FSkin);
    ASSERT_EQ(TWinSkinForm::ssAttached, attached->SkinState());
    for (TWinSkinForm* painter : {attached.get(), FForm.get()}) {
        SCOPED_TRACE(painter == attached.get() ? "attached" : "started");
        TMenuWatch watch;
        const HWND wnd = painter->Handle();
        // The other window must not be the one under the cursor.
        SetWindowPos(wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(wnd);
        PumpPending();
        RECT frame{};
        GetWindowRect(wnd, &frame);
        SetCursorPos((frame.left + frame.right) / 2, frame.top + 12);
        INPUT click[2]{};
        click[0].type = click[1].type = INPUT_MOUSE;
        click[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
        click[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
        SendInput(2, click, sizeof(INPUT));
        EXPECT_TRUE(PumpUntil([&] { return watch.Menus > 0 && painter->SysPopup(); }, 3000));
        PumpPending();
        EXPECT_EQ(1, watch.Menus);
        ASSERT_NE(nullptr, painter->SysPopup());
        EXPECT_EQ(33333, painter->SysPopup()->Tag());
    }
}

TEST_F(CaptionButtons, TheSystemPopupCopiesTheNativeSystemMenuWithStatesForTheWindow) {
    TMenuWatch watch;
    Send(WM_NCRBUTTONDOWN, HTCAPTION, POINT{WindowSize(Wnd()).cx / 2, 12});
    TPopupMenu* popup = FForm->SysPopup();
    ASSERT_NE(nullptr, popup);
    TMenuItem* restore = popup->FindItem(0, fkCommand);
    (void)restore;
    const HMENU native = GetSystemMenu(Wnd(), FALSE);
    ASSERT_EQ(GetMenuItemCount(native), popup->Items()->Count());
    for (int i = 0; i < popup->Items()->Count(); ++i) {
        TMenuItem* item = popup->Items()->Items(i);
        switch (item->Tag()) {
        case SC_RESTORE:
            EXPECT_FALSE(item->Enabled()) << "a normal window cannot be restored";
            EXPECT_EQ(0, item->ImageIndex());
            break;
        case SC_MAXIMIZE:
            EXPECT_TRUE(item->Enabled());
            EXPECT_EQ(1, item->ImageIndex());
            break;
        case SC_CLOSE:
            EXPECT_EQ(3, item->ImageIndex());
            break;
        default:
            break;
        }
    }
}

TEST(CaptionButtonsOfDialogs, DialogBorderedWindowsHideTheIconButton) {
    auto skin = LoadedSkin(SmallSkinFile());
    TTestWindow window(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, WS_EX_DLGMODALFRAME, 240, 160);
    auto form = SkinWindow(window.Handle(), *skin);
    EXPECT_EQ(TWinSkinForm::bkDialog, form->BorderKind());
    form->PaintFrame();
    EXPECT_FALSE(form->SysButtons().at(IconIndex)->FVisible);
    EXPECT_TRUE(form->SysButtons().at(CloseIndex)->FVisible);
    // Neither maximize nor minimize box: no maximize button.
    EXPECT_FALSE(form->SysButtons().at(MaximizeIndex)->FVisible);
}

// A dialog template: caption, one button at (10, 10).
std::vector<WORD> DialogTemplate(const std::wstring& title) {
    std::vector<WORD> t;
    auto put32 = [&](DWORD v) {
        t.push_back(LOWORD(v));
        t.push_back(HIWORD(v));
    };
    auto putText = [&](const std::wstring& s) {
        t.insert(t.end(), s.begin(), s.end());
        t.push_back(0);
    };
    put32(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE);
    put32(0);
    t.push_back(1); // items
    t.insert(t.end(), {10, 10, 60, 40});
    t.push_back(0); // menu
    t.push_back(0); // class
    putText(title);
    if (t.size() % 2)
        t.push_back(0);
    put32(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON);
    put32(0);
    t.insert(t.end(), {5, 5, 40, 14, 100});
    t.push_back(0xFFFF);
    t.push_back(0x0080); // button
    putText(L"OK");
    t.push_back(0);
    return t;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

int CaptionTextWidth(const std::wstring& text) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    TFontHandle font(CreateFontIndirectW(&metrics.lfCaptionFont));
    TWindowDC dc(nullptr);
    TSelectScope select(dc.Get(), font.Get());
    SIZE size{};
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

TEST(CaptionButtonsOfDialogs, ACommonDialogWhoseTitleDoesNotFitWidensAndMovesItsChildren) {
    TSmallSkinOptions options;
    options.TitleLeftWidth = 30;
    options.TitleRightWidth = 40;
    auto skin = LoadedSkin(SmallSkinFile(options));
    const std::wstring title = L"A dialog whose title is a good deal wider than the dialog itself";
    const auto templ = DialogTemplate(title);
    HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                             reinterpret_cast<const DLGTEMPLATE*>(templ.data()), nullptr,
                                             PlainDialogProc, 0);
    ASSERT_NE(nullptr, dialog);
    HWND button = GetDlgItem(dialog, 100);
    RECT before{};
    GetWindowRect(button, &before);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&before), 2);
    const int clientWidth = ClientSize(dialog).cx;
    {
        auto form = SkinWindow(dialog, *skin);
        EXPECT_TRUE(form->DialogClass());
        const int skinnedWidth = clientWidth + SkinLeft + SkinRight;
        const int required = 30 + CaptionTextWidth(title) + 40;
        ASSERT_GT(required, skinnedWidth);
        EXPECT_EQ(required, WindowSize(dialog).cx);
        RECT after{};
        GetWindowRect(button, &after);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&after), 2);
        EXPECT_EQ(before.left + (required - skinnedWidth) / 2, after.left);
        EXPECT_EQ(before.top, after.top);
        EXPECT_EQ(before.right - before.left, after.right - after.left);
    }
    DestroyWindow(dialog);
}

TEST_F(CaptionButtons, HitTestGivesTheCaptionOverTheTitleBar) {
    const LRESULT hit = SendMessageW(Wnd(), WM_NCHITTEST, 0, At(POINT{WindowSize(Wnd()).cx / 2, 12}));
    EXPECT_EQ(HTCAPTION, hit);
}

} // namespace
