// "TwWebView": a child window that shows a web page through the platform's web-browser control.
// Where the control or its HTML engine is missing, the window draws a plain page of its own
// naming the address it was asked to show, so the area is never blank.
#pragma once

#include <windows.h>

#include <string>

inline constexpr char kWebViewClass[] = "TwWebView";

// Navigates to the wide URL in lParam (const wchar_t*). Returns TRUE when the browser control
// took the request, FALSE when the fallback page shows the address instead.
inline constexpr UINT WVM_NAVIGATE = WM_USER + 0x100;
// Returns TRUE while the browser control is embedded.
inline constexpr UINT WVM_HASBROWSER = WM_USER + 0x101;

// Registers the window class once per process; safe to call again.
bool RegisterWebViewClass();

// Convenience wrappers over the messages.
bool WebViewNavigate(HWND view, const std::wstring& url);
bool WebViewHasBrowser(HWND view);
