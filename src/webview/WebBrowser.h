// TWebBrowser: the web view as a toolkit control, so forms can place and align it.
#pragma once

#include "Controls.h"

#include <string>

class TWebBrowser : public TWinControl {
    TW_DECLARE_CLASS(TWebBrowser, TWinControl)
    explicit TWebBrowser(TComponent* owner);

    // Navigates to a wide URL; the flags, target frame, post data and headers stay empty.
    // Before the window exists the address is kept and opened once it does.
    void Navigate(const std::wstring& url);
    const std::wstring& LocationURL() const { return FUrl; }
    // True while the platform's browser control shows the page (not the page of our own).
    bool HasBrowser();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    std::wstring FUrl;
};
