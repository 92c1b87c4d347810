#include "Timer.h"

#include "Controls.h"
#include "ObjectInstance.h"

TClass TTimer::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTimer>("TTimer")
                                       .Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled)
                                       .Int("Interval", &TTimer::Interval, &TTimer::SetInterval)
                                       .Event<TNotifyEvent>("OnTimer", &TTimer::OnTimer)
                                       .Build();
    return &info;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    FWindow = AllocateHWnd(TWndMethod(this, &TTimer::WndProc));
}

TTimer::~TTimer() {
    FEnabled = false;
    UpdateTimer();
    DeallocateHWnd(FWindow);
}

void TTimer::SetEnabled(bool value) {
    if (FEnabled == value)
        return;
    FEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(int value) {
    if (FInterval == value)
        return;
    FInterval = value;
    UpdateTimer();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    UpdateTimer(); // not started while the description was read
}

void TTimer::UpdateTimer() {
    if (FRunning) {
        KillTimer(FWindow, 1);
        FRunning = false;
    }
    const TComponentState state = ComponentState();
    if (FEnabled && FInterval > 0 && !state.Contains(csLoading) && !state.Contains(csDesigning) &&
        !state.Contains(csDestroying)) {
        if (!SetTimer(FWindow, 1, static_cast<UINT>(FInterval), nullptr))
            throw EOutOfResources("Not enough timers available");
        FRunning = true;
    }
}

void TTimer::Timer() {
    if (OnTimer)
        OnTimer(this);
}

void TTimer::WndProc(TMessage& message) {
    if (message.Msg == WM_TIMER) {
        try {
            Timer();
        } catch (...) {
            HandleControlException(this);
        }
        return;
    }
    message.Result = DefWindowProcA(FWindow, message.Msg, message.WParam, message.LParam);
}

namespace {
const bool kRegistered = (RegisterClasses({TTimer::StaticClass()}), true);
}
