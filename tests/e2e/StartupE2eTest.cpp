// The real program, started from outside: its main window comes up with its class and
// caption, and closing it ends the process cleanly.
#include "E2eDriver.h"

#include <gtest/gtest.h>

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

} // namespace
