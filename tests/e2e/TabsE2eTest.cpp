// The startup-items dialog's page control in the real program: its one tab and the page frame
// wear the stored skin's [Tabs] images, and the list on the page still works.
#include "ProgramSkin.h"
#include "ProgramTest.h"
#include "RemoteControls.h"
#include "SkinDraw.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstddef>
#include <string>

using namespace std::chrono_literals;

namespace {

std::string TabText(HWND tabs, int index) {
    constexpr std::size_t textSize = 128;
    e2e::RemoteBuffer remote(tabs, sizeof(TCITEMA) + textSize);
    if (!remote.Valid())
        return {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = static_cast<char*>(remote.Address()) + sizeof(TCITEMA);
    item.cchTextMax = static_cast<int>(textSize);
    remote.Write(&item, sizeof item);
    if (!SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(remote.Address())))
        return {};
    char text[textSize] = {};
    remote.Read(text, textSize - 1, sizeof(TCITEMA));
    return text;
}

// A tab's rectangle, or the display area of the given rectangle (adjusting with wParam FALSE).
RECT RemoteRect(HWND tabs, UINT message, WPARAM wParam, const RECT& in = {}) {
    e2e::RemoteBuffer remote(tabs, sizeof(RECT));
    RECT r = in;
    remote.Write(&r, sizeof r);
    SendMessageA(tabs, message, wParam, reinterpret_cast<LPARAM>(remote.Address()));
    remote.Read(&r, sizeof r);
    return r;
}

// Pixels of the composed picture at the window's client point `at`, away from transparent ones,
// in a 3 x 3 block from its `from` corner, that the screen does not show.
int BlockMismatches(HWND wnd, TBitmap& picture, POINT from, POINT at) {
    int mismatches = 0;
    for (int dy = 0; dy < 3; ++dy)
        for (int dx = 0; dx < 3; ++dx) {
            const TColor want = picture.Canvas()->Pixels(from.x + dx, from.y + dy);
            if (want == SkinKeyColor)
                continue;
            mismatches +=
                e2e::ScreenPixel(wnd, POINT{at.x + dx, at.y + dy}) != static_cast<COLORREF>(want) ? 1 : 0;
        }
    return mismatches;
}

// One run-key entry, so the list has a row whatever the machine starts.
class RunEntry {
public:
    RunEntry() {
        static constexpr char command[] = "C:\\tw-e2e-nowhere\\tabs.exe";
        RegSetKeyValueA(HKEY_CURRENT_USER, Key, Name, REG_SZ, command, sizeof command);
    }
    ~RunEntry() { RegDeleteKeyValueA(HKEY_CURRENT_USER, Key, Name); }
    RunEntry(const RunEntry&) = delete;
    RunEntry& operator=(const RunEntry&) = delete;

private:
    static constexpr const char* Key = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    static constexpr const char* Name = "tw-e2e-tabs";
};

class TabsE2eTest : public e2e::ProgramTest {};

} // namespace

TEST_F(TabsE2eTest, TheStartupDialogsPageShowsItsTabAndFrameFromTheSkinAndItsListStillWorks) {
    const RunEntry entry;
    Start();
    const HWND pages = OpenStartupDialogChild("TPageControl");
    ASSERT_NE(pages, nullptr);
    const HWND dialog = GetAncestor(pages, GA_ROOT);
    ASSERT_EQ(SendMessageA(pages, TCM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(TabText(pages, 0), "系统启动程序");

    const e2e::ProgramSkin skin;
    TDataSkinBorder& tabs = *skin.Elements().Tabs;
    // The one tab is the chosen one: frame 2, standing one pixel below its item rectangle.
    RECT item = RemoteRect(pages, TCM_GETITEMRECT, 0);
    OffsetRect(&item, 0, 1);
    auto tab = BuildSkinBitmap(TRect{0, 0, item.right - item.left, item.bottom - item.top}, tabs.Bitmap,
                               tabs.Margins(), false, tabs.Tile == 1, tabs.Frame, 2);
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            return BlockMismatches(pages, *tab, {0, 0}, {item.left, item.top}) == 0;
        },
        10s))
        << "the tab's top-left corner";
    EXPECT_EQ(BlockMismatches(pages, *tab, {tab->Width() - 3, 0}, {item.right - 3, item.top}), 0)
        << "the tab's top-right corner";

    // The page frame: the border image over the display area grown by 4, one pixel off the row.
    RECT client{};
    GetClientRect(pages, &client);
    RECT d = RemoteRect(pages, TCM_ADJUSTRECT, FALSE, client);
    InflateRect(&d, 4, 4);
    d.top += 1;
    auto frame = BuildSkinBitmap(TRect{0, 0, d.right - d.left, d.bottom - d.top}, tabs.ExtraBitmap,
                                 TRect{4, 5, 4, 4}, false, false, 1, 1);
    const int h = d.bottom - d.top;
    EXPECT_EQ(BlockMismatches(pages, *frame, {0, h / 2}, {d.left, d.top + h / 2}), 0)
        << "the frame's left edge";
    EXPECT_EQ(BlockMismatches(pages, *frame, {frame->Width() - 3, h - 3}, {d.right - 3, d.bottom - 3}), 0)
        << "the frame's bottom-right corner";

    // The list inside the page keeps working.
    const HWND list = e2e::FindDescendant(dialog, "TListView");
    ASSERT_NE(list, nullptr);
    const auto rows = e2e::ListViewRows(list, 2);
    ASSERT_FALSE(rows.empty());
    ASSERT_TRUE(e2e::ListViewSelect(list, static_cast<int>(rows.size()) - 1));
    EXPECT_EQ(e2e::ListViewSelectedCount(list), 1);
}
