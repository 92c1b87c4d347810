// Glyph buttons and speed buttons: the skin's button face with the control's own glyph (an
// image-list image, or a picture property's graphic) and caption laid out the way the control
// asks (layout, margin, spacing).
#include "WinSubClassButtons.h"

#include "Graphic.h"
#include "ImgUtil.h"
#include "SkinDraw.h"
#include "TypInfo.h"
#include "WinSkinForm.h"

#include <algorithm>

// ---- layout ---------------------------------------------------------------------------------

TGlyphPlacement PlaceGlyphAndText(SIZE client, SIZE glyph, SIZE text, int layout, int margin, int spacing,
                                  bool centred, bool speedButton) {
    TGlyphPlacement placed;
    POINT glyphAt{0, 0}, textAt{0, 0};
    const bool across = layout == 0 || layout == 1;
    if (across) {
        glyphAt.y = (client.cy - glyph.cy + 1) / 2;
        textAt.y = (client.cy - text.cy + 1) / 2;
    } else {
        glyphAt.x = (client.cx - glyph.cx + 1) / 2;
        textAt.x = (client.cx - text.cx + 1) / 2;
    }
    if (text.cx == 0 || glyph.cx == 0)
        spacing = 0;
    const int c = across ? client.cx : client.cy;
    const int g = across ? glyph.cx : glyph.cy;
    const int t = across ? text.cx : text.cy;
    if (margin == -1 || centred) {
        if (spacing == -1) {
            margin = (c - (g + t)) / 3;
            spacing = margin;
        } else {
            margin = (c - (g + spacing + t)) / 2 + (speedButton ? 1 : 0);
        }
    } else if (spacing == -1) {
        spacing = (c - margin - g - t) / 2;
    }
    switch (layout) {
    case 1:
        glyphAt.x = client.cx - margin - glyph.cx;
        textAt.x = glyphAt.x - spacing - text.cx;
        placed.Flags |= DT_RIGHT;
        break;
    case 2:
        glyphAt.y = margin;
        textAt.y = margin + glyph.cy + spacing;
        placed.Flags |= DT_CENTER;
        break;
    case 3:
        glyphAt.y = client.cy - margin - glyph.cy;
        textAt.y = glyphAt.y - spacing - text.cy;
        placed.Flags |= DT_CENTER;
        break;
    default:
        glyphAt.x = margin;
        textAt.x = margin + glyph.cx + spacing;
        break;
    }
    placed.Glyph = glyphAt;
    placed.Text = TRect{textAt.x, textAt.y, textAt.x + text.cx, textAt.y + text.cy};
    return placed;
}

int GlyphLayoutOf(TObject* control) {
    static constexpr std::string_view kLayouts[] = {"blglyphleft", "blglyphright", "blglyphtop",
                                                    "blglyphbottom"};
    const std::string layout = GetEnumText(control, "Layout");
    const auto* found = std::find(std::begin(kLayouts), std::end(kLayouts), layout);
    return found == std::end(kLayouts) ? 0 : static_cast<int>(found - std::begin(kLayouts));
}

namespace {

// NumGlyphs as a count: missing or negative is one.
int GlyphCount(TObject* control) {
    const int64_t count = GetIntProp(control, "NumGlyphs");
    return count < 1 ? 1 : static_cast<int>(count);
}

int IntOr(TObject* control, std::string_view name, int fallback) {
    const TPropInfo* prop = control ? GetPropInfo(control, name) : nullptr;
    return prop && prop->Kind == tkInteger ? static_cast<int>(GetIntProp(control, name)) : fallback;
}

TBitmap* GlyphOf(TObject* control) {
    auto* glyph = dynamic_cast<TBitmap*>(GetObjectPropOf(control, "Glyph", TBitmap::StaticClass()));
    return glyph && !glyph->Empty() ? glyph : nullptr;
}

} // namespace

// ---- TSkinBitButton -------------------------------------------------------------------------

TClass TSkinBitButton::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinBitButton>("TSkinBitButton").Build();
    return &info;
}

TGlyphPlacement TSkinBitButton::LayOut(TCanvas& canvas, TObject* control, SIZE client, SIZE glyph,
                                       bool speedButton) {
    const int layout = GlyphLayoutOf(control);
    // The caption is measured in what the glyph leaves.
    TRect room{2, 2, client.cx - 2, client.cy - 2};
    if (layout <= 1)
        room.right -= glyph.cx + 2;
    else
        room.bottom -= glyph.cy + 2;
    const SIZE text = MeasureCaption(canvas, room);
    const bool centred = !speedButton && GetEnumText(control, "Alignment") == "tacenter";
    return PlaceGlyphAndText(client, glyph, text, layout, IntOr(control, "Margin", -1),
                             IntOr(control, "Spacing", -1), centred, speedButton);
}

int TSkinBitButton::GlyphIndexOf(int frame) {
    return frame == frPressed ? 3 : frame == frDisabled ? 2 : 1;
}

void TSkinBitButton::DrawGlyph(TCanvas& canvas, const TRect& r, int numGlyphs, int glyphIndex,
                               TBitmap& glyph) {
    numGlyphs = std::max(numGlyphs, 1);
    const int width = glyph.Width() / numGlyphs;
    if (width <= 0 || glyph.Height() <= 0)
        return;
    // A disabled button with too few pictures shows its first one grey.
    const bool grey = glyphIndex == 2;
    if (numGlyphs < glyphIndex)
        glyphIndex = 1;
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(width, glyph.Height());
    BitBlt(picture.Canvas()->Handle(), 0, 0, width, glyph.Height(), glyph.Canvas()->Handle(),
           width * (glyphIndex - 1), 0, SRCCOPY);
    if (grey)
        GrayscaleBitmap(picture.PixelView());
    const TColor key = picture.Canvas()->Pixels(0, glyph.Height() - 1);
    TransparentStretch(canvas.Handle(), TRect{r.left, r.top, r.left + width, r.top + glyph.Height()}, picture,
                       TRect{0, 0, width, glyph.Height()}, key);
}

void TSkinBitButton::DrawSkin(HDC dc, const TRect& r) {
    if (!ButtonElement())
        return;
    if (!FPictureProp.empty()) {
        DrawPictureButton(dc, r);
        return;
    }
    ReadState();
    const int frame = StateFrame();
    PaintFace(r, frame);
    TCanvas& canvas = *FBuffer.Canvas();
    PrepareFont(canvas, frame);

    TBitmap* glyph = GlyphOf(FControl);
    auto* images =
        dynamic_cast<TCustomImageList*>(GetObjectPropOf(FControl, "Images", TCustomImageList::StaticClass()));
    const int imageIndex = IntOr(FControl, "ImageIndex", -1);
    const int numGlyphs = GlyphCount(FControl);
    const SIZE client{RectWidth(r), RectHeight(r)};
    SIZE g{0, 0};
    if (glyph)
        g = SIZE{glyph->Width() / numGlyphs, glyph->Height()};
    else if (images && imageIndex != -1)
        g = SIZE{images->Width(), images->Height()};
    const TGlyphPlacement placed = LayOut(canvas, FControl, client, g, false);
    if (glyph) {
        DrawGlyph(canvas, TRect{placed.Glyph.x, placed.Glyph.y, 0, 0}, numGlyphs, GlyphIndexOf(frame),
                  *glyph);
    } else if (images) {
        const int disabledIndex = IntOr(FControl, "DisabledIndex", -1);
        if (FEnabled && imageIndex != -1)
            images->Draw(&canvas, placed.Glyph.x, placed.Glyph.y, imageIndex, true);
        else if (!FEnabled && (disabledIndex != -1 || imageIndex != -1))
            images->Draw(&canvas, placed.Glyph.x, placed.Glyph.y,
                         disabledIndex != -1 ? disabledIndex : imageIndex, false);
    }
    DrawPlacedCaption(canvas, placed.Text, placed.Flags);
    BitBlt(dc, r.left, r.top, client.cx, client.cy, canvas.Handle(), 0, 0, SRCCOPY);
    canvas.Refresh();
}

void TSkinBitButton::DrawPictureButton(HDC dc, const TRect& r) {
    ReadState();
    const int frame = StateFrame();
    PaintFace(r, frame);
    TCanvas& canvas = *FBuffer.Canvas();
    PrepareFont(canvas, frame);
    auto* picture = dynamic_cast<TGraphic*>(GetObjectPropOf(FControl, FPictureProp));
    const SIZE client{RectWidth(r), RectHeight(r)};
    const SIZE g = picture && !picture->Empty() ? SIZE{picture->Width(), picture->Height()} : SIZE{0, 0};
    const TGlyphPlacement placed = LayOut(canvas, FControl, client, g, false);
    if (g.cx > 0)
        canvas.Draw(placed.Glyph.x, placed.Glyph.y, picture);
    DrawPlacedCaption(canvas, placed.Text, placed.Flags, false);
    BitBlt(dc, r.left, r.top, client.cx, client.cy, canvas.Handle(), 0, 0, SRCCOPY);
    canvas.Refresh();
}

// ---- TSkinSpeedButton -----------------------------------------------------------------------

TClass TSkinSpeedButton::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinSpeedButton>("TSkinSpeedButton").Build();
    return &info;
}

TSkinSpeedButton::~TSkinSpeedButton() {
    GiveBackWindowProc();
}

void TSkinSpeedButton::GiveBackWindowProc() {
    if (FGraphicControl && FOldWindowProc)
        FGraphicControl->WindowProc = std::exchange(FOldWindowProc, TWndMethod());
}

void TSkinSpeedButton::AttachGraphic(TWinSkinForm* form, TSkinData* skinData, TCanvas* canvas) {
    auto* control = dynamic_cast<TControl*>(Owner());
    if (FAttached || !control)
        return;
    FForm = form;
    FSkinData = skinData;
    FCanvas = canvas;
    FGraphicControl = control;
    FOldWindowProc = control->WindowProc;
    control->WindowProc = TWndMethod(this, &TSkinSpeedButton::NewWindowProc);
    JoinForm();
    FTransparent = control->Tag() == 5555 || (skinData && skinData->Options().Contains(xoTransparent));
    FEnabled = control->Enabled();
    FAttached = true;
    FState = stAttached;
    control->Invalidate();
}

bool TSkinSpeedButton::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT: {
        auto* control = dynamic_cast<TGraphicControl*>(FGraphicControl);
        const auto dc = reinterpret_cast<HDC>(message.WParam);
        if (control && dc) {
            TCanvas& canvas = *control->Canvas();
            canvas.Lock();
            canvas.SetHandle(dc);
            DrawSpeedButton(canvas, TRect{0, 0, control->Width(), control->Height()});
            canvas.SetHandle(nullptr);
            canvas.Unlock();
        }
        message.Result = 1;
        return false;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The control keeps its own press and release logic.
        CallOldProc(message);
        FMouseState |= msPressed;
        PaintNow(nullptr);
        return false;
    case WM_LBUTTONUP:
        return true;
    default:
        return TSkinButton::BeforeMessage(message);
    }
}

void TSkinSpeedButton::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_ENABLE:
    case CM_FOCUSCHANGED:
    case CM_ENABLEDCHANGED:
        break;
    case WM_NCDESTROY:
    case CM_RELEASE:
        GiveBackWindowProc();
        break;
    case WM_KEYDOWN:
        if (message.WParam == VK_SPACE) {
            FMouseState |= msPressed;
            PaintNow(nullptr);
        }
        break;
    case WM_KEYUP:
    case WM_LBUTTONUP:
        if (message.Msg == WM_LBUTTONUP || message.WParam == VK_SPACE) {
            FMouseState &= ~msPressed;
            PaintNow(nullptr);
        }
        break;
    case CM_MOUSEENTER:
        FMouseState |= msHot;
        PaintNow(nullptr);
        break;
    case CM_MOUSELEAVE:
        FMouseState &= ~(msHot | msPressed);
        if (FGraphicControl && FGraphicControl->Visible())
            PaintNow(nullptr);
        break;
    default:
        TSkinButton::AfterMessage(message);
        break;
    }
}

void TSkinSpeedButton::PaintNow(HDC) {
    auto* control = dynamic_cast<TGraphicControl*>(FGraphicControl);
    if (!control)
        return;
    TCanvas& canvas = *control->Canvas();
    if (!canvas.HandleAllocated()) {
        // Outside its parent's painting the control has no surface: it is painted anew.
        Redraw();
        return;
    }
    canvas.Lock();
    DrawSpeedButton(canvas, TRect{0, 0, control->Width(), control->Height()});
    canvas.Unlock();
}

void TSkinSpeedButton::DrawSpeedButton(TCanvas& target, const TRect& r) {
    if (FPainting || !ButtonElement() || !FGraphicControl)
        return;
    FPainting = true;
    struct TGuard {
        bool& Flag;
        ~TGuard() { Flag = false; }
    } guard{FPainting};
    if (RectWidth(r) < 1 || RectHeight(r) < 1)
        return;
    TControl* control = FGraphicControl;
    const int state = (FMouseState & msPressed) ? frPressed : (FMouseState & msHot) ? frHot : frNormal;
    FEnabled = GetEnumText(control, "Enabled") == "true";
    const bool down = GetEnumText(control, "Down") == "true";
    const int frame = down ? frPressed : !FEnabled ? frDisabled : state;
    const int glyphIndex = down ? 4 : GlyphIndexOf(frame);
    FCaption = GetTextProp(control, "Caption");
    TBitmap* glyph = GlyphOf(control);
    const int numGlyphs = GlyphCount(control);
    const bool flat = GetEnumText(control, "Flat") == "true";

    const SIZE client{RectWidth(r), RectHeight(r)};
    FBuffer.SetSize(client.cx, client.cy);
    TCanvas& canvas = *FBuffer.Canvas();
    const HDC dc = canvas.Handle();
    const TRect whole{0, 0, client.cx, client.cy};
    if (FTransparent && control->Parent())
        PaintParentBackground(control->Parent()->Handle(), control->BoundsRect(), dc);
    else
        FillFace(dc, whole);
    if (frame == frPressed || frame == frHot || !flat)
        DrawElement(dc, whole, ButtonElement()->Frame, frame, *ButtonElement());
    PrepareFont(canvas, frame);
    if (glyph) {
        const SIZE g{glyph->Width() / numGlyphs, glyph->Height()};
        const TGlyphPlacement placed = LayOut(canvas, control, client, g, true);
        DrawGlyph(canvas, TRect{placed.Glyph.x, placed.Glyph.y, 0, 0}, numGlyphs, glyphIndex, *glyph);
        DrawPlacedCaption(canvas, placed.Text, placed.Flags);
    } else {
        DrawButtonText(canvas, whole, DT_CENTER, FCaption);
    }
    BitBlt(target.Handle(), r.left, r.top, client.cx, client.cy, dc, 0, 0, SRCCOPY);
    canvas.Refresh();
}
