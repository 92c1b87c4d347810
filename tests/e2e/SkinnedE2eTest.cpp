// The real program wears its skin: the main window and each dialog get the skinned frame once
// the message loop runs, dialogs show the active title while the main window turns inactive,
// and closing a dialog gives the main window its active title back.
#include "ProgramTest.h"

#include "ProgramSkin.h"

#include <gtest/gtest.h>

#include <commctrl.h>

using namespace std::chrono_literals;

namespace {

constexpr UINT kIsSkinned = 0x3523; // the skin engine's is-skinned query

bool Skinned(HWND wnd) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(wnd, kIsSkinned, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) && answer == 1;
}

// The colour the window shows in its title's second row, at the given fraction of its width.
COLORREF TitlePixel(HWND wnd, double at) {
    RECT frame{};
    GetWindowRect(wnd, &frame);
    HDC dc = GetWindowDC(wnd);
    const COLORREF colour = GetPixel(dc, static_cast<int>((frame.right - frame.left) * at), 1);
    ReleaseDC(wnd, dc);
    return colour;
}

// Where the client area starts inside the window.
POINT ClientOffset(HWND wnd) {
    RECT frame{};
    GetWindowRect(wnd, &frame);
    POINT origin{0, 0};
    ClientToScreen(wnd, &origin);
    return POINT{origin.x - frame.left, origin.y - frame.top};
}

class SkinnedProgram : public e2e::ProgramTest {
protected:
    // Waits until the window's title row shows the colour (a repaint may be on its way).
    static bool ShowsTitle(HWND wnd, COLORREF colour, double at = 0.6) {
        return e2e::WaitUntil([&] { return TitlePixel(wnd, at) == colour; }, 10s);
    }
    e2e::ProgramSkin FSkin;
};

TEST_F(SkinnedProgram, TheMainWindowWearsTheSkinsFrameOnceTheLoopRuns) {
    Start();
    ASSERT_TRUE(e2e::WaitUntil([&] { return Skinned(main_); }, 30s));
    const TSkinElements& e = FSkin.Elements();
    const POINT want{e.BorderLeft->Bitmap.Width() / e.BorderLeft->Frame,
                     e.BorderTop->Bitmap.Height() / e.BorderTop->Frame};
    // The frame may still be recalculated just after the window reports itself skinned.
    POINT offset{};
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            offset = ClientOffset(main_);
            return offset.x == want.x && offset.y == want.y;
        },
        10s))
        << offset.x << "," << offset.y << " instead of " << want.x << "," << want.y;
    EXPECT_TRUE(ShowsTitle(main_, FSkin.TitleColour(1)))
        << std::hex << TitlePixel(main_, 0.6) << " instead of " << FSkin.TitleColour(1);
}

TEST_F(SkinnedProgram, EachDialogIsSkinnedActiveAndClosingItReactivatesTheMainWindow) {
    Start();
    ASSERT_TRUE(e2e::WaitUntil([&] { return Skinned(main_); }, 30s));
    const COLORREF active = FSkin.TitleColour(1);
    const COLORREF inactive = FSkin.TitleColour(2);
    ASSERT_NE(active, inactive);
    const struct {
        std::size_t Button;
        const char* Class;
    } dialogs[] = {{3, "Tsystemedit"}, {5, "Tupan"}, {7, "Tabout"}};
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.Class);
        HWND dialog = OpenFromToolbar(d.Button, d.Class);
        ASSERT_NE(nullptr, dialog);
        ASSERT_TRUE(IsWindowVisible(dialog));
        EXPECT_FALSE(IsWindowEnabled(main_)) << "the dialog is modal";
        ASSERT_TRUE(e2e::WaitUntil([&] { return Skinned(dialog); }, 30s));
        EXPECT_TRUE(ShowsTitle(dialog, active, 0.5));
        EXPECT_TRUE(ShowsTitle(main_, inactive));
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 30s));
        EXPECT_TRUE(ShowsTitle(main_, active));
    }
}

// The main window's toolbar buttons wear the skin's button face: frame 4 while hot, 2 while
// pressed, under the glyph and caption the system still draws.
TEST_F(SkinnedProgram, ToolbarButtonsShowTheSkinsButtonFacesWhenHotAndPressed) {
    Start();
    ASSERT_TRUE(e2e::WaitUntil([&] { return Skinned(main_); }, 30s));
    HWND toolbar = e2e::FindDescendant(main_, "TToolBar");
    ASSERT_NE(toolbar, nullptr);
    const auto buttons = e2e::ToolbarButtons(toolbar);
    ASSERT_GT(buttons.size(), 3u);
    const e2e::ToolbarButton& button = buttons[3]; // "系统设置"
    ASSERT_FALSE(button.separator);
    // The face as the painter composes it over the button less one pixel on each side.
    const RECT& b = button.bounds;
    const e2e::ButtonFaces faces(FSkin, SIZE{b.right - b.left - 2, b.bottom - b.top - 2}, {4, 2, 1});
    ASSERT_TRUE(faces.Spot()) << "the skin's hot, pressed and normal faces look the same";
    const POINT spot{b.left + 1 + faces.Spot()->x, b.top + 1 + faces.Spot()->y};
    auto shown = [&] { return e2e::ScreenPixel(toolbar, spot); };
    const COLORREF hotColour = faces.Colour(4);
    const COLORREF pressedColour = faces.Colour(2);

    POINT over{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
    ClientToScreen(toolbar, &over);
    SetCursorPos(over.x, over.y);
    // Moved again while waiting: when the real pointer is elsewhere (another process cannot
    // always move it) the toolbar hears of it leaving and drops the hot state.
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            PostMessageA(toolbar, WM_MOUSEMOVE, 0,
                         MAKELPARAM((b.left + b.right) / 2, (b.top + b.bottom) / 2));
            return shown() == hotColour;
        },
        10s))
        << std::hex << shown() << " instead of " << hotColour;

    SendMessageA(toolbar, TB_PRESSBUTTON, button.command, TRUE);
    EXPECT_TRUE(e2e::WaitUntil([&] { return shown() == pressedColour; }, 10s))
        << std::hex << shown() << " instead of " << pressedColour;
    SendMessageA(toolbar, TB_PRESSBUTTON, button.command, FALSE);
}

} // namespace
