#include "WinSubClassPanels.h"

#include "TypInfo.h"
#include "WinHandle.h"

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

TClass TSkinGroupBox::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinGroupBox>("TSkinGroupBox").Build();
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

// ---- TSkinGroupBox --------------------------------------------------------------------------

namespace {

// The caption's distance from the box's side.
constexpr int kCaptionIndent = 8;

// An off-screen copy of r, composed and then put back in one copy.
struct TComposition {
    TComposition(HDC target, const TRect& r) : Target(target), Area(r) {
        Work.SetPixelFormat(pf24bit);
        Work.SetSize(RectWidth(r), RectHeight(r));
    }
    HDC Handle() { return Work.Canvas()->Handle(); }
    // Starts from what the target shows now.
    void TakeTarget() {
        BitBlt(Handle(), 0, 0, Work.Width(), Work.Height(), Target, Area.left, Area.top, SRCCOPY);
    }
    void Put() { BitBlt(Target, Area.left, Area.top, Work.Width(), Work.Height(), Handle(), 0, 0, SRCCOPY); }
    HDC Target;
    TRect Area;
    TBitmap Work;
};

// The caption's font on the canvas: the control's Font when it has one (returned, its colour is
// the text's), else the window's own font.
const TFont* UseCaptionFont(TCanvas& canvas, TObject* control, HWND wnd) {
    if (auto* font = dynamic_cast<TFont*>(GetObjectPropOf(control, "Font", TFont::StaticClass()))) {
        canvas.Font()->Assign(font);
        return font;
    }
    if (auto shown = reinterpret_cast<HFONT>(SendMessageW(wnd, WM_GETFONT, 0, 0)))
        canvas.Font()->SetHandle(shown); // a copy of its description: the font stays the window's
    return nullptr;
}

} // namespace

void TSkinGroupBox::AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) {
    TSkinControl::AttachControl(form, skinData, ownColor, canvas);
    if (FControl)
        FVariant = 1;
}

bool TSkinGroupBox::BeforeMessage(TMessage& message) {
    const bool passOn = TSkinControl::BeforeMessage(message);
    if (FVariant != 0 && (message.Msg == WM_PAINT || message.Msg == WM_PRINTCLIENT)) {
        PaintClient(message);
        return false;
    }
    // A bare group box paints natively and is drawn over afterwards.
    return passOn;
}

void TSkinGroupBox::DrawSkin(HDC dc, const TRect& r) {
    DrawGroupBox(dc, r);
}

TRect TSkinGroupBox::CaptionRect(const TRect& r, bool rightAligned) {
    TRect caption = r;
    if (rightAligned)
        caption.right -= kCaptionIndent;
    else
        caption.left += kCaptionIndent;
    return caption;
}

void TSkinGroupBox::DrawGroupBox(HDC dc, const TRect& r) {
    if (!FSkinData)
        return;
    FCaption = GetWindowCaption(FHandle);
    if (FCaption.empty() && FControl)
        FCaption = GetTextProp(FControl, "Caption");
    const bool rightAligned = (GetStyle(FHandle, GWL_EXSTYLE) & WS_EX_RIGHT) != 0;

    TComposition work(dc, r);
    TCanvas& canvas = *work.Work.Canvas();
    const TRect box{0, 0, RectWidth(r), RectHeight(r)};
    if (FControl)
        FillFace(work.Handle(), box);
    else
        work.TakeTarget();

    const TFont* font = UseCaptionFont(canvas, FControl, FHandle);
    const HDC composed = canvas.Handle(); // selects the font
    SIZE zero{};
    GetTextExtentPoint32A(composed, "0", 1, &zero);
    const int y = zero.cy / 2 - 1;

    if (!FControl) {
        // Erase the native etched frame under ours.
        TRect frame{0, y, box.right, box.bottom};
        FrameRect(composed, &frame, FSkinData->Elements().ButtonFaceBrush.Get());
        InflateRect(&frame, -1, -1);
        FrameRect(composed, &frame, FSkinData->Elements().ButtonFaceBrush.Get());
    }
    canvas.Brush()->SetStyle(bsClear);
    canvas.Pen()->SetStyle(psSolid);
    canvas.Pen()->SetWidth(1);
    canvas.Pen()->SetColor(ShadowColor());
    canvas.RoundRect(1, y, box.right - 1, box.bottom - 1, 5, 5);

    // Opaque text on the face colour covers the frame line behind the caption.
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(FaceColor());
    const HDC text = canvas.Handle();
    SetBkMode(text, OPAQUE);
    SetBkColor(text, ColorToRGB(FaceColor()));
    SetTextColor(text, ColorToRGB(font ? font->Color() : clWindowText));
    TRect caption = CaptionRect(box, rightAligned);
    const UINT flags = rightAligned ? RightToLeftFlags(*this, DT_RIGHT | DT_EXPANDTABS) : DT_EXPANDTABS;
    DrawTextW(text, FCaption.c_str(), static_cast<int>(FCaption.size()), &caption, flags);
    work.Put();

    if (FVariant == 1 && FControl)
        FControl->PaintControls(dc);
}
