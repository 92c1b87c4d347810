// The multi-line edit, as far as the program's tools and the skin engine's scroll-bar overlays
// use it.
#pragma once

#include "StdCtrlsLists.h"

#include <string>

// Which scroll bars a memo shows; published as "TScrollStyle".
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
extern const TEnumType ScrollStyleType;

// Lines of text over the standard multi-line EDIT window, with the scroll bars asked for.
class TMemo : public TWinControl {
    TW_DECLARE_CLASS(TMemo, TWinControl)
    explicit TMemo(TComponent* owner);

    // Appends a line (the text keeps Windows line breaks).
    void AddLine(const std::string& line);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    TListBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TListBorderStyle value);

protected:
    void CreateParams(TCreateParams& params) override;

private:
    TScrollStyle FScrollBars = ssNone;
    TListBorderStyle FBorderStyle = lbsSingle;
};
