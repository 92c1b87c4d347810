// Forms, the application object and the screen.
//
// A form class derived from TForm is built from its form description: the RCDATA resource
// named after the class (e.g. "Tmain"), read when the form is constructed through
// TApplication::CreateForm or CreateForm<T>(owner). Its components are created by class
// name, its events bound to its published methods; then OnCreate runs.
#pragma once

#include "Controls.h"
#include "StdCtrls.h"

#include <memory>
#include <vector>

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem>;

extern const TEnumType FormBorderStyleType;
extern const TEnumType BorderIconType;
extern const TEnumType FormStyleType;
extern const TEnumType PositionType;

using TCloseEvent = TClosure<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TClosure<void(TObject* Sender, bool& CanClose)>;

enum TScrollBarKind { sbHorizontal, sbVertical };

class TScrollingWinControl;

// One scroll bar of a scrolling control: the extent of the content along its axis (Range), the
// visible part of it (page) and how far the content is scrolled (Position).
class TControlScrollBar {
public:
    TControlScrollBar(TScrollingWinControl& control, TScrollBarKind kind) : FControl(control), FKind(kind) {}
    TControlScrollBar(const TControlScrollBar&) = delete;
    TControlScrollBar& operator=(const TControlScrollBar&) = delete;

    TScrollBarKind Kind() const { return FKind; }
    // Scrolls the content so that this many pixels of it lie before the visible part.
    int Position() const { return FPosition; }
    void SetPosition(int value);
    // The size of the content: from its origin to the far edge of the farthest control.
    int Range() const { return FRange; }
    // How far one click on an arrow scrolls.
    int Increment() const { return FIncrement; }
    void SetIncrement(int value) { FIncrement = value > 0 ? value : 1; }
    // Whether the bar is shown: only while the content does not fit.
    bool IsScrollBarVisible() const { return FVisible; }

private:
    friend class TScrollingWinControl;
    int MaxPosition() const;
    // Answers a WM_HSCROLL / WM_VSCROLL request of the window's own bar.
    void Scroll(WORD request);
    void Apply(HWND wnd);

    TScrollingWinControl& FControl;
    TScrollBarKind FKind;
    int FPosition = 0;
    int FRange = 0;
    int FPage = 0;
    int FIncrement = 8;
    bool FVisible = false;
};

// A windowed control whose contents may scroll. With AutoScroll, scroll bars appear while the
// unaligned controls reach past the client area, and scrolling moves them; aligned controls
// stay in the visible area. When everything fits there is no scroll bar and no room kept for one.
class TScrollingWinControl : public TWinControl {
    TW_DECLARE_CLASS(TScrollingWinControl, TWinControl)
    explicit TScrollingWinControl(TComponent* owner);
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool value);
    TControlScrollBar* HorzScrollBar() { return &FHorzScrollBar; }
    TControlScrollBar* VertScrollBar() { return &FVertScrollBar; }
    // Moves the unaligned controls by (deltaX, deltaY); the positions are not changed.
    void ScrollBy(int deltaX, int deltaY);
    // Scrolls so that a control inside this one is in view (as far as it fits).
    void ScrollInView(TControl* control);

protected:
    void WndProc(TMessage& message) override;
    void AlignControls(RECT& rect) override;
    void UpdateScrollBars();

private:
    friend class TControlScrollBar;
    bool FAutoScroll = true;
    bool FUpdatingScrollBars = false;
    TControlScrollBar FHorzScrollBar{*this, sbHorizontal};
    TControlScrollBar FVertScrollBar{*this, sbVertical};
};

// A bordered box whose contents scroll.
class TScrollBox : public TScrollingWinControl {
    TW_DECLARE_CLASS(TScrollBox, TScrollingWinControl)
    explicit TScrollBox(TComponent* owner);
    // bsNone or bsSingle (a sunken edge).
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);

protected:
    void CreateParams(TCreateParams& params) override;

private:
    TFormBorderStyle FBorderStyle = bsSingle;
};

// Tag for forms built in code, without a form description.
struct TCreateNew {};

class TCustomForm : public TScrollingWinControl {
    TW_DECLARE_CLASS(TCustomForm, TScrollingWinControl)
    explicit TCustomForm(TComponent* owner);
    TCustomForm(TComponent* owner, TCreateNew);
    ~TCustomForm() override;
    // Reads the form description (forms of derived classes) and runs OnCreate.
    void AfterConstruction() override;
    // Runs OnDestroy and frees the components while the form is still whole.
    void BeforeDestruction() override;

    void WndProc(TMessage& message) override;

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition value) { FPosition = value; }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int value) { FModalResult = value; }
    TFormState FormState() const { return FFormState; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* control);
    // The menu component and the menu handle the window shows (borrowed).
    TComponent* Menu() const { return FMenu; }
    void SetMenu(TComponent* menu);
    HMENU MenuHandle() const { return FMenuHandle; }
    void SetMenuHandle(HMENU menu);

    void SetVisible(bool value) override;
    void Close();
    virtual bool CloseQuery();
    // Shows the form modally: every other window of the thread is disabled until the form
    // has a modal result, which is returned.
    int ShowModal();
    // Frees the form once the messages now queued for it have been handled.
    void Release();
    bool SetFocusedControl(TWinControl* control) override;
    void DefocusControl(TWinControl* control) override;
    void FocusControl(TWinControl* control);

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);

private:
    void ApplyPosition();
    void ShowingChanged();
    void CloseModal();

    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TFormStyle FFormStyle = fsNormal;
    TPosition FPosition = poDesigned;
    int FModalResult = mrNone;
    TFormState FFormState;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    TComponent* FMenu = nullptr;
    HMENU FMenuHandle = nullptr;
    bool FCreateNew = false;
    bool FPositioned = false;
};

class TForm : public TCustomForm {
    TW_DECLARE_CLASS(TForm, TCustomForm)
    using TCustomForm::TCustomForm;
};

// The form a control sits on, or nullptr.
TCustomForm* GetParentForm(TControl* control);

using TExceptionEvent = TClosure<void(TObject* Sender, const Exception& E)>;

class TApplication : public TComponent {
    TW_DECLARE_CLASS(TApplication, TComponent)
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    // Creates the application window.
    void Initialize() { HandleNeeded(); }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& value);
    // The application's own window: hidden, of zero size, of the window class "TApplication",
    // created once (on first use) and captioned with the title.
    HWND Handle();
    bool HandleAllocated() const { return static_cast<bool>(FHandle); }
    void HandleNeeded();
    TCustomForm* MainForm() const { return FMainForm; }

    // Creates a form owned by the application; the first one becomes the main form.
    // reference is set before the form reads its description, as handlers may use it.
    template <class T>
    void CreateForm(T*& reference) {
        HandleNeeded();
        T* form = new T(this);
        reference = form;
        try {
            form->AfterConstruction();
        } catch (...) {
            reference = nullptr;
            TObject::Free(form);
            throw;
        }
        if (!FMainForm) {
            form->HandleNeeded();
            FMainForm = form;
        }
    }

    // Runs the message loop until the main form closes (or Terminate).
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Handles every message waiting now, then returns.
    void ProcessMessages();
    // Handles one message, waiting for one when the queue is empty.
    void HandleMessage();

    // Reports the exception being handled (call inside a catch block): to OnException when
    // assigned, else in an error message box captioned with the title. EAbort is silent.
    void HandleException(TObject* sender);
    void ShowException(const Exception& e);
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);

    TExceptionEvent OnException;

    void Notification(TComponent* component, TOperation operation) override;

private:
    bool ProcessMessage(MSG& msg);
    bool IsKeyMsg(MSG& msg);
    HWND DialogOwner() const;
    void WndProc(TMessage& message);

    std::string FTitle;
    WNDPROC FObjectInstance = nullptr;
    TWindowHandle FHandle;
    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
};

class TScreen : public TComponent {
    TW_DECLARE_CLASS(TScreen, TComponent)
    explicit TScreen(TComponent* owner) : TComponent(owner) {}

    int FormCount() const { return static_cast<int>(FForms.size()); }
    TCustomForm* Forms(int index) const;
    TCustomForm* ActiveForm() const;
    // The system's menu font (owned by the screen).
    HFONT MenuFont();
    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }

    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);

private:
    std::vector<TCustomForm*> FForms;
    TFontHandle FMenuFont;
};

extern TApplication* Application;
extern TScreen* Screen;

// Creates a form of class T owned by owner (reading its description); nullptr on failure
// is never returned, the error is raised.
template <class T>
T* CreateForm(TComponent* owner) {
    std::unique_ptr<T, TObjectDeleter> form(new T(owner));
    form->AfterConstruction();
    return form.release();
}
