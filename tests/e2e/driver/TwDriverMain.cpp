// twdriver: command-line access to the end-to-end driver for the scripts.
//   twdriver wait-window CLASS [TIMEOUT_MS]   exit 0 once a visible window of CLASS exists and
//                                             has painted
//   twdriver close-window CLASS [TIMEOUT_MS]  post WM_CLOSE to it, exit 0 once it is gone
//   twdriver click-toolbar CLASS INDEX         click button INDEX of the window's toolbar
#include "E2eDriver.h"
#include "RemoteControls.h"

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace std::chrono_literals;

namespace {

int Usage() {
    std::fprintf(stderr, "usage: twdriver wait-window CLASS [TIMEOUT_MS]\n"
                         "       twdriver close-window CLASS [TIMEOUT_MS]\n"
                         "       twdriver click-toolbar CLASS INDEX\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    const std::string command = argv[1];
    const std::string cls = argv[2];
    const bool hasTimeout = argc > 3 && command != "click-toolbar";
    const auto timeout = std::chrono::milliseconds(hasTimeout ? std::atol(argv[3]) : 60000);
    HWND wnd = nullptr;
    const bool found =
        e2e::WaitUntil([&] { return (wnd = e2e::FindTopWindow(cls, "", 0)) != nullptr; }, timeout);
    if (command == "wait-window") {
        if (!found) {
            std::fprintf(stderr, "twdriver: no window of class %s appeared\n", cls.c_str());
            return 1;
        }
        e2e::SettleWindow(wnd);
        return 0;
    }
    if (command == "click-toolbar") {
        HWND toolbar = found ? e2e::FindDescendant(wnd, "TToolBar") : nullptr;
        const auto buttons = toolbar ? e2e::ToolbarButtons(toolbar) : std::vector<e2e::ToolbarButton>{};
        const std::size_t index = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 0;
        if (index >= buttons.size()) {
            std::fprintf(stderr, "twdriver: no toolbar button %zu in a window of class %s\n", index,
                         cls.c_str());
            return 1;
        }
        const RECT& r = buttons[index].bounds;
        e2e::ClickClient(toolbar, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        return 0;
    }
    if (command == "close-window") {
        if (!found) {
            std::fprintf(stderr, "twdriver: no window of class %s to close\n", cls.c_str());
            return 1;
        }
        PostMessageA(wnd, WM_CLOSE, 0, 0);
        return e2e::WaitUntil([&] { return !IsWindow(wnd); }, timeout) ? 0 : 1;
    }
    return Usage();
}
