// TWinControl: the Win32 window behind a control, message dispatch, reflection, alignment,
// tab order and focus.
#include "Controls.h"

#include "ObjectInstance.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdio>

namespace {

thread_local TWinControl* CreationControl = nullptr;
TControl* CaptureControl = nullptr; // a windowless control that holds the mouse
TControlExceptionHandler ExceptionHandler = nullptr;
TMenuMessageHook MenuMessageHook = nullptr;

class AtomHolder {
public:
    AtomHolder() {
        char name[64];
        std::snprintf(name, sizeof name, "ControlOfs%.8llX%.8lX",
                      static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr))),
                      static_cast<unsigned long>(GetCurrentThreadId()));
        FAtom = GlobalAddAtomA(name);
    }
    ~AtomHolder() { GlobalDeleteAtom(FAtom); }
    ATOM Atom() const { return FAtom; }

private:
    ATOM FAtom;
};

// SaveDC / RestoreDC for one scope.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : FDC(dc), FState(SaveDC(dc)) {}
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;
    ~SavedDC() { RestoreDC(FDC, FState); }

private:
    HDC FDC;
    int FState;
};

bool IsDialogKey(WPARAM key) {
    switch (key) {
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_CANCEL:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        return true;
    default:
        return false;
    }
}

// Keeps a copy of the whole client area from covering child windows the control does not clip
// itself: the children of a wrapped control, such as a list view's header, are painted by
// their own windows and would be hidden under the copy until they repaint.
void ExcludeChildWindows(HWND wnd, HDC dc) {
    if (GetWindowLongPtrA(wnd, GWL_STYLE) & WS_CLIPCHILDREN)
        return;
    for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!(GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE))
            continue;
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(HWND_DESKTOP, wnd, reinterpret_cast<POINT*>(&r), 2);
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
}

// The windowless child at a mouse message's position, if any.
TControl* WindowlessControlAt(TWinControl& parent, LPARAM position) {
    TControl* control = parent.ControlAtPos(POINT{GET_X_LPARAM(position), GET_Y_LPARAM(position)});
    return control && !dynamic_cast<TWinControl*>(control) ? control : nullptr;
}

// Messages that come from a menu rather than from a child control.
bool IsMenuMessage(const TMessage& message) {
    switch (message.Msg) {
    case WM_COMMAND:
        return message.LParam == 0;
    case WM_DRAWITEM:
        return reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam)->CtlType == ODT_MENU;
    case WM_MEASUREITEM:
        return reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam)->CtlType == ODT_MENU;
    default:
        return false;
    }
}

bool WantsKey(HWND wnd, WPARAM key) {
    const auto code = static_cast<UINT>(SendMessageA(wnd, WM_GETDLGCODE, key, 0));
    if (code & DLGC_WANTALLKEYS)
        return key != VK_TAB || (code & DLGC_WANTTAB);
    switch (key) {
    case VK_TAB:
        return (code & DLGC_WANTTAB) != 0;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        return (code & DLGC_WANTARROWS) != 0;
    default:
        return false;
    }
}

// Whether typed characters are the window's own (an edit's), or may be accelerators.
bool WantsChars(HWND wnd, WPARAM ch) {
    const auto code = static_cast<UINT>(SendMessageA(wnd, WM_GETDLGCODE, ch, 0));
    return (code & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)) != 0;
}

} // namespace

HINSTANCE ToolkitInstance() {
    return GetModuleHandleA(nullptr);
}

ATOM ControlAtom() {
    static AtomHolder holder;
    return holder.Atom();
}

TWinControl* FindControl(HWND wnd) {
    if (!wnd)
        return nullptr;
    DWORD pid = 0;
    if (!GetWindowThreadProcessId(wnd, &pid) || pid != GetCurrentProcessId())
        return nullptr;
    return static_cast<TWinControl*>(GetPropA(wnd, MAKEINTATOM(ControlAtom())));
}

TWinControl* FindVCLWindow(HWND wnd) {
    for (; wnd; wnd = GetParent(wnd))
        if (TWinControl* c = FindControl(wnd))
            return c;
    return nullptr;
}

void SetMenuMessageHook(TMenuMessageHook hook) {
    MenuMessageHook = hook;
}

void SetControlExceptionHandler(TControlExceptionHandler handler) {
    ExceptionHandler = handler;
}

void HandleControlException(TObject* sender) {
    if (ExceptionHandler) {
        try {
            ExceptionHandler(sender);
        } catch (...) {
            // The handler itself failed: nothing may cross the window procedure.
        }
    }
}

// ---- TWinControl ---------------------------------------------------------------------------

TClass TWinControl::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TWinControl>("TWinControl")
            .Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
            .Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
            .Bool("DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered)
            .Event<TNotifyEvent>("OnEnter", &TWinControl::OnEnter)
            .Event<TNotifyEvent>("OnExit", &TWinControl::OnExit)
            .Build();
    return &info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
    FObjectInstance = MakeObjectInstance(TWndMethod(this, &TWinControl::MainWndProc));
}

void TWinControl::BeforeDestruction() {
    TControl::BeforeDestruction(); // owned components go first, while this is still whole
    while (!FControls.empty())
        TObject::Free(FControls.back());
    DestroyHandle();
}

TWinControl::~TWinControl() {
    if (FParent)
        FParent->RemoveControl(this); // while this is still a TWinControl
    if (FHandle) {
        // Freed without BeforeDestruction: the derived parts are gone, so the window must
        // not reach this object any more.
        SetWindowLongPtrA(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FDefWndProc));
        RemovePropA(FHandle, MAKEINTATOM(ControlAtom()));
        HWND wnd = FHandle;
        FHandle = nullptr;
        DestroyWindow(wnd);
    }
    while (!FControls.empty()) {
        TControl* child = FControls.back();
        RemoveControl(child);
        TObject::Free(child);
    }
    if (CaptureControl && CaptureControl->FParent == nullptr)
        CaptureControl = nullptr;
    FreeObjectInstance(FObjectInstance);
}

void TWinControl::MainWndProc(TMessage& message) {
    try {
        if (WindowProc)
            WindowProc(message);
        else
            WndProc(message);
    } catch (...) {
        HandleControlException(this);
    }
}

LRESULT CALLBACK TWinControl::InitWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = CreationControl;
    CreationControl = nullptr;
    if (!control)
        return DefWindowProcA(wnd, msg, wParam, lParam);
    control->FHandle = wnd;
    SetPropA(wnd, MAKEINTATOM(ControlAtom()), reinterpret_cast<HANDLE>(control));
    SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control->FObjectInstance));
    return CallWindowProcA(control->FObjectInstance, wnd, msg, wParam, lParam);
}

void TWinControl::CreateParams(TCreateParams& params) {
    params = TCreateParams{};
    params.Caption = FText;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FControlStyle.Contains(csAcceptsControls))
        params.Style |= WS_CLIPCHILDREN;
    if (FVisible)
        params.Style |= WS_VISIBLE;
    if (!FEnabled)
        params.Style |= WS_DISABLED;
    if (FTabStop)
        params.Style |= WS_TABSTOP;
    if (UseRightToLeftReading())
        params.ExStyle |= WS_EX_RTLREADING;
    if (FBiDiMode == bdRightToLeft)
        params.ExStyle |= WS_EX_LEFTSCROLLBAR;
    params.X = FLeft;
    params.Y = FTop;
    params.Width = FWidth;
    params.Height = FHeight;
    if (FParent)
        params.WndParent = FParent->Handle();
    else
        params.WndParent = FParentWindow;
    params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    params.WindowClass.lpfnWndProc = DefWindowProcA;
    params.WindowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& params, const char* controlClassName) {
    const UINT keep = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    WNDCLASSA wc{};
    if (!GetClassInfoA(nullptr, controlClassName, &wc))
        throw EOutOfResources(FormatMsg("Window class %s is not available", {controlClassName}));
    const UINT style = params.WindowClass.style;
    params.WindowClass = wc;
    params.WindowClass.style =
        (wc.style & ~(CS_OWNDC | CS_CLASSDC | CS_PARENTDC | CS_GLOBALCLASS)) | (style & keep);
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) && !params.WndParent)
        throw EInvalidOperation(FormatMsg("Control '%s' has no parent window", {Name()}));
    FDefWndProc = params.WindowClass.lpfnWndProc;

    WNDCLASSA existing{};
    const bool registered = GetClassInfoA(ToolkitInstance(), params.WinClassName.c_str(), &existing);
    if (!registered || existing.lpfnWndProc != &InitWndProc) {
        if (registered)
            UnregisterClassA(params.WinClassName.c_str(), ToolkitInstance());
        WNDCLASSA wc = params.WindowClass;
        wc.lpfnWndProc = &InitWndProc;
        wc.hInstance = ToolkitInstance();
        wc.lpszClassName = params.WinClassName.c_str();
        if (!RegisterClassA(&wc))
            throw EOutOfResources(FormatMsg("Cannot register window class %s", {params.WinClassName}));
    }

    CreationControl = this;
    try {
        CreateWindowHandle(params);
    } catch (...) {
        CreationControl = nullptr;
        throw;
    }
    CreationControl = nullptr;
    if (!FHandle)
        throw EOutOfResources(
            FormatMsg("Error creating window for %s", {Name().empty() ? ClassName() : Name()}));
    Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
    ApplyPendingClientSize();
    UpdateBoundsFromWindow();
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
    CreateWindowExA(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(), params.Style,
                    params.X, params.Y, params.Width, params.Height, params.WndParent, params.Menu,
                    ToolkitInstance(), params.Param);
}

void TWinControl::CreateHandle() {
    if (FHandle)
        return;
    CreateWnd();
    for (TControl* c : std::vector<TControl*>(FControls))
        if (auto* win = dynamic_cast<TWinControl*>(c))
            win->HandleNeeded();
    Realign();
}

HWND TWinControl::Handle() {
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded() {
    if (FHandle)
        return;
    if (FParent)
        FParent->HandleNeeded();
    if (!FHandle)
        CreateHandle();
}

void TWinControl::DestroyHandle() {
    if (!FHandle)
        return;
    for (TControl* c : FControls)
        if (auto* win = dynamic_cast<TWinControl*>(c))
            win->DestroyHandle();
    DestroyWnd();
}

void TWinControl::DestroyWnd() {
    FText = Text(); // the window text lives on in the control
    HWND wnd = FHandle;
    FControlState.Include(csDestroyingHandle);
    DestroyWindow(wnd);
    FControlState.Exclude(csDestroyingHandle);
    if (FHandle) { // WM_NCDESTROY did not come through (WindowProc swallowed it)
        RemovePropA(wnd, MAKEINTATOM(ControlAtom()));
        FHandle = nullptr;
    }
}

void TWinControl::RecreateWnd() {
    if (!FHandle || ComponentState().Contains(csDestroying))
        return;
    DestroyHandle();
    HandleNeeded();
}

void TWinControl::SetParentWindow(HWND wnd) {
    if (FParent || FParentWindow == wnd)
        return;
    FParentWindow = wnd;
    if (FHandle)
        RecreateWnd();
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount())
        throw EListError(FormatMsg("List index out of bounds (%s)", {IntToStr(index)}));
    return FControls[static_cast<size_t>(index)];
}

void TWinControl::InsertControl(TControl* control) {
    control->FParent = this;
    FControls.push_back(control);
    auto* win = dynamic_cast<TWinControl*>(control);
    if (win)
        FTabList.push_back(win);
    if (control->FParentColor)
        control->FColor = FColor;
    if (control->FParentBiDiMode)
        control->FBiDiMode = FBiDiMode;
    if (control->FParentFont)
        control->AdoptParentFont();
    if (win && FHandle && !ComponentState().Contains(csLoading)) {
        if (win->FHandle)
            ::SetParent(win->FHandle, FHandle);
        else
            win->HandleNeeded();
    }
    control->Invalidate();
    Realign(); // aligned or not, a new control may change what scrolling parents show
}

void TWinControl::RemoveControl(TControl* control) {
    if (CaptureControl == control)
        CaptureControl = nullptr;
    if (FMouseControl == control)
        FMouseControl = nullptr;
    control->Invalidate();
    std::erase(FControls, control);
    std::erase_if(FTabList, [control](TWinControl* w) { return static_cast<TControl*>(w) == control; });
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        TopLevelControl()->DefocusControl(win);
        if (win->FHandle && !ComponentState().Contains(csDestroying))
            win->DestroyHandle(); // a child window cannot outlive its parent control
    }
    control->FParent = nullptr;
    Realign();
}

bool TWinControl::ContainsControl(TControl* control) const {
    for (TControl* c = control; c; c = c->FParent)
        if (c == this)
            return true;
    return false;
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled) {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (!c->FVisible || (!allowDisabled && !c->FEnabled))
            continue;
        const RECT r = c->BoundsRect();
        if (PtInRect(&r, p))
            return c;
    }
    return nullptr;
}

int TWinControl::TabOrder() const {
    if (!FParent)
        return -1;
    auto& list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
    if (!FParent)
        return;
    auto& list = FParent->FTabList;
    std::erase(list, this);
    value = std::clamp(value, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + value, this);
}

void TWinControl::SetTabStop(bool value) {
    if (FTabStop == value)
        return;
    FTabStop = value;
    if (FHandle) {
        LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE);
        style = value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
        SetWindowLongPtrA(FHandle, GWL_STYLE, style);
    }
    Perform(CM_TABSTOPCHANGED);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) {
    for (TWinControl* c : FTabList) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool checkTabStop,
                                          bool checkParent) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    const auto n = static_cast<int>(list.size());
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (list[static_cast<size_t>(i)] == current)
            start = i;
    if (start < 0)
        start = forward ? n - 1 : 0;
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = forward ? (i + 1) % n : (i - 1 + n) % n;
        TWinControl* c = list[static_cast<size_t>(i)];
        if ((!checkTabStop || c->FTabStop) && (!checkParent || c->FParent == this) && c->CanFocus())
            return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, forward, checkTabStop, !checkTabStop))
        next->SetFocus();
}

bool TWinControl::Focused() {
    return FHandle && GetFocus() == FHandle;
}

bool TWinControl::CanFocus() {
    for (TWinControl* c = this; c; c = c->FParent)
        if (!c->FVisible || !c->FEnabled)
            return false;
    return true;
}

void TWinControl::SetFocus() {
    TWinControl* top = TopLevelControl();
    if (top != this && !(top->FHandle && IsWindowVisible(top->FHandle))) {
        top->SetFocusedControl(this); // remembered until the form is shown
        return;
    }
    ::SetFocus(Handle());
}

TWinControl* TWinControl::TopLevelControl() {
    TWinControl* c = this;
    while (c->FParent)
        c = c->FParent;
    return c;
}

bool TWinControl::SetFocusedControl(TWinControl*) {
    return true;
}

void TWinControl::DoEnter() {
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit)
        OnExit(this);
}

void TWinControl::SetParentBackground(bool value) {
    if (value)
        FControlStyle.Include(csParentBackground);
    else
        FControlStyle.Exclude(csParentBackground);
    Invalidate();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight)
        return;
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    if (FHandle)
        SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    else
        Resize();
    RequestAlign();
}

void TWinControl::UpdateBoundsFromWindow() {
    if (!FHandle)
        return;
    RECT r;
    GetWindowRect(FHandle, &r);
    if (GetWindowLongPtrA(FHandle, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(HWND_DESKTOP, GetParent(FHandle), reinterpret_cast<POINT*>(&r), 2);
    UpdateBoundsRect(r);
}

RECT TWinControl::ClientRect() {
    RECT r{0, 0, FWidth, FHeight};
    if (FHandle)
        GetClientRect(FHandle, &r);
    else if (FPendingClientWidth >= 0 || FPendingClientHeight >= 0) {
        if (FPendingClientWidth >= 0)
            r.right = FPendingClientWidth;
        if (FPendingClientHeight >= 0)
            r.bottom = FPendingClientHeight;
    }
    return r;
}

POINT TWinControl::ClientOrigin() {
    if (!FHandle)
        return TControl::ClientOrigin();
    POINT p{0, 0};
    ::ClientToScreen(FHandle, &p);
    return p;
}

void TWinControl::SetClientWidth(int value) {
    if (!FHandle) {
        FPendingClientWidth = value;
        return;
    }
    SetWidth(FWidth - ClientRect().right + value);
}

void TWinControl::SetClientHeight(int value) {
    if (!FHandle) {
        FPendingClientHeight = value;
        return;
    }
    SetHeight(FHeight - ClientRect().bottom + value);
}

void TWinControl::ApplyPendingClientSize() {
    RECT r;
    GetClientRect(FHandle, &r);
    int width = FWidth, height = FHeight;
    if (FPendingClientWidth >= 0)
        width += FPendingClientWidth - r.right;
    if (FPendingClientHeight >= 0)
        height += FPendingClientHeight - r.bottom;
    FPendingClientWidth = FPendingClientHeight = -1;
    if (width != FWidth || height != FHeight) {
        FWidth = width;
        FHeight = height;
        SetWindowPos(FHandle, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TWinControl::Invalidate() {
    if (FHandle)
        InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::Update() {
    if (FHandle)
        UpdateWindow(FHandle);
}

void TWinControl::EnableAlign() {
    if (FAlignLevel > 0 && --FAlignLevel == 0)
        Realign();
}

void TWinControl::Realign() {
    if (FAlignLevel > 0 || FAligning || ComponentState().Contains(csLoading) ||
        ComponentState().Contains(csDestroying))
        return;
    FAligning = true;
    try {
        RECT rect = ClientRect();
        AlignControls(rect);
    } catch (...) {
        FAligning = false;
        throw;
    }
    FAligning = false;
}

void TWinControl::AlignControls(RECT& rect) {
    auto aligned = [&](TAlign align) {
        std::vector<TControl*> list;
        for (TControl* c : FControls)
            if (c->FAlign == align && c->FVisible)
                list.push_back(c);
        // Controls keep the order they show on screen along their edge.
        std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
            switch (align) {
            case alTop:
                return a->FTop < b->FTop;
            case alBottom:
                return a->FTop + a->FHeight > b->FTop + b->FHeight;
            case alLeft:
                return a->FLeft < b->FLeft;
            case alRight:
                return a->FLeft + a->FWidth > b->FLeft + b->FWidth;
            default:
                return false;
            }
        });
        return list;
    };
    for (TControl* c : aligned(alTop)) {
        c->SetBounds(rect.left, rect.top, rect.right - rect.left, c->FHeight);
        rect.top += c->FHeight;
    }
    for (TControl* c : aligned(alBottom)) {
        c->SetBounds(rect.left, rect.bottom - c->FHeight, rect.right - rect.left, c->FHeight);
        rect.bottom -= c->FHeight;
    }
    for (TControl* c : aligned(alLeft)) {
        c->SetBounds(rect.left, rect.top, c->FWidth, rect.bottom - rect.top);
        rect.left += c->FWidth;
    }
    for (TControl* c : aligned(alRight)) {
        c->SetBounds(rect.right - c->FWidth, rect.top, c->FWidth, rect.bottom - rect.top);
        rect.right -= c->FWidth;
    }
    for (TControl* c : aligned(alClient))
        c->SetBounds(rect.left, rect.top, std::max(0L, rect.right - rect.left),
                     std::max(0L, rect.bottom - rect.top));
}

void TWinControl::Loaded() {
    TControl::Loaded();
    Realign();
}

HBRUSH TWinControl::Brush() {
    UpdateBrush();
    return FBrush.Get();
}

void TWinControl::UpdateBrush() {
    if (FBrush && FBrushColor == FColor)
        return;
    FBrush.Reset(CreateSolidBrush(ColorRefOf(FColor)));
    FBrushColor = FColor;
}

void TWinControl::Broadcast(TMessage& message) {
    for (TControl* c : std::vector<TControl*>(FControls)) {
        if (c->WindowProc)
            c->WindowProc(message);
        else
            c->WndProc(message);
        if (message.Result != 0)
            return;
    }
}

bool TWinControl::ReflectNotification(TMessage& message) {
    HWND child = nullptr;
    switch (message.Msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
        child = reinterpret_cast<HWND>(message.LParam);
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<NMHDR*>(message.LParam)->hwndFrom;
        break;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
        if (item->CtlType != ODT_MENU)
            child = item->hwndItem;
        break;
    }
    case WM_DELETEITEM:
        child = reinterpret_cast<DELETEITEMSTRUCT*>(message.LParam)->hwndItem;
        break;
    case WM_COMPAREITEM:
        child = reinterpret_cast<COMPAREITEMSTRUCT*>(message.LParam)->hwndItem;
        break;
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
        if (item->CtlType != ODT_MENU && item->CtlID != 0)
            child = GetDlgItem(FHandle, static_cast<int>(item->CtlID));
        break;
    }
    default:
        return false;
    }
    TWinControl* control = FindControl(child);
    if (!control || control == this)
        return false;
    message.Result = control->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
    return true;
}

bool TWinControl::IsControlMouseMsg(TMessage& message) {
    POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    TControl* control = CaptureControl && CaptureControl->FParent == this ? CaptureControl : nullptr;
    if (!control) {
        control = ControlAtPos(p);
        if (control && dynamic_cast<TWinControl*>(control))
            control = nullptr;
    }
    if (!control)
        return false;
    if (message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK) {
        CaptureControl = control;
        SetCapture(FHandle);
    }
    TControl* target = control;
    if (message.Msg == WM_LBUTTONUP && CaptureControl == control) {
        CaptureControl = nullptr;
        ReleaseCapture();
    }
    message.Result =
        target->Perform(message.Msg, message.WParam, MAKELPARAM(p.x - target->FLeft, p.y - target->FTop));
    return true;
}

void TWinControl::SetMouseControl(TControl* control) {
    if (control == FMouseControl)
        return;
    TControl* left = FMouseControl;
    FMouseControl = control;
    if (left)
        left->Perform(CM_MOUSELEAVE);
    if (control)
        control->Perform(CM_MOUSEENTER);
}

// The cursor of the control under the mouse: a windowless child's or this control's own.
bool TWinControl::SetCursorFor(TMessage& message) {
    if (reinterpret_cast<HWND>(message.WParam) != FHandle || LOWORD(message.LParam) != HTCLIENT)
        return false;
    POINT p;
    GetCursorPos(&p);
    ::ScreenToClient(FHandle, &p);
    TControl* control = ControlAtPos(p);
    if (!control || dynamic_cast<TWinControl*>(control))
        control = this;
    if (control->FCursor == crNone) {
        ::SetCursor(nullptr);
    } else if (HCURSOR cursor = CursorHandle(control->FCursor)) {
        ::SetCursor(cursor);
    } else {
        return false;
    }
    message.Result = TRUE;
    return true;
}

void TWinControl::TrackMouse() {
    if (FMouseInClient)
        return;
    FMouseInClient = true;
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, FHandle, 0};
    TrackMouseEvent(&tme);
    Perform(CM_MOUSEENTER);
}

bool TWinControl::HandleKeyMessage(TMessage& message) {
    TWinControl* top = TopLevelControl();
    switch (message.Msg) {
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
        if (IsDialogKey(message.WParam) && !WantsKey(FHandle, message.WParam) &&
            top->Perform(CM_DIALOGKEY, message.WParam, message.LParam) != 0) {
            message.Result = 1;
            return true;
        }
        return false;
    case CN_CHAR:
    case CN_SYSCHAR:
        if ((message.Msg == CN_SYSCHAR || !WantsChars(FHandle, message.WParam)) &&
            top->Perform(CM_DIALOGCHAR, message.WParam, message.LParam) != 0) {
            message.Result = 1;
            return true;
        }
        return false;
    default:
        return false;
    }
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
    bool started = first == nullptr;
    for (TControl* c : FControls) {
        if (c == first)
            started = true;
        if (!started || !c->FVisible || dynamic_cast<TWinControl*>(c))
            continue;
        SavedDC saved(dc);
        OffsetViewportOrgEx(dc, c->FLeft, c->FTop, nullptr);
        IntersectClipRect(dc, 0, 0, c->FWidth, c->FHeight);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
}

void TWinControl::PaintWindow(HDC dc) {
    TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(m);
}

void TWinControl::PaintHandler(TMessage& message) {
    auto paint = [this](HDC dc) {
        if (!FDoubleBuffered) {
            PaintWindow(dc);
            PaintControls(dc, nullptr);
            return;
        }
        const RECT r = ClientRect();
        SavedDC saved(dc);
        ExcludeChildWindows(FHandle, dc);
        TMemoryDC memory(CreateCompatibleDC(dc));
        TBitmapHandle bitmap(CreateCompatibleBitmap(dc, r.right, r.bottom));
        {
            TSelectScope select(memory.Get(), bitmap.Get());
            // lParam marks the erase of the buffer (see WM_ERASEBKGND).
            Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.Get()),
                    reinterpret_cast<LPARAM>(memory.Get()));
            PaintWindow(memory.Get());
            PaintControls(memory.Get(), nullptr);
            BitBlt(dc, 0, 0, r.right, r.bottom, memory.Get(), 0, 0, SRCCOPY);
        }
    };
    if (message.WParam) {
        paint(reinterpret_cast<HDC>(message.WParam));
    } else {
        TPaintScope scope(FHandle);
        paint(scope.Get());
    }
    message.Result = 0;
}

void TWinControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_SETFOCUS:
        if (!TopLevelControl()->SetFocusedControl(this))
            return;
        break;
    case WM_NCDESTROY: {
        HWND wnd = FHandle;
        DefaultHandler(message);
        RemovePropA(wnd, MAKEINTATOM(ControlAtom()));
        FHandle = nullptr;
        FMouseInClient = false;
        return;
    }
    case WM_SIZE:
        DefaultHandler(message);
        UpdateBoundsFromWindow();
        Realign();
        Resize();
        return;
    case WM_WINDOWPOSCHANGED:
        DefaultHandler(message);
        UpdateBoundsFromWindow();
        return;
    case WM_PAINT:
        if (FDefWndProc == DefWindowProcA || FControls.size() > 0 || FDoubleBuffered) {
            PaintHandler(message);
            return;
        }
        break;
    case WM_ERASEBKGND:
        // A double-buffered control erases only its buffer: the copy covers the window, and an
        // erase on screen would flicker and wipe children it does not clip.
        if (FDoubleBuffered && message.LParam != static_cast<LPARAM>(message.WParam)) {
            message.Result = 1;
            return;
        }
        if (FDefWndProc == DefWindowProcA) {
            RECT r;
            GetClientRect(FHandle, &r);
            TWinControl* source = ParentBackground() && FParent ? FParent : this;
            FillRect(reinterpret_cast<HDC>(message.WParam), &r, source->Brush());
            message.Result = 1;
            return;
        }
        break;
    case WM_MOUSEMOVE:
        TrackMouse();
        SetMouseControl(WindowlessControlAt(*this, message.LParam));
        [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        if (IsControlMouseMsg(message))
            return;
        if (FDefWndProc == DefWindowProcA && FControlStyle.Contains(csCaptureMouse)) {
            if (message.Msg == WM_LBUTTONDOWN)
                SetCapture(FHandle);
            else if (message.Msg == WM_LBUTTONUP && GetCapture() == FHandle)
                ReleaseCapture();
        }
        break;
    case WM_MOUSELEAVE:
        FMouseInClient = false;
        SetMouseControl(nullptr);
        Perform(CM_MOUSELEAVE);
        break;
    case WM_SETCURSOR:
        if (SetCursorFor(message))
            return;
        break;
    case WM_CREATE:
    case WM_DESTROY:
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR:
    case CM_MENUCHANGED:
        if (MenuMessageHook && MenuMessageHook(this, message))
            return;
        break;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM:
        if (MenuMessageHook && IsMenuMessage(message) && MenuMessageHook(this, message))
            return;
        if (ReflectNotification(message))
            return;
        break;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
        if (MenuMessageHook && MenuMessageHook(this, message)) {
            message.Result = 1;
            return;
        }
        HandleKeyMessage(message);
        return;
    case CN_CHAR:
    case CN_SYSCHAR:
        HandleKeyMessage(message);
        return;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORLISTBOX: {
        const auto dc = reinterpret_cast<HDC>(message.WParam);
        SetTextColor(dc, ColorRefOf(Font()->Color()));
        SetBkColor(dc, ColorRefOf(FColor));
        message.Result = reinterpret_cast<LRESULT>(Brush());
        return;
    }
    case CM_ENTER:
        DoEnter();
        return;
    case CM_EXIT:
        DoExit();
        return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
    case CM_FOCUSCHANGED:
        Broadcast(message);
        return;
    case CM_RECREATEWND:
        RecreateWnd();
        return;
    case CM_BIDIMODECHANGED:
        for (TControl* c : std::vector<TControl*>(FControls))
            if (c->FParentBiDiMode && c->FBiDiMode != FBiDiMode) {
                c->FBiDiMode = FBiDiMode;
                c->Perform(CM_BIDIMODECHANGED);
            }
        RecreateWnd();
        return;
    case CM_VISIBLECHANGED:
        if (FHandle)
            ShowWindow(FHandle, FVisible ? SW_SHOWNOACTIVATE : SW_HIDE);
        return;
    case CM_ENABLEDCHANGED:
        if (FHandle)
            EnableWindow(FHandle, FEnabled);
        Invalidate();
        return;
    case CM_COLORCHANGED: {
        Invalidate();
        TMessage parentColor{CM_PARENTCOLORCHANGED, 0, 0, 0};
        for (TControl* c : std::vector<TControl*>(FControls))
            c->Perform(parentColor.Msg);
        return;
    }
    case CM_FONTCHANGED:
        if (FHandle)
            Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
        for (TControl* c : std::vector<TControl*>(FControls))
            c->Perform(CM_PARENTFONTCHANGED);
        return;
    default:
        break;
    }
    TControl::WndProc(message);
}

void TWinControl::DefaultHandler(TMessage& message) {
    if (!FHandle) {
        TControl::DefaultHandler(message);
        return;
    }
    message.Result = CallWindowProcA(FDefWndProc, FHandle, message.Msg, message.WParam, message.LParam);
}

namespace {
const bool kRegistered = (RegisterClasses({TWinControl::StaticClass()}), true);
}
