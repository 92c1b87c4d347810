// twdriver: command-line access to the end-to-end driver for the scripts and for screenshots.
//   twdriver wait-window CLASS [TIMEOUT_MS]   exit 0 once a visible window of CLASS exists, the
//                                             skin has taken it over and it has painted
//   twdriver close-window CLASS [TIMEOUT_MS]  post WM_CLOSE to it, exit 0 once it is gone or
//                                             hidden
//   twdriver click-toolbar CLASS INDEX         click button INDEX of the window's toolbar
//   twdriver press-button CLASS CAPTION        press the button captioned CAPTION in the window
//   twdriver set-text CLASS CONTROL TEXT       set the text of the window's first CONTROL
//                                             (a window class, e.g. TComboBox)
//   twdriver list-rows CLASS [SUBITEMS]        print the rows of the window's list view, one
//                                             a line, cells separated by tabs
//   twdriver select-row CLASS ROW              select row ROW of the window's list view
//   twdriver message-box [TIMEOUT_MS]          wait for a message box, print its caption and
//                                             text, and press its OK button
#include "E2eDriver.h"
#include "RemoteControls.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <commctrl.h>

using namespace std::chrono_literals;

namespace {

int Usage() {
    std::fprintf(stderr, "usage: twdriver wait-window CLASS [TIMEOUT_MS]\n"
                         "       twdriver close-window CLASS [TIMEOUT_MS]\n"
                         "       twdriver click-toolbar CLASS INDEX\n"
                         "       twdriver press-button CLASS CAPTION\n"
                         "       twdriver set-text CLASS CONTROL TEXT\n"
                         "       twdriver list-rows CLASS [SUBITEMS]\n"
                         "       twdriver select-row CLASS ROW\n"
                         "       twdriver message-box [TIMEOUT_MS]\n");
    return 2;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "twdriver: %s\n", message.c_str());
    return 1;
}

std::chrono::milliseconds TimeoutArgument(int argc, char** argv, int index) {
    return std::chrono::milliseconds(argc > index ? std::atol(argv[index]) : 60000);
}

int MessageBoxCommand(std::chrono::milliseconds timeout) {
    HWND box = nullptr;
    if (!e2e::WaitUntil([&] { return (box = e2e::FindTopWindow("#32770", "", 0)) != nullptr; }, timeout))
        return Fail("no message box appeared");
    std::printf("%s\n%s\n", e2e::WindowCaption(box).c_str(), e2e::MessageBoxText(box).c_str());
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return e2e::WaitUntil([&] { return !IsWindow(box); }, timeout) ? 0 : Fail("the message box stayed open");
}

int ListViewCommand(const std::string& command, HWND wnd, int argc, char** argv) {
    HWND list = e2e::FindDescendant(wnd, "TListView");
    if (!list)
        list = e2e::FindDescendant(wnd, WC_LISTVIEWA);
    if (!list)
        return Fail("the window has no list view");
    if (command == "select-row") {
        if (argc < 4)
            return Usage();
        return e2e::ListViewSelect(list, std::atoi(argv[3])) ? 0 : Fail("the row could not be selected");
    }
    const int subItems = argc > 3 ? std::atoi(argv[3]) : 2;
    for (const auto& row : e2e::ListViewRows(list, subItems)) {
        std::string line;
        for (const std::string& cell : row)
            line += (line.empty() ? "" : "\t") + cell;
        std::printf("%s\n", line.c_str());
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    if (command == "message-box")
        return MessageBoxCommand(TimeoutArgument(argc, argv, 2));
    if (argc < 3)
        return Usage();
    const std::string cls = argv[2];
    const bool waits = command == "wait-window" || command == "close-window";
    const auto timeout = waits ? TimeoutArgument(argc, argv, 3) : 60000ms;
    HWND wnd = nullptr;
    const bool found =
        e2e::WaitUntil([&] { return (wnd = e2e::FindTopWindow(cls, "", 0)) != nullptr; }, timeout);
    if (!found)
        return Fail("no window of class " + cls + " appeared");
    if (command == "wait-window") {
        e2e::SettleSkinned(wnd);
        return 0;
    }
    if (command == "close-window") {
        PostMessageA(wnd, WM_CLOSE, 0, 0);
        // The program's dialogs are hidden when closed, not destroyed.
        return e2e::WaitUntil([&] { return !IsWindow(wnd) || !IsWindowVisible(wnd); }, timeout)
                   ? 0
                   : Fail("the window stayed open");
    }
    if (command == "click-toolbar") {
        HWND toolbar = e2e::FindDescendant(wnd, "TToolBar");
        const auto buttons = toolbar ? e2e::ToolbarButtons(toolbar) : std::vector<e2e::ToolbarButton>{};
        const std::size_t index = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : 0;
        if (index >= buttons.size())
            return Fail("no toolbar button " + std::to_string(index) + " in a window of class " + cls);
        const RECT& r = buttons[index].bounds;
        e2e::ClickClient(toolbar, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        return 0;
    }
    if (command == "press-button") {
        if (argc < 4)
            return Usage();
        return e2e::PressButton(e2e::FindDescendantByText(wnd, argv[3]))
                   ? 0
                   : Fail(std::string("no button ") + argv[3]);
    }
    if (command == "set-text") {
        if (argc < 5)
            return Usage();
        return e2e::SetControlText(e2e::FindDescendant(wnd, argv[3]), argv[4])
                   ? 0
                   : Fail("the text could not be set");
    }
    if (command == "list-rows" || command == "select-row")
        return ListViewCommand(command, wnd, argc, argv);
    return Usage();
}
