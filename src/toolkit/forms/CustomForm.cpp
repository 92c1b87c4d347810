// TCustomForm: top-level windows built from form descriptions, shown plainly or modally.
#include "Forms.h"

#include <algorithm>

const TEnumType FormBorderStyleType{
    "TFormBorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
const TEnumType BorderIconType{"TBorderIcon", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}};
const TEnumType FormStyleType{"TFormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"}};
const TEnumType PositionType{"TPosition",
                             {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                              "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"}};

namespace {

// Disables every other enabled, visible top-level window of the thread for one scope.
class TaskWindowsDisabled {
public:
    explicit TaskWindowsDisabled(HWND keep) : FKeep(keep) {
        EnumThreadWindows(GetCurrentThreadId(), &Disable, reinterpret_cast<LPARAM>(this));
    }
    TaskWindowsDisabled(const TaskWindowsDisabled&) = delete;
    TaskWindowsDisabled& operator=(const TaskWindowsDisabled&) = delete;
    ~TaskWindowsDisabled() { Restore(); }
    void Restore() {
        for (HWND wnd : FDisabled)
            if (IsWindow(wnd))
                EnableWindow(wnd, TRUE);
        FDisabled.clear();
    }

private:
    static BOOL CALLBACK Disable(HWND wnd, LPARAM data) {
        auto* self = reinterpret_cast<TaskWindowsDisabled*>(data);
        if (wnd != self->FKeep && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
            EnableWindow(wnd, FALSE);
            self->FDisabled.push_back(wnd);
        }
        return TRUE;
    }
    HWND FKeep;
    std::vector<HWND> FDisabled;
};

// Where an arrow key moves the focus: to the next (or previous) control beside the focused one
// in tab order, wrapping around, as in a dialog without groups. Containers are passed over:
// their controls are reached with Tab.
TWinControl* ArrowTarget(TWinControl* current, bool forward) {
    TWinControl* parent = current->Parent();
    if (!parent)
        return nullptr;
    std::vector<TWinControl*> order;
    parent->GetTabOrderList(order);
    std::vector<TWinControl*> siblings;
    for (TWinControl* c : order)
        if (c->Parent() == parent &&
            (c == current || (c->CanFocus() && !c->ControlStyle().Contains(csAcceptsControls))))
            siblings.push_back(c);
    const auto it = std::find(siblings.begin(), siblings.end(), current);
    if (it == siblings.end() || siblings.size() < 2)
        return nullptr;
    const auto n = static_cast<long>(siblings.size());
    const long next = ((it - siblings.begin()) + (forward ? 1 : n - 1)) % n;
    return siblings[static_cast<size_t>(next)];
}

bool IsArrowKey(WPARAM key) {
    return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

} // namespace

// ---- TCustomForm ---------------------------------------------------------------------------

TClass TCustomForm::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TCustomForm>("TCustomForm")
            .Int("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth)
            .Int("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight)
            .Enum("BorderStyle", FormBorderStyleType, &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle)
            .Set("BorderIcons", BorderIconType, &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
            .Enum("FormStyle", FormStyleType, &TCustomForm::FormStyle, &TCustomForm::SetFormStyle)
            .Enum("Position", PositionType, &TCustomForm::Position, &TCustomForm::SetPosition)
            .Int("ModalResult", &TCustomForm::ModalResult, &TCustomForm::SetModalResult, &ModalResultIdents)
            .Obj<TWinControl>("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl)
            .Obj<TComponent>("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu)
            .Event<TNotifyEvent>("OnCreate", &TCustomForm::OnCreate)
            .Event<TNotifyEvent>("OnDestroy", &TCustomForm::OnDestroy)
            .Event<TNotifyEvent>("OnShow", &TCustomForm::OnShow)
            .Event<TNotifyEvent>("OnHide", &TCustomForm::OnHide)
            .Event<TNotifyEvent>("OnActivate", &TCustomForm::OnActivate)
            .Event<TNotifyEvent>("OnDeactivate", &TCustomForm::OnDeactivate)
            .Event<TCloseEvent>("OnClose", &TCustomForm::OnClose)
            .Event<TCloseQueryEvent>("OnCloseQuery", &TCustomForm::OnCloseQuery)
            .Build();
    return &info;
}

TCustomForm::TCustomForm(TComponent* owner) : TScrollingWinControl(owner) {
    FVisible = false;
    FParentColor = false;
    FColor = clBtnFace;
    FWidth = 320;
    FHeight = 240;
    if (Screen)
        Screen->AddForm(this);
}

TCustomForm::TCustomForm(TComponent* owner, TCreateNew) : TCustomForm(owner) {
    FCreateNew = true;
}

TCustomForm::~TCustomForm() {
    if (Screen)
        Screen->RemoveForm(this);
}

void TCustomForm::AfterConstruction() {
    TScrollingWinControl::AfterConstruction();
    FFormState.Include(fsCreating);
    try {
        // Forms of classes derived from TForm are built from the description of their class.
        if (!FCreateNew && ClassType() != TForm::StaticClass() && ClassType() != TCustomForm::StaticClass()) {
            TResourceStream resource(ToolkitInstance(), ClassName());
            const std::string text(static_cast<const char*>(resource.Memory()),
                                   static_cast<size_t>(resource.Size()));
            ReadComponentText(*this, text, ClassName());
        }
    } catch (...) {
        FFormState.Exclude(fsCreating);
        throw;
    }
    FFormState.Exclude(fsCreating);
    DoCreate();
    if (FVisible)
        ShowingChanged();
}

void TCustomForm::BeforeDestruction() {
    Destroying();
    if (OnDestroy) {
        try {
            OnDestroy(this);
        } catch (...) {
            if (Application)
                Application->HandleException(this);
        }
    }
    if (Screen)
        Screen->RemoveForm(this);
    TScrollingWinControl::BeforeDestruction();
}

void TCustomForm::DoCreate() {
    if (!OnCreate)
        return;
    try {
        OnCreate(this);
    } catch (...) {
        // The form stays usable with whatever its handler managed to do.
        if (Application)
            Application->HandleException(this);
    }
}

void TCustomForm::DoShow() {
    if (OnShow)
        OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide)
        OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose)
        OnClose(this, action);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
    if (FBorderStyle == value)
        return;
    FBorderStyle = value;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
    if (FBorderIcons == value)
        return;
    FBorderIcons = value;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle value) {
    if (FFormStyle == value)
        return;
    FFormStyle = value;
    if (HandleAllocated())
        SetWindowPos(FHandle, value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control && (control == this || !ContainsControl(control)))
        throw EInvalidOperation("The active control must be a control of the form");
    FActiveControl = control;
    if (control && HandleAllocated() && IsWindowVisible(FHandle) && GetActiveWindow() == FHandle &&
        !ComponentState().Contains(csLoading))
        control->SetFocus();
}

void TCustomForm::SetMenu(TComponent* menu) {
    if (FMenu == menu)
        return;
    if (FMenu)
        FMenu->RemoveFreeNotification(this);
    FMenu = menu;
    if (menu)
        menu->FreeNotification(this);
    Perform(CM_MENUCHANGED);
}

void TCustomForm::SetMenuHandle(HMENU menu) {
    if (FMenuHandle == menu)
        return;
    FMenuHandle = menu;
    if (HandleAllocated())
        ::SetMenu(FHandle, menu);
    Perform(CM_MENUCHANGED);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TScrollingWinControl::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FMenu) {
        FMenu = nullptr;
        FMenuHandle = nullptr;
    }
    if (component == FActiveControl)
        FActiveControl = nullptr;
    if (component == FFocusedControl)
        FFocusedControl = nullptr;
}

void TCustomForm::CreateParams(TCreateParams& params) {
    TScrollingWinControl::CreateParams(params);
    if (Parent())
        return; // a form placed inside another control is an ordinary child window
    params.Style &= ~static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    params.Style |= WS_CLIPCHILDREN;
    params.WndParent = ParentWindow();
    switch (FBorderStyle) {
    case bsNone:
        params.Style |= WS_POPUP;
        break;
    case bsSingle:
    case bsToolWindow:
        params.Style |= WS_CAPTION | WS_BORDER;
        break;
    case bsSizeable:
    case bsSizeToolWin:
        params.Style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        params.Style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
        params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    }
    if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin)
        params.ExStyle |= WS_EX_TOOLWINDOW;
    if (FBorderStyle != bsNone && FBorderIcons.Contains(biSystemMenu)) {
        params.Style |= WS_SYSMENU;
        if (FBorderStyle == bsSingle || FBorderStyle == bsSizeable) {
            if (FBorderIcons.Contains(biMinimize))
                params.Style |= WS_MINIMIZEBOX;
            if (FBorderIcons.Contains(biMaximize))
                params.Style |= WS_MAXIMIZEBOX;
        }
    }
    if (FFormStyle == fsStayOnTop)
        params.ExStyle |= WS_EX_TOPMOST;
    if (FPosition == poDefault || FPosition == poDefaultPosOnly) {
        params.X = CW_USEDEFAULT;
        params.Y = CW_USEDEFAULT;
    }
    params.Menu = FMenuHandle;
}

void TCustomForm::CreateWnd() {
    TScrollingWinControl::CreateWnd();
    if (!FPositioned)
        ApplyPosition();
}

void TCustomForm::ApplyPosition() {
    FPositioned = true;
    if (FPosition != poScreenCenter && FPosition != poDesktopCenter && FPosition != poMainFormCenter &&
        FPosition != poOwnerFormCenter)
        return;
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (FPosition == poScreenCenter)
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if ((FPosition == poMainFormCenter || FPosition == poOwnerFormCenter) && main && main != this &&
        main->HandleAllocated())
        GetWindowRect(main->FHandle, &area);
    const int left = area.left + (area.right - area.left - Width()) / 2;
    const int top = area.top + (area.bottom - area.top - Height()) / 2;
    SetBounds(left, top, Width(), Height());
}

void TCustomForm::SetVisible(bool value) {
    if (ComponentState().Contains(csLoading) || FFormState.Contains(fsCreating)) {
        FVisible = value; // shown once the form is complete
        return;
    }
    if (FVisible == value)
        return;
    if (value)
        HandleNeeded();
    FVisible = value;
    Perform(CM_VISIBLECHANGED, value);
    ShowingChanged();
}

void TCustomForm::ShowingChanged() {
    if (FVisible) {
        HandleNeeded();
        DoShow();
        ShowWindow(FHandle, SW_SHOWNORMAL);
        FFormState.Include(fsVisible);
        if (FActiveControl && FActiveControl->CanFocus())
            FActiveControl->SetFocus();
    } else {
        DoHide();
        if (HandleAllocated())
            ShowWindow(FHandle, SW_HIDE);
        FFormState.Exclude(fsVisible);
    }
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (FFormState.Contains(fsModal)) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide:
        Hide();
        break;
    case caMinimize:
        if (HandleAllocated())
            ShowWindow(FHandle, SW_MINIMIZE);
        break;
    default:
        Release();
        break;
    }
}

void TCustomForm::CloseModal() {
    if (!CloseQuery()) {
        FModalResult = mrNone;
        return;
    }
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone)
        FModalResult = mrNone;
    else if (action == caFree)
        Release();
}

int TCustomForm::ShowModal() {
    if (FVisible || !FEnabled || FFormState.Contains(fsModal))
        throw EInvalidOperation("Cannot make a visible window modal");
    if (HWND capture = GetCapture()) {
        SendMessageA(capture, WM_CANCELMODE, 0, 0);
        ReleaseCapture();
    }
    HWND activeBefore = GetActiveWindow();
    HandleNeeded();
    FFormState.Include(fsModal);
    struct ModalState {
        TFormState& state;
        ~ModalState() { state.Exclude(fsModal); }
    } modalState{FFormState};
    TaskWindowsDisabled disabled(FHandle);
    Show();
    FModalResult = mrNone;
    do {
        Application->HandleMessage();
        if (Application->Terminated())
            FModalResult = mrCancel;
        else if (FModalResult != mrNone)
            CloseModal();
    } while (FModalResult == mrNone);
    const int result = FModalResult;
    // Re-enable the other windows before hiding, so that activation goes back to them.
    disabled.Restore();
    Hide();
    if (activeBefore && IsWindow(activeBefore) && IsWindowVisible(activeBefore))
        SetActiveWindow(activeBefore);
    return result;
}

void TCustomForm::Release() {
    if (HandleAllocated())
        PostMessageA(FHandle, CM_RELEASE, 0, 0);
}

// The control that had the focus last hears that it left, every control hears where it went.
// ActiveControl alone may have been set while the form was hidden, without the focus.
bool TCustomForm::SetFocusedControl(TWinControl* control) {
    if (control == this)
        return true;
    FActiveControl = control;
    if (FFocusedControl == control)
        return true;
    TWinControl* previous = FFocusedControl;
    FFocusedControl = control;
    if (previous)
        previous->Perform(CM_EXIT);
    if (control)
        control->Perform(CM_ENTER);
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
    return true;
}

void TCustomForm::DefocusControl(TWinControl* control) {
    if (FActiveControl && control->ContainsControl(FActiveControl))
        FActiveControl = nullptr;
    if (FFocusedControl && control->ContainsControl(FFocusedControl))
        FFocusedControl = nullptr;
}

void TCustomForm::FocusControl(TWinControl* control) {
    SetActiveControl(control);
}

void TCustomForm::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_CLOSE:
        Close();
        return;
    case CM_RELEASE:
        TObject::Free(this); // nothing may touch the form after this
        return;
    case WM_ACTIVATE:
        TScrollingWinControl::WndProc(message);
        if (LOWORD(message.WParam) != WA_INACTIVE) {
            FFormState.Include(fsActivated);
            if (FActiveControl && FActiveControl->CanFocus() && !FActiveControl->Focused())
                ::SetFocus(FActiveControl->Handle());
            if (OnActivate)
                OnActivate(this);
        } else if (OnDeactivate) {
            OnDeactivate(this);
        }
        return;
    case WM_SETFOCUS:
        if (FActiveControl && FActiveControl->CanFocus()) {
            ::SetFocus(FActiveControl->Handle());
            return;
        }
        break;
    case CM_DIALOGKEY:
        // Ctrl+Tab belongs to page controls, which hear it through the broadcast.
        if (message.WParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
            SelectNext(FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
            message.Result = 1;
            return;
        }
        if (IsArrowKey(message.WParam) && FActiveControl) {
            if (TWinControl* next =
                    ArrowTarget(FActiveControl, message.WParam == VK_RIGHT || message.WParam == VK_DOWN)) {
                next->SetFocus();
                // Landing on a radio button checks it, as the arrows do inside a radio group.
                if (auto* radio = dynamic_cast<TRadioButton*>(next))
                    radio->SetChecked(true);
            }
            message.Result = 1;
            return;
        }
        break;
    case CM_VISIBLECHANGED:
        return; // ShowingChanged does the showing
    default:
        break;
    }
    TScrollingWinControl::WndProc(message);
}

TCustomForm* GetParentForm(TControl* control) {
    while (control && control->Parent())
        control = control->Parent();
    return dynamic_cast<TCustomForm*>(control);
}

TClass TForm::StaticClass() {
    static const TClassInfo info = TClassBuilder<TForm>("TForm").Build();
    return &info;
}

namespace {
const bool kRegistered = (RegisterClasses({TForm::StaticClass()}), true);
}
