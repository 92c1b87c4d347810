// TSkinUpDown: up-down buttons painted from the skin, and the arrows of plain buttons.
#include "WinSubClassSpin.h"

#include "SkinDraw.h"
#include "WinSkinDataShared.h"

#include <algorithm>
#include <array>

TClass TSkinUpDown::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinUpDown>("TSkinUpDown").Build();
    return &info;
}

namespace {

constexpr unsigned char kHot = 1;
constexpr unsigned char kPressed = 2;
// The gap kept between spin buttons and the border of the edit around them.
constexpr int kEditGap = 3;

void FillWhite(HDC dc, HWND wnd) {
    RECT client{};
    GetClientRect(wnd, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

} // namespace

TRect InsideEdit(const TRect& r, const RECT& window, const RECT& edit) {
    TRect out = r;
    out.top += std::max(0, kEditGap - static_cast<int>(window.top - edit.top));
    out.bottom -= std::max(0, kEditGap - static_cast<int>(edit.bottom - window.bottom));
    out.right -= std::max(0, kEditGap - static_cast<int>(edit.right - window.right));
    return out;
}

void DrawArrow(TCanvas& canvas, int x, int y, int direction) {
    switch (direction) {
    case udUp:
    case udDown: {
        // Lines from the apex to every point of the base fill the triangle.
        const int apex = direction == udUp ? y - 1 : y + 4;
        const int base = direction == udUp ? y + 4 : y - 1;
        for (int dx = -4; dx <= 4; ++dx) {
            canvas.MoveTo(x, apex);
            canvas.LineTo(x + dx, base);
        }
        canvas.MoveTo(x - 4, base);
        canvas.LineTo(x + 5, base);
        break;
    }
    case udLeft:
    case udRight: {
        const int s = direction == udLeft ? 1 : -1;
        const std::array<TPoint, 5> outline{TPoint{x, y}, TPoint{x + s, y + 2}, TPoint{x + s, y - 2},
                                            TPoint{x - s, y}, TPoint{x + s, y + 2}};
        canvas.Polyline(outline);
        break;
    }
    default:
        break;
    }
}

bool TSkinUpDown::Horizontal() const {
    return FForceHorz == 1 || (GetStyle(FHandle, GWL_STYLE) & UDS_HORZ) != 0;
}

// ---- messages -------------------------------------------------------------------------------

bool TSkinUpDown::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        PaintClient(message);
        return false;
    case WM_ERASEBKGND:
        if (!FControl)
            FillWhite(reinterpret_cast<HDC>(message.WParam), FHandle);
        message.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        CallOldProc(message);
        FMouseState |= kPressed;
        PaintNow(nullptr);
        return false;
    case WM_LBUTTONUP:
        FMouseState &= ~kPressed;
        CallOldProc(message);
        PaintNow(nullptr);
        return false;
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinUpDown::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_MOUSEMOVE: {
        // The button under the mouse shows its hot frame.
        FMouseState |= kHot;
        RECT window{};
        GetWindowRect(FHandle, &window);
        if (HalfUnderCursor(TRect{0, 0, RectWidth(window), RectHeight(window)}) != FHotHalf)
            PaintNow(nullptr);
        if (!FControl)
            SkinTrackMouseLeave(FHandle);
        break;
    }
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
        FMouseState &= ~kHot;
        PaintNow(nullptr);
        break;
    default:
        TSkinControl::AfterMessage(message);
        break;
    }
}

// ---- painting -------------------------------------------------------------------------------

// 0 for the up (left) half of r, 1 for the other, -1 when the cursor is over neither.
int TSkinUpDown::HalfUnderCursor(const TRect& r) const {
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(FHandle, &cursor);
    if (!PtInRect(&r, cursor))
        return -1;
    if (Horizontal())
        return cursor.x < r.left + RectWidth(r) / 2 ? 0 : 1;
    return cursor.y < r.top + RectHeight(r) / 2 ? 0 : 1;
}

void TSkinUpDown::DrawSkin(HDC dc, const TRect& window) {
    TRect r = window;
    if (FInEdit) {
        FillWhite(dc, FHandle);
        RECT self{}, edit{};
        if (GetWindowRect(FHandle, &self) && GetWindowRect(GetParent(FHandle), &edit))
            r = InsideEdit(window, self, edit);
    }
    if (RectWidth(r) <= 0 || RectHeight(r) <= 0)
        return;
    const int w = RectWidth(r), h = RectHeight(r);
    TBitmap work;
    work.SetPixelFormat(pf32bit);
    work.SetSize(w, h);
    FillFace(work.Canvas()->Handle(), TRect{0, 0, w, h});
    FEnabled = !(GetStyle(FHandle, GWL_STYLE) & WS_DISABLED);
    const bool horizontal = Horizontal();
    const int under = HalfUnderCursor(r);
    FHotHalf = (FMouseState & kHot) ? under : -1;
    const TRect halves[2] = {horizontal ? TRect{0, 0, w / 2, h} : TRect{0, 0, w, h / 2},
                             horizontal ? TRect{w / 2, 0, w, h} : TRect{0, h / 2, w, h}};
    TDataSkinBorder* element = nullptr;
    if (FSkinData)
        element =
            horizontal ? FSkinData->Elements().UpDownHorz.get() : FSkinData->Elements().UpDownVert.get();
    for (int half = 0; half < 2; ++half) {
        int state = 1;
        if (under == half)
            state = (FMouseState & kPressed) ? 2 : (FMouseState & kHot) ? 4 : 1;
        if (!FEnabled)
            state = 3;
        const int direction = (horizontal ? udLeft : udUp) + half;
        if (element && !element->Bitmap.Empty())
            DrawButton(work.Canvas()->Handle(), halves[half], direction, state);
        else
            DrawPlainButton(*work.Canvas(), halves[half], direction, state);
    }
    BitBlt(dc, r.left, r.top, w, h, work.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TSkinUpDown::DrawButton(HDC dc, const TRect& r, int direction, int state) {
    const bool horizontal = direction >= udLeft;
    TDataSkinBorder* element =
        horizontal ? FSkinData->Elements().UpDownHorz.get() : FSkinData->Elements().UpDownVert.get();
    if (!element)
        return;
    const int frame = state + 4 * direction - (horizontal ? 8 : 0);
    const bool transparent = element->Trans == 1;
    DrawSkinFrame(dc, r, element->Bitmap, transparent, element->Frame, frame);
    TBitmap& glyph = element->ExtraBitmap;
    if (glyph.Empty() || element->Frame <= 0)
        return;
    const int gw = glyph.Width() / element->Frame, gh = glyph.Height();
    const TRect at = Bounds(r.left + (RectWidth(r) - gw) / 2, r.top + (RectHeight(r) - gh) / 2, gw, gh);
    DrawSkinFrame(dc, at, glyph, transparent, element->Frame, frame);
}

void TSkinUpDown::DrawPlainButton(TCanvas& canvas, const TRect& r, int direction, int state) {
    const bool raised = state == 1 || state == 3;
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(raised ? FaceColor() : ShadowColor());
    const TColor dark = FSkinData ? FSkinData->Elements().Colors.ButtonDkShadow : cl3DDkShadow;
    canvas.Pen()->SetColor(dark);
    canvas.Rectangle(r);
    const int lift = direction == udUp || direction == udDown ? 2 : 0;
    DrawArrow(canvas, r.left + RectWidth(r) / 2, r.top + RectHeight(r) / 2 - lift, direction);
}
