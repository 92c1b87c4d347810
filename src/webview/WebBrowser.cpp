#include "WebBrowser.h"

#include "WebView.h"

TClass TWebBrowser::StaticClass() {
    static const TClassInfo info = TClassBuilder<TWebBrowser>("TWebBrowser").Build();
    return &info;
}

TWebBrowser::TWebBrowser(TComponent* owner) : TWinControl(owner) {
    FWidth = 300;
    FHeight = 150;
    SetTabStop(true);
}

void TWebBrowser::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    RegisterWebViewClass();
    CreateSubClass(params, kWebViewClass);
}

void TWebBrowser::CreateWnd() {
    TWinControl::CreateWnd();
    if (!FUrl.empty())
        WebViewNavigate(Handle(), FUrl);
}

void TWebBrowser::Navigate(const std::wstring& url) {
    FUrl = url;
    if (HandleAllocated())
        WebViewNavigate(Handle(), FUrl);
}

bool TWebBrowser::HasBrowser() {
    return HandleAllocated() && WebViewHasBrowser(Handle());
}

namespace {
const bool kRegistered = [] {
    RegisterClasses({TWebBrowser::StaticClass()});
    return true;
}();
} // namespace
