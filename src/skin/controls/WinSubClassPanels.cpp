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
    // Only the colour changes: the control's messages are left alone.
    if (!BeginAttachControl(form, skinData, ownColor, canvas))
        return;
    JoinForm();
    TakeFaceColor();
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
