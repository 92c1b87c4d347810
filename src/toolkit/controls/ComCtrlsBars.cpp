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

// ---- TCustomRangeBar -----------------------------------------------------------------------

TClass TCustomRangeBar::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TCustomRangeBar>("TCustomRangeBar")
            .Int("Min", &TCustomRangeBar::Min, &TCustomRangeBar::SetMin)
            .Int("Max", &TCustomRangeBar::Max, &TCustomRangeBar::SetMax)
            .Int("Position", &TCustomRangeBar::Position, &TCustomRangeBar::SetPosition)
            .Build();
    return &info;
}

TCustomRangeBar::TCustomRangeBar(TComponent* owner, TBarRange range) : TWinControl(owner), FRange(range) {}

void TCustomRangeBar::CreateWnd() {
    TWinControl::CreateWnd();
    ApplyRange();
}

void TCustomRangeBar::SyncWindow() {
    if (HandleAllocated())
        ApplyRange();
}

void TCustomRangeBar::ChangeRange(void (TBarRange::*change)(int), int value) {
    const int previous = Position();
    (FRange.*change)(value);
    SyncWindow();
    if (FRange.Position != previous)
        PositionChanged();
}

void TCustomRangeBar::SetMin(int value) {
    ChangeRange(&TBarRange::SetMin, value);
}

void TCustomRangeBar::SetMax(int value) {
    ChangeRange(&TBarRange::SetMax, value);
}

int TCustomRangeBar::Position() {
    if (HandleAllocated())
        FRange.Position = WindowPosition();
    return FRange.Position;
}

void TCustomRangeBar::SetPosition(int value) {
    ChangeRange(&TBarRange::SetPosition, value);
}

// ---- TProgressBar --------------------------------------------------------------------------

TClass TProgressBar::StaticClass() {
    static const TClassInfo info = TClassBuilder<TProgressBar>("TProgressBar")
                                       .Enum("Orientation", ProgressBarOrientationType,
                                             &TProgressBar::Orientation, &TProgressBar::SetOrientation)
                                       .Bool("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth)
                                       .Build();
    return &info;
}

TProgressBar::TProgressBar(TComponent* owner) : TCustomRangeBar(owner, TBarRange{0, 100, 0}) {
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

void TProgressBar::ApplyRange() {
    SendMessageA(FHandle, PBM_SETRANGE32, static_cast<WPARAM>(FRange.Min), FRange.Max);
    SendMessageA(FHandle, PBM_SETPOS, static_cast<WPARAM>(FRange.Position), 0);
}

int TProgressBar::WindowPosition() {
    return static_cast<int>(SendMessageA(FHandle, PBM_GETPOS, 0, 0));
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
            .Enum("Orientation", TrackBarOrientationType, &TTrackBar::Orientation, &TTrackBar::SetOrientation)
            .Event<TNotifyEvent>("OnChange", &TTrackBar::OnChange)
            .Build();
    return &info;
}

TTrackBar::TTrackBar(TComponent* owner) : TCustomRangeBar(owner, TBarRange{0, 10, 0}) {
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

void TTrackBar::ApplyRange() {
    SendMessageA(FHandle, TBM_SETRANGEMIN, FALSE, FRange.Min);
    SendMessageA(FHandle, TBM_SETRANGEMAX, FALSE, FRange.Max);
    SendMessageA(FHandle, TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 0);
    SendMessageA(FHandle, TBM_SETPOS, TRUE, FRange.Position);
}

int TTrackBar::WindowPosition() {
    return static_cast<int>(SendMessageA(FHandle, TBM_GETPOS, 0, 0));
}

void TTrackBar::PositionChanged() {
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
    SyncWindow();
}

void TTrackBar::WndProc(TMessage& message) {
    // The bar tells its parent about every move; the parent hands the news back here.
    if (message.Msg == CN_HSCROLL || message.Msg == CN_VSCROLL) {
        const int previous = FRange.Position;
        if (Position() != previous)
            PositionChanged();
        message.Result = 0;
        return;
    }
    TCustomRangeBar::WndProc(message);
}

namespace {
const bool kRegistered = (RegisterClasses({TProgressBar::StaticClass(), TTrackBar::StaticClass()}), true);
}
