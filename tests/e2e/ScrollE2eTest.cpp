// The startup-items dialog's list in the real program with many run-key entries: its vertical
// bar is covered by a skinned overlay, the wheel scrolls the list natively and the overlay's
// thumb follows the native one.
#include "ProgramSkin.h"
#include "ProgramTest.h"
#include "RemoteControls.h"
#include "SkinDraw.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace {

// Sixty run-key entries, so the list needs its vertical bar.
class RunEntries {
public:
    RunEntries() {
        static constexpr char command[] = "C:\\tw-e2e-nowhere\\scroll.exe";
        for (int i = 0; i < Count; ++i)
            RegSetKeyValueA(HKEY_CURRENT_USER, Key, Name(i).c_str(), REG_SZ, command, sizeof command);
    }
    ~RunEntries() {
        for (int i = 0; i < Count; ++i)
            RegDeleteKeyValueA(HKEY_CURRENT_USER, Key, Name(i).c_str());
    }
    RunEntries(const RunEntries&) = delete;
    RunEntries& operator=(const RunEntries&) = delete;

private:
    static std::string Name(int i) { return "tw-e2e-scroll-" + std::to_string(i); }
    static constexpr int Count = 60;
    static constexpr const char* Key = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
};

// The shown overlay over the list's vertical bar: a sibling lying inside the list along its
// right edge. (The bar's own rectangle cannot be read from another process.)
HWND VerticalOverlay(HWND list) {
    RECT outer{};
    GetWindowRect(list, &outer);
    for (HWND child = GetWindow(GetParent(list), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64] = {};
        GetClassNameA(child, name, sizeof name);
        RECT r{};
        GetWindowRect(child, &r);
        const bool inside = r.left >= outer.left && r.right <= outer.right && r.top >= outer.top &&
                            r.bottom <= outer.bottom && outer.right - r.right <= 4;
        if (std::string(name) == "TWScrollbar" && IsWindowVisible(child) && inside &&
            2 * (r.bottom - r.top) > outer.bottom - outer.top)
            return child;
    }
    return nullptr;
}

// The overlay's middle column as the screen shows it.
std::vector<COLORREF> Column(HWND overlay) {
    RECT client{};
    GetClientRect(overlay, &client);
    std::vector<COLORREF> column;
    for (int y = 0; y < client.bottom; ++y)
        column.push_back(e2e::ScreenPixel(overlay, POINT{client.right / 2, y}));
    return column;
}

// Rows of the column in the colour of the [VertScrollThumb] frame's middle: the skinned thumb's
// body (the grip hides its centre).
int ThumbRows(const std::vector<COLORREF>& column, TDataSkinObject& thumb) {
    const int frames = thumb.Frame > 0 ? thumb.Frame : 3;
    const int w = thumb.Bitmap.Width() / frames;
    const COLORREF body =
        static_cast<COLORREF>(thumb.Bitmap.Canvas()->Pixels(w / 2, thumb.Bitmap.Height() / 2));
    int rows = 0;
    for (COLORREF c : column)
        rows += c == body;
    return rows;
}

class ScrollE2eTest : public e2e::ProgramTest {};

} // namespace

TEST_F(ScrollE2eTest, TheStartupListsBarIsCoveredAndTheWheelScrollsItWhileTheSkinnedThumbFollows) {
    const RunEntries entries;
    Start();
    const HWND dialog = OpenFromToolbar(3, "Tsystemedit");
    ASSERT_NE(dialog, nullptr);
    const HWND list = e2e::FindDescendant(dialog, "TListView");
    ASSERT_NE(list, nullptr);
    HWND overlay = nullptr;
    ASSERT_TRUE(e2e::WaitUntil([&] { return (overlay = VerticalOverlay(list)) != nullptr; }, 10s));
    EXPECT_EQ(GetWindow(list, GW_HWNDPREV), overlay) << "directly above the list";

    const e2e::ProgramSkin skin;
    TDataSkinObject& thumb = *skin.Elements().VertScrollThumb;
    ASSERT_FALSE(thumb.Bitmap.Empty());
    std::vector<COLORREF> before;
    EXPECT_TRUE(e2e::WaitUntil([&] { return ThumbRows(before = Column(overlay), thumb) > 0; }, 10s))
        << "the overlay shows the skin's thumb";

    for (int i = 0; i < 3; ++i)
        SendMessageA(list, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return SendMessageA(list, LVM_GETTOPINDEX, 0, 0) > 0; }, 10s));
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            const auto after = Column(overlay);
            return after != before && ThumbRows(after, thumb) > 0;
        },
        10s))
        << "the skinned thumb moved with the list";

    const auto rows = e2e::ListViewRows(list, 2);
    ASSERT_GE(rows.size(), 60u);
    EXPECT_TRUE(e2e::ListViewSelect(list, static_cast<int>(rows.size()) - 1));
    EXPECT_EQ(e2e::ListViewSelectedCount(list), 1);
}
