#include "Canvas.h"

#include "Bitmap.h"
#include "Graphic.h"

#include <string>

namespace {

std::wstring Wide(std::string_view text) {
    return AnsiToWide(text);
}

UINT Length(std::wstring_view text) {
    return static_cast<UINT>(text.size());
}

} // namespace

TClass TCanvas::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCanvas>("TCanvas").Build();
    return &info;
}

TCanvas::TCanvas() {
    FFont.SetOnChange(TNotifyEvent(this, &TCanvas::FontChanged));
    FBrush.SetOnChange(TNotifyEvent(this, &TCanvas::BrushChanged));
    FPen.SetOnChange(TNotifyEvent(this, &TCanvas::PenChanged));
}

TCanvas::~TCanvas() {
    SetHandle(nullptr);
}

HDC TCanvas::Handle() {
    Changing();
    RequiredState(csAllValid);
    return FHandle;
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == FHandle)
        return;
    DeselectHandles();
    FHandle = dc;
    FState = dc ? TCanvasState{csHandleValid} : TCanvasState{};
}

void TCanvas::RequiredState(TCanvasState required) {
    const TCanvasState needed = required - FState;
    if (needed.Empty())
        return;
    if (needed.Contains(csHandleValid)) {
        CreateHandle();
        if (!FHandle)
            throw EInvalidOperation("Canvas does not allow drawing");
    }
    if (needed.Contains(csFontValid))
        SelectFont();
    if (needed.Contains(csPenValid))
        SelectPen();
    if (needed.Contains(csBrushValid))
        SelectBrush();
    FState = FState + needed;
}

void TCanvas::SelectFont() {
    HGDIOBJ old = SelectObject(FHandle, FFont.Handle());
    if (!FOldFont)
        FOldFont = old;
    SetTextColor(FHandle, ColorToColorRef(FFont.Color()));
}

void TCanvas::SelectPen() {
    HGDIOBJ old = SelectObject(FHandle, FPen.Handle());
    if (!FOldPen)
        FOldPen = old;
    SetROP2(FHandle, PenModeToRop2(FPen.Mode()));
}

void TCanvas::SelectBrush() {
    HBRUSH brush = FBrush.Handle();
    UnrealizeObject(brush);
    HGDIOBJ old = SelectObject(FHandle, brush);
    if (!FOldBrush)
        FOldBrush = old;
    const COLORREF color = ColorToColorRef(FBrush.Color());
    if (FBrush.Style() == bsSolid) {
        SetBkColor(FHandle, color);
        SetBkMode(FHandle, OPAQUE);
    } else {
        // Hatches vanish where the background colour equals the brush colour; nothing reads
        // the background colour in transparent mode otherwise.
        SetBkColor(FHandle, ~color & 0x00FFFFFFu);
        SetBkMode(FHandle, TRANSPARENT);
    }
}

void TCanvas::DeselectHandles() {
    if (!FHandle)
        return;
    if (FOldFont)
        SelectObject(FHandle, FOldFont);
    if (FOldBrush)
        SelectObject(FHandle, FOldBrush);
    if (FOldPen)
        SelectObject(FHandle, FOldPen);
    FOldFont = FOldBrush = FOldPen = nullptr;
    FState = FState - TCanvasState{csFontValid, csBrushValid, csPenValid};
}

void TCanvas::FontChanged(TObject*) {
    if (FState.Contains(csFontValid)) {
        SelectObject(FHandle, FOldFont);
        FOldFont = nullptr;
        FState.Exclude(csFontValid);
    }
}

void TCanvas::BrushChanged(TObject*) {
    if (FState.Contains(csBrushValid)) {
        SelectObject(FHandle, FOldBrush);
        FOldBrush = nullptr;
        FState.Exclude(csBrushValid);
    }
}

void TCanvas::PenChanged(TObject*) {
    if (FState.Contains(csPenValid)) {
        SelectObject(FHandle, FOldPen);
        FOldPen = nullptr;
        FState.Exclude(csPenValid);
    }
}

void TCanvas::Refresh() {
    DeselectHandles();
}

void TCanvas::Changing() {
    if (FOnChanging)
        FOnChanging(this);
}

void TCanvas::Changed() {
    if (FOnChange)
        FOnChange(this);
}

HDC TCanvas::DrawingHandle(TCanvasState required) {
    Changing();
    RequiredState(required);
    return FHandle;
}

// ---- state ---------------------------------------------------------------------------------

TPoint TCanvas::PenPos() {
    RequiredState({csHandleValid});
    POINT p{};
    GetCurrentPositionEx(FHandle, &p);
    return p;
}

void TCanvas::SetPenPos(TPoint pos) {
    MoveTo(pos.x, pos.y);
}

TColor TCanvas::Pixels(int x, int y) {
    RequiredState({csHandleValid});
    const COLORREF c = GetPixel(FHandle, x, y);
    return c == CLR_INVALID ? clNone : static_cast<TColor>(c);
}

void TCanvas::SetPixels(int x, int y, TColor color) {
    HDC dc = DrawingHandle({csHandleValid, csPenValid});
    SetPixelV(dc, x, y, ColorToColorRef(color));
    Changed();
}

TRect TCanvas::ClipRect() {
    RequiredState({csHandleValid});
    RECT r{};
    GetClipBox(FHandle, &r);
    return r;
}

void TCanvas::Lock() {
    FLock.lock();
    ++FLockCount;
}

bool TCanvas::TryLock() {
    if (!FLock.try_lock())
        return false;
    ++FLockCount;
    return true;
}

void TCanvas::Unlock() {
    --FLockCount;
    FLock.unlock();
}

// ---- shapes --------------------------------------------------------------------------------

void TCanvas::MoveTo(int x, int y) {
    RequiredState({csHandleValid});
    MoveToEx(FHandle, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    HDC dc = DrawingHandle({csHandleValid, csPenValid, csBrushValid});
    ::LineTo(dc, x, y);
    Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    HDC dc = DrawingHandle({csHandleValid, csPenValid, csBrushValid});
    ::Rectangle(dc, x1, y1, x2, y2);
    Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
    HDC dc = DrawingHandle({csHandleValid, csPenValid, csBrushValid});
    ::RoundRect(dc, x1, y1, x2, y2, x3, y3);
    Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    HDC dc = DrawingHandle({csHandleValid, csPenValid, csBrushValid});
    ::Ellipse(dc, x1, y1, x2, y2);
    Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    if (points.empty())
        return;
    HDC dc = DrawingHandle({csHandleValid, csPenValid, csBrushValid});
    ::Polygon(dc, points.data(), static_cast<int>(points.size()));
    Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    if (points.empty())
        return;
    HDC dc = DrawingHandle({csHandleValid, csPenValid, csBrushValid});
    ::Polyline(dc, points.data(), static_cast<int>(points.size()));
    Changed();
}

void TCanvas::FillRect(const TRect& r) {
    HDC dc = DrawingHandle({csHandleValid, csBrushValid});
    ::FillRect(dc, &r, FBrush.Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& r) {
    HDC dc = DrawingHandle({csHandleValid, csBrushValid});
    ::FrameRect(dc, &r, FBrush.Handle());
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
    HDC dc = DrawingHandle({csHandleValid, csBrushValid});
    ::DrawFocusRect(dc, &r);
    Changed();
}

// ---- text ----------------------------------------------------------------------------------

void TCanvas::TextOut(int x, int y, std::string_view text) {
    TextOut(x, y, std::wstring_view(Wide(text)));
}

void TCanvas::TextOut(int x, int y, std::wstring_view text) {
    HDC dc = DrawingHandle({csHandleValid, csFontValid, csBrushValid});
    ExtTextOutW(dc, x, y, static_cast<UINT>(FTextFlags), nullptr, text.data(), Length(text), nullptr);
    Changed();
    MoveTo(x + TextWidth(text), y);
}

void TCanvas::TextRect(const TRect& r, int x, int y, std::string_view text) {
    TextRect(r, x, y, std::wstring_view(Wide(text)));
}

void TCanvas::TextRect(const TRect& r, int x, int y, std::wstring_view text) {
    HDC dc = DrawingHandle({csHandleValid, csFontValid, csBrushValid});
    UINT options = ETO_CLIPPED | static_cast<UINT>(FTextFlags);
    if (FBrush.Style() != bsClear)
        options |= ETO_OPAQUE;
    ExtTextOutW(dc, x, y, options, &r, text.data(), Length(text), nullptr);
    Changed();
}

int TCanvas::TextRect(TRect& r, std::string_view text, UINT format) {
    return TextRect(r, std::wstring_view(Wide(text)), format);
}

int TCanvas::TextRect(TRect& r, std::wstring_view text, UINT format) {
    HDC dc = DrawingHandle({csHandleValid, csFontValid, csBrushValid});
    // DT_MODIFYSTRING would write into the caller's text: never allowed here.
    const int height =
        DrawTextW(dc, text.data(), static_cast<int>(text.size()), &r, format & ~DT_MODIFYSTRING);
    Changed();
    return height;
}

TSize TCanvas::TextExtent(std::string_view text) {
    return TextExtent(std::wstring_view(Wide(text)));
}

TSize TCanvas::TextExtent(std::wstring_view text) {
    RequiredState({csHandleValid, csFontValid});
    SIZE size{};
    GetTextExtentPoint32W(FHandle, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

// ---- pictures ------------------------------------------------------------------------------

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
    if (!graphic || graphic->Empty())
        return;
    StretchDraw(Bounds(x, y, graphic->Width(), graphic->Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic) {
    if (!graphic || graphic->Empty())
        return;
    DrawingHandle(csAllValid);
    graphic->Draw(*this, r);
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source) {
    if (!canvas)
        return;
    HDC dc = DrawingHandle({csHandleValid, csFontValid, csBrushValid});
    canvas->RequiredState({csHandleValid, csBrushValid});
    StretchBlt(dc, dest.left, dest.top, RectWidth(dest), RectHeight(dest), canvas->FHandle, source.left,
               source.top, RectWidth(source), RectHeight(source), FCopyMode);
    Changed();
}

void TCanvas::BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color) {
    const int w = RectWidth(dest);
    const int h = RectHeight(dest);
    if (!bitmap || bitmap->Empty() || w <= 0 || h <= 0)
        return;
    HDC dc = DrawingHandle({csHandleValid, csBrushValid});
    // Composed off screen so the canvas changes in one copy.
    TBitmap work;
    work.SetPixelFormat(pf32bit);
    work.SetSize(w, h);
    HDC workDC = work.Canvas()->Handle();
    const RECT all{0, 0, w, h};
    if (FBrush.Style() == bsClear)
        BitBlt(workDC, 0, 0, w, h, dc, dest.left, dest.top, SRCCOPY);
    else
        ::FillRect(workDC, &all, FBrush.Handle());
    TransparentStretch(workDC, all, *bitmap, source, color);
    BitBlt(dc, dest.left, dest.top, w, h, workDC, 0, 0, SRCCOPY);
    Changed();
}
