// The real program, started from outside: its main window comes up with its class and
// caption, and closing it ends the process cleanly.
#include "E2eDriver.h"
#include "ProgramTest.h"
#include "RemoteControls.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <commctrl.h>

using namespace std::chrono_literals;

namespace {

const char kMainClass[] = "Tmain";
const char kMainCaption[] = "Tarnwick优化大师";

TEST(Startup, MainWindowAppearsAndWmCloseEndsTheProgramWithExitCodeZero) {
    std::string error;
    auto program = e2e::Process::Start(TW_PROGRAM_PATH, &error);
    ASSERT_TRUE(program) << error;

    HWND main = nullptr;
    const bool shown = e2e::WaitUntil(
        [&] { return (main = e2e::FindTopWindow(kMainClass, "", program->Id())) != nullptr; }, 60s);
    if (!shown)
        program->Kill();
    ASSERT_TRUE(shown) << "no visible " << kMainClass << " window of the program appeared";
    EXPECT_EQ(e2e::WindowCaption(main), kMainCaption);

    ASSERT_TRUE(PostMessageA(main, WM_CLOSE, 0, 0));
    const bool ended = program->WaitForExit(30s);
    if (!ended)
        program->Kill();
    ASSERT_TRUE(ended) << "the program did not end after WM_CLOSE";
    EXPECT_EQ(program->ExitCode(), std::optional<DWORD>(0));
}

class MainWindowE2eTest : public e2e::ProgramTest {};

TEST_F(MainWindowE2eTest, SizeToolbarAndStatusTextAsDesigned) {
    Start("TW-PC", "tester");
    // Designed as 780 x 537 under the native frame; the skinned frame keeps the client area
    // that gives, whatever its own size.
    RECT nativeFrame{};
    AdjustWindowRectEx(&nativeFrame, static_cast<DWORD>(GetWindowLongPtrA(main_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(main_, GWL_EXSTYLE)));
    RECT client;
    GetClientRect(main_, &client);
    EXPECT_EQ(client.right, 780 - (nativeFrame.right - nativeFrame.left));
    EXPECT_EQ(client.right, 772);
    EXPECT_EQ(client.bottom, 537 - (nativeFrame.bottom - nativeFrame.top));

    HWND status = e2e::FindDescendant(main_, "TStatusBar");
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(e2e::StatusBarText(status, 0), "   Tarnwick优化大师");
    EXPECT_EQ(e2e::StatusBarText(status, 1), " 计算机名称:TW-PC   用户:tester 网址：www.tarnwick.example");

    HWND toolbar = e2e::FindDescendant(main_, "TToolBar");
    ASSERT_NE(toolbar, nullptr);
    std::vector<std::string> captions;
    for (const auto& button : e2e::ToolbarButtons(toolbar))
        captions.push_back(button.separator ? "|" : button.text);
    EXPECT_EQ(captions, (std::vector<std::string>{"|", "清理临时文件", "|", "系统设置", "|", "U盘病毒免疫",
                                                  "|", "关于我们"}));
}

TEST_F(MainWindowE2eTest, MissingUserNameLeavesNothingBetweenTheLabels) {
    Start("TW-PC", nullptr);
    HWND status = e2e::FindDescendant(main_, "TStatusBar");
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(e2e::StatusBarText(status, 1), " 计算机名称:TW-PC   用户: 网址：www.tarnwick.example");
}

TEST_F(MainWindowE2eTest, ToolbarButtonsOpenTheDialogsModally) {
    Start("TW-PC", "tester");
    HWND toolbar = e2e::FindDescendant(main_, "TToolBar");
    ASSERT_NE(toolbar, nullptr);
    const auto buttons = e2e::ToolbarButtons(toolbar);
    ASSERT_EQ(buttons.size(), 8u);
    const std::pair<std::size_t, const char*> dialogs[] = {{3, "Tsystemedit"}, {5, "Tupan"}, {7, "Tabout"}};
    for (const auto& [index, dialogClass] : dialogs) {
        const RECT& r = buttons[index].bounds;
        e2e::ClickClient(toolbar, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        HWND dialog = nullptr;
        ASSERT_TRUE(e2e::WaitUntil(
            [&] { return (dialog = e2e::FindProcessWindow(program_->Id(), dialogClass)) != nullptr; }, 30s))
            << dialogClass << " did not open";
        EXPECT_FALSE(IsWindowEnabled(main_)) << dialogClass << " is not modal";
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        ASSERT_TRUE(e2e::WaitUntil([&] { return IsWindowEnabled(main_) != FALSE; }, 30s))
            << "closing " << dialogClass << " did not give the main window back";
        // The owner is enabled again before the dialog hides, as Windows dialogs do.
        EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindow(dialog) && !IsWindowVisible(dialog); }, 30s))
            << dialogClass << " is kept, hidden, between uses";
    }
}

// Creates a file with some content; the folders on its way too.
void PlaceFile(const std::string& path) {
    for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1))
        CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(f, "x", 1, &written, nullptr);
    CloseHandle(f);
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST_F(MainWindowE2eTest, CleaningDeletesTheTemporaryFilesAndNothingNamedDel) {
    char profile[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableA("USERPROFILE", profile, MAX_PATH), 0u);
    const std::string home = profile;
    const std::vector<std::string> doomed = {home + "\\Recent\\tw-old.lnk", home + "\\Cookies\\tw-cookie.txt",
                                             home + "\\Local Settings\\Temp\\tw-scratch.tmp"};
    for (const std::string& path : doomed)
        PlaceFile(path);
    // The program runs in this test's folder: a file called "del" here must survive.
    char cwd[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, cwd);
    const std::string bystander = std::string(cwd) + "\\tw-keep\\del";
    PlaceFile(bystander);

    Start("TW-PC", "tester");
    HWND toolbar = e2e::FindDescendant(main_, "TToolBar");
    ASSERT_NE(toolbar, nullptr);
    const RECT r = e2e::ToolbarButtons(toolbar).at(1).bounds;
    e2e::ClickClient(toolbar, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});

    HWND box = nullptr;
    ASSERT_TRUE(e2e::WaitUntil(
        [&] { return (box = e2e::FindProcessWindow(program_->Id(), "#32770")) != nullptr; }, 30s));
    EXPECT_EQ(e2e::MessageBoxText(box), "        系统会自动清理完垃圾文件！");
    EXPECT_EQ(e2e::WindowCaption(box), "Quellmoor系统优化大师");
    PostMessageA(box, WM_COMMAND, IDOK, 0);

    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            return std::none_of(doomed.begin(), doomed.end(), [](const std::string& p) { return Exists(p); });
        },
        60s))
        << "the temporary files are still there";
    EXPECT_TRUE(Exists(bystander)) << "a file named del outside the cleaned folders was deleted";
    DeleteFileA(bystander.c_str());
    RemoveDirectoryA((std::string(cwd) + "\\tw-keep").c_str());
}

} // namespace
