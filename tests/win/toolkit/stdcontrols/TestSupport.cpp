#include "TestSupport.h"

namespace {

std::vector<WPARAM> PendingKeys;
bool MenuSeen = false;

void CALLBACK SendMenuKeys(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND menu = FindWindowA("#32768", nullptr);
    if (!menu || !IsWindowVisible(menu))
        return; // not open yet: try again at the next tick
    MenuSeen = true;
    KillTimer(nullptr, timer);
    for (WPARAM key : PendingKeys) {
        PostMessageA(menu, WM_KEYDOWN, key, 1);
        PostMessageA(menu, WM_KEYUP, key, 0xC0000001);
    }
    PendingKeys.clear();
}

} // namespace

void Pump() {
    Application->ProcessMessages();
}

void ClickAt(HWND wnd, int x, int y) {
    PostMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    PostMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    Pump();
}

void PressKey(HWND wnd, WPARAM key) {
    PostMessageA(wnd, WM_KEYDOWN, key, 1);
    PostMessageA(wnd, WM_KEYUP, key, 0xC0000001);
    Pump();
}

COLORREF PixelAt(HWND wnd, int x, int y) {
    HDC dc = GetDC(wnd);
    const COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(wnd, dc);
    return color;
}

std::string WindowClassOf(HWND wnd) {
    char name[128] = {};
    GetClassNameA(wnd, name, sizeof name);
    return name;
}

std::string WindowTextOf(HWND wnd) {
    char text[256] = {};
    GetWindowTextA(wnd, text, sizeof text);
    return text;
}

MenuKeyDriver::MenuKeyDriver(std::vector<WPARAM> keys, UINT delay) {
    PendingKeys = std::move(keys);
    MenuSeen = false;
    FTimer = SetTimer(nullptr, 0, delay, &SendMenuKeys);
}

MenuKeyDriver::~MenuKeyDriver() {
    KillTimer(nullptr, FTimer);
    PendingKeys.clear();
}

bool MenuKeyDriver::SawMenu() const {
    return MenuSeen;
}

void AllControlsTest::SetUp() {
    form.reset(CreateAllControlsForm());
    form->Show();
    form->Update();
    Pump();
}

void AllControlsTest::TearDown() {
    form.reset();
    Pump();
}
