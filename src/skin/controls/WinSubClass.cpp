// Attachment, detachment and the message pipeline every skinner shares.
#include "WinSubClass.h"

#include "TypInfo.h"
#include "WinSkinForm.h"

#include <utility>

TClass TSkinControl::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinControl>("TSkinControl").Build();
    return &info;
}

TSkinControl::TSkinControl(TComponent* owner) : TComponent(owner) {}

TSkinControl::~TSkinControl() {
    RestoreHooks();
    if (FForm)
        FForm->RemoveControl(this);
}

void TSkinControl::RestoreHooks() {
    // The control frees its skinners before its own parts go, so it is still whole here.
    if (FOldWindowProc && FControl)
        FControl->WindowProc = std::exchange(FOldWindowProc, TWndMethod());
    FSubclass.Remove();
}

void TSkinControl::JoinForm() {
    if (FForm)
        FForm->AddControl(this);
}

// ---- attachment -----------------------------------------------------------------------------

bool TSkinControl::BeginAttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas,
                                      TWinControl* control) {
    if (!control)
        control = dynamic_cast<TWinControl*>(Owner());
    if (FAttached || !control)
        return false;
    FOwnColor = ownColor;
    FSkinData = skinData;
    FForm = form;
    FCanvas = canvas;
    FControl = control;
    FHandle = control->Handle();
    return true;
}

void TSkinControl::TakeFaceColor() {
    if (!FOwnColor || !FControl)
        return;
    SetParentBackground(true);
    FOldColor = FControl->Color();
    FControl->SetColor(FaceColor());
}

void TSkinControl::AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) {
    if (!BeginAttachControl(form, skinData, ownColor, canvas))
        return;
    FUnicode = IsWindowUnicode(FHandle) != FALSE;
    FOldWindowProc = FControl->WindowProc;
    FControl->WindowProc = TWndMethod(this, &TSkinControl::NewWindowProc);
    JoinForm();
    TakeFaceColor();
    if (FParentBackgroundOff)
        FVariant = 1;
    FControl->Invalidate();
    FAttached = true;
    FState = stAttached;
}

void TSkinControl::AttachWindow(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) {
    if (FAttached || !IsWindow(wnd))
        return;
    FSkinData = skinData;
    FCanvas = canvas;
    FForm = form;
    FHandle = wnd;
    FEnabled = true;
    FVariant = 0;
    JoinForm();
    FUnicode = IsWindowUnicode(wnd) != FALSE;
    FCaption = GetWindowCaption(wnd);
    // The previous procedure is called in the form it was installed with, so text messages
    // keep their character set in both directions.
    FSubclass.Install(wnd, TWndMethod(this, &TSkinControl::NewWindowProc), FUnicode);
    InvalidateRect(wnd, nullptr, TRUE);
    FAttached = true;
    FState = stAttached;
}

void TSkinControl::Detach() {
    if (!FOwnColor || !FControl)
        return;
    SetParentBackground(false);
    FControl->SetColor(FOldColor);
}

void TSkinControl::SkinChanged() {
    if (FOwnColor && FControl)
        FControl->SetColor(FaceColor());
    Redraw();
}

// ---- messages -------------------------------------------------------------------------------

void TSkinControl::CallOldProc(TMessage& message) {
    if (FOldWindowProc)
        FOldWindowProc(message);
    else
        FSubclass.CallPrevious(message);
}

void TSkinControl::NewWindowProc(TMessage& message) {
    try {
        if (message.Msg == WMS_SKINACTIVE) {
            FActive = static_cast<INT_PTR>(message.WParam) > 0;
            if (FActive)
                Redraw();
            return;
        }
        // While a skin loads its elements come and go: the control looks native meanwhile.
        if (!FActive || (FSkinData && FSkinData->SkinLoading())) {
            CallOldProc(message);
            return;
        }
        if (BeforeMessage(message)) {
            CallOldProc(message);
            AfterMessage(message);
        }
    } catch (...) {
        // A skinner's failure must not end the program: the control keeps its native look.
    }
}

bool TSkinControl::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_NCDESTROY:
        CallOldProc(message);
        FActive = false;
        FState = stDestroyed;
        Detach();
        return false;
    case WMS_ISSKINNED:
        message.Result = 1;
        return false;
    default:
        return true;
    }
}

void TSkinControl::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED:
        Redraw();
        break;
    case WM_PAINT:
        PaintNow(reinterpret_cast<HDC>(message.WParam));
        break;
    default:
        break;
    }
}

// ---- properties the base changes --------------------------------------------------------------

LONG_PTR TSkinControl::GetStyle(HWND wnd, int index) const {
    return FUnicode ? GetWindowLongPtrW(wnd, index) : GetWindowLongPtrA(wnd, index);
}

void TSkinControl::SetParentBackground(bool attaching) {
    if (!FControl || (FSkinData && FSkinData->Options().Contains(xoParentBackGround)))
        return;
    if (!GetPropInfo(FControl, "ParentBackground"))
        return;
    if (attaching) {
        if (GetEnumText(FControl, "ParentBackground") == "true") {
            FParentBackgroundOff = true;
            SetPropText(FControl, "ParentBackground", "False");
        }
    } else if (FParentBackgroundOff) {
        SetPropText(FControl, "ParentBackground", "True");
    }
}

POINT MouseDownPoint(LPARAM lParam, int width, int height, POINT cursorInClient) {
    // Coordinates beyond 16 bits do not survive lParam: the cursor tells them instead.
    if (width > 0x8000 || height > 0x8000)
        return cursorInClient;
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

void TSkinControl::ForwardMouseDown(TMessage& message) {
    if (!FControl)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);
    const POINT at = MouseDownPoint(message.LParam, FControl->Width(), FControl->Height(),
                                    FControl->ScreenToClient(cursor));
    TShiftState shift = KeysToShiftState(message.WParam);
    if (message.Msg == WM_LBUTTONDBLCLK)
        shift.Include(ssDouble);
    FControl->MouseDown(mbLeft, shift, at.x, at.y);
}
