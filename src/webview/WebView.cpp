#include "WebView.h"

#include "BrowserSite.h"
#include "FallbackPage.h"
#include "WinHandle.h"

#include <memory>

namespace {

struct WebViewState {
    std::unique_ptr<TBrowserSite> site;
    bool triedSite = false;
    std::wstring reason; // why the browser control is not there
    std::wstring url;
};

WebViewState* State(HWND wnd) {
    return reinterpret_cast<WebViewState*>(GetWindowLongPtrA(wnd, 0));
}

// The control is embedded on first navigation, when the window has its final parent and size.
void EnsureSite(HWND wnd, WebViewState& st) {
    if (st.triedSite)
        return;
    st.triedSite = true;
    st.site = TBrowserSite::Create(wnd, &st.reason);
}

LRESULT Navigate(HWND wnd, WebViewState& st, const wchar_t* url) {
    st.url = url ? url : L"";
    EnsureSite(wnd, st);
    const bool taken = st.site && st.site->Navigate(st.url);
    if (!taken && st.site) {
        st.site.reset();
        st.reason = L"navigation failed";
    }
    InvalidateRect(wnd, nullptr, TRUE);
    return taken ? TRUE : FALSE;
}

void PaintTo(HWND wnd, HDC dc, const WebViewState& st) {
    if (st.site)
        return;
    RECT client;
    GetClientRect(wnd, &client);
    PaintFallbackPage(dc, client, st.url);
}

LRESULT CALLBACK WebViewProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WebViewState* st = State(wnd);
    if (!st && msg != WM_NCCREATE)
        return DefWindowProcA(wnd, msg, wParam, lParam);
    switch (msg) {
    case WM_NCCREATE: {
        // The window owns its state from WM_NCCREATE to WM_NCDESTROY.
        auto owned = std::make_unique<WebViewState>();
        SetWindowLongPtrA(wnd, 0, reinterpret_cast<LONG_PTR>(owned.release()));
        return DefWindowProcA(wnd, msg, wParam, lParam);
    }
    case WM_NCDESTROY: {
        std::unique_ptr<WebViewState> owned(st);
        SetWindowLongPtrA(wnd, 0, 0);
        return DefWindowProcA(wnd, msg, wParam, lParam);
    }
    case WM_DESTROY:
        // The control's windows are children of this one: close it while they still exist.
        st->site.reset();
        return 0;
    case WM_SIZE:
        if (st->site) {
            RECT bounds{0, 0, LOWORD(lParam), HIWORD(lParam)};
            st->site->SetBounds(bounds);
        } else {
            InvalidateRect(wnd, nullptr, TRUE);
        }
        return 0;
    case WM_ERASEBKGND:
        return 1; // the fallback page paints every pixel; the control paints its own
    case WM_PAINT: {
        TPaintScope paint(wnd);
        PaintTo(wnd, paint.Get(), *st);
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintTo(wnd, reinterpret_cast<HDC>(wParam), *st);
        return 0;
    case WVM_NAVIGATE:
        return Navigate(wnd, *st, reinterpret_cast<const wchar_t*>(lParam));
    case WVM_HASBROWSER:
        return st->site ? TRUE : FALSE;
    default:
        return DefWindowProcA(wnd, msg, wParam, lParam);
    }
}

} // namespace

bool RegisterWebViewClass() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (GetClassInfoExA(instance, kWebViewClass, &wc))
        return true;
    // Global, so that toolkit controls can superclass it by name.
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
    wc.lpfnWndProc = WebViewProc;
    wc.cbWndExtra = sizeof(WebViewState*);
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kWebViewClass;
    return RegisterClassExA(&wc) != 0;
}

bool WebViewNavigate(HWND view, const std::wstring& url) {
    return SendMessageA(view, WVM_NAVIGATE, 0, reinterpret_cast<LPARAM>(url.c_str())) != 0;
}

bool WebViewHasBrowser(HWND view) {
    return SendMessageA(view, WVM_HASBROWSER, 0, 0) != 0;
}
