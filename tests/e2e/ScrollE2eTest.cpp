// The startup-items dialog's list in the real program with many run-key entries: its vertical
// bar is covered by a skinned overlay, the wheel scrolls the list natively and the overlay's
// thumb follows the native one; its column header wears [Headerbar] and lights the item under
// the mouse.
#include "ProgramSkin.h"
#include "ProgramTest.h"
#include "RemoteControls.h"
#include "SkinDraw.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>
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

// The header item's rectangle (client coordinates of the header).
RECT HeaderItemRect(HWND header, int index) {
    e2e::RemoteBuffer remote(header, sizeof(RECT));
    RECT r{};
    remote.Write(&r, sizeof r);
    SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(remote.Address()));
    remote.Read(&r, sizeof r);
    return r;
}

// Points of the item's left edge, above and below its text, where the screen shows the
// [Headerbar] frame composed at the item's size; -1 when the frame cannot be told from frame
// `other` there.
int HeaderMismatches(HWND header, const RECT& item, TDataSkinObject& bar, int frame, int other) {
    const TRect size{0, 0, item.right - item.left, item.bottom - item.top};
    auto want = BuildSkinBitmap(size, bar.Bitmap, bar.Margins(), false, bar.Tile == 1, bar.Frame, frame);
    auto unlike = BuildSkinBitmap(size, bar.Bitmap, bar.Margins(), false, bar.Tile == 1, bar.Frame, other);
    int mismatches = 0, compared = 0;
    for (const int y : {1, 2, static_cast<int>(size.bottom) - 3})
        for (int x = 1; x < 5; ++x) {
            const TColor c = want->Canvas()->Pixels(x, y);
            if (c == unlike->Canvas()->Pixels(x, y))
                continue;
            ++compared;
            mismatches +=
                e2e::ScreenPixel(header, POINT{item.left + x, y}) != static_cast<COLORREF>(c) ? 1 : 0;
        }
    return compared == 0 ? -1 : mismatches;
}

// The thumb body's first and last rows in the column; {-1, -1} without one.
std::pair<int, int> ThumbSpan(const std::vector<COLORREF>& column, TDataSkinObject& thumb) {
    const int frames = thumb.Frame > 0 ? thumb.Frame : 3;
    const int w = thumb.Bitmap.Width() / frames;
    const COLORREF body =
        static_cast<COLORREF>(thumb.Bitmap.Canvas()->Pixels(w / 2, thumb.Bitmap.Height() / 2));
    std::pair<int, int> span{-1, -1};
    for (int y = 0; y < static_cast<int>(column.size()); ++y)
        if (column[static_cast<std::size_t>(y)] == body) {
            if (span.first < 0)
                span.first = y;
            span.second = y;
        }
    return span;
}

int TopIndex(HWND list) {
    return static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
}

class ScrollE2eTest : public e2e::ProgramTest {
protected:
    // The startup list's vertical overlay once it is there, or null.
    static HWND WaitForOverlay(HWND list) {
        HWND overlay = nullptr;
        e2e::WaitUntil([&] { return (overlay = VerticalOverlay(list)) != nullptr; }, 10s);
        return overlay;
    }
};

} // namespace

TEST_F(ScrollE2eTest, TheStartupListsBarIsCoveredAndTheWheelScrollsItWhileTheSkinnedThumbFollows) {
    const RunEntries entries;
    Start();
    const HWND list = OpenStartupDialogChild("TListView");
    ASSERT_NE(list, nullptr);
    const HWND overlay = WaitForOverlay(list);
    ASSERT_NE(overlay, nullptr);
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

TEST_F(ScrollE2eTest, TheStartupListsHeaderWearsTheSkinAndLightsTheItemUnderTheMouse) {
    const RunEntries entries;
    Start();
    const HWND list = OpenStartupDialogChild("TListView");
    ASSERT_NE(list, nullptr);
    const HWND header = e2e::FindDescendant(list, "SysHeader32");
    ASSERT_NE(header, nullptr);
    const e2e::ProgramSkin skin;
    TDataSkinObject& bar = *skin.Elements().Headerbar;
    ASSERT_FALSE(bar.Bitmap.Empty());
    const RECT first = HeaderItemRect(header, 0);
    ASSERT_GT(first.right, first.left);
    ASSERT_GE(HeaderMismatches(header, first, bar, 1, 2), 0) << "the skin's normal and hot items look alike";
    EXPECT_TRUE(e2e::WaitUntil([&] { return HeaderMismatches(header, first, bar, 1, 2) == 0; }, 10s));

    POINT at{(first.left + first.right) / 2, (first.top + first.bottom) / 2};
    const LPARAM where = MAKELPARAM(at.x, at.y);
    ClientToScreen(header, &at);
    SetCursorPos(at.x, at.y);
    // Moved again while waiting: the real pointer may be elsewhere (another process cannot
    // always move it), and its leaving would end the hot state first.
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            PostMessageA(header, WM_MOUSEMOVE, 0, where);
            return HeaderMismatches(header, first, bar, 2, 1) == 0;
        },
        10s))
        << "the item under the mouse shows the hot frame";
    SetCursorPos(0, 0);
    PostMessageA(header, WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(e2e::WaitUntil([&] { return HeaderMismatches(header, first, bar, 1, 2) == 0; }, 10s));
}

TEST_F(ScrollE2eTest, ClicksOnTheSkinnedBarsArrowTrackAndThumbScrollTheStartupList) {
    const RunEntries entries;
    Start();
    const HWND list = OpenStartupDialogChild("TListView");
    ASSERT_NE(list, nullptr);
    const HWND dialog = GetAncestor(list, GA_ROOT);
    const HWND overlay = WaitForOverlay(list);
    ASSERT_NE(overlay, nullptr);
    const e2e::ProgramSkin skin;
    TDataSkinObject& thumb = *skin.Elements().VertScrollThumb;
    RECT client{};
    GetClientRect(overlay, &client);
    const int a = GetSystemMetrics(SM_CXHSCROLL), x = client.right / 2;

    // The down arrow scrolls a line, through the list's own scrolling loop.
    ASSERT_EQ(TopIndex(list), 0);
    e2e::ClickClient(overlay, POINT{x, client.bottom - a / 2});
    EXPECT_TRUE(e2e::WaitUntil([&] { return TopIndex(list) > 0; }, 10s)) << "the arrow scrolled nothing";
    e2e::SettleWindow(dialog);

    // The track below the thumb pages down, and the skinned thumb moves down.
    std::pair<int, int> span{-1, -1};
    ASSERT_TRUE(e2e::WaitUntil([&] { return (span = ThumbSpan(Column(overlay), thumb)).first >= 0; }, 10s));
    const int beforePage = TopIndex(list);
    const int trackY = (span.second + client.bottom - a) / 2;
    ASSERT_GT(trackY, span.second) << "no track left below the thumb";
    e2e::ClickClient(overlay, POINT{x, trackY});
    EXPECT_TRUE(e2e::WaitUntil([&] { return TopIndex(list) > beforePage + 1; }, 10s))
        << "the track did not page";
    EXPECT_TRUE(e2e::WaitUntil([&] { return ThumbSpan(Column(overlay), thumb).first > span.first; }, 10s))
        << "the skinned thumb did not follow";
    e2e::SettleWindow(dialog);

    // The thumb dragged up: the press on the skinned thumb starts the list's own drag, which
    // follows the pointer's moves over the list.
    ASSERT_TRUE(e2e::WaitUntil([&] { return (span = ThumbSpan(Column(overlay), thumb)).first >= 0; }, 10s));
    const int beforeDrag = TopIndex(list);
    const int grab = (span.first + span.second) / 2;
    auto inList = [&](int y) {
        POINT p{x, y};
        ClientToScreen(overlay, &p);
        ScreenToClient(list, &p);
        return MAKELPARAM(p.x, p.y);
    };
    PostMessageA(overlay, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, grab));
    for (int y = grab - 4; y >= a; y -= 4)
        PostMessageA(list, WM_MOUSEMOVE, MK_LBUTTON, inList(y));
    PostMessageA(list, WM_LBUTTONUP, 0, inList(a));
    EXPECT_TRUE(e2e::WaitUntil([&] { return TopIndex(list) < beforeDrag; }, 10s))
        << "the drag did not scroll";
    EXPECT_TRUE(e2e::WaitUntil([&] { return ThumbSpan(Column(overlay), thumb).first < span.first; }, 10s))
        << "the skinned thumb did not follow the drag";
}
