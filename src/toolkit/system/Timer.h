// TTimer: OnTimer every Interval milliseconds while Enabled, through a hidden window.
#pragma once

#include "Component.h"
#include "Messages.h"

#include <windows.h>

class TTimer : public TComponent {
    TW_DECLARE_CLASS(TTimer, TComponent)
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    int Interval() const { return FInterval; }
    void SetInterval(int value);
    // Runs on every tick while assigned; the timer itself runs whenever it is enabled.
    TNotifyEvent OnTimer;
    void SetOnTimer(const TNotifyEvent& handler) { OnTimer = handler; }

protected:
    void Loaded() override;
    virtual void Timer();

private:
    void WndProc(TMessage& message);
    void UpdateTimer();

    bool FEnabled = true;
    int FInterval = 1000;
    HWND FWindow = nullptr;
    bool FRunning = false;
};
