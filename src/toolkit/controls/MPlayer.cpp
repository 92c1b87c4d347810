// TMediaPlayer: its buttons laid out side by side across the control, each drawn as a push
// button with its glyph; a click counts when the button is released over the button pressed.
#include "MPlayer.h"

#include "TypInfo.h"

#include <string>

const TEnumType MPBtnTypeType{
    "TMPBtnType",
    {"btPlay", "btPause", "btStop", "btNext", "btPrev", "btStep", "btBack", "btRecord", "btEject"}};

namespace {

constexpr const char* kGlyphNames[MPButtonCount] = {"MPPLAY", "MPPAUSE", "MPSTOP",   "MPNEXT", "MPPREV",
                                                    "MPSTEP", "MPBACK",  "MPRECORD", "MPEJECT"};
constexpr const char* kGlyphKinds[3] = {"EN", "DI", "CL"};
constexpr TButtonSet kAllButtons =
    TButtonSet{btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject};

} // namespace

std::unique_ptr<TBitmap> LoadMPGlyph(std::string_view kind, TMPBtnType button) {
    auto glyph = std::make_unique<TBitmap>();
    const std::string name = std::string(kind) + "_" + kGlyphNames[button];
    if (HBITMAP loaded = LoadBitmapA(ToolkitInstance(), name.c_str()))
        glyph->SetHandle(loaded);
    return glyph;
}

TClass TMediaPlayer::StaticClass() {
    static const TClassInfo info = TClassBuilder<TMediaPlayer>("TMediaPlayer")
                                       .Set("ColoredButtons", MPBtnTypeType, &TMediaPlayer::ColoredButtons,
                                            &TMediaPlayer::SetColoredButtons)
                                       .Set("EnabledButtons", MPBtnTypeType, &TMediaPlayer::EnabledButtons,
                                            &TMediaPlayer::SetEnabledButtons)
                                       .Set("VisibleButtons", MPBtnTypeType, &TMediaPlayer::VisibleButtons,
                                            &TMediaPlayer::SetVisibleButtons)
                                       .Event<TMPBtnClickEvent>("OnClick", &TMediaPlayer::OnButtonClick)
                                       .Build();
    return &info;
}

TMediaPlayer::TMediaPlayer(TComponent* owner)
    : TCustomControl(owner), FVisibleButtons(kAllButtons), FEnabledButtons(kAllButtons),
      FColoredButtons(kAllButtons) {
    FControlStyle.Exclude(csAcceptsControls);
    FWidth = 253;
    FHeight = 30;
    for (int i = 0; i < MPButtonCount; ++i)
        for (int kind = 0; kind < 3; ++kind)
            FGlyphs[static_cast<size_t>(i)][static_cast<size_t>(kind)] =
                LoadMPGlyph(kGlyphKinds[kind], static_cast<TMPBtnType>(i));
}

TMediaPlayer::~TMediaPlayer() = default;

void TMediaPlayer::SetVisibleButtons(TButtonSet value) {
    FVisibleButtons = value;
    Invalidate();
}

void TMediaPlayer::SetEnabledButtons(TButtonSet value) {
    FEnabledButtons = value;
    Invalidate();
}

void TMediaPlayer::SetColoredButtons(TButtonSet value) {
    FColoredButtons = value;
    Invalidate();
}

int TMediaPlayer::VisibleCount() const {
    int count = 0;
    for (int i = 0; i < MPButtonCount; ++i)
        count += FVisibleButtons.Contains(static_cast<TMPBtnType>(i)) ? 1 : 0;
    return count;
}

int TMediaPlayer::ButtonAt(int x) const {
    const int count = VisibleCount();
    if (count == 0 || x < 0)
        return -1;
    const int width = FWidth / count;
    int start = 0;
    for (int i = 0; i < MPButtonCount; ++i) {
        if (!FVisibleButtons.Contains(static_cast<TMPBtnType>(i)))
            continue;
        if (x < start + width)
            return i;
        start += width;
    }
    return -1;
}

void TMediaPlayer::Paint(HDC dc) {
    const int count = VisibleCount();
    RECT client{0, 0, FWidth, FHeight};
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    if (count == 0)
        return;
    const int width = FWidth / count;
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Brush()->SetStyle(bsClear);
    int left = 0;
    for (int i = 0; i < MPButtonCount; ++i) {
        const auto button = static_cast<TMPBtnType>(i);
        if (!FVisibleButtons.Contains(button))
            continue;
        const bool enabled = FEnabled && FEnabledButtons.Contains(button);
        const bool down = i == FDownButton;
        RECT face{left, 0, left + width, FHeight};
        DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0));
        const int kind = !enabled ? 1 : FColoredButtons.Contains(button) ? 2 : 0;
        TBitmap& glyph = *FGlyphs[static_cast<size_t>(i)][static_cast<size_t>(kind)];
        if (!glyph.Empty()) {
            const int shift = down ? 1 : 0;
            const TRect at = Bounds(left + (width - glyph.Width()) / 2 + shift,
                                    (FHeight - glyph.Height()) / 2 + shift, glyph.Width(), glyph.Height());
            canvas.BrushCopy(at, &glyph, Rect(0, 0, glyph.Width(), glyph.Height()), MPGlyphBackground);
        }
        left += width;
    }
    canvas.SetHandle(nullptr);
}

void TMediaPlayer::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    const int at = ButtonAt(x);
    if (button == mbLeft && at >= 0 && FEnabledButtons.Contains(static_cast<TMPBtnType>(at))) {
        FDownButton = at;
        Invalidate();
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TMediaPlayer::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    const int pressed = FDownButton;
    if (button == mbLeft && pressed >= 0) {
        FDownButton = -1;
        Invalidate();
        if (ButtonAt(x) == pressed && OnButtonClick) {
            bool doDefault = true;
            OnButtonClick(this, static_cast<TMPBtnType>(pressed), doDefault);
        }
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

namespace {
const bool kRegistered = (RegisterClasses({TMediaPlayer::StaticClass()}), true);
}
