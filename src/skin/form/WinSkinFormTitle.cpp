// The window text in the skinned title bar, drawn with the skin's title settings: the text
// starts TextShift pixels from the left (moved down by TextShiftVert), ends TextRightClip
// pixels before the right edge, is aligned left (0), centred (1) or right (2) in that span, uses
// the caption font at the skin's font height and the active or inactive text colour, and sits
// on the TextBack image when Textbackground is set.
#include "WinSkinForm.h"

#include "SkinDraw.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int taCentre = 1;
constexpr int taRight = 2;

TColor TitleColor(const TDataSkinTitle& title, bool active) {
    const TColor given = active ? title.ActiveTextColor : title.InactiveTextColor;
    if (given != clNone)
        return given;
    return active ? clCaptionText : clInactiveCaptionText;
}

} // namespace

std::wstring TWinSkinForm::WindowTextW() const {
    if (FUnicode || SkinIsNT()) {
        const int length = GetWindowTextLengthW(FHandle);
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(FHandle, text.data(), length + 1)));
        return text;
    }
    std::vector<char> buffer(1001, '\0');
    const auto length =
        SendMessageA(FHandle, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    const int count = MultiByteToWideChar(CP_ACP, 0, buffer.data(), static_cast<int>(length), nullptr, 0);
    std::wstring text(static_cast<size_t>(count), L'\0');
    MultiByteToWideChar(CP_ACP, 0, buffer.data(), static_cast<int>(length), text.data(), count);
    return text;
}

void TWinSkinForm::PaintTitleText(TCanvas& canvas) {
    if (!FSkinData || FBorderTop <= 0)
        return;
    TDataSkinTitle& title = *FSkinData->Elements().Title;
    FCaptionText = WindowTextW();
    if (FCaptionText.empty())
        return;
    RECT span{title.LeftWidth, title.TopHeight, FWindowWidth - title.RightWidth,
              FBorderTop + title.TopHeight};
    if (span.right <= span.left)
        return;

    TFont font;
    font.Assign(&FCaptionFont);
    if (title.FontHeight > 0)
        font.SetHeight(-title.FontHeight);
    font.SetColor(TitleColor(title, FActive));
    canvas.SetFont(&font);
    HDC dc = canvas.Handle();

    RECT measured = span;
    DrawTextW(dc, FCaptionText.c_str(), static_cast<int>(FCaptionText.size()), &measured,
              DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    const int textWidth = std::min<int>(measured.right - measured.left, span.right - span.left);
    UINT align = DT_LEFT;
    int textLeft = span.left;
    if (title.TextAlignment == taCentre) {
        align = DT_CENTER;
        textLeft = span.left + (span.right - span.left - textWidth) / 2;
    } else if (title.TextAlignment == taRight) {
        align = DT_RIGHT;
        textLeft = span.right - textWidth;
    }
    if (title.TextBackground != 0 && !title.Bitmap.Empty()) {
        const RECT back{textLeft - title.TextBackLeft, 0, textLeft + textWidth + title.TextBackRight,
                        FBorderTop};
        StretchSkinBar(dc, back, title.Bitmap, false, 1, 1,
                       TRect{title.TextBackLeft, 0, title.TextBackRight, 0});
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToColorRef(font.Color()));
    DrawTextW(dc, FCaptionText.c_str(), static_cast<int>(FCaptionText.size()), &span,
              align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void TWinSkinForm::RefreshTitle() {
    if (FSkinState != ssActive)
        return;
    if (FMDIKind == mdChild && FWinState == wsMaximized)
        PostMessageA(FClientWnd ? FClientWnd : GetParent(FHandle), WMS_REDRAWALL, 0, 0);
    else if (FWinState == wsMinimized)
        PaintFrame();
    else
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}
