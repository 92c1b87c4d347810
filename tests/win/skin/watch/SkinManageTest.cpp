// Which windows the watcher skins, and with which component: forms as they are activated, the
// windows it must leave alone, MDI children at creation, system dialogs, popup menus.
#include "WatchTestSupport.h"
#include "SkinTestImages.h"
#include "WinSubClass.h"

#include "SkinMessage.h"

#include <gtest/gtest.h>

#include <commdlg.h>

using namespace watchtest;
using skinformtest::ProgramSkinFile;
using skinformtest::PumpPending;
using skinformtest::PumpUntil;
using skinformtest::SmallSkinFile;
using skinformtest::TTestWindow;

namespace {

constexpr DWORD kFrameStyle = WS_OVERLAPPEDWINDOW;

// ---- forms as they are activated --------------------------------------------------------------

TEST_F(WatchTest, AShownFormIsSkinnedWhenActivatedAndAFormTagged99NeverIs) {
    TSkinData& skin = AddMainSkin();
    FormPtr tagged = ShownForm("left alone", TSkinManage::NeverSkinTag);
    FormPtr plain = ShownForm("skinned");
    ASSERT_TRUE(WaitSkinned(plain->Handle()));
    EXPECT_TRUE(AnswersSkinned(plain->Handle()));
    EXPECT_EQ(plain.get(), Watcher().FindSkinForm(plain->Handle())->Form());

    // Activated again, and swept up by a skin-all pass: still never.
    SetActiveWindow(tagged->Handle());
    Watcher().SetActionSkin(&skin);
    Watcher().RequestAction(saActivate, 1);
    EXPECT_TRUE(PumpUntil([&] { return !Watcher().ActionPending(); }));
    EXPECT_FALSE(Watcher().SkinWindow(tagged->Handle()));
    EXPECT_EQ(nullptr, Watcher().FindSkinForm(tagged->Handle()));
    EXPECT_FALSE(AnswersSkinned(tagged->Handle()));
    EXPECT_EQ(1u, Watcher().Forms().size());
}

// Answers the skinned query as a window of another engine instance does.
LRESULT CALLBACK AnswerSkinned(HWND wnd, UINT msg, WPARAM w, LPARAM l) {
    if (msg == WMS_ISSKINNED)
        return 1;
    return CallWindowProcW(reinterpret_cast<WNDPROC>(GetPropA(wnd, "TwOwnProc")), wnd, msg, w, l);
}

TEST_F(WatchTest, AWindowAlreadyAnsweringTheSkinnedQueryIsLeftAlone) {
    AddMainSkin();
    TTestWindow other(kFrameStyle, 0, 300, 200);
    const LONG_PTR ownProc = GetWindowLongPtrW(other.Handle(), GWLP_WNDPROC);
    SetPropA(other.Handle(), "TwOwnProc", reinterpret_cast<HANDLE>(ownProc));
    SetWindowLongPtrW(other.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AnswerSkinned));

    ShowWindow(other.Handle(), SW_SHOW);
    PumpPending();
    FormPtr control = ShownForm("skinned after it");
    ASSERT_TRUE(WaitSkinned(control->Handle()));
    EXPECT_FALSE(Watcher().SkinWindow(other.Handle()));
    EXPECT_EQ(nullptr, Watcher().FindSkinForm(other.Handle()));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&AnswerSkinned), GetWindowLongPtrW(other.Handle(), GWLP_WNDPROC));
    SetWindowLongPtrW(other.Handle(), GWLP_WNDPROC, ownProc);
    RemovePropA(other.Handle(), "TwOwnProc");
}

TEST_F(WatchTest, WindowsOfOtherModulesChildWindowsAndTheApplicationClassAreRefused) {
    AddMainSkin();
    FormPtr form = ShownForm("owner");
    ASSERT_TRUE(WaitSkinned(form->Handle()));

    // A plain child window of the form.
    TTestWindow child(WS_CHILD | WS_VISIBLE, 0, 50, 50);
    SetParent(child.Handle(), form->Handle());
    EXPECT_FALSE(Watcher().SkinWindow(child.Handle()));

    // A top-level window whose instance is another module's (and not a dialog).
    HWND foreign = CreateWindowExA(0, "STATIC", "foreign", WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr,
                                   nullptr, GetModuleHandleA("user32.dll"), nullptr);
    ASSERT_TRUE(foreign);
    EXPECT_FALSE(Watcher().SkinWindow(foreign));
    DestroyWindow(foreign);

    TTestWindow app(WS_POPUP, 0, 100, 100, "TApplication");
    EXPECT_FALSE(Watcher().SkinWindow(app.Handle()));
    TTestWindow popupEdit(kFrameStyle, 0, 100, 100, "TcxPopupEditPopupWindowX");
    EXPECT_FALSE(Watcher().SkinWindow(popupEdit.Handle()));
    // The same kind of window under an ordinary class name is taken.
    TTestWindow ordinary(kFrameStyle, 0, 100, 100);
    EXPECT_TRUE(Watcher().SkinWindow(ordinary.Handle()));
}

TEST_F(WatchTest, NothingIsSkinnedWhileSkinningIsOffOrBeforeASkinIsParsed) {
    TSkinData& skin = AddSkin(sfMainform, SmallSkinFile(), nullptr, false);
    TTestWindow window(kFrameStyle, 0, 200, 120);
    EXPECT_FALSE(Watcher().Active());
    EXPECT_FALSE(Watcher().SkinWindow(window.Handle()));

    Watcher().SetActive(true);
    skin.SkinFileStream().Clear();
    std::vector<std::uint8_t> broken = {1, 2, 3};
    skin.SkinFileStream().Write(broken.data(), 3);
    {
        TSkinMessageSinkScope quiet([](const std::string&) {});
        skin.LoadSkinFromStream();
    }
    ASSERT_TRUE(skin.SkinLoading());
    EXPECT_FALSE(Watcher().SkinWindow(window.Handle()));
}

// ---- size and MDI children ----------------------------------------------------------------------

LRESULT CALLBACK MDIFrameProc(HWND wnd, UINT msg, WPARAM w, LPARAM l) {
    return DefFrameProcA(wnd, reinterpret_cast<HWND>(GetPropA(wnd, "client")), msg, w, l);
}

LRESULT CALLBACK MDIChildProc(HWND wnd, UINT msg, WPARAM w, LPARAM l) {
    return DefMDIChildProcA(wnd, msg, w, l);
}

// An MDI frame of this module with its client window; children are made on request.
class TMDIFrame {
public:
    TMDIFrame() {
        static const bool registered = [] {
            WNDCLASSA frame{};
            frame.lpfnWndProc = MDIFrameProc;
            frame.hInstance = GetModuleHandleA(nullptr);
            frame.lpszClassName = "TwWatchMDIFrame";
            WNDCLASSA child = frame;
            child.lpfnWndProc = MDIChildProc;
            child.lpszClassName = "TwWatchMDIChild";
            return RegisterClassA(&frame) && RegisterClassA(&child);
        }();
        EXPECT_TRUE(registered);
        Frame = CreateWindowExA(0, "TwWatchMDIFrame", "frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 30, 30,
                                500, 400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        CLIENTCREATESTRUCT ccs{};
        ccs.idFirstChild = 100;
        Client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 480,
                                 360, Frame, nullptr, GetModuleHandleA(nullptr), &ccs);
        SetPropA(Frame, "client", Client);
    }
    ~TMDIFrame() {
        DestroyWindow(Frame);
        PumpPending();
    }
    TMDIFrame(const TMDIFrame&) = delete;
    TMDIFrame& operator=(const TMDIFrame&) = delete;

    HWND AddChild(int width, int height) const {
        return CreateWindowExA(WS_EX_MDICHILD, "TwWatchMDIChild", "child", WS_CHILD | WS_CAPTION | WS_VISIBLE,
                               0, 0, width, height, Client, nullptr, GetModuleHandleA(nullptr), nullptr);
    }

    HWND Frame = nullptr;
    HWND Client = nullptr;
};

TEST_F(WatchTest, AZeroSizeWindowIsNotSkinnedWhenActivatedButAnMDIChildIsSkinnedAtCreation) {
    AddMainSkin();
    TTestWindow emptyWindow(WS_POPUP, 0, 0, 0);
    const HWND empty = emptyWindow.Handle();
    ASSERT_TRUE(empty);
    ShowWindow(empty, SW_SHOW);
    SetActiveWindow(empty);
    PumpPending();
    EXPECT_EQ(empty, GetActiveWindow());
    EXPECT_EQ(nullptr, Watcher().FindSkinForm(empty));
    // Given a size, the same window is taken.
    SetWindowPos(empty, nullptr, 0, 0, 120, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(Watcher().SkinWindow(empty));

    HWND child = nullptr;
    {
        TMDIFrame frame;
        child = frame.AddChild(0, 0);
        ASSERT_TRUE(child);
        // Straight out of the creation call, before any message has been pumped.
        TWinSkinForm* painter = Watcher().FindSkinForm(child);
        ASSERT_NE(nullptr, painter);
        EXPECT_EQ(TWinSkinForm::mdChild, painter->MDIKind());
        EXPECT_TRUE(AnswersSkinned(child));
    }
    // The destroyed child's painter goes at the next look at the list.
    Watcher().Purge();
    EXPECT_EQ(nullptr, Watcher().FindSkinForm(child));
}

TEST_F(WatchTest, TheMDIButtonsInTheFrameTakeTheChildrensShapeAwayAndGiveItBack) {
    skinformtest::TSmallSkinOptions shaped;
    shaped.TransparentCorners = true;
    AddSkin(sfMainform, SmallSkinFile(shaped));
    TMDIFrame frame;
    HWND child = frame.AddChild(220, 160);
    ASSERT_TRUE(WaitSkinned(child));
    TWinSkinForm& painter = *Watcher().FindSkinForm(child);
    ASSERT_TRUE(painter.HasRegion());

    Watcher().SetMDIButtons(true);
    EXPECT_TRUE(Watcher().MDIButtons());
    EXPECT_FALSE(painter.HasRegion());
    Watcher().SetMDIButtons(false);
    EXPECT_TRUE(painter.HasRegion());
    EXPECT_EQ(TWinSkinForm::wsNormal, painter.WinState());

    // With children keeping their own borders, the frame's buttons do not touch them.
    TSkinOptions options = Watcher().DefaultSkin()->Options();
    options.Include(xoMDIChildBorder);
    Watcher().DefaultSkin()->SetOptions(options);
    Watcher().SetMDIButtons(true);
    EXPECT_TRUE(painter.HasRegion());
    Watcher().SetMDIButtons(false);
}

// ---- filters and the choice of component ----------------------------------------------------------

struct TVeto {
    void Decide(TObject*, const std::string& name, bool& skin) {
        Names.push_back(name);
        Arrived.push_back(skin);
        skin = Answer;
    }
    bool Answer = true;
    std::vector<std::string> Names;
    std::vector<bool> Arrived;
};

TEST_F(WatchTest, APreviewClassIsSkinnedOnlyWithThePreviewOptionOrTheApplicationsYes) {
    TSkinData& skin = AddMainSkin();
    TSkinOptions options = skin.Options();
    options.Exclude(xoPreview);
    skin.SetOptions(options);
    TTestWindow preview(kFrameStyle, 0, 200, 120, "TwPrintPreviewWindow");
    EXPECT_FALSE(Watcher().SkinWindow(preview.Handle()));

    TVeto veto;
    skin.OnFormSkin = TOnFormSkin(&veto, &TVeto::Decide);
    EXPECT_TRUE(Watcher().SkinWindow(preview.Handle()));
    ASSERT_EQ(1u, veto.Names.size());
    EXPECT_EQ("TwPrintPreviewWindow", veto.Names[0]);
    EXPECT_FALSE(veto.Arrived[0]); // already refused for its class

    // The handler's no refuses any window, and with xoPreview the class is no reason.
    veto.Answer = false;
    TTestWindow ordinary(kFrameStyle, 0, 200, 120);
    EXPECT_FALSE(Watcher().SkinWindow(ordinary.Handle()));
    EXPECT_TRUE(veto.Arrived.back());
    skin.OnFormSkin.Clear();
    options.Include(xoPreview);
    skin.SetOptions(options);
    TTestWindow preview2(kFrameStyle, 0, 200, 120, "TwPrintPreviewWindow");
    EXPECT_TRUE(Watcher().SkinWindow(preview2.Handle()));
    // Without a handler, month calendars are refused.
    TTestWindow calendar(kFrameStyle, 0, 200, 120, "SysMonthCal32");
    EXPECT_FALSE(Watcher().SkinWindow(calendar.Handle()));
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// A modeless dialog of this module, of the dialog class "#32770".
HWND CreateTestDialog() {
    struct alignas(4) TTemplate {
        DLGTEMPLATE Dialog;
        WORD Menu, Class, Title;
    } templ{};
    templ.Dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    templ.Dialog.cx = 120;
    templ.Dialog.cy = 60;
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &templ.Dialog, nullptr, &PlainDialogProc, 0);
}

TEST_F(WatchTest, WithTwoDialogComponentsDialogsTakeTheOneRegisteredLast) {
    TSkinData& main = AddMainSkin();
    TSkinData& firstDialogs = AddSkin(sfDialog, SmallSkinFile());
    TSkinData& lastDialogs = AddSkin(sfDialog, ProgramSkinFile());
    ASSERT_EQ(3u, Watcher().SkinDatas().size());
    EXPECT_EQ(&main, Watcher().DefaultSkin());

    HWND dialog = CreateTestDialog();
    ASSERT_TRUE(dialog);
    ASSERT_EQ("#32770", ClassOf(dialog));
    ShowWindow(dialog, SW_SHOW);
    ASSERT_TRUE(WaitSkinned(dialog));
    EXPECT_EQ(&lastDialogs, Watcher().FindSkinForm(dialog)->SkinData());
    EXPECT_NE(&firstDialogs, Watcher().FindSkinForm(dialog)->SkinData());
    // Other windows keep the main component.
    FormPtr form = ShownForm("main");
    ASSERT_TRUE(WaitSkinned(form->Handle()));
    EXPECT_EQ(&main, Watcher().FindSkinForm(form->Handle())->SkinData());
    DestroyWindow(dialog);
}

TEST_F(WatchTest, AComponentForOneFormSkinsThatFormAtOnceAndTheRestTakeTheMainOne) {
    FormPtr own = ShownForm("own skin");
    EXPECT_FALSE(Watcher().Active()); // nothing registered yet
    // Loaded with Active, the component has its form skinned at once, without an activation.
    TSkinData& ownSkin = AddSkin(sfOnlyThisForm, ProgramSkinFile(), own.get());
    EXPECT_EQ(1, Watcher().State());
    ASSERT_NE(nullptr, Watcher().FindSkinForm(own->Handle()));
    EXPECT_EQ(&ownSkin, Watcher().FindSkinForm(own->Handle())->SkinData());

    TSkinData& main = AddMainSkin();
    EXPECT_EQ(&ownSkin, Watcher().ChooseSkinData(own->Handle()));
    FormPtr other = ShownForm("other");
    EXPECT_EQ(&main, Watcher().ChooseSkinData(other->Handle()));
    ASSERT_TRUE(WaitSkinned(other->Handle()));
    EXPECT_EQ(&main, Watcher().FindSkinForm(other->Handle())->SkinData());
}

TEST_F(WatchTest, AMessageBoxsButtonWearsTheSkinsButtonFace) {
    skinformtest::TSmallSkinOptions options;
    options.Buttons = true;
    AddSkin(sfMainform, skinformtest::SmallSkinFile(options));
    FormPtr form = ShownForm("owner");
    ASSERT_TRUE(WaitSkinned(form->Handle()));
    std::string skinner;
    COLORREF corner = CLR_INVALID;
    TModalDriver driver(
        [&] {
            HWND box = ThreadWindowOfClass("#32770");
            TWinSkinForm* painter = box ? Watcher().FindSkinForm(box) : nullptr;
            HWND button = box ? FindWindowExA(box, nullptr, "Button", nullptr) : nullptr;
            if (!painter || painter->SkinState() != TWinSkinForm::ssActive || !button ||
                !painter->FindControl(button))
                return false;
            skinner = painter->FindControl(button)->ClassName();
            RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            HDC dc = GetDC(button);
            corner = GetPixel(dc, 1, 1);
            ReleaseDC(button, dc);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        },
        [] { CloseThreadMessageBox(); });
    MessageBoxA(form->Handle(), "text", "caption", MB_OK);
    EXPECT_FALSE(driver.GaveUp());
    EXPECT_EQ(skinner, "TSkinButton");
    // The focused OK button: frame 5 of the small skin's buttons.
    EXPECT_EQ(corner, static_cast<COLORREF>(skintest::ColorOf('C'))) << std::hex << corner;
}

TEST_F(WatchTest, ADialogOfTheSystemIsSkinnedAndLetGoWhenItCloses) {
    AddMainSkin();
    FormPtr form = ShownForm("owner");
    ASSERT_TRUE(WaitSkinned(form->Handle()));
    HWND seen = nullptr;
    bool skinned = false;
    HINSTANCE module = nullptr;
    TModalDriver driver(
        [&] {
            HWND box = ThreadWindowOfClass("#32770");
            if (!box || !Watcher().FindSkinForm(box) ||
                Watcher().FindSkinForm(box)->SkinState() != TWinSkinForm::ssActive)
                return false;
            seen = box;
            skinned = AnswersSkinned(box);
            module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(box, GWLP_HINSTANCE));
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        },
        [] { CloseThreadMessageBox(); });
    MessageBoxA(form->Handle(), "text", "caption", MB_OK);
    EXPECT_FALSE(driver.GaveUp());
    ASSERT_TRUE(seen);
    EXPECT_TRUE(skinned);
    EXPECT_NE(TSkinManage::ModuleInstance(), module);
    // Closed, its painter is left for the next look at the list (the owner's reactivation).
    EXPECT_TRUE(PumpUntil([&] {
        const TWinSkinForm* painter = Watcher().FindSkinForm(seen);
        return !painter || painter->SkinState() == TWinSkinForm::ssDestroyed;
    }));
    Watcher().Purge();
    ASSERT_EQ(1u, Watcher().Forms().size());
    EXPECT_EQ(form->Handle(), Watcher().Forms().front()->Handle());
}

TEST_F(WatchTest, ACommonFileDialogIsSkinnedWithTheSkinsFrame) {
    AddMainSkin();
    FormPtr form = ShownForm("owner");
    ASSERT_TRUE(WaitSkinned(form->Handle()));
    bool skinned = false;
    TRect borders{};
    TModalDriver driver(
        [&] {
            HWND dialog = ThreadWindowOfClass("#32770");
            const TWinSkinForm* painter = dialog ? Watcher().FindSkinForm(dialog) : nullptr;
            if (!painter || painter->SkinState() != TWinSkinForm::ssActive)
                return false;
            skinned = AnswersSkinned(dialog);
            borders = painter->Borders();
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return true;
        },
        [] {
            if (HWND dialog = ThreadWindowOfClass("#32770"))
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        },
        15000);
    char file[MAX_PATH] = {};
    OPENFILENAMEA open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = form->Handle();
    open.lpstrFile = file;
    open.nMaxFile = sizeof file;
    open.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST;
    EXPECT_FALSE(GetOpenFileNameA(&open));
    EXPECT_FALSE(driver.GaveUp());
    EXPECT_TRUE(skinned);
    EXPECT_EQ(skinformtest::SkinTop, borders.top);
    EXPECT_EQ(skinformtest::SkinLeft, borders.left);
}

TEST_F(WatchTest, FindFormGivesTheFrameworkFormOfAWindowAndNothingForForeignOnes) {
    AddMainSkin();
    FormPtr form = ShownForm("found");
    EXPECT_EQ(form.get(), Watcher().FindForm(form->Handle()));
    TTestWindow foreign(kFrameStyle, 0, 100, 100);
    EXPECT_EQ(nullptr, Watcher().FindForm(foreign.Handle()));
    // The control atom is the toolkit's window property naming the control.
    EXPECT_EQ(form.get(), GetPropA(form->Handle(), MAKEINTATOM(TSkinManage::ControlAtom())));
    char name[64] = {};
    ASSERT_TRUE(GlobalGetAtomNameA(TSkinManage::ControlAtom(), name, sizeof name));
    EXPECT_EQ(0, std::string(name).rfind("ControlOfs", 0));
}

// ---- popup menus -----------------------------------------------------------------------------------

struct TPopupSeen {
    bool Opened = false;
    bool Skinned = false;
    std::size_t Popups = 0;
};

// Opens a context menu of two items on wnd and looks at it while it is open.
TPopupSeen OpenContextMenu(HWND wnd, TSkinManage& watcher, TSkinMenuKind kind) {
    TMenuHandle menu(CreatePopupMenu());
    AppendMenuA(menu.Get(), MF_STRING, 1, "one");
    AppendMenuA(menu.Get(), MF_STRING, 2, "two");
    TPopupSeen seen;
    TModalDriver driver(
        [&] {
            HWND open = ThreadWindowOfClass("#32768");
            if (!open)
                return false;
            seen.Opened = true;
            seen.Skinned = AnswersSkinned(open);
            seen.Popups = watcher.Popups().size();
            EndMenu();
            return true;
        },
        [] { EndMenu(); });
    watcher.SetMenuKind(kind);
    TrackPopupMenu(menu.Get(), TPM_RETURNCMD, 100, 100, 0, wnd, nullptr);
    PumpPending();
    return seen;
}

TEST_F(WatchTest, APopupMenuIsSkinnedAsItsKindAllowsAndReleasedWhenItCloses) {
    TSkinData& skin = AddMainSkin();
    FormPtr form = ShownForm("menus");
    ASSERT_TRUE(WaitSkinned(form->Handle()));

    TPopupSeen context = OpenContextMenu(form->Handle(), Watcher(), mkPopup);
    ASSERT_TRUE(context.Opened);
    EXPECT_TRUE(context.Skinned);
    EXPECT_EQ(1u, context.Popups);
    EXPECT_TRUE(Watcher().Popups().empty());
    EXPECT_EQ(mkPopup, Watcher().MenuKind());

    TSkinControlTypes controls = skin.SkinControls();
    controls.Exclude(xcPopupMenu);
    skin.SetSkinControls(controls);
    TPopupSeen refused = OpenContextMenu(form->Handle(), Watcher(), mkPopup);
    ASSERT_TRUE(refused.Opened);
    EXPECT_FALSE(refused.Skinned);
    EXPECT_EQ(0u, refused.Popups);

    // A system menu needs xcSystemMenu, a menu-bar drop-down xcMainMenu (or xcMenuItem).
    EXPECT_TRUE(OpenContextMenu(form->Handle(), Watcher(), mkSystemMenu).Skinned);
    EXPECT_TRUE(OpenContextMenu(form->Handle(), Watcher(), mkMenuBar).Skinned);
    controls.Exclude(xcSystemMenu);
    controls.Exclude(xcMainMenu);
    skin.SetSkinControls(controls);
    EXPECT_FALSE(OpenContextMenu(form->Handle(), Watcher(), mkSystemMenu).Skinned);
    EXPECT_FALSE(OpenContextMenu(form->Handle(), Watcher(), mkMenuBar).Skinned);
    // Closing the last popup menu makes the next one a context menu again.
    EXPECT_EQ(mkPopup, Watcher().MenuKind());
}

TEST_F(WatchTest, ThePopupMenuItemPaintingBindsMenusToTheNewestUnboundWindow) {
    AddMainSkin();
    FormPtr form = ShownForm("bind");
    ASSERT_TRUE(WaitSkinned(form->Handle()));
    TMenuHandle menu(CreatePopupMenu());
    AppendMenuA(menu.Get(), MF_STRING, 1, "one");
    HMENU bound = nullptr;
    TBitmap* background = nullptr;
    TModalDriver driver(
        [&] {
            if (!ThreadWindowOfClass("#32768") || Watcher().Popups().empty())
                return false;
            Watcher().BindPopupMenu(menu.Get());
            bound = Watcher().Popups().back()->MenuHandle();
            background = Watcher().PopupBackground(menu.Get());
            EndMenu();
            return true;
        },
        [] { EndMenu(); });
    TrackPopupMenu(menu.Get(), TPM_RETURNCMD, 100, 100, 0, form->Handle(), nullptr);
    EXPECT_EQ(menu.Get(), bound);
    ASSERT_NE(nullptr, background);
    EXPECT_TRUE(background->Empty());
    EXPECT_EQ(nullptr, Watcher().PopupBackground(menu.Get())); // released with its window
    EXPECT_EQ(nullptr, Watcher().PopupBackground(nullptr));
}

} // namespace
