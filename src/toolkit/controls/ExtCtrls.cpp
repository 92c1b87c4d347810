#include "ExtCtrls.h"

TClass TPanel::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TPanel>("TPanel")
            .Bool("ParentBackground", &TPanel::ParentBackground, &TPanel::SetParentBackground)
            .Build();
    return &info;
}

TPanel::TPanel(TComponent* owner) : TCustomControl(owner) {
    FWidth = 185;
    FHeight = 41;
    FParentColor = false;
    FColor = clBtnFace;
}

void TPanel::Paint(HDC dc) {
    RECT r = ClientRect();
    DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    const std::string text = Caption();
    if (text.empty())
        return;
    TSelectScope font(dc, Font());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorRefOf(clBtnText));
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

namespace {
const bool kRegistered = (RegisterClasses({TPanel::StaticClass()}), true);
}
