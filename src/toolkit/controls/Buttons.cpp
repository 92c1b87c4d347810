#include "Buttons.h"

#include "TypInfo.h"

#include <algorithm>

const TEnumType ButtonLayoutType{"TButtonLayout",
                                 {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}};

// ---- layout ---------------------------------------------------------------------------------

TButtonGlyphLayout LayoutButtonGlyph(const RECT& client, SIZE glyph, SIZE text, TButtonLayout layout,
                                     int margin, int spacing) {
    const bool across = layout == blGlyphLeft || layout == blGlyphRight;
    const int room = across ? client.right - client.left : client.bottom - client.top;
    const int g = across ? glyph.cx : glyph.cy;
    const int t = across ? text.cx : text.cy;
    if (g == 0 || t == 0)
        spacing = 0;
    if (margin < 0 && spacing < 0)
        margin = spacing = (room - g - t) / 3;
    else if (margin < 0)
        margin = (room - g - spacing - t) / 2;
    else if (spacing < 0)
        spacing = (room - margin - g - t) / 2;
    int glyphAt = margin;
    int textAt = margin + g + spacing;
    if (layout == blGlyphRight || layout == blGlyphBottom) {
        glyphAt = room - margin - g;
        textAt = glyphAt - spacing - t;
    }
    // The other axis centres both.
    const int cross = across ? client.bottom - client.top : client.right - client.left;
    const int glyphCross = (cross - (across ? glyph.cy : glyph.cx)) / 2;
    const int textCross = (cross - (across ? text.cy : text.cx)) / 2;
    TButtonGlyphLayout result;
    auto place = [&](RECT& r, int along, int at, SIZE size) {
        const POINT origin = across ? POINT{client.left + along, client.top + at}
                                    : POINT{client.left + at, client.top + along};
        r = RECT{origin.x, origin.y, origin.x + size.cx, origin.y + size.cy};
    };
    place(result.Glyph, glyphAt, glyphCross, glyph);
    place(result.Text, textAt, textCross, text);
    return result;
}

// ---- the glyph ------------------------------------------------------------------------------

void TButtonGlyph::SetGlyph(TBitmap* value) {
    FGlyph->Assign(value);
}

void TButtonGlyph::SetNumGlyphs(int value) {
    FNumGlyphs = std::clamp(value, 1, 4);
}

SIZE TButtonGlyph::PictureSize() const {
    if (FGlyph->Empty())
        return SIZE{0, 0};
    return SIZE{FGlyph->Width() / FNumGlyphs, FGlyph->Height()};
}

void TButtonGlyph::Draw(HDC dc, int x, int y, int index) const {
    const SIZE size = PictureSize();
    if (size.cx <= 0 || size.cy <= 0)
        return;
    if (index > FNumGlyphs)
        index = 1;
    const RECT source{size.cx * (index - 1), 0, size.cx * index, size.cy};
    TransparentStretch(dc, RECT{x, y, x + size.cx, y + size.cy}, *FGlyph, source, FGlyph->TransparentColor());
}

namespace {

// Caption and glyph of a button face in r; the caption in the control's font.
void DrawFace(HDC dc, const RECT& r, TControl& control, const TButtonGlyph& glyph, int index,
              TButtonLayout layout, int margin, int spacing, bool enabled) {
    const std::wstring caption = AnsiToWide(control.Caption());
    TSelectScope font(dc, control.Font()->Handle());
    RECT measured = r;
    if (!caption.empty())
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured,
                  DT_CALCRECT | DT_SINGLELINE);
    const SIZE text =
        caption.empty() ? SIZE{0, 0} : SIZE{measured.right - measured.left, measured.bottom - measured.top};
    const TButtonGlyphLayout placed =
        LayoutButtonGlyph(r, glyph.PictureSize(), text, layout, margin, spacing);
    glyph.Draw(dc, placed.Glyph.left, placed.Glyph.top, index);
    if (caption.empty())
        return;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour =
        SetTextColor(dc, enabled ? ColorToRGB(control.Font()->Color()) : GetSysColor(COLOR_GRAYTEXT));
    RECT target = placed.Text;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &target, DT_SINGLELINE | DT_NOCLIP);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

} // namespace

// ---- TBitBtn --------------------------------------------------------------------------------

TClass TBitBtn::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TBitBtn>("TBitBtn")
            .Obj<TBitmap>("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph)
            .Enum("Layout", ButtonLayoutType, &TBitBtn::Layout, &TBitBtn::SetLayout)
            .Int("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin)
            .Int("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs)
            .Int("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing)
            .Build();
    return &info;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::SetGlyph(TBitmap* value) {
    FGlyph.SetGlyph(value);
    Invalidate();
}

void TBitBtn::SetNumGlyphs(int value) {
    FGlyph.SetNumGlyphs(value);
    Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout value) {
    FLayout = value;
    Invalidate();
}

void TBitBtn::SetMargin(int value) {
    FMargin = value;
    Invalidate();
}

void TBitBtn::SetSpacing(int value) {
    FSpacing = value;
    Invalidate();
}

void TBitBtn::CreateParams(TCreateParams& params) {
    TButton::CreateParams(params);
    params.Style = (params.Style & ~0xFu) | BS_OWNERDRAW;
}

void TBitBtn::WndProc(TMessage& message) {
    switch (message.Msg) {
    case BM_SETSTYLE:
        // Being the default button must not turn the drawn button into a plain one.
        message.WParam = (message.WParam & ~0xFu) | BS_OWNERDRAW;
        break;
    case CN_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam));
        message.Result = TRUE;
        return;
    default:
        break;
    }
    TButton::WndProc(message);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
    RECT r = item.rcItem;
    const bool pushed = (item.itemState & ODS_SELECTED) != 0;
    const bool enabled = (item.itemState & ODS_DISABLED) == 0;
    const UINT state = DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0) | (enabled ? 0 : DFCS_INACTIVE);
    if (Active()) {
        // The default button's dark outline.
        FrameRect(item.hDC, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    DrawFrameControl(item.hDC, &r, DFC_BUTTON, state);
    InflateRect(&r, -2, -2);
    if (pushed)
        OffsetRect(&r, 1, 1);
    DrawFace(item.hDC, r, *this, FGlyph, !enabled ? 2 : pushed ? 3 : 1, FLayout, FMargin, FSpacing, enabled);
    if (item.itemState & ODS_FOCUS) {
        InflateRect(&r, -1, -1);
        DrawFocusRect(item.hDC, &r);
    }
}

// ---- TSpeedButton ---------------------------------------------------------------------------

TClass TSpeedButton::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TSpeedButton>("TSpeedButton")
            .Bool("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp)
            .Bool("Down", &TSpeedButton::Down, &TSpeedButton::SetDown)
            .Bool("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat)
            .Obj<TBitmap>("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph)
            .Int("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex)
            .Enum("Layout", ButtonLayoutType, &TSpeedButton::Layout, &TSpeedButton::SetLayout)
            .Int("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin)
            .Int("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs)
            .Int("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing)
            .Build();
    return &info;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
    FWidth = 23;
    FHeight = 22;
}

void TSpeedButton::SetGlyph(TBitmap* value) {
    FGlyph.SetGlyph(value);
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int value) {
    FGlyph.SetNumGlyphs(value);
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout value) {
    FLayout = value;
    Invalidate();
}

void TSpeedButton::SetMargin(int value) {
    FMargin = value;
    Invalidate();
}

void TSpeedButton::SetSpacing(int value) {
    FSpacing = value;
    Invalidate();
}

void TSpeedButton::SetDown(bool value) {
    if (FDown == value)
        return;
    FDown = value;
    if (FDown)
        ReleaseGroup();
    Invalidate();
}

void TSpeedButton::SetFlat(bool value) {
    FFlat = value;
    Invalidate();
}

void TSpeedButton::ReleaseGroup() {
    if (FGroupIndex == 0 || !FParent)
        return;
    for (int i = 0; i < FParent->ControlCount(); ++i)
        if (auto* other = dynamic_cast<TSpeedButton*>(FParent->Controls(i));
            other && other != this && other->FGroupIndex == FGroupIndex)
            other->SetDown(false);
}

void TSpeedButton::Click() {
    if (FGroupIndex != 0)
        SetDown(!(FDown && FAllowAllUp));
    TGraphicControl::Click();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && FEnabled) {
        FPressed = true;
        Invalidate();
    }
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    const bool click = button == mbLeft && FPressed && x >= 0 && y >= 0 && x < FWidth && y < FHeight;
    if (button == mbLeft && FPressed) {
        FPressed = false;
        Invalidate();
    }
    TGraphicControl::MouseUp(button, shift, x, y);
    if (click)
        Click();
}

void TSpeedButton::WndProc(TMessage& message) {
    switch (message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        FHot = message.Msg == CM_MOUSEENTER;
        if (FFlat)
            Invalidate();
        break;
    default:
        break;
    }
    TGraphicControl::WndProc(message);
}

void TSpeedButton::Paint(HDC dc) {
    RECT r{0, 0, FWidth, FHeight};
    const bool sunken = FPressed || FDown;
    if (!FFlat)
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (sunken ? DFCS_PUSHED : 0));
    else if (sunken || (FHot && FEnabled))
        DrawEdge(dc, &r, sunken ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    InflateRect(&r, -2, -2);
    if (sunken)
        OffsetRect(&r, 1, 1);
    const int index = !FEnabled ? 2 : FDown ? 4 : FPressed ? 3 : 1;
    DrawFace(dc, r, *this, FGlyph, index, FLayout, FMargin, FSpacing, FEnabled);
}

namespace {
const bool kRegistered = (RegisterClasses({TBitBtn::StaticClass(), TSpeedButton::StaticClass()}), true);
}
