// Reading and driving common controls that live in another process. Their messages carry
// pointers that are not carried across processes, so the structures go through memory the
// driver allocates inside the program under test.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

namespace e2e {

// Memory inside another process, freed with the object.
class RemoteBuffer {
public:
    RemoteBuffer(HWND owner, std::size_t size);
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    ~RemoteBuffer();

    bool Valid() const { return FAddress != nullptr; }
    void* Address() const { return FAddress; }
    bool Write(const void* data, std::size_t size, std::size_t offset = 0);
    bool Read(void* data, std::size_t size, std::size_t offset = 0) const;

private:
    HANDLE FProcess = nullptr;
    void* FAddress = nullptr;
};

std::string ClassNameOf(HWND wnd);
// Direct children of parent with the given class, in z-order.
std::vector<HWND> ChildrenOfClass(HWND parent, const std::string& className);
// The first descendant of the given class, or null.
HWND FindDescendant(HWND parent, const std::string& className);

std::string StatusBarText(HWND statusBar, int panel);

struct ToolbarButton {
    int command = 0;
    bool separator = false;
    int image = -1;
    RECT bounds{}; // in the toolbar's client coordinates
    std::string text;
};
std::vector<ToolbarButton> ToolbarButtons(HWND toolbar);

// Rows of a report-view list view: caption and the sub-items of the given count.
std::vector<std::vector<std::string>> ListViewRows(HWND listView, int subItems);
// Selects and focuses row (every row when row is -1); ListViewClearSelection unselects all.
bool ListViewSelect(HWND listView, int row);
bool ListViewClearSelection(HWND listView);
int ListViewSelectedCount(HWND listView);
// The row's image index, -1 when it cannot be read.
int ListViewItemImage(HWND listView, int row);

// The column captions of a list view's header control, and whether that header is shown
// (visible, with a height).
std::vector<std::string> ListViewHeaderCaptions(HWND listView);
bool ListViewHeaderShown(HWND listView);

// A click where a user would click: the pointer moved there and both button messages posted.
void ClickClient(HWND wnd, POINT at);

// The first descendant of parent whose window text is text, or null.
HWND FindDescendantByText(HWND parent, const std::string& text);
// Presses a button as the keyboard does (BM_CLICK), queued: returns at once, so the click may
// open a modal window.
bool PressButton(HWND button);
// The same, but returns only once the program has handled the press; false when it did not
// within the timeout (for example because the press opened a modal window).
bool PressButtonAndWait(HWND button, std::chrono::milliseconds timeout);
// Replaces the text of an edit or an editable combo box, as typing it would.
bool SetControlText(HWND control, const std::string& text);

// Text of a message box (#32770) window: the text of its static control that is not the icon.
std::string MessageBoxText(HWND box);
// The enabled, visible top-level window of class className owned by process pid that is not
// `except`, or null.
HWND FindProcessWindow(DWORD pid, const std::string& className, HWND except = nullptr);

} // namespace e2e
