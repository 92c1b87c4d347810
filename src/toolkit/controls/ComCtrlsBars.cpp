// TProgressBar and TTrackBar: the comctl32 progress and track bars, their range and position
// kept by the control while it has no window.
#include "ComCtrls.h"

#include <algorithm>

const TEnumType ProgressBarOrientationType{"TProgressBarOrientation", {"pbHorizontal", "pbVertical"}};
const TEnumType TrackBarOrientationType{"TTrackBarOrientation", {"trHorizontal", "trVertical"}};

void TBarRange::SetMin(int value) {
    Min = value;
    Max = std::max(Max, Min);
    Position = std::clamp(Position, Min, Max);
}

void TBarRange::SetMax(int value) {
    Max = value;
    Min = std::min(Min, Max);
    Position = std::clamp(Position, Min, Max);
}

void TBarRange::SetPosition(int value) {
    Position = std::clamp(value, Min, Max);
}

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
    SendMessageA(FHandle, PBM_SETRANGE32, static_cast<WPARAM>(FRange.Min), FRange.Max);
    SendMessageA(FHandle, PBM_SETPOS, static_cast<WPARAM>(FRange.Position), 0);
}

void TProgressBar::SetMin(int value) {
    FRange.SetMin(value);
    ApplyRange();
}

void TProgressBar::SetMax(int value) {
    FRange.SetMax(value);
    ApplyRange();
}

int TProgressBar::Position() {
    if (HandleAllocated())
        FRange.Position = static_cast<int>(SendMessageA(FHandle, PBM_GETPOS, 0, 0));
    return FRange.Position;
}

void TProgressBar::SetPosition(int value) {
    FRange.SetPosition(value);
    ApplyRange();
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
    SendMessageA(FHandle, TBM_SETRANGEMIN, FALSE, FRange.Min);
    SendMessageA(FHandle, TBM_SETRANGEMAX, FALSE, FRange.Max);
    SendMessageA(FHandle, TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
    SendMessageA(FHandle, TBM_SETPOS, TRUE, FRange.Position);
}

void TTrackBar::SetMin(int value) {
    FRange.SetMin(value);
    ApplyRange();
}

void TTrackBar::SetMax(int value) {
    FRange.SetMax(value);
    ApplyRange();
}

int TTrackBar::Position() {
    if (HandleAllocated())
        FRange.Position = static_cast<int>(SendMessageA(FHandle, TBM_GETPOS, 0, 0));
    return FRange.Position;
}

void TTrackBar::SetPosition(int value) {
    const int previous = Position();
    FRange.SetPosition(value);
    if (FRange.Position == previous)
        return;
    ApplyRange();
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
        const int previous = FRange.Position;
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
