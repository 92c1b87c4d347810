#include "ColorIdents.h"

#include <cstdint>

const TIdentMap ColorIdents{"TColor",
                            {{"clBlack", clBlack},
                             {"clMaroon", clMaroon},
                             {"clGreen", clGreen},
                             {"clOlive", clOlive},
                             {"clNavy", clNavy},
                             {"clPurple", clPurple},
                             {"clTeal", clTeal},
                             {"clGray", clGray},
                             {"clSilver", clSilver},
                             {"clRed", clRed},
                             {"clLime", clLime},
                             {"clYellow", clYellow},
                             {"clBlue", clBlue},
                             {"clFuchsia", clFuchsia},
                             {"clAqua", clAqua},
                             {"clWhite", clWhite},
                             {"clNone", clNone},
                             {"clDefault", clDefault},
                             {"clScrollBar", clScrollBar},
                             {"clBackground", clBackground},
                             {"clActiveCaption", clActiveCaption},
                             {"clInactiveCaption", clInactiveCaption},
                             {"clMenu", clMenu},
                             {"clWindow", clWindow},
                             {"clWindowFrame", clWindowFrame},
                             {"clMenuText", clMenuText},
                             {"clWindowText", clWindowText},
                             {"clCaptionText", clCaptionText},
                             {"clActiveBorder", clActiveBorder},
                             {"clInactiveBorder", clInactiveBorder},
                             {"clAppWorkSpace", clAppWorkSpace},
                             {"clHighlight", clHighlight},
                             {"clHighlightText", clHighlightText},
                             {"clBtnFace", clBtnFace},
                             {"clBtnShadow", clBtnShadow},
                             {"clGrayText", clGrayText},
                             {"clBtnText", clBtnText},
                             {"clInactiveCaptionText", clInactiveCaptionText},
                             {"clBtnHighlight", clBtnHighlight},
                             {"cl3DDkShadow", cl3DDkShadow},
                             {"cl3DLight", cl3DLight},
                             {"clInfoText", clInfoText},
                             {"clInfoBk", clInfoBk},
                             {"clHotLight", clHotLight},
                             {"clGradientActiveCaption", clGradientActiveCaption},
                             {"clGradientInactiveCaption", clGradientInactiveCaption},
                             {"clMenuHighlight", clMenuHighlight},
                             {"clMenuBar", clMenuBar}}};

bool ColorToIdent(TColor color, std::string& ident) {
    return ColorIdents.IntToIdent(color, ident);
}

bool IdentToColor(std::string_view ident, TColor& color) {
    int64_t value = 0;
    if (!ColorIdents.IdentToInt(ident, value))
        return false;
    color = static_cast<TColor>(value);
    return true;
}

std::string ColorToString(TColor color) {
    std::string ident;
    if (ColorToIdent(color, ident))
        return ident;
    return "$" + IntToHex(static_cast<uint32_t>(color), 8);
}

TColor StringToColor(std::string_view text) {
    TColor color = 0;
    if (IdentToColor(text, color))
        return color;
    int64_t value = 0;
    // Colours are 32-bit patterns: "$FF00000F" is as valid as its negative decimal form.
    if (!TryStrToInt64(text, value) || value < INT32_MIN || value > UINT32_MAX)
        throw EConvertError(FormatMsg("'%s' is not a valid colour", {text}));
    return static_cast<TColor>(static_cast<uint32_t>(value));
}
