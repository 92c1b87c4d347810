// TCustomGroupBox: the system's BS_GROUPBOX button holding child controls.
#include "StdCtrls.h"

TClass TCustomGroupBox::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCustomGroupBox>("TCustomGroupBox").Build();
    return &info;
}

TClass TGroupBox::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGroupBox>("TGroupBox").Build();
    return &info;
}

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TWinControl(owner) {
    FControlStyle =
        TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FWidth = 185;
    FHeight = 105;
}

void TCustomGroupBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, "BUTTON");
    params.Style |= BS_GROUPBOX;
}

// Aligned children stay inside the frame and below the caption.
void TCustomGroupBox::AlignControls(RECT& rect) {
    TEXTMETRICA metrics{};
    {
        TWindowDC screen(nullptr);
        TSelectScope font(screen.Get(), Font()->Handle());
        GetTextMetricsA(screen.Get(), &metrics);
    }
    rect.top += metrics.tmHeight;
    InflateRect(&rect, -2, -2);
    TWinControl::AlignControls(rect);
}

void TCustomGroupBox::WndProc(TMessage& message) {
    // The system's group box paints its frame and caption only; the inside is the control's.
    if (message.Msg == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(FHandle, &r);
        FillRect(reinterpret_cast<HDC>(message.WParam), &r, Brush());
        message.Result = 1;
        return;
    }
    TWinControl::WndProc(message);
}

namespace {
const bool kRegistered = (RegisterClasses({TGroupBox::StaticClass()}), true);
}
