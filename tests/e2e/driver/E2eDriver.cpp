#include "E2eDriver.h"

#include <algorithm>

namespace e2e {

std::string ToWindowsPath(const std::string& path) {
    std::string out = path;
    if (!out.empty() && out.front() == '/')
        out = "Z:" + out;
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
}

std::string WindowCaption(HWND wnd) {
    char text[512] = {};
    GetWindowTextA(wnd, text, sizeof text);
    return text;
}

void SettleWindow(HWND wnd) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(wnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &result);
    RedrawWindow(wnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME | RDW_ERASE);
    SendMessageTimeoutA(wnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &result);
}

void SettleSkinned(HWND wnd) {
    constexpr UINT kIsSkinned = 0x3523; // answered with 1 by every skinned window
    WaitUntil(
        [&] {
            DWORD_PTR answer = 0;
            return SendMessageTimeoutA(wnd, kIsSkinned, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer) && answer == 1;
        },
        std::chrono::seconds(15));
    SettleWindow(wnd);
}

namespace {

struct FindQuery {
    const std::string* className;
    const std::string* caption;
    DWORD pid;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND wnd, LPARAM param) {
    auto& q = *reinterpret_cast<FindQuery*>(param);
    if (!IsWindowVisible(wnd))
        return TRUE;
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    if (q.pid != 0 && owner != q.pid)
        return TRUE;
    char cls[256] = {};
    GetClassNameA(wnd, cls, sizeof cls);
    if (*q.className != cls)
        return TRUE;
    if (!q.caption->empty() && WindowCaption(wnd) != *q.caption)
        return TRUE;
    q.found = wnd;
    return FALSE;
}

} // namespace

HWND FindTopWindow(const std::string& className, const std::string& caption, DWORD pid) {
    FindQuery q{&className, &caption, pid, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

std::optional<Process> Process::Start(const std::string& exePath, std::string* error) {
    std::string commandLine = "\"" + ToWindowsPath(exePath) + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        if (error)
            *error =
                "CreateProcess failed for " + commandLine + " (error " + std::to_string(GetLastError()) + ")";
        return std::nullopt;
    }
    CloseHandle(pi.hThread);
    return Process(pi.hProcess, pi.dwProcessId);
}

Process::Process(Process&& other) noexcept : process_(other.process_), id_(other.id_) {
    other.process_ = nullptr;
}

Process::~Process() {
    if (process_)
        CloseHandle(process_);
}

bool Process::WaitForExit(std::chrono::milliseconds timeout) const {
    return WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::optional<DWORD> Process::ExitCode() const {
    DWORD code = 0;
    if (!GetExitCodeProcess(process_, &code) || code == STILL_ACTIVE)
        return std::nullopt;
    return code;
}

void Process::Kill() const {
    TerminateProcess(process_, 255);
    WaitForSingleObject(process_, 5000);
}

} // namespace e2e
