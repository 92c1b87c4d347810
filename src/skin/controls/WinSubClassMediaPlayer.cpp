// TSkinMP and its covering panel TWMediaPlayer: the player's buttons drawn on [Buttons] faces
// with the player's own glyphs; the presses reach the player, which does the clicking.
#include "WinSubClassMediaPlayer.h"

#include "SkinDraw.h"
#include "SysUtils.h"
#include "TypInfo.h"
#include "WinSkinForm.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

TClass TWMediaPlayer::StaticClass() {
    static const TClassInfo info = TClassBuilder<TWMediaPlayer>("TWMediaPlayer").Build();
    return &info;
}

TClass TSkinMP::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinMP>("TSkinMP").Build();
    return &info;
}

namespace {

constexpr const char* kGlyphKinds[3] = {"EN", "DI", "CL"};
constexpr int kNormalFace = 1;
constexpr int kPressedFace = 2;
constexpr int kDisabledFace = 3;

// The members of a published set property, lower-cased; none when the object has no such set.
std::vector<std::string> SetMembers(TObject* obj, std::string_view name) {
    std::vector<std::string> members;
    if (!obj || PropType(obj, name) != tkSet)
        return members;
    const std::string text = GetSetProp(*obj, name);
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(',', start), text.size());
        std::string member = text.substr(start, end - start);
        std::erase_if(member, [](char c) { return c == '[' || c == ']' || c == ' '; });
        if (!member.empty())
            members.push_back(LowerCase(member));
        start = end + 1;
    }
    return members;
}

bool Contains(const std::vector<std::string>& members, const std::string& name) {
    return std::find(members.begin(), members.end(), name) != members.end();
}

} // namespace

// ---- TWMediaPlayer --------------------------------------------------------------------------

TWMediaPlayer::TWMediaPlayer(TComponent* owner) : TCustomPanel(owner) {
    FControlStyle.Exclude(csAcceptsControls);
    for (int i = 0; i < MPButtonCount; ++i)
        for (int kind = 0; kind < 3; ++kind)
            FButtons[static_cast<size_t>(i)].Glyphs[static_cast<size_t>(kind)] =
                LoadMPGlyph(kGlyphKinds[kind], static_cast<TMPBtnType>(i));
}

TWMediaPlayer::~TWMediaPlayer() = default;

void TWMediaPlayer::Attach(TSkinMP* skinner, TControl* control, TSkinData* skinData) {
    FControl = control;
    FSkinner = skinner;
    FSkinData = skinData;
    if (skinData)
        SetTag(skinData->DisableTag());
    CopyBounds(control);
    SetParent(control->Parent());
    BringToFront();
}

void TWMediaPlayer::CopyBounds(TControl* control) {
    if (control)
        SetBounds(control->Left(), control->Top(), control->Width(), control->Height());
}

void TWMediaPlayer::ReadButtons() {
    const auto visible = SetMembers(FControl, "VisibleButtons");
    const auto enabled = SetMembers(FControl, "EnabledButtons");
    const auto colored = SetMembers(FControl, "ColoredButtons");
    FVisibleCount = 0;
    for (int i = 0; i < MPButtonCount; ++i) {
        const std::string name = LowerCase(MPBtnTypeType.Names[static_cast<size_t>(i)]);
        TButtonLook& button = FButtons[static_cast<size_t>(i)];
        button.Visible = Contains(visible, name);
        button.Enabled = Contains(enabled, name);
        button.Colored = Contains(colored, name);
        FVisibleCount += button.Visible ? 1 : 0;
    }
}

int TWMediaPlayer::ButtonAt(int x) const {
    int start = 0;
    for (int i = 0; i < MPButtonCount; ++i) {
        if (!FButtons[static_cast<size_t>(i)].Visible)
            continue;
        if (start <= x && x <= start + FButtonWidth)
            return i;
        start += FButtonWidth;
    }
    return NoButton;
}

void TWMediaPlayer::Paint(HDC dc) {
    ReadButtons();
    const TRect r{0, 0, Width(), Height()};
    TBrushHandle face(CreateSolidBrush(
        ColorToRGB(FSkinData ? static_cast<TColor>(FSkinData->Elements().Colors.ButtonFace) : clBtnFace)));
    if (FVisibleCount == 0) {
        FillRect(dc, &r, face.Get());
        return;
    }
    FButtonWidth = Width() / FVisibleCount;
    TBitmap work;
    work.SetPixelFormat(pf24bit);
    work.SetSize(RectWidth(r), RectHeight(r));
    if (work.Empty())
        return;
    FillRect(work.Canvas()->Handle(), &r, face.Get());
    int left = 0;
    for (int i = 0; i < MPButtonCount; ++i) {
        if (!FButtons[static_cast<size_t>(i)].Visible)
            continue;
        DrawMPButton(*work.Canvas(), i, Bounds(left, 0, FButtonWidth, r.bottom));
        left += FButtonWidth;
    }
    BitBlt(dc, 0, 0, r.right, r.bottom, work.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TWMediaPlayer::DrawMPButton(TCanvas& canvas, int index, const TRect& r) {
    const TButtonLook& button = FButtons[static_cast<size_t>(index)];
    const int slot = button.Enabled ? (button.Colored ? 2 : 0) : 1;
    int face = FPressed && index == FDownButton ? kPressedFace : kNormalFace;
    if (slot == 1)
        face = kDisabledFace;
    if (TDataSkinButton* element = FSkinData ? FSkinData->Elements().Buttons.get() : nullptr)
        DrawSkinRect(canvas.Handle(), r, element->Bitmap, false, element->Tile == 1, element->Trans == 1,
                     element->Frame, face, element->Margins());
    TBitmap& glyph = *button.Glyphs[static_cast<size_t>(slot)];
    if (glyph.Empty())
        return;
    const int shift = face == kPressedFace ? 1 : 0;
    const TRect at =
        Bounds(r.left + (RectWidth(r) - glyph.Width()) / 2 + shift,
               r.top + (RectHeight(r) - glyph.Height()) / 2 + shift, glyph.Width(), glyph.Height());
    canvas.Brush()->SetStyle(bsClear);
    canvas.BrushCopy(at, &glyph, Rect(0, 0, glyph.Width(), glyph.Height()), MPGlyphBackground);
}

void TWMediaPlayer::MouseButton(TMessage& message, bool down) {
    FPressed = down;
    TCustomPanel::WndProc(message);
    const int x = static_cast<short>(LOWORD(message.LParam));
    FHitButton = ButtonAt(x);
    if (down) {
        if (FControl)
            FControl->Perform(message.Msg, message.WParam, message.LParam);
        // The player took the mouse for its own press; the panel keeps it until the release,
        // so that a release anywhere ends the press here.
        ReleaseCapture();
        SetCapture(Handle());
    } else {
        if (GetCapture() == Handle())
            ReleaseCapture();
        // A release over another button cancels the click.
        if (FHitButton == FDownButton && FControl)
            FControl->Perform(message.Msg, message.WParam, message.LParam);
    }
    FDownButton = FHitButton;
    Invalidate();
}

void TWMediaPlayer::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
        MouseButton(message, true);
        return;
    case WM_LBUTTONUP:
        MouseButton(message, false);
        return;
    case WM_ERASEBKGND:
        message.Result = 1; // Paint covers everything
        return;
    default:
        TCustomPanel::WndProc(message);
    }
}

// ---- TSkinMP --------------------------------------------------------------------------------

TSkinMP::~TSkinMP() {
    FreePlayer();
}

void TSkinMP::AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) {
    if (FAttached)
        return;
    TSkinControl::AttachControl(form, skinData, ownColor, canvas);
    if (!FControl || !form)
        return;
    FPlayer = new TWMediaPlayer(form);
    FPlayer->FreeNotification(this);
    FPlayer->Attach(this, FControl, skinData);
    FPlayer->SetVisible(FControl->Visible());
}

void TSkinMP::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_WINDOWPOSCHANGED:
        if (FPlayer)
            FPlayer->CopyBounds(FControl);
        break;
    case CM_VISIBLECHANGED:
        if (FPlayer && FControl)
            FPlayer->SetVisible(FControl->Visible());
        break;
    case WM_PAINT:
        // The player repaints when its buttons change: the panel over it shows the change.
        if (FPlayer)
            FPlayer->Invalidate();
        TSkinControl::AfterMessage(message);
        break;
    default:
        TSkinControl::AfterMessage(message);
    }
}

void TSkinMP::SkinChanged() {
    TSkinControl::SkinChanged();
    if (FPlayer)
        FPlayer->Invalidate();
}

void TSkinMP::Detach() {
    TSkinControl::Detach();
    // A player whose window is gone keeps its panel until this skinner goes: the panel's parent
    // may be in the middle of being destroyed.
    if (FState != stDestroyed)
        FreePlayer();
    else if (FPlayer)
        FPlayer->SetVisible(false);
}

void TSkinMP::FreePlayer() {
    if (!FPlayer)
        return;
    TWMediaPlayer* player = std::exchange(FPlayer, nullptr);
    player->RemoveFreeNotification(this);
    TObject::Free(player);
}

void TSkinMP::Notification(TComponent* component, TOperation operation) {
    TSkinControl::Notification(component, operation);
    if (operation == opRemove && component == FPlayer)
        FPlayer = nullptr;
}
