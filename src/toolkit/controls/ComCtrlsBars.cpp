// TProgressBar and TTrackBar: the comctl32 progress and track bars, their range and position
// kept by the control while it has no window.
#include "ComCtrls.h"

#include <algorithm>

const TEnumType ProgressBarOrientationType{"TProgressBarOrientation", {"pbHorizontal", "pbVertical"}};
const TEnumType TrackBarOrientationType{"TTrackBarOrientation", {"trHorizontal", "trVertical"}};

// ---- TProgressBar --------------------------------------------------------------------------

TClass TProgressBar::StaticClass() {
    static const TClassInfo info = TClassBuilder<TProgressBar>("TProgressBar")
                                       .Int("Min", &TProgressBar::Min, &TProgressBar::SetMin)
                                       .Int("Max", &TProgressBar::Max, &TProgressBar::SetMax)
                                       .Enum("Orientation", ProgressBarOrientationType,
                                             &TProgressBar::Orientation, &TProgressBar::SetOrientation)
                                       .Int("Position", &TProgressBar::Position, &TProgressBar::SetPosition)
                                       .Bool("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth)
                                       .Build();
    return &info;
}

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) {
    InitCommonControl(ICC_PROGRESS_CLASS);
    FWidth = 150;
    FHeight = 16;
}

void TProgressBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, PROGRESS_CLASSA);
    if (FOrientation == pbVertical)
        params.Style |= PBS_VERTICAL;
    if (FSmooth)
        params.Style |= PBS_SMOOTH;
}

void TProgressBar::CreateWnd() {
    TWinControl::CreateWnd();
    ApplyRange();
}

void TProgressBar::ApplyRange() {
    if (!HandleAllocated())
        return;
    SendMessageA(FHandle, PBM_SETRANGE32, static_cast<WPARAM>(FMin), FMax);
    SendMessageA(FHandle, PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TProgressBar::SetMin(int value) {
    FMin = value;
    FMax = std::max(FMax, FMin);
    FPosition = std::clamp(FPosition, FMin, FMax);
    ApplyRange();
}

void TProgressBar::SetMax(int value) {
    FMax = value;
    FMin = std::min(FMin, FMax);
    FPosition = std::clamp(FPosition, FMin, FMax);
    ApplyRange();
}

int TProgressBar::Position() {
    if (HandleAllocated())
        FPosition = static_cast<int>(SendMessageA(FHandle, PBM_GETPOS, 0, 0));
    return FPosition;
}

void TProgressBar::SetPosition(int value) {
    FPosition = std::clamp(value, FMin, FMax);
    if (HandleAllocated())
        SendMessageA(FHandle, PBM_SETPOS, static_cast<WPARAM>(FPosition), 0);
}

void TProgressBar::SetOrientation(TProgressBarOrientation value) {
    if (FOrientation == value)
        return;
    FOrientation = value;
    RecreateWnd();
}

void TProgressBar::SetSmooth(bool value) {
    if (FSmooth == value)
        return;
    FSmooth = value;
    RecreateWnd();
}

// ---- TTrackBar -----------------------------------------------------------------------------

TClass TTrackBar::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TTrackBar>("TTrackBar")
            .Int("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency)
            .Int("Min", &TTrackBar::Min, &TTrackBar::SetMin)
            .Int("Max", &TTrackBar::Max, &TTrackBar::SetMax)
            .Enum("Orientation", TrackBarOrientationType, &TTrackBar::Orientation, &TTrackBar::SetOrientation)
            .Int("Position", &TTrackBar::Position, &TTrackBar::SetPosition)
            .Event<TNotifyEvent>("OnChange", &TTrackBar::OnChange)
            .Build();
    return &info;
}

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
    InitCommonControl(ICC_BAR_CLASSES);
    FWidth = 150;
    FHeight = 45;
    SetTabStop(true);
}

void TTrackBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, TRACKBAR_CLASSA);
    params.Style |= TBS_AUTOTICKS | (FOrientation == trVertical ? TBS_VERT : TBS_HORZ);
}

void TTrackBar::CreateWnd() {
    TWinControl::CreateWnd();
    ApplyRange();
}

void TTrackBar::ApplyRange() {
    if (!HandleAllocated())
        return;
    SendMessageA(FHandle, TBM_SETRANGEMIN, FALSE, FMin);
    SendMessageA(FHandle, TBM_SETRANGEMAX, FALSE, FMax);
    SendMessageA(FHandle, TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
    SendMessageA(FHandle, TBM_SETPOS, TRUE, FPosition);
}

void TTrackBar::SetMin(int value) {
    FMin = value;
    FMax = std::max(FMax, FMin);
    FPosition = std::clamp(FPosition, FMin, FMax);
    ApplyRange();
}

void TTrackBar::SetMax(int value) {
    FMax = value;
    FMin = std::min(FMin, FMax);
    FPosition = std::clamp(FPosition, FMin, FMax);
    ApplyRange();
}

int TTrackBar::Position() {
    if (HandleAllocated())
        FPosition = static_cast<int>(SendMessageA(FHandle, TBM_GETPOS, 0, 0));
    return FPosition;
}

void TTrackBar::SetPosition(int value) {
    value = std::clamp(value, FMin, FMax);
    if (value == Position())
        return;
    FPosition = value;
    if (HandleAllocated())
        SendMessageA(FHandle, TBM_SETPOS, TRUE, FPosition);
    if (OnChange)
        OnChange(this);
}

void TTrackBar::SetOrientation(TTrackBarOrientation value) {
    if (FOrientation == value)
        return;
    FOrientation = value;
    SetBounds(FLeft, FTop, FHeight, FWidth); // a standing bar is a lying one turned
    RecreateWnd();
}

void TTrackBar::SetFrequency(int value) {
    FFrequency = std::max(value, 1);
    ApplyRange();
}

void TTrackBar::WndProc(TMessage& message) {
    // The bar tells its parent about every move; the parent hands the news back here.
    if (message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL) {
        const int previous = FPosition;
        if (Position() != previous && OnChange)
            OnChange(this);
        message.Result = 0;
        return;
    }
    TWinControl::WndProc(message);
}

namespace {
const bool kRegistered = (RegisterClasses({TProgressBar::StaticClass(), TTrackBar::StaticClass()}), true);
}
