// The real program's system menu wears the skin: opened with Alt+Space or a right click on the
// title, its border shows the MenuBackground image, its items the MenuItem image, the item under
// the keyboard the selected frame, and its commands still work.
#include "ProgramTest.h"

#include "ProgramSkin.h"
#include "SkinDraw.h"

#include <gtest/gtest.h>

#include <set>

using namespace std::chrono_literals;

namespace {

constexpr UINT kIsSkinned = 0x3523; // the skin engine's is-skinned query

bool Skinned(HWND wnd) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(wnd, kIsSkinned, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) && answer == 1;
}

void Key(WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

void Press(WORD vk) {
    Key(vk, false);
    Key(vk, true);
}

// The colours of one column of an image frame.
std::set<COLORREF> ColumnColours(const TBitmap& image, int x) {
    std::set<COLORREF> colours;
    TBitmap& bitmap = const_cast<TBitmap&>(image);
    for (int y = 0; y < bitmap.Height(); ++y)
        colours.insert(GetPixel(bitmap.Canvas()->Handle(), x, y) & 0xFFFFFF);
    return colours;
}

COLORREF WindowPixel(HWND wnd, int x, int y) {
    RECT r{};
    GetWindowRect(wnd, &r);
    POINT client{0, 0};
    ClientToScreen(wnd, &client);
    return e2e::ScreenPixel(wnd, POINT{r.left - client.x + x, r.top - client.y + y}) & 0xFFFFFF;
}

class SkinnedMenus : public e2e::ProgramTest {
protected:
    HWND WaitForPopup() {
        HWND popup = nullptr;
        e2e::WaitUntil(
            [&] {
                return (popup = e2e::FindProcessWindow(program_->Id(), "#32768")) != nullptr &&
                       Skinned(popup);
            },
            20s);
        if (popup)
            e2e::SettleWindow(popup);
        return popup;
    }

    // What the MenuBackground image stretched to the popup shows at a point of the window.
    COLORREF BackgroundColour(HWND popup, int x, int y) const {
        RECT r{};
        GetWindowRect(popup, &r);
        TDataSkinObject& back = *FSkin.Elements().MenuBackground;
        const auto built = BuildSkinBitmap(TRect{0, 0, r.right - r.left, r.bottom - r.top}, back.Bitmap,
                                           back.Margins(), false, back.Tile == 1, 1, 1);
        return GetPixel(built->Canvas()->Handle(), x, y) & 0xFFFFFF;
    }
    // The left border, halfway down.
    COLORREF BorderColour(HWND popup) const {
        RECT r{};
        GetWindowRect(popup, &r);
        return BackgroundColour(popup, 1, (r.bottom - r.top) / 2);
    }

    void ExpectSkinnedPopup(HWND popup) {
        ASSERT_NE(nullptr, popup);
        RECT r{};
        GetWindowRect(popup, &r);
        const int height = r.bottom - r.top;
        const int width = r.right - r.left;
        EXPECT_TRUE(
            e2e::WaitUntil([&] { return WindowPixel(popup, 1, height / 2) == BorderColour(popup); }, 10s))
            << std::hex << WindowPixel(popup, 1, height / 2) << " instead of " << BorderColour(popup);

        // The first item, right of its caption: frame 1 of the item image, then frame 4 once
        // the keyboard selects it.
        const TDataSkinObject& item = *FSkin.Elements().MenuItem;
        const int frameWidth = item.Bitmap.Width() / 5;
        std::set<COLORREF> normal = ColumnColours(item.Bitmap, frameWidth / 2);
        const std::set<COLORREF> selected = ColumnColours(item.Bitmap, 3 * frameWidth + frameWidth / 2);
        const int x = width - 20;
        const int y = 3 + 6;
        // The item image is transparent in places: the popup's background shows there.
        normal.insert(BackgroundColour(popup, x, y));
        const COLORREF before = WindowPixel(popup, x, y);
        EXPECT_TRUE(normal.count(before) || selected.count(before)) << std::hex << before;
        // Home is pressed again while waiting: the popup appearing under the pointer may move
        // the selection once the menu sees the pointer, after the first press.
        EXPECT_TRUE(e2e::WaitUntil(
            [&] {
                Press(VK_HOME);
                return selected.count(WindowPixel(popup, x, y)) > 0;
            },
            10s))
            << std::hex << WindowPixel(popup, x, y);
    }

    e2e::ProgramSkin FSkin;
};

TEST_F(SkinnedMenus, TheSystemMenuOpensSkinnedByKeyAndItsCommandsWork) {
    Start();
    ASSERT_TRUE(e2e::WaitUntil([&] { return Skinned(main_); }, 30s));
    ASSERT_TRUE(FSkin.Elements().MenuBackground && FSkin.Elements().MenuItem);
    SetForegroundWindow(main_);
    e2e::SettleWindow(main_);

    Key(VK_MENU, false);
    Press(VK_SPACE);
    Key(VK_MENU, true);
    HWND popup = WaitForPopup();
    ExpectSkinnedPopup(popup);

    // End selects Wine's last item (About Wine); the next one up, past the separator, is
    // Close: the program ends.
    Press(VK_END);
    Press(VK_UP);
    Press(VK_RETURN);
    EXPECT_TRUE(program_->WaitForExit(30s));
}

TEST_F(SkinnedMenus, ARightClickOnTheTitleOpensTheSkinnedSystemMenu) {
    Start();
    ASSERT_TRUE(e2e::WaitUntil([&] { return Skinned(main_); }, 30s));
    ASSERT_TRUE(FSkin.Elements().MenuBackground && FSkin.Elements().MenuItem);
    SetForegroundWindow(main_);
    e2e::SettleWindow(main_);

    // The middle of the title, clicked as the system reports it: another process cannot move
    // the pointer while the program has the foreground.
    RECT frame{};
    GetWindowRect(main_, &frame);
    const LPARAM title = MAKELPARAM(frame.left + (frame.right - frame.left) / 2, frame.top + 8);
    ASSERT_EQ(SendMessageA(main_, WM_NCHITTEST, 0, title), HTCAPTION);
    PostMessageA(main_, WM_NCRBUTTONDOWN, HTCAPTION, title);
    PostMessageA(main_, WM_NCRBUTTONUP, HTCAPTION, title);
    HWND popup = WaitForPopup();
    ExpectSkinnedPopup(popup);
    Press(VK_ESCAPE);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindow(popup) || !IsWindowVisible(popup); }, 10s));
}

} // namespace
