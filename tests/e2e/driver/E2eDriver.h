// Drives the real program from a separate process: start it, find its windows, close it.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

namespace e2e {

// A Linux path (as the build knows it) becomes the Windows path Wine maps it to.
std::string ToWindowsPath(const std::string& path);

// Waits until cond() holds or the timeout passes; returns the last value of cond().
template <class Cond>
bool WaitUntil(Cond cond, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (cond())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        // Yield to the program under test between checks; the verdict is the condition.
        Sleep(20);
    }
}

// The first visible top-level window of the given class (and caption, when not empty),
// owned by the process pid (any process when pid is 0).
HWND FindTopWindow(const std::string& className, const std::string& caption, DWORD pid);

std::string WindowCaption(HWND wnd);

// Returns once the window's thread has handled everything queued before, including a full
// repaint of the window and its children: what is on screen afterwards is what it drew.
void SettleWindow(HWND wnd);
// The skin takes a window over shortly after it is shown and gives it a frame of its own size;
// a click while that happens can be lost. Waits for that (15 s at most), then settles.
void SettleSkinned(HWND wnd);

// A started program; the process handle is closed when this goes away.
class Process {
public:
    static std::optional<Process> Start(const std::string& exePath, std::string* error);
    Process(Process&& other) noexcept;
    Process& operator=(Process&&) = delete;
    Process(const Process&) = delete;
    ~Process();

    DWORD Id() const { return id_; }
    bool WaitForExit(std::chrono::milliseconds timeout) const;
    std::optional<DWORD> ExitCode() const;
    void Kill() const;

private:
    Process(HANDLE process, DWORD id) : process_(process), id_(id) {}
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

} // namespace e2e
