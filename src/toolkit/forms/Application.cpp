// The application object (message loop, error reporting) and the screen (form list, fonts).
#include "Forms.h"

#include "ObjectInstance.h"

#include <algorithm>
#include <memory>

namespace {

// The screen outlives the application: freeing the application frees forms, which leave the
// screen's list.
std::unique_ptr<TScreen, TObjectDeleter> ScreenHolder(new TScreen(nullptr));
std::unique_ptr<TApplication, TObjectDeleter> ApplicationHolder(new TApplication(nullptr));

constexpr const char* kApplicationClass = "TApplication";

void RegisterApplicationClass() {
    WNDCLASSA existing{};
    if (GetClassInfoA(ToolkitInstance(), kApplicationClass, &existing))
        return;
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = ToolkitInstance();
    wc.hIcon = LoadIconA(ToolkitInstance(), "MAINICON");
    wc.lpszClassName = kApplicationClass;
    if (!RegisterClassA(&wc))
        throw EOutOfResources(FormatMsg("Cannot register window class %s", {kApplicationClass}));
}

void ReportToApplication(TObject* sender) {
    if (Application)
        Application->HandleException(sender);
}

} // namespace

TScreen* Screen = ScreenHolder.get();
TApplication* Application = ApplicationHolder.get();

// ---- TApplication --------------------------------------------------------------------------

TClass TApplication::StaticClass() {
    static const TClassInfo info = TClassBuilder<TApplication>("TApplication").Build();
    return &info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
    SetControlExceptionHandler(&ReportToApplication);
}

TApplication::~TApplication() {
    if (Application == this)
        Application = nullptr;
    FHandle.Reset();
    if (FObjectInstance)
        FreeObjectInstance(FObjectInstance);
}

void TApplication::HandleNeeded() {
    if (FHandle)
        return;
    RegisterApplicationClass();
    // Centred and without size, as it is never shown; it still has a caption and a system menu
    // so that it reads like a top-level window to whoever enumerates them.
    FHandle.Reset(CreateWindowExA(0, kApplicationClass, FTitle.c_str(),
                                  WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                                  GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                                  nullptr, nullptr, ToolkitInstance(), nullptr));
    if (!FHandle)
        throw EOutOfResources("Error creating window");
    if (!FObjectInstance)
        FObjectInstance = MakeObjectInstance(TWndMethod(this, &TApplication::WndProc));
    SetWindowLongPtrA(FHandle.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FObjectInstance));
}

HWND TApplication::Handle() {
    HandleNeeded();
    return FHandle.Get();
}

void TApplication::SetTitle(const std::string& value) {
    FTitle = value;
    if (FHandle)
        SetWindowTextA(FHandle.Get(), value.c_str());
}

void TApplication::WndProc(TMessage& message) {
    try {
        switch (message.Msg) {
        case WM_CLOSE:
            // Closing the application (from the task list, say) closes the main form.
            if (FMainForm)
                FMainForm->Close();
            return;
        case WM_QUERYENDSESSION:
            message.Result = !FMainForm || FMainForm->CloseQuery();
            return;
        case WM_ENDSESSION:
            if (message.WParam)
                Terminate();
            return;
        default:
            break;
        }
        message.Result = DefWindowProcA(FHandle.Get(), message.Msg, message.WParam, message.LParam);
    } catch (...) {
        HandleException(this);
    }
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FMainForm)
        FMainForm = nullptr;
}

void TApplication::Run() {
    HandleNeeded();
    FTerminated = false;
    if (FMainForm)
        FMainForm->Show();
    while (!FTerminated)
        HandleMessage();
}

void TApplication::Terminate() {
    PostQuitMessage(0);
}

bool TApplication::IsKeyMsg(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST)
        return false;
    // A window inside a control (a combo box's edit) counts as the control, unless it takes
    // every key itself (a list view's caption editor wants Enter and Esc).
    TWinControl* control = FindVCLWindow(msg.hwnd);
    if (!control)
        return false;
    if (control->Handle() != msg.hwnd &&
        (SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)) &
         DLGC_WANTALLKEYS))
        return false;
    return control->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

bool TApplication::ProcessMessage(MSG& msg) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    if (!IsKeyMsg(msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

void TApplication::HandleMessage() {
    MSG msg;
    if (!ProcessMessage(msg))
        WaitMessage();
}

void TApplication::HandleException(TObject* sender) {
    std::exception_ptr current = std::current_exception();
    if (!current)
        return;
    try {
        std::rethrow_exception(current);
    } catch (const EAbort&) {
    } catch (const Exception& e) {
        if (OnException)
            OnException(sender, e);
        else
            ShowException(e);
    } catch (const std::exception& e) {
        const Exception wrapped(e.what());
        if (OnException)
            OnException(sender, wrapped);
        else
            ShowException(wrapped);
    } catch (...) {
        const Exception unknown("Unknown error");
        if (OnException)
            OnException(sender, unknown);
        else
            ShowException(unknown);
    }
}

void TApplication::ShowException(const Exception& e) {
    std::string message = e.Message();
    if (!message.empty() && message.back() != '.' && message.back() != '!' && message.back() != '?')
        message += '.';
    MessageBox(message, FTitle, MB_OK | MB_ICONSTOP);
}

HWND TApplication::DialogOwner() const {
    if (HWND active = GetActiveWindow())
        return active;
    if (FMainForm && FMainForm->HandleAllocated() && IsWindowVisible(FMainForm->Handle()))
        return FMainForm->Handle();
    return nullptr;
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    return ::MessageBoxA(DialogOwner(), text.c_str(), caption.empty() ? FTitle.c_str() : caption.c_str(),
                         flags);
}

// ---- TScreen -------------------------------------------------------------------------------

TClass TScreen::StaticClass() {
    static const TClassInfo info = TClassBuilder<TScreen>("TScreen").Build();
    return &info;
}

TCustomForm* TScreen::Forms(int index) const {
    if (index < 0 || index >= FormCount())
        throw EListError(FormatMsg("List index out of bounds (%s)", {IntToStr(index)}));
    return FForms[static_cast<size_t>(index)];
}

TCustomForm* TScreen::ActiveForm() const {
    HWND active = GetActiveWindow();
    for (TCustomForm* f : FForms)
        if (f->HandleAllocated() && f->Handle() == active)
            return f;
    return nullptr;
}

HFONT TScreen::MenuFont() {
    if (!FMenuFont) {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof metrics;
        if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            FMenuFont.Reset(CreateFontIndirectA(&metrics.lfMenuFont));
    }
    return FMenuFont.Get();
}

void TScreen::AddForm(TCustomForm* form) {
    if (std::find(FForms.begin(), FForms.end(), form) == FForms.end())
        FForms.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
    std::erase(FForms, form);
}
