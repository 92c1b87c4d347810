// MDI frames and children: the frame hooks its client window and lets it go again, a child
// gets the skinned frame, and skin changes re-apply to a living window.
#include "SkinFormTestSupport.h"
#include "WinSkinMenu.h"

#include <gtest/gtest.h>

using namespace skinformtest;

namespace {

// A native MDI frame with its client window.
class TMDIFrame {
public:
    TMDIFrame() : FFrame(WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 500, 400) {
        CLIENTCREATESTRUCT ccs{};
        FClient = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                  480, 340, FFrame.Handle(), nullptr, GetModuleHandleW(nullptr), &ccs);
    }
    HWND Frame() const { return FFrame.Handle(); }
    HWND Client() const { return FClient; }
    HWND NewChild() const {
        static const bool registered = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = DefMDIChildProcW;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"TwSkinFormMDIChild";
            return RegisterClassW(&wc) != 0;
        }();
        (void)registered;
        MDICREATESTRUCTW create{};
        create.szClass = L"TwSkinFormMDIChild";
        create.szTitle = L"child";
        create.hOwner = GetModuleHandleW(nullptr);
        create.x = create.y = 10;
        create.cx = 200;
        create.cy = 150;
        create.style = WS_VISIBLE;
        return reinterpret_cast<HWND>(
            SendMessageW(FClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    }

private:
    TTestWindow FFrame;
    HWND FClient = nullptr;
};

TEST(MDIWindows, AFrameHooksItsClientAndGivesItBackOnDetach) {
    auto skin = LoadedSkin(SmallSkinFile());
    TMDIFrame mdi;
    const auto clientProc = GetWindowLongPtrW(mdi.Client(), GWLP_WNDPROC);
    auto form = SkinWindow(mdi.Frame(), *skin);
    EXPECT_EQ(TWinSkinForm::mdFrame, form->MDIKind());
    EXPECT_NE(clientProc, GetWindowLongPtrW(mdi.Client(), GWLP_WNDPROC));
    form->DetachRestore();
    EXPECT_EQ(clientProc, GetWindowLongPtrW(mdi.Client(), GWLP_WNDPROC));
}

TEST(MDIWindows, AChildGetsTheSkinnedFrameAndKeepsItsClientSize) {
    auto skin = LoadedSkin(SmallSkinFile());
    TMDIFrame mdi;
    HWND child = mdi.NewChild();
    ASSERT_NE(nullptr, child);
    const SIZE client = ClientSize(child);
    auto form = SkinWindow(child, *skin);
    EXPECT_EQ(TWinSkinForm::mdChild, form->MDIKind());
    EXPECT_EQ(client.cx, ClientSize(child).cx);
    EXPECT_EQ(client.cx + SkinLeft + SkinRight, WindowSize(child).cx);
    form->DetachRestore();
    EXPECT_EQ(client.cx, ClientSize(child).cx);
    SendMessageW(mdi.Client(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
}

TEST(MDIWindows, ANewFrameMenuFromTheClientReplacesTheBarsButtons) {
    auto skin = LoadedSkin(SmallSkinFile());
    TMDIFrame mdi;
    HMENU first = CreateMenu();
    AppendMenuW(first, MF_STRING, 6001, L"&One");
    SetMenu(mdi.Frame(), first);
    auto form = SkinWindow(mdi.Frame(), *skin);
    ASSERT_NE(nullptr, form->MenuBar());
    EXPECT_EQ(nullptr, GetMenu(mdi.Frame()));

    HMENU second = CreateMenu();
    AppendMenuW(second, MF_STRING, 6002, L"&Two");
    AppendMenuW(second, MF_STRING, 6003, L"T&hree");
    SendMessageW(mdi.Client(), WM_MDISETMENU, reinterpret_cast<WPARAM>(second), 0);
    EXPECT_EQ(nullptr, GetMenu(mdi.Frame()));
    ASSERT_EQ(2, form->MenuBar()->Count());
    EXPECT_EQ(L"T&hree", form->MenuBar()->Buttons()[1]->FCaption);
    form->DetachRestore();
    EXPECT_EQ(second, GetMenu(mdi.Frame()));
    DestroyMenu(first);
}

TEST(SkinChanges, ANewSkinReappliesToALivingWindow) {
    auto skin = LoadedSkin(SmallSkinFile());
    TTestWindow window(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 300, 200);
    auto form = SkinWindow(window.Handle(), *skin);
    const SIZE client = ClientSize(window.Handle());

    ASSERT_TRUE(ChangeSkin(*skin, *form, ProgramSkinFile()));
    const TRect borders = form->Borders();
    EXPECT_EQ(skin->Elements().BorderTop->Bitmap.Height() / skin->Elements().BorderTop->Frame, borders.top);
    EXPECT_NE(SkinTop, borders.top);
    EXPECT_EQ(client.cx, ClientSize(window.Handle()).cx);
    EXPECT_EQ(client.cy, ClientSize(window.Handle()).cy);
    EXPECT_EQ(client.cy + borders.top + borders.bottom, WindowSize(window.Handle()).cy);
    EXPECT_EQ(skin->Elements().SysButtons.size(), form->SysButtons().size());
}

} // namespace
