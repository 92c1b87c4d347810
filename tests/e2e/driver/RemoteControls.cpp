#include "RemoteControls.h"

#include <commctrl.h>

namespace e2e {

RemoteBuffer::RemoteBuffer(HWND owner, std::size_t size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(owner, &pid);
    FProcess = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (FProcess)
        FAddress = VirtualAllocEx(FProcess, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBuffer::~RemoteBuffer() {
    if (FAddress)
        VirtualFreeEx(FProcess, FAddress, 0, MEM_RELEASE);
    if (FProcess)
        CloseHandle(FProcess);
}

bool RemoteBuffer::Write(const void* data, std::size_t size, std::size_t offset) {
    SIZE_T done = 0;
    return WriteProcessMemory(FProcess, static_cast<char*>(FAddress) + offset, data, size, &done) &&
           done == size;
}

bool RemoteBuffer::Read(void* data, std::size_t size, std::size_t offset) const {
    SIZE_T done = 0;
    return ReadProcessMemory(FProcess, static_cast<char*>(FAddress) + offset, data, size, &done) &&
           done == size;
}

std::string ClassNameOf(HWND wnd) {
    char name[256] = {};
    GetClassNameA(wnd, name, sizeof name);
    return name;
}

std::vector<HWND> ChildrenOfClass(HWND parent, const std::string& className) {
    std::vector<HWND> found;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassNameOf(child) == className)
            found.push_back(child);
    return found;
}

HWND FindDescendant(HWND parent, const std::string& className) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassNameOf(child) == className)
            return child;
        if (HWND deeper = FindDescendant(child, className))
            return deeper;
    }
    return nullptr;
}

std::string StatusBarText(HWND statusBar, int panel) {
    // The length messages count characters on some systems and bytes on others: size the
    // buffer for the worst case of two bytes a character and cut at the terminator.
    const std::size_t length = LOWORD(SendMessageA(statusBar, SB_GETTEXTLENGTHA, panel, 0));
    const std::size_t size = 2 * length + 2;
    RemoteBuffer buffer(statusBar, size);
    if (!buffer.Valid())
        return {};
    std::string text(size, '\0');
    buffer.Write(text.data(), size);
    SendMessageA(statusBar, SB_GETTEXTA, panel, reinterpret_cast<LPARAM>(buffer.Address()));
    buffer.Read(text.data(), size);
    text.resize(text.find('\0'));
    return text;
}

std::vector<ToolbarButton> ToolbarButtons(HWND toolbar) {
    std::vector<ToolbarButton> buttons;
    const int count = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    constexpr std::size_t kTextSize = 256;
    RemoteBuffer buffer(toolbar, sizeof(TBBUTTON) + sizeof(RECT) + kTextSize);
    if (!buffer.Valid())
        return buttons;
    char* remote = static_cast<char*>(buffer.Address());
    for (int i = 0; i < count; ++i) {
        ToolbarButton button;
        TBBUTTON raw{};
        if (SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(remote)))
            buffer.Read(&raw, sizeof raw);
        button.command = raw.idCommand;
        button.separator = (raw.fsStyle & BTNS_SEP) != 0;
        button.image = raw.iBitmap;
        if (SendMessageA(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(remote + sizeof(TBBUTTON))))
            buffer.Read(&button.bounds, sizeof(RECT), sizeof(TBBUTTON));
        if (!button.separator) {
            const LRESULT length =
                SendMessageA(toolbar, TB_GETBUTTONTEXTA, raw.idCommand,
                             reinterpret_cast<LPARAM>(remote + sizeof(TBBUTTON) + sizeof(RECT)));
            if (length > 0 && static_cast<std::size_t>(length) < kTextSize) {
                button.text.resize(static_cast<std::size_t>(length));
                buffer.Read(button.text.data(), button.text.size(), sizeof(TBBUTTON) + sizeof(RECT));
            }
        }
        buttons.push_back(button);
    }
    return buttons;
}

std::vector<std::vector<std::string>> ListViewRows(HWND listView, int subItems) {
    std::vector<std::vector<std::string>> rows;
    const int count = static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
    constexpr int kTextSize = 1024;
    RemoteBuffer buffer(listView, sizeof(LVITEMA) + kTextSize);
    if (!buffer.Valid())
        return rows;
    char* remote = static_cast<char*>(buffer.Address());
    for (int row = 0; row < count; ++row) {
        std::vector<std::string> cells;
        for (int column = 0; column <= subItems; ++column) {
            LVITEMA item{};
            item.iSubItem = column;
            item.pszText = remote + sizeof(LVITEMA);
            item.cchTextMax = kTextSize;
            buffer.Write(&item, sizeof item);
            const LRESULT length =
                SendMessageA(listView, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(remote));
            std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
            buffer.Read(text.data(), text.size(), sizeof(LVITEMA));
            cells.push_back(text);
        }
        rows.push_back(cells);
    }
    return rows;
}

namespace {

bool SetItemState(HWND listView, int row, UINT state) {
    RemoteBuffer buffer(listView, sizeof(LVITEMA));
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = state;
    return buffer.Valid() && buffer.Write(&item, sizeof item) &&
           SendMessageA(listView, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(buffer.Address()));
}

} // namespace

bool ListViewSelect(HWND listView, int row) {
    return SetItemState(listView, row, LVIS_SELECTED | LVIS_FOCUSED);
}

bool ListViewClearSelection(HWND listView) {
    return SetItemState(listView, -1, 0);
}

int ListViewSelectedCount(HWND listView) {
    return static_cast<int>(SendMessageA(listView, LVM_GETSELECTEDCOUNT, 0, 0));
}

int ListViewItemImage(HWND listView, int row) {
    RemoteBuffer buffer(listView, sizeof(LVITEMA));
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = -1;
    if (!buffer.Valid() || !buffer.Write(&item, sizeof item) ||
        !SendMessageA(listView, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(buffer.Address())) ||
        !buffer.Read(&item, sizeof item))
        return -1;
    return item.iImage;
}

std::vector<std::string> ListViewHeaderCaptions(HWND listView) {
    std::vector<std::string> captions;
    HWND header = reinterpret_cast<HWND>(SendMessageA(listView, LVM_GETHEADER, 0, 0));
    if (!header)
        return captions;
    const int count = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    constexpr int kTextSize = 256;
    RemoteBuffer buffer(header, sizeof(HDITEMA) + kTextSize);
    if (!buffer.Valid())
        return captions;
    char* remote = static_cast<char*>(buffer.Address());
    for (int i = 0; i < count; ++i) {
        HDITEMA item{};
        item.mask = HDI_TEXT;
        item.pszText = remote + sizeof(HDITEMA);
        item.cchTextMax = kTextSize;
        std::string text(kTextSize, '\0');
        buffer.Write(text.data(), text.size(), sizeof(HDITEMA));
        buffer.Write(&item, sizeof item);
        SendMessageA(header, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(remote));
        buffer.Read(text.data(), text.size(), sizeof(HDITEMA));
        text.resize(text.find('\0'));
        captions.push_back(text);
    }
    return captions;
}

bool ListViewHeaderShown(HWND listView) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(listView, LVM_GETHEADER, 0, 0));
    RECT r{};
    return header && IsWindowVisible(header) && GetWindowRect(header, &r) && r.bottom > r.top;
}

void ClickClient(HWND wnd, POINT at) {
    POINT screen = at;
    ClientToScreen(wnd, &screen);
    SetCursorPos(screen.x, screen.y);
    const LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageA(wnd, WM_MOUSEMOVE, 0, where);
    PostMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageA(wnd, WM_LBUTTONUP, 0, where);
}

namespace {

struct TextQuery {
    const std::string* text;
    HWND found;
};

BOOL CALLBACK MatchText(HWND wnd, LPARAM param) {
    auto& q = *reinterpret_cast<TextQuery*>(param);
    char text[512] = {};
    GetWindowTextA(wnd, text, sizeof text);
    if (*q.text != text)
        return TRUE;
    q.found = wnd;
    return FALSE;
}

} // namespace

HWND FindDescendantByText(HWND parent, const std::string& text) {
    TextQuery q{&text, nullptr};
    EnumChildWindows(parent, MatchText, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

bool PressButton(HWND button) {
    return button && PostMessageA(button, BM_CLICK, 0, 0);
}

bool PressButtonAndWait(HWND button, std::chrono::milliseconds timeout) {
    DWORD_PTR result = 0;
    return button && SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG,
                                         static_cast<UINT>(timeout.count()), &result);
}

bool SetControlText(HWND control, const std::string& text) {
    DWORD_PTR result = 0;
    // WM_SETTEXT's string is carried to the other process by the system.
    return control &&
           SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                               SMTO_ABORTIFHUNG, 10000, &result) &&
           result == TRUE;
}

std::string MessageBoxText(HWND box) {
    std::string text;
    for (HWND child : ChildrenOfClass(box, "Static")) {
        if (GetWindowLongPtrA(child, GWL_STYLE) & SS_ICON)
            continue;
        char buffer[1024] = {};
        GetWindowTextA(child, buffer, sizeof buffer);
        if (buffer[0])
            text = buffer;
    }
    return text;
}

namespace {

struct ProcessWindowQuery {
    DWORD pid;
    const std::string* className;
    HWND except;
    HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND wnd, LPARAM param) {
    auto& q = *reinterpret_cast<ProcessWindowQuery*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(wnd, &owner);
    if (owner != q.pid || wnd == q.except || !IsWindowVisible(wnd) || !IsWindowEnabled(wnd))
        return TRUE;
    if (ClassNameOf(wnd) != *q.className)
        return TRUE;
    q.found = wnd;
    return FALSE;
}

} // namespace

HWND FindProcessWindow(DWORD pid, const std::string& className, HWND except) {
    ProcessWindowQuery q{pid, &className, except, nullptr};
    EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

} // namespace e2e
