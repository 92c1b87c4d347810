// A window with a status bar, a toolbar and a list view whose contents the driver's own test
// knows, so that the cross-process reading is proven before tests of the program rely on it.
#include <windows.h>

#include <commctrl.h>

namespace {

LRESULT CALLBACK FixtureProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

void AddToolbar(HWND parent) {
    HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT, 0, 0, 0, 0,
                               parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    static char first[] = "第一";
    static char second[] = "Second";
    TBBUTTON buttons[3] = {};
    buttons[0] = {0, 101, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, reinterpret_cast<INT_PTR>(first)};
    buttons[1] = {8, 0, 0, BTNS_SEP, {}, 0, 0};
    buttons[2] = {1, 102, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, reinterpret_cast<INT_PTR>(second)};
    SendMessageA(bar, TB_ADDBUTTONSA, 3, reinterpret_cast<LPARAM>(buttons));
    SendMessageA(bar, TB_AUTOSIZE, 0, 0);
}

void AddListView(HWND parent) {
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 60, 300, 100,
                                parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    SendMessageA(list, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    const char* rows[2][2] = {{"alpha", "C:\\a.exe"}, {"beta", "是"}};
    for (int r = 0; r < 2; ++r) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = r;
        item.pszText = const_cast<char*>(rows[r][0]);
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<char*>(rows[r][1]);
        SendMessageA(list, LVM_SETITEMTEXTA, r, reinterpret_cast<LPARAM>(&item));
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSA wc{};
    wc.lpfnWndProc = FixtureProc;
    wc.hInstance = instance;
    wc.lpszClassName = "TwDriverFixture";
    RegisterClassA(&wc);
    HWND wnd = CreateWindowExA(0, "TwDriverFixture", "fixture", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400,
                               300, nullptr, nullptr, instance, nullptr);
    HWND status = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, wnd, nullptr,
                                  instance, nullptr);
    int widths[2] = {150, -1};
    SendMessageA(status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(widths));
    SendMessageA(status, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(" 计算机名称:X"));
    AddToolbar(wnd);
    AddListView(wnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
