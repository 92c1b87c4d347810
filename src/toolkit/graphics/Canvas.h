// A drawing surface over a device context. The canvas owns its font, brush and pen, selects
// them into the DC only when a drawing operation needs them, and puts the DC's own objects
// back when it lets the DC go, so a borrowed DC (a paint DC, a window DC) is returned as it
// was lent and no GDI object outlives its owner.
#pragma once

#include "GraphicsObjects.h"

#include <cstdint>
#include <mutex>
#include <span>
#include <string_view>

#include <windows.h>

class TGraphic;
class TBitmap;

using TRect = RECT;
using TPoint = POINT;
using TSize = SIZE;

constexpr TRect Rect(int left, int top, int right, int bottom) {
    return TRect{left, top, right, bottom};
}
constexpr TRect Bounds(int left, int top, int width, int height) {
    return TRect{left, top, left + width, top + height};
}
constexpr TPoint Point(int x, int y) {
    return TPoint{x, y};
}
constexpr int RectWidth(const TRect& r) {
    return r.right - r.left;
}
constexpr int RectHeight(const TRect& r) {
    return r.bottom - r.top;
}

// Raster operations for CopyRect, Draw and StretchDraw.
using TCopyMode = std::uint32_t;
inline constexpr TCopyMode cmBlackness = BLACKNESS;
inline constexpr TCopyMode cmDstInvert = DSTINVERT;
inline constexpr TCopyMode cmMergeCopy = MERGECOPY;
inline constexpr TCopyMode cmMergePaint = MERGEPAINT;
inline constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
inline constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
inline constexpr TCopyMode cmPatCopy = PATCOPY;
inline constexpr TCopyMode cmPatInvert = PATINVERT;
inline constexpr TCopyMode cmPatPaint = PATPAINT;
inline constexpr TCopyMode cmSrcAnd = SRCAND;
inline constexpr TCopyMode cmSrcCopy = SRCCOPY;
inline constexpr TCopyMode cmSrcErase = SRCERASE;
inline constexpr TCopyMode cmSrcInvert = SRCINVERT;
inline constexpr TCopyMode cmSrcPaint = SRCPAINT;
inline constexpr TCopyMode cmWhiteness = WHITENESS;

enum TCanvasStateItem { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStateItem>;
inline constexpr TCanvasState csAllValid{csHandleValid, csFontValid, csPenValid, csBrushValid};

class TCanvas : public TPersistent {
    TW_DECLARE_CLASS(TCanvas, TPersistent)

    TCanvas();
    ~TCanvas() override;

    // The DC with the canvas's font, brush and pen selected; asks CreateHandle for one when
    // there is none and raises EInvalidOperation when it still has none.
    HDC Handle();
    // Borrows a DC (null lets the current one go); the canvas never deletes a DC it was given.
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return FHandle != nullptr; }
    TCanvasState State() const { return FState; }

    TFont* Font() { return &FFont; }
    TBrush* Brush() { return &FBrush; }
    TPen* Pen() { return &FPen; }
    void SetFont(TFont* font) { FFont.Assign(font); }
    void SetBrush(TBrush* brush) { FBrush.Assign(brush); }
    void SetPen(TPen* pen) { FPen.Assign(pen); }

    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode mode) { FCopyMode = mode; }
    // ETO_ flags added to every TextOut and TextRect (ETO_RTLREADING for right-to-left text).
    int TextFlags() const { return FTextFlags; }
    void SetTextFlags(int flags) { FTextFlags = flags; }

    TPoint PenPos();
    void SetPenPos(TPoint pos);
    // clNone outside the surface.
    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor color);
    TRect ClipRect();

    // Serialises drawing on one canvas between threads; counted, so calls nest.
    void Lock();
    bool TryLock();
    void Unlock();
    int LockCount() const { return FLockCount; }

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.left, r.top, r.right, r.bottom); }
    void Polygon(std::span<const TPoint> points);
    void Polyline(std::span<const TPoint> points);
    // With the brush; FrameRect draws a one-pixel border in the brush, not the pen.
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void DrawFocusRect(const TRect& r);

    // Text in the font; 8-bit text is in the system code page. TextOut moves the pen position
    // to the end of the text.
    void TextOut(int x, int y, std::string_view text);
    void TextOut(int x, int y, std::wstring_view text);
    // Text clipped to r; the background is filled unless the brush is clear.
    void TextRect(const TRect& r, int x, int y, std::string_view text);
    void TextRect(const TRect& r, int x, int y, std::wstring_view text);
    // DrawText with DT_ flags; with DT_CALCRECT r receives the measured rectangle. Returns
    // the text height.
    int TextRect(TRect& r, std::string_view text, UINT format);
    int TextRect(TRect& r, std::wstring_view text, UINT format);
    TSize TextExtent(std::string_view text);
    TSize TextExtent(std::wstring_view text);
    int TextWidth(std::string_view text) { return TextExtent(text).cx; }
    int TextWidth(std::wstring_view text) { return TextExtent(text).cx; }
    int TextHeight(std::string_view text) { return TextExtent(text).cy; }
    int TextHeight(std::wstring_view text) { return TextExtent(text).cy; }

    // Pictures at their own size or stretched; a transparent bitmap keeps the canvas where
    // it has its transparent colour.
    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& r, TGraphic* graphic);
    // Stretching copy from another canvas (or this one) with CopyMode.
    void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);
    // Copies part of a bitmap; where the bitmap has `color`, the canvas shows its brush, or
    // stays as it was when the brush is clear.
    void BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color);

    // Lets the DC's own objects back in; the next drawing selects the canvas's again.
    void Refresh();

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(const TNotifyEvent& handler) { FOnChange = handler; }
    const TNotifyEvent& OnChanging() const { return FOnChanging; }
    void SetOnChanging(const TNotifyEvent& handler) { FOnChanging = handler; }

    // Selects what `required` names that is not selected yet.
    void RequiredState(TCanvasState required);

protected:
    // Called when a DC is needed and none is set: subclasses call SetHandle.
    virtual void CreateHandle() {}
    // Around every drawing operation: before the pixels change and after.
    virtual void Changing();
    virtual void Changed();

private:
    void DeselectHandles();
    void SelectFont();
    void SelectBrush();
    void SelectPen();
    void FontChanged(TObject* sender);
    void BrushChanged(TObject* sender);
    void PenChanged(TObject* sender);
    HDC DrawingHandle(TCanvasState required);

    HDC FHandle = nullptr;
    TCanvasState FState;
    TFont FFont;
    TBrush FBrush;
    TPen FPen;
    // The objects the DC held before the canvas selected its own, restored when it lets go.
    HGDIOBJ FOldFont = nullptr;
    HGDIOBJ FOldBrush = nullptr;
    HGDIOBJ FOldPen = nullptr;
    TPoint FPenPos{0, 0};
    TCopyMode FCopyMode = cmSrcCopy;
    int FTextFlags = 0;
    std::recursive_mutex FLock;
    int FLockCount = 0;
    TNotifyEvent FOnChange;
    TNotifyEvent FOnChanging;
};
