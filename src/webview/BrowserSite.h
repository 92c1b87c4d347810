// The container side of an embedded web-browser ActiveX control: client site, in-place site and
// in-place frame, enough for the control to activate in place inside one host window.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

class TBrowserSite {
public:
    // Embeds the platform's web-browser control in host, filling its client area. Returns null
    // and a reason when the control or its HTML engine is not available.
    static std::unique_ptr<TBrowserSite> Create(HWND host, std::wstring* reason);

    TBrowserSite(const TBrowserSite&) = delete;
    TBrowserSite& operator=(const TBrowserSite&) = delete;
    ~TBrowserSite();

    // Starts navigating; flags, target frame, post data and headers are left empty.
    bool Navigate(const std::wstring& url);
    void SetBounds(const RECT& bounds);

    struct Impl;

private:
    explicit TBrowserSite(Impl* impl) : FImpl(impl) {}
    Impl* FImpl; // reference-counted COM object: released, never deleted
};
