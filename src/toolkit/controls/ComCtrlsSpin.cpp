// TUpDown and TDateTimePicker over their comctl32 window classes.
#include "ComCtrlsSpin.h"

const TEnumType UDOrientationType{"TUDOrientation", {"udVertical", "udHorizontal"}};
const TEnumType DTDateModeType{"TDTDateMode", {"dmComboBox", "dmUpDown"}};

// ---- TUpDown -------------------------------------------------------------------------------

TClass TUpDown::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TUpDown>("TUpDown")
            .Enum("Orientation", UDOrientationType, &TUpDown::Orientation, &TUpDown::SetOrientation)
            .Build();
    return &info;
}

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner) {
    InitCommonControl(ICC_UPDOWN_CLASS);
    FWidth = 17;
    FHeight = 25;
}

void TUpDown::SetOrientation(TUDOrientation value) {
    if (FOrientation == value)
        return;
    FOrientation = value;
    RecreateWnd();
}

void TUpDown::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, UPDOWN_CLASSA);
    params.Style |= UDS_ARROWKEYS;
    if (FOrientation == udHorizontal)
        params.Style |= UDS_HORZ;
}

// ---- TDateTimePicker -----------------------------------------------------------------------

TClass TDateTimePicker::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TDateTimePicker>("TDateTimePicker")
            .Enum("DateMode", DTDateModeType, &TDateTimePicker::DateMode, &TDateTimePicker::SetDateMode)
            .Build();
    return &info;
}

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
    InitCommonControl(ICC_DATE_CLASSES);
    FWidth = 186;
    FHeight = 21;
    FParentColor = false;
    FColor = clWindow;
    SetTabStop(true);
}

void TDateTimePicker::SetDateMode(TDTDateMode value) {
    if (FDateMode == value)
        return;
    FDateMode = value;
    RecreateWnd();
}

HWND TDateTimePicker::CalendarWindow() const {
    return FHandle ? reinterpret_cast<HWND>(SendMessageA(FHandle, DTM_GETMONTHCAL, 0, 0)) : nullptr;
}

void TDateTimePicker::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, DATETIMEPICK_CLASSA);
    if (FDateMode == dmUpDown)
        params.Style |= DTS_UPDOWN;
}

namespace {
const bool kRegistered = (RegisterClasses({TUpDown::StaticClass(), TDateTimePicker::StaticClass()}), true);
}
