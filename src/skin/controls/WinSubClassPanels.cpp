#include "WinSubClassPanels.h"

#include "TypInfo.h"

TClass TSkinBox::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinBox>("TSkinBox").Build();
    return &info;
}

TClass TSkinBoxH::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinBoxH>("TSkinBoxH").Build();
    return &info;
}

TClass TSkinSizer::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinSizer>("TSkinSizer").Build();
    return &info;
}

// ---- TSkinBox -------------------------------------------------------------------------------

void TSkinBox::AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) {
    auto* control = dynamic_cast<TWinControl*>(Owner());
    if (FAttached || !control)
        return;
    FOwnColor = ownColor;
    FSkinData = skinData;
    FCanvas = canvas;
    FForm = form;
    FControl = control;
    FHandle = control->Handle();
    JoinForm();
    if (FOwnColor) {
        SetParentBackground(true);
        FOldColor = control->Color();
        control->SetColor(FaceColor());
    }
    FAttached = true;
    FState = stAttached;
}

void TSkinBox::Detach() {
    if (FState != stKeepColor && FOwnColor && FControl) {
        SetParentBackground(false);
        FControl->SetColor(FOldColor);
    }
    FState = stDetached;
}

// ---- TSkinBoxH ------------------------------------------------------------------------------

bool TSkinBoxH::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_ERASEBKGND: {
        RECT window{};
        GetWindowRect(FHandle, &window);
        FillFace(reinterpret_cast<HDC>(message.WParam),
                 TRect{0, 0, window.right - window.left, window.bottom - window.top});
        message.Result = 0;
        return false;
    }
    case WM_CTLCOLORSTATIC:
        CallOldProc(message);
        if (FSkinData)
            message.Result = reinterpret_cast<LRESULT>(FSkinData->Elements().ButtonFaceBrush.Get());
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

// ---- TSkinSizer -----------------------------------------------------------------------------

void TSkinSizer::DrawSkin(HDC dc, const TRect& r) {
    FillFace(dc, r);
}
