#include "ExtCtrls.h"

TClass TCustomPanel::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCustomPanel>("TCustomPanel").Build();
    return &info;
}

TClass TPanel::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TPanel>("TPanel")
            .Bool("ParentBackground", &TPanel::ParentBackground, &TPanel::SetParentBackground)
            .Build();
    return &info;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    FWidth = 185;
    FHeight = 41;
    FParentColor = false;
    FColor = clBtnFace;
}

void TCustomPanel::Paint(HDC dc) {
    RECT r = ClientRect();
    DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    const std::string text = Caption();
    if (text.empty())
        return;
    TSelectScope font(dc, Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorRefOf(Font()->Color()));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

namespace {
const bool kRegistered = (RegisterClasses({TPanel::StaticClass()}), true);
}
