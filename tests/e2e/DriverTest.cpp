// The driver reads controls of another process correctly: proven on a fixture program whose
// contents are known, before the program's tests rely on it.
#include "E2eDriver.h"
#include "RemoteControls.h"

#include <gtest/gtest.h>

#include <commctrl.h>

using namespace std::chrono_literals;

namespace {

class DriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        fixture_.emplace(*e2e::Process::Start(TW_FIXTURE_PATH, &error));
        ASSERT_TRUE(e2e::WaitUntil(
            [&] { return (wnd_ = e2e::FindTopWindow("TwDriverFixture", "", fixture_->Id())) != nullptr; },
            30s));
        e2e::SettleWindow(wnd_);
    }
    void TearDown() override {
        if (wnd_)
            PostMessageA(wnd_, WM_CLOSE, 0, 0);
        if (fixture_ && !fixture_->WaitForExit(10s))
            fixture_->Kill();
    }
    std::optional<e2e::Process> fixture_;
    HWND wnd_ = nullptr;
};

TEST_F(DriverTest, ReadsStatusToolbarAndListViewOfAnotherProcess) {
    HWND status = e2e::FindDescendant(wnd_, STATUSCLASSNAMEA);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(e2e::StatusBarText(status, 1), " 计算机名称:X");

    HWND toolbar = e2e::FindDescendant(wnd_, TOOLBARCLASSNAMEA);
    ASSERT_NE(toolbar, nullptr);
    const auto buttons = e2e::ToolbarButtons(toolbar);
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(buttons[0].text, "第一");
    EXPECT_EQ(buttons[0].command, 101);
    EXPECT_TRUE(buttons[1].separator);
    EXPECT_EQ(buttons[2].text, "Second");
    EXPECT_GT(buttons[2].bounds.left, buttons[0].bounds.left);

    HWND list = e2e::FindDescendant(wnd_, WC_LISTVIEWA);
    ASSERT_NE(list, nullptr);
    const auto rows = e2e::ListViewRows(list, 1);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"alpha", "C:\\a.exe"}));
    EXPECT_EQ(rows[1], (std::vector<std::string>{"beta", "是"}));
    ASSERT_TRUE(e2e::ListViewSelect(list, 1));
    EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1);
}

} // namespace
