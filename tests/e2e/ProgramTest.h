// A test of the real program: started with a known environment, its main window found and
// settled, closed (or killed) afterwards; dialogs opened from the main window's toolbar.
#pragma once

#include "E2eDriver.h"
#include "RemoteControls.h"

#include <gtest/gtest.h>

#include <optional>

namespace e2e {

class ProgramTest : public ::testing::Test {
protected:
    static constexpr char kMainClass[] = "Tmain";

    void Start(const char* computer = "TW-PC", const char* user = "tester") {
        using namespace std::chrono_literals;
        SetEnvironmentVariableA("COMPUTERNAME", computer);
        SetEnvironmentVariableA("USERNAME", user);
        std::string error;
        auto started = Process::Start(TW_PROGRAM_PATH, &error);
        ASSERT_TRUE(started) << error;
        program_.emplace(std::move(*started));
        ASSERT_TRUE(WaitUntil(
            [&] { return (main_ = FindTopWindow(kMainClass, "", program_->Id())) != nullptr; }, 60s));
        SettleSkinned(main_);
    }

    // Clicks toolbar button index and returns the dialog of dialogClass it opens, settled.
    HWND OpenFromToolbar(std::size_t index, const char* dialogClass) {
        using namespace std::chrono_literals;
        HWND toolbar = FindDescendant(main_, "TToolBar");
        EXPECT_NE(toolbar, nullptr);
        const auto buttons = toolbar ? ToolbarButtons(toolbar) : std::vector<ToolbarButton>{};
        if (index >= buttons.size()) {
            ADD_FAILURE() << "no toolbar button " << index;
            return nullptr;
        }
        const RECT& r = buttons[index].bounds;
        ClickClient(toolbar, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        HWND dialog = nullptr;
        if (!WaitUntil([&] { return (dialog = FindProcessWindow(program_->Id(), dialogClass)) != nullptr; },
                       30s))
            ADD_FAILURE() << dialogClass << " did not open";
        else
            SettleSkinned(dialog);
        return dialog;
    }

    // Opens the startup-items dialog from the toolbar and returns its first child window of
    // that class, or null (with a failure recorded).
    HWND OpenStartupDialogChild(const char* childClass) {
        const HWND dialog = OpenFromToolbar(3, "Tsystemedit");
        const HWND child = dialog ? FindDescendant(dialog, childClass) : nullptr;
        if (dialog && !child)
            ADD_FAILURE() << "the startup dialog has no " << childClass;
        return child;
    }

    // The program's message box (not `except`) once it appears, or null after the timeout.
    HWND WaitForMessageBox(std::chrono::milliseconds timeout = std::chrono::seconds(60)) {
        HWND box = nullptr;
        WaitUntil([&] { return (box = FindProcessWindow(program_->Id(), "#32770")) != nullptr; }, timeout);
        return box;
    }

    // Presses the message box's OK button and waits until it is gone.
    static bool CloseMessageBox(HWND box) {
        using namespace std::chrono_literals;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return WaitUntil([&] { return !IsWindow(box); }, 30s);
    }

    void TearDown() override {
        using namespace std::chrono_literals;
        // A message box left open would keep the program from closing: answer it first.
        if (program_)
            while (HWND box = FindProcessWindow(program_->Id(), "#32770"))
                if (!CloseMessageBox(box))
                    break;
        // So does a modal dialog.
        for (const char* dialogClass : {"Tsystemedit", "Tupan", "Tabout"})
            if (HWND dialog = program_ ? FindProcessWindow(program_->Id(), dialogClass) : nullptr) {
                PostMessageA(dialog, WM_CLOSE, 0, 0);
                WaitUntil([&] { return IsWindowEnabled(main_) != FALSE; }, 30s);
            }
        if (main_)
            PostMessageA(main_, WM_CLOSE, 0, 0);
        if (program_ && !program_->WaitForExit(30s))
            program_->Kill();
    }

    std::optional<Process> program_;
    HWND main_ = nullptr;
};

} // namespace e2e
