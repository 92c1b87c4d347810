#include "WinSubClassChecks.h"

#include "SkinDraw.h"
#include "TypInfo.h"
#include "WinHandle.h"

#include <vector>

namespace {

constexpr UINT CM_SKIN_CHECKCHANGE = 0xB0D0; // a data-aware check box's state came from its field

TDataSkinButton* ButtonsOf(TSkinData* skin) {
    return skin ? skin->Elements().Buttons.get() : nullptr;
}

bool Contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TClass TSkinMarkButton::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinMarkButton>("TSkinMarkButton").Build();
    return &info;
}

TClass TSkinCheckBox::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinCheckBox>("TSkinCheckBox").Build();
    return &info;
}

TClass TSkinRadioButton::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinRadioButton>("TSkinRadioButton").Build();
    return &info;
}

TClass TSkinObjImage::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinObjImage>("TSkinObjImage").Build();
    return &info;
}

// ---- frames ---------------------------------------------------------------------------------

int CheckFrameOf(int logical, bool grayed, bool disabled, int frames) {
    if (frames != 12)
        return logical;
    if (grayed)
        return disabled ? 12 : 9;
    static constexpr int kMap[] = {0, 1, 5, 4, 8};
    return logical >= 1 && logical <= 4 ? kMap[logical] : logical;
}

int RadioFrameOf(int logical, int frames) {
    static constexpr int kMap[] = {0, 1, 5, 4, 8};
    return frames == 8 && logical >= 1 && logical <= 4 ? kMap[logical] : logical;
}

// ---- the shared part ----------------------------------------------------------------------------

void TSkinMarkButton::AttachControl(TWinSkinForm* form, TSkinData* skinData, bool, TCanvas* canvas) {
    TSkinControl::AttachControl(form, skinData, false, canvas);
    FVariant = 0;
    if (!FControl)
        return;
    int frames = 0;
    const TBitmap* image = MarkImage(frames);
    FVariant = image ? 1 : 0;
    FTransparent = FControl->Tag() == 5555 || (FSkinData && FSkinData->Options().Contains(xoTransparent));
}

bool TSkinMarkButton::BeforeMessage(TMessage& message) {
    const bool passOn = TSkinControl::BeforeMessage(message);
    switch (message.Msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (FVariant == 1) {
            PaintClient(message);
            return false;
        }
        return passOn;
    case WM_ERASEBKGND:
        if (FTransparent) {
            EraseTransparent(message);
            return false;
        }
        return passOn;
    default:
        return passOn;
    }
}

void TSkinMarkButton::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case BM_SETCHECK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_EXIT:
    case CM_SKIN_CHECKCHANGE:
        Redraw();
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

void TSkinMarkButton::DrawSkin(HDC dc, const TRect& r) {
    int frames = 0;
    TBitmap* image = MarkImage(frames);
    if (!image) {
        FVariant = 0;
        return;
    }
    frames = std::max(frames, 1);
    const int w = image->Width() / frames;
    const int h = image->Height();
    const LONG_PTR style = GetStyle(FHandle, GWL_STYLE);
    const int frame = MarkFrame(style, frames);

    const int top = r.top + (RectHeight(r) - h) / 2;
    TRect mark{r.left, top, r.left + w, top + h};
    TRect text = r;
    UINT flags = 0;
    if (style & BS_LEFTTEXT) {
        const int right = r.right - RightInset();
        mark.left = right - w;
        mark.right = right;
        text.right = mark.left - 2;
        if (FControl && FControl->BiDiMode() != bdLeftToRight)
            flags |= DT_RTLREADING | DT_RIGHT;
    } else {
        text.left = mark.right + 2;
    }
    if (FVariant == 1 && !FTransparent)
        FillFace(dc, r);
    BlitStripFrame(dc, mark, frames, frame, *image);
    if (FVariant != 0)
        DrawCaption(dc, text, flags);
}

void TSkinMarkButton::DrawCaption(HDC dc, TRect text, UINT flags) {
    FCaption = GetWindowCaption(FHandle);
    if (FControl)
        FCaption = GetTextProp(FControl, "Caption");
    const int saved = SaveDC(dc);
    HFONT font = FControl ? FControl->Font()->Handle()
                          : reinterpret_cast<HFONT>(SendMessageA(FHandle, WM_GETFONT, 0, 0));
    if (font)
        SelectObject(dc, font);
    const bool enabled = !(GetStyle(FHandle, GWL_STYLE) & WS_DISABLED);
    const TColor ink = FControl && enabled ? FControl->Font()->Color() : enabled ? clBtnText : clBtnShadow;
    SetTextColor(dc, ColorToRGB(ink));
    SetBkColor(dc, ColorToRGB(FaceColor()));
    SetBkMode(dc, TRANSPARENT);
    TRect measured = text;
    DrawTextW(dc, FCaption.c_str(), static_cast<int>(FCaption.size()), &measured,
              flags | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
    OffsetRect(&text, 0, (RectHeight(text) - RectHeight(measured)) / 2);
    if (GetFocus() == FHandle && !FCaption.empty())
        DrawFocusAround(dc, flags | DT_EXPANDTABS | DT_WORDBREAK, text);
    DrawTextW(dc, FCaption.c_str(), static_cast<int>(FCaption.size()), &text,
              flags | DT_EXPANDTABS | DT_WORDBREAK);
    RestoreDC(dc, saved);
}

// ---- check boxes ----------------------------------------------------------------------------

void TSkinCheckBox::AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) {
    FCheckMemo = 0;
    TSkinMarkButton::AttachControl(form, skinData, ownColor, canvas);
}

void TSkinCheckBox::AfterMessage(TMessage& message) {
    if (message.Msg == BM_SETCHECK)
        FCheckMemo = static_cast<int>(message.WParam) + 1;
    TSkinMarkButton::AfterMessage(message);
}

TBitmap* TSkinCheckBox::MarkImage(int& frames) const {
    TDataSkinButton* buttons = ButtonsOf(FSkinData);
    if (!buttons || buttons->CheckBitmap.Empty())
        return nullptr;
    frames = buttons->CheckFrames;
    return &buttons->CheckBitmap;
}

int TSkinCheckBox::MarkFrame(LONG_PTR style, int frames) {
    const auto state = SendMessageA(FHandle, BM_GETSTATE, 0, 0);
    int index = (state & BST_CHECKED) ? 2 : 1;
    bool grayed = false;
    if (FControl) {
        if (GetPropInfo(FControl, "State")) {
            const std::string text = GetEnumText(FControl, "State");
            if (Contains(text, "uncheck"))
                index = 1;
            else if (Contains(text, "check"))
                index = 2;
            else if (Contains(text, "gray")) {
                index = 4;
                grayed = true;
            }
        } else if (GetPropInfo(FControl, "Checked")) {
            index = GetEnumText(FControl, "Checked") == "true" ? 2 : 1;
        }
        // A data-aware box shows what its field last set.
        if (GetPropInfo(FControl, "DataField") && FCheckMemo != 0)
            index = FCheckMemo == 3 ? 4 : FCheckMemo;
        if (GetPropInfo(FControl, "DataBinding"))
            index = 1;
    }
    const bool disabled = (style & WS_DISABLED) != 0;
    if (disabled)
        index += 2;
    if (state & BST_INDETERMINATE) {
        index = 4;
        grayed = true;
    }
    return CheckFrameOf(index, grayed, disabled, frames);
}

// ---- radio buttons --------------------------------------------------------------------------

TBitmap* TSkinRadioButton::MarkImage(int& frames) const {
    TDataSkinButton* buttons = ButtonsOf(FSkinData);
    if (!buttons || buttons->RadioBitmap.Empty())
        return nullptr;
    frames = buttons->RadioFrames;
    return &buttons->RadioBitmap;
}

int TSkinRadioButton::MarkFrame(LONG_PTR style, int frames) {
    int index = (SendMessageA(FHandle, BM_GETCHECK, 0, 0) & 1) ? 2 : 1;
    if (FControl && GetPropInfo(FControl, "Checked"))
        index = GetEnumText(FControl, "Checked") == "true" ? 2 : 1;
    if (style & WS_DISABLED)
        index += 2;
    return RadioFrameOf(index, frames);
}

// ---- glyph strips for foreign controls ------------------------------------------------------

namespace {

// A strip of `count` destination frames, each copied from the source frame `from[k]` (0: left
// empty), magenta where nothing was copied.
std::unique_ptr<TBitmap> BuildStrip(TBitmap& image, int sourceFrames, const std::vector<int>& from) {
    sourceFrames = std::max(sourceFrames, 1);
    const int w = image.Width() / sourceFrames;
    const int h = image.Height();
    auto strip = std::make_unique<TBitmap>();
    strip->SetPixelFormat(pf24bit);
    strip->SetSize(w * static_cast<int>(from.size()), h);
    const HDC target = strip->Canvas()->Handle();
    TBrushHandle key(CreateSolidBrush(RGB(255, 0, 255)));
    const RECT all{0, 0, strip->Width(), h};
    FillRect(target, &all, key.Get());
    for (size_t k = 0; k < from.size(); ++k)
        if (from[k] >= 1 && from[k] <= sourceFrames)
            BitBlt(target, w * static_cast<int>(k), 0, w, h, image.Canvas()->Handle(), w * (from[k] - 1), 0,
                   SRCCOPY);
    return strip;
}

void HandOverCustomGlyphs(TObject* control, TBitmap& strip) {
    auto* glyphs = dynamic_cast<TBitmap*>(GetObjectPropOf(control, "CustomGlyphs", TBitmap::StaticClass()));
    if (!glyphs)
        return;
    glyphs->Assign(&strip);
    SetPropText(control, "transparentcolor", "16711935");
    // Off and on again: the control reloads the strip.
    SetPropText(control, "UseCustomGlyphs", "false");
    SetPropText(control, "UseCustomGlyphs", "true");
}

} // namespace

void TSkinObjImage::AttachControl(TWinSkinForm* form, TSkinData* skinData, bool, TCanvas* canvas) {
    auto* control = dynamic_cast<TWinControl*>(Owner());
    if (FAttached || !control)
        return;
    FSkinData = skinData;
    FForm = form;
    FCanvas = canvas;
    FControl = control;
    FHandle = control->Handle();
    JoinForm();
    BuildGlyphs();
    FAttached = true;
    FState = stAttached;
}

void TSkinObjImage::SkinChanged() {
    BuildGlyphs();
}

void TSkinObjImage::BuildGlyphs() {
    TDataSkinButton* buttons = ButtonsOf(FSkinData);
    if (!buttons || !FControl)
        return;
    const bool radio = FGlyphKind == 2;
    TBitmap& image = radio ? buttons->RadioBitmap : buttons->CheckBitmap;
    if (image.Empty())
        return;
    const int frames = radio ? buttons->RadioFrames : buttons->CheckFrames;
    const bool fifth = frames == 5;
    switch (FGlyphKind) {
    case 1: {
        const int mixed = fifth ? 5 : 0;
        HandOverCustomGlyphs(FControl, *BuildStrip(image, frames, {1, 2, mixed, 1, 2, mixed, 3, 4, mixed}));
        break;
    }
    case 2:
        HandOverCustomGlyphs(FControl, *BuildStrip(image, frames, {1, 2, 1, 2, 3, 4}));
        break;
    case 3: {
        TObject* properties = GetObjectPropOf(FControl, "Properties");
        auto* glyph = dynamic_cast<TBitmap*>(GetObjectPropOf(properties, "Glyph", TBitmap::StaticClass()));
        if (!glyph)
            return;
        const int mixed = fifth ? 5 : 0;
        glyph->Assign(BuildStrip(image, frames, {1, 2, mixed, 1, 2, mixed}).get());
        SetPropText(properties, "TransparentColor", "16711935");
        SetPropText(properties, "Transparent", "false");
        break;
    }
    default:
        break;
    }
}

void TSkinObjImage::Detach() {
    if (!FControl)
        return;
    if (FGlyphKind == 1 || FGlyphKind == 2) {
        SetPropText(FControl, "UseCustomGlyphs", "false");
    } else if (FGlyphKind == 3) {
        TObject* properties = GetObjectPropOf(FControl, "Properties");
        if (auto* glyph =
                dynamic_cast<TBitmap*>(GetObjectPropOf(properties, "Glyph", TBitmap::StaticClass())))
            glyph->Assign(nullptr);
    }
}
