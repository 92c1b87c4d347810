// TSkinComBox: paints a combo box's frame and drop-down button over the native painting.
#include "WinSubClassEdits.h"

#include "SkinDraw.h"
#include "WinSubClassScroll.h"
#include "WinSkinDataShared.h"
#include "WinSkinMessages.h"

TClass TSkinComBox::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinComBox>("TSkinComBox").Build();
    return &info;
}

namespace {

constexpr UINT kComboInvisible = STATE_SYSTEM_INVISIBLE;

// A mirrored strip holds its frames in reverse order: frame `index` of the original is frame
// count + 1 - index of the mirror.
int MirroredFrame(int count, int index) {
    return count + 1 - index;
}

bool IsSimple(LONG_PTR style) {
    return (style & 3) == CBS_SIMPLE;
}

// The DC's clipping and selections as they were, at the end of the scope.
class TSavedDC {
public:
    explicit TSavedDC(HDC dc) : FDC(dc), FSaved(SaveDC(dc)) {}
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;
    ~TSavedDC() { RestoreDC(FDC, FSaved); }

private:
    HDC FDC;
    int FSaved;
};

} // namespace

TComboParts ComboParts(const TRect& r, int a, bool rightToLeft) {
    if (rightToLeft)
        return {TRect{r.left + a + 4, r.top + 2, r.right - 2, r.bottom - 2},
                TRect{r.left, r.top, r.left + a + 2, r.bottom}, TRect{2, r.top, a + 2, r.bottom}};
    return {TRect{r.left + 2, r.top + 2, r.right - a - 4, r.bottom - 2},
            TRect{r.right - a - 2, r.top, r.right, r.bottom},
            TRect{r.right - a - 2, r.top, r.right - 2, r.bottom}};
}

TSkinComBox::TSkinComBox(TComponent* owner) : TSkinControl(owner) {
    FInfo.cbSize = sizeof FInfo;
}

TSkinComBox::~TSkinComBox() {
    UnhookEdit();
    if (FListSkinner)
        FListSkinner->RemoveFreeNotification(this);
}

void TSkinComBox::Notification(TComponent* component, TOperation operation) {
    TSkinControl::Notification(component, operation);
    if (operation == opRemove && component == FListSkinner)
        FListSkinner = nullptr;
}

// ---- attaching ----------------------------------------------------------------------------------

void TSkinComBox::AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas) {
    if (FAttached)
        return;
    TSkinControl::AttachControl(form, skinData, ownColor, canvas);
    if (!FAttached)
        return;
    FStyle = GetStyle(FHandle, GWL_STYLE);
    AttachList(true);
}

void TSkinComBox::AttachWindow(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas) {
    if (FAttached)
        return;
    TSkinControl::AttachWindow(wnd, skinData, form, canvas);
    if (!FAttached)
        return;
    FStyle = GetStyle(FHandle, GWL_STYLE);
    AttachList(false);
}

void TSkinComBox::AttachList(bool withSkinner) {
    if (!IsSimple(FStyle)) {
        if (!FUnicode)
            HookEdit();
        FListWnd = nullptr;
        return;
    }
    if (!SkinGetComboBoxInfo(FHandle, FInfo))
        return;
    FListWnd = FInfo.hwndList;
    FStyle = GetStyle(FListWnd, GWL_STYLE);
    if (!withSkinner || FListSkinner || IsPopupWindow(FListWnd) || !(FStyle & WS_CHILD))
        return;
    FListSkinner = new TSkinScrollbarH(Owner());
    FListSkinner->FreeNotification(this);
    FListSkinner->AttachWindow(FListWnd, FSkinData, FForm, FCanvas);
}

void TSkinComBox::HookEdit() {
    FEditWnd = GetTopWindow(FHandle);
    if (FEditWnd)
        FEditSubclass.Install(FEditWnd, TWndMethod(this, &TSkinComBox::EditProc), false);
}

void TSkinComBox::UnhookEdit() {
    FEditSubclass.Remove();
}

void TSkinComBox::Detach() {
    UnhookEdit();
    TSkinControl::Detach();
}

// ---- messages -------------------------------------------------------------------------------

void TSkinComBox::EditProc(TMessage& message) {
    FEditSubclass.CallPrevious(message);
    if (!FActive)
        return;
    if (message.Msg == WM_PAINT)
        PaintNow(nullptr); // the edit paints over the box's frame: the whole box is drawn again
    else
        FollowPress(message.Msg);
}

bool TSkinComBox::FollowPress(UINT msg) {
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK)
        FMouseState |= msPressed;
    else if (msg == WM_LBUTTONUP)
        FMouseState &= ~msPressed;
    else
        return false;
    Redraw();
    return true;
}

void TSkinComBox::SetHot(bool hot) {
    if (hot == Hot())
        return;
    if (hot)
        FMouseState |= msHot;
    else
        FMouseState &= ~msHot;
    Redraw();
}

void TSkinComBox::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        break;
    case WM_MOUSEMOVE: {
        const POINT p{LOWORD(message.LParam), HIWORD(message.LParam)};
        const bool enabled = !(GetStyle(FHandle, GWL_STYLE) & WS_DISABLED);
        if (enabled)
            SetHot(PtInRect(&FButtonRect, p) != FALSE);
        // A bare box hears of the mouse leaving only when it asks.
        if (!FControl)
            SkinTrackMouseLeave(FHandle);
        break;
    }
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
        SetHot(false);
        break;
    case WM_DRAWITEM:
    case WM_NCPAINT:
        Redraw();
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
        FollowPress(message.Msg);
        break;
    case CN_COMMAND:
        if (HIWORD(message.WParam) == CBN_DROPDOWN)
            FDropped = true;
        else if (HIWORD(message.WParam) == CBN_CLOSEUP)
            FDropped = false;
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

// ---- painting -------------------------------------------------------------------------------

int TSkinComBox::ButtonState() const {
    if (!FEnabled)
        return 3;
    if (FMouseState & msPressed)
        return 2;
    return FFocused || (FMouseState & msHot) ? 4 : 1;
}

void TSkinComBox::DrawSkin(HDC dc, const TRect& window) {
    TDataSkinBorder* button = FSkinData ? FSkinData->Elements().ComboButton.get() : nullptr;
    if (!button || button->Bitmap.Empty())
        return;
    FStyle = GetStyle(FHandle, GWL_STYLE);
    FExStyle = GetStyle(FHandle, GWL_EXSTYLE);
    if (SkinGetComboBoxInfo(FHandle, FInfo)) {
        FButtonRect = FInfo.rcButton;
        if (FInfo.stateButton & kComboInvisible)
            return;
    }
    if (button->Style == 1) {
        DrawFlatCombo(dc, window);
        return;
    }
    const TRect r{0, 0, RectWidth(window), RectHeight(window)};
    FFocused = GetFocus() == FHandle;
    FEnabled = !(FStyle & WS_DISABLED);
    const int state = ButtonState();
    if (button->Style == 2)
        DrawComposite(dc, r, state);
    else
        DrawParts(dc, r, state);
}

// The skin's composite: the sunken frame and the button in one picture per state, its text
// area transparent; mirrored for right-to-left boxes.
void TSkinComBox::DrawComposite(HDC dc, const TRect& r, int state) {
    const TSkinElements& e = FSkinData->Elements();
    TDataSkinObject* element = e.ComboButton.get();
    const int frames = e.ComboButton->Frame;
    if (RightToLeft() && e.SunkEdge && !e.SunkEdge->Bitmap.Empty()) {
        element = e.SunkEdge.get();
        state = MirroredFrame(frames, state);
    }
    DrawSkinRect(dc, r, element->Bitmap, false, false, true, frames, state, element->Margins());
}

// The frame from [SunkEdge] around the text area, the button from [ComboButton] and its
// arrow from [ExtraImages].
void TSkinComBox::DrawParts(HDC dc, const TRect& r, int state) {
    const TSkinElements& e = FSkinData->Elements();
    TDataSkinBorder& button = *e.ComboButton;
    const bool rtl = RightToLeft();
    const TComboParts parts = ComboParts(r, GetSystemMetrics(SM_CXHSCROLL), rtl);
    TSavedDC saved(dc);
    ExcludeClipRect(dc, parts.Text.left, parts.Text.top, parts.Text.right, parts.Text.bottom);
    if (e.SunkEdge)
        DrawElement(dc, r, e.SunkEdge->Frame, state, *e.SunkEdge);
    if (rtl && !button.ExtraBitmap.Empty())
        BlitStripFrame(dc, parts.Button, button.Frame, MirroredFrame(button.Frame, state),
                       button.ExtraBitmap);
    else
        BlitStripFrame(dc, parts.Button, button.Frame, state, button.Bitmap);
    FButtonRect = parts.Button;
    TDataSkinObject* arrows = e.ExtraImages.get();
    if (!arrows || arrows->Bitmap.Empty() || arrows->Frame <= 0)
        return;
    const int w = arrows->Bitmap.Width() / arrows->Frame, h = arrows->Bitmap.Height();
    const TRect& a = parts.Arrow;
    const TRect glyph = Bounds(a.left + (RectWidth(a) - w) / 2, a.top + (RectHeight(a) - h) / 2, w, h);
    DrawStripFrameDC(dc, glyph, arrows->Frame, state, arrows->Bitmap);
}

// Style 1: the native box stays, its inner edge and button covered with the DC's brush, the
// skin's button glyph at the side and a one-pixel frame in the shadow colour.
void TSkinComBox::DrawFlatCombo(HDC dc, const TRect& window) {
    TDataSkinBorder& button = *FSkinData->Elements().ComboButton;
    TRect r{0, 0, RectWidth(window), RectHeight(window)};
    FFocused = GetFocus() == FHandle;
    FEnabled = !(FStyle & WS_DISABLED);
    const int state = ButtonState();
    const int w = button.Frame > 0 ? button.Bitmap.Width() / button.Frame : 0;
    const int h = button.Bitmap.Height();
    const int b = GetSystemMetrics(SM_CYVTHUMB);
    const bool rtl = RightToLeft();
    const auto brush = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
    TRect inner = r;
    InflateRect(&inner, -1, -1);
    FrameRect(dc, &inner, brush);
    InflateRect(&inner, -1, -1);
    TRect native = inner;
    TRect glyph = inner;
    if (rtl) {
        native.right = native.left + b;
        glyph.right = glyph.left + w;
    } else {
        native.left = native.right - b;
        glyph.left = glyph.right - w;
    }
    FillRect(dc, &native, brush);
    if (h < b)
        glyph.bottom = glyph.top + h;
    TBrushHandle shadow(CreateSolidBrush(ColorToRGB(ShadowColor())));
    FrameRect(dc, &r, shadow.Get());
    FButtonRect = glyph;
    DrawStripFrameDC(dc, glyph, button.Frame, state, button.Bitmap);
}
