// TMemo over the standard EDIT window class in multi-line mode.
#include "StdCtrlsMemo.h"

#include "Messages.h"
#include "TypInfo.h"

const TEnumType ScrollStyleType{"TScrollStyle", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}};

TClass TMemo::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TMemo>("TMemo")
            .Str("Text", &TMemo::Text, &TMemo::SetText)
            .Enum("ScrollBars", ScrollStyleType, &TMemo::ScrollBars, &TMemo::SetScrollBars)
            .Enum("BorderStyle", ListBorderStyleType, &TMemo::BorderStyle, &TMemo::SetBorderStyle)
            .Build();
    return &info;
}

TMemo::TMemo(TComponent* owner) : TWinControl(owner) {
    FControlStyle = TControlStyle{csCaptureMouse, csSetCaption, csDoubleClicks};
    FWidth = 185;
    FHeight = 89;
    FParentColor = false;
    FColor = clWindow;
    SetTabStop(true);
}

void TMemo::AddLine(const std::string& line) {
    const std::string text = Text();
    SetText(text.empty() ? line : text + "\r\n" + line);
}

void TMemo::SetScrollBars(TScrollStyle value) {
    if (FScrollBars == value)
        return;
    FScrollBars = value;
    // The bars are window styles: the window is made again, which the skin engine notices.
    if (HandleAllocated())
        Perform(CM_RECREATEWND);
}

void TMemo::SetBorderStyle(TListBorderStyle value) {
    if (FBorderStyle == value)
        return;
    FBorderStyle = value;
    if (HandleAllocated())
        Perform(CM_RECREATEWND);
}

void TMemo::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, "EDIT");
    params.Style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
    // Without a horizontal bar long lines wrap.
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth)
        params.Style |= WS_HSCROLL | ES_AUTOHSCROLL;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth)
        params.Style |= WS_VSCROLL;
    if (FBorderStyle == lbsSingle)
        params.ExStyle |= WS_EX_CLIENTEDGE;
}
