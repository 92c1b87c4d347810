#include "BrowserSite.h"

#include <exdisp.h>
#include <ole2.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace {

// The HTML engine's document class: without it the browser control has nothing to render with
// (Wine without its Gecko package), so the caller shows its own page instead.
const CLSID kHtmlDocumentClsid = {
    0x25336920, 0x03F9, 0x11CF, {0x8F, 0xD0, 0x00, 0xAA, 0x00, 0x68, 0x6F, 0x13}};

bool HtmlEngineAvailable() {
    ComPtr<IUnknown> doc;
    return SUCCEEDED(CoCreateInstance(kHtmlDocumentClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                      reinterpret_cast<void**>(doc.GetAddressOf())));
}

// Holds OLE initialised on this thread for as long as a site lives.
class OleScope {
public:
    OleScope() : FOk(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleScope() {
        if (FOk)
            OleUninitialize();
    }
    OleScope(const OleScope&) = delete;
    OleScope& operator=(const OleScope&) = delete;
    bool Ok() const { return FOk; }

private:
    bool FOk;
};

} // namespace

struct TBrowserSite::Impl final : IOleClientSite, IOleInPlaceSite, IOleInPlaceFrame {
    explicit Impl(HWND host) : FHost(host) {}

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (!out)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IOleClientSite)
            *out = static_cast<IOleClientSite*>(this);
        else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
            *out = static_cast<IOleInPlaceSite*>(this);
        else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame)
            *out = static_cast<IOleInPlaceFrame*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++FRefs; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG refs = --FRefs;
        if (refs == 0)
            delete this;
        return refs;
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow (shared by the in-place site and frame)
    STDMETHODIMP GetWindow(HWND* wnd) override {
        *wnd = FHost;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                  LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *doc = nullptr;
        GetClientRect(FHost, pos);
        GetClientRect(FHost, clip);
        info->fMDIApp = FALSE;
        info->hwndFrame = GetAncestor(FHost, GA_ROOT);
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT pos) override {
        if (FInPlace)
            FInPlace->SetObjectRects(pos, pos);
        return S_OK;
    }

    // IOleInPlaceUIWindow / IOleInPlaceFrame: no menus, tools or accelerators of the container.
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return OLE_E_INVALIDRECT; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

    bool Embed(std::wstring* reason) {
        if (!FOle.Ok())
            return Fail(reason, L"OLE could not be initialised");
        if (!HtmlEngineAvailable())
            return Fail(reason, L"no HTML engine is installed");
        if (FAILED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                    reinterpret_cast<void**>(FObject.GetAddressOf()))))
            return Fail(reason, L"the web-browser control is not registered");
        if (FAILED(FObject->SetClientSite(static_cast<IOleClientSite*>(this))))
            return Fail(reason, L"the web-browser control refused its site");
        OleSetContainedObject(FObject.Get(), TRUE);
        RECT bounds;
        GetClientRect(FHost, &bounds);
        if (FAILED(FObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(this), 0,
                                   FHost, &bounds)))
            return Fail(reason, L"the web-browser control could not be activated");
        FObject.As(&FInPlace);
        if (FAILED(FObject.As(&FBrowser)))
            return Fail(reason, L"the web-browser control has no browser interface");
        return true;
    }

    void Close() {
        if (FBrowser)
            FBrowser->Stop();
        if (FInPlace)
            FInPlace->InPlaceDeactivate();
        if (FObject) {
            FObject->Close(OLECLOSE_NOSAVE);
            FObject->SetClientSite(nullptr);
        }
        FBrowser.Reset();
        FInPlace.Reset();
        FObject.Reset();
    }

    static bool Fail(std::wstring* reason, const wchar_t* text) {
        if (reason)
            *reason = text;
        return false;
    }

    ULONG FRefs = 1;
    HWND FHost;
    OleScope FOle;
    ComPtr<IOleObject> FObject;
    ComPtr<IOleInPlaceObject> FInPlace;
    ComPtr<IWebBrowser2> FBrowser;
};

std::unique_ptr<TBrowserSite> TBrowserSite::Create(HWND host, std::wstring* reason) {
    auto* impl = new Impl(host); // COM reference counted: the last Release frees it
    if (!impl->Embed(reason)) {
        impl->Close();
        impl->Release();
        return nullptr;
    }
    return std::unique_ptr<TBrowserSite>(new TBrowserSite(impl));
}

TBrowserSite::~TBrowserSite() {
    FImpl->Close();
    FImpl->Release();
}

bool TBrowserSite::Navigate(const std::wstring& url) {
    BSTR target = SysAllocStringLen(url.data(), static_cast<UINT>(url.size()));
    VARIANT empty;
    VariantInit(&empty);
    const HRESULT hr = FImpl->FBrowser->Navigate(target, &empty, &empty, &empty, &empty);
    SysFreeString(target);
    return SUCCEEDED(hr);
}

void TBrowserSite::SetBounds(const RECT& bounds) {
    if (FImpl->FInPlace)
        FImpl->FInPlace->SetObjectRects(&bounds, &bounds);
}
