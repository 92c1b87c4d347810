// The application object (message loop, error reporting) and the screen (form list, fonts).
#include "Forms.h"

#include <algorithm>
#include <memory>

namespace {

// The screen outlives the application: freeing the application frees forms, which leave the
// screen's list.
std::unique_ptr<TScreen, TObjectDeleter> ScreenHolder(new TScreen(nullptr));
std::unique_ptr<TApplication, TObjectDeleter> ApplicationHolder(new TApplication(nullptr));

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
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FMainForm)
        FMainForm = nullptr;
}

void TApplication::Run() {
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
    TWinControl* control = FindControl(msg.hwnd);
    return control && control->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
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
