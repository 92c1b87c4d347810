// The comctl32 spin controls: the up-down buttons and the date/time picker, as far as the
// program and the skin engine use them.
#pragma once

#include "ComCtrls.h"

enum TUDOrientation { udVertical, udHorizontal };
extern const TEnumType UDOrientationType;

// Two arrow buttons that step a position; standing (up and down) or lying (left and right).
class TUpDown : public TWinControl {
    TW_DECLARE_CLASS(TUpDown, TWinControl)
    explicit TUpDown(TComponent* owner);

    TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TUDOrientation value);

protected:
    void CreateParams(TCreateParams& params) override;

private:
    TUDOrientation FOrientation = udVertical;
};

enum TDTDateMode { dmComboBox, dmUpDown };
extern const TEnumType DTDateModeType;

// A date field that drops a calendar down (dmComboBox) or steps with spin buttons (dmUpDown).
class TDateTimePicker : public TWinControl {
    TW_DECLARE_CLASS(TDateTimePicker, TWinControl)
    explicit TDateTimePicker(TComponent* owner);

    TDTDateMode DateMode() const { return FDateMode; }
    void SetDateMode(TDTDateMode value);
    // The calendar's window while it is dropped down, else null.
    HWND CalendarWindow() const;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    TDTDateMode FDateMode = dmComboBox;
};
