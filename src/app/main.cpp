// Program entry: one main window; the message loop runs until it is closed.
#include <windows.h>

#include "MainText.h"
#include "Vendor.h"
#include "WebView.h"

namespace {

const char kMainClass[] = "Tmain";

LRESULT CALLBACK MainWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE: {
        HWND view = CreateWindowExA(0, kWebViewClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, wnd, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        if (!view)
            return -1;
        WebViewNavigate(view, kStartPageUrl);
        return 0;
    }
    case WM_SIZE:
        if (HWND view = FindWindowExA(wnd, nullptr, kWebViewClass, nullptr))
            MoveWindow(view, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(wnd, msg, wParam, lParam);
    }
}

bool RegisterMainClass(HINSTANCE instance) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kMainClass;
    return RegisterClassExA(&wc) != 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCmd) {
    if (!RegisterMainClass(instance) || !RegisterWebViewClass())
        return 1;
    HWND wnd = CreateWindowExA(0, kMainClass, kMainCaption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                               780, 537, nullptr, nullptr, instance, nullptr);
    if (!wnd)
        return 1;
    ShowWindow(wnd, showCmd);
    UpdateWindow(wnd);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
