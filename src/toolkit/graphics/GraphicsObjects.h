// Fonts, brushes and pens: descriptions of GDI objects that build their handle when first
// asked for it and tell their owner (a canvas, a control) whenever they change.
#pragma once

#include "ColorIdents.h"
#include "Persistent.h"
#include "Sets.h"
#include "WinHandle.h"

#include <cstdint>
#include <memory>
#include <string>

#include <windows.h>

class TBitmap;

// Misuse of a graphics object: a scan line outside the image, a size an icon cannot take.
TW_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = std::uint8_t;

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};
enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

extern const TEnumType FontStyleType;
extern const TEnumType FontPitchType;
extern const TEnumType PenStyleType;
extern const TEnumType PenModeType;
extern const TEnumType BrushStyleType;
extern const TIdentMap CharsetIdents;

// The raster operation (R2_...) of a pen mode.
int PenModeToRop2(TPenMode mode);

class TGraphicsObject : public TPersistent {
    TW_DECLARE_CLASS(TGraphicsObject, TPersistent)

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(const TNotifyEvent& handler) { FOnChange = handler; }

protected:
    // Fires OnChange. A canvas that has the old handle selected puts its own object back in
    // its handler; the old handle lives on until the next Handle() call replaces it.
    void Changed();

private:
    TNotifyEvent FOnChange;
};

class TFont : public TGraphicsObject {
    TW_DECLARE_CLASS(TFont, TGraphicsObject)

    TFont();
    ~TFont() override;
    void Assign(TPersistent* source) override;

    // The font as a GDI object, owned by this TFont: valid until the font changes or dies.
    HFONT Handle();
    // Takes the description of another font (a window's WM_GETFONT answer, null for the
    // system font); the handle itself stays its owner's.
    void SetHandle(HFONT font);
    bool HandleAllocated() const { return static_cast<bool>(FHandle); }

    const std::string& Name() const { return FName; }
    void SetName(const std::string& name);
    // Character height in pixels: negative as fonts are usually given, positive for a cell height.
    int Height() const { return FHeight; }
    void SetHeight(int height);
    // Size in points at PixelsPerInch.
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles style);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch pitch);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset charset);
    int Orientation() const { return FOrientation; }
    void SetOrientation(int tenthsOfDegree);
    // Text colour: applied by the canvas, not part of the GDI object.
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int pixelsPerInch);

private:
    void DescriptionChanged();
    LOGFONTW LogFont() const;

    std::string FName;
    int FHeight;
    TFontStyles FStyle;
    TFontPitch FPitch = fpDefault;
    TFontCharset FCharset = DEFAULT_CHARSET;
    int FOrientation = 0;
    TColor FColor = clWindowText;
    int FPixelsPerInch;
    TFontHandle FHandle;
    bool FStale = false;
};

class TBrush : public TGraphicsObject {
    TW_DECLARE_CLASS(TBrush, TGraphicsObject)

    TBrush();
    ~TBrush() override;
    void Assign(TPersistent* source) override;

    // Owned by this TBrush (a clear brush is the stock hollow brush): valid until it changes.
    HBRUSH Handle();
    // Takes the colour, style or pattern of another brush; the handle stays its owner's.
    void SetHandle(HBRUSH brush);
    bool HandleAllocated() const { return FStock != nullptr || static_cast<bool>(FHandle); }

    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle style);
    // A pattern brush: the brush keeps its own copy of the picture; null goes back to Style.
    TBitmap* Bitmap() const { return FBitmap.get(); }
    void SetBitmap(TBitmap* bitmap);

private:
    void DescriptionChanged();
    HBRUSH Create();

    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    std::unique_ptr<TBitmap> FBitmap;
    TBrushHandle FHandle;
    HBRUSH FStock = nullptr;
    bool FStale = false;
};

class TPen : public TGraphicsObject {
    TW_DECLARE_CLASS(TPen, TGraphicsObject)

    TPen();
    void Assign(TPersistent* source) override;

    HPEN Handle();
    // Takes the colour, width and style of another pen; the handle stays its owner's.
    void SetHandle(HPEN pen);
    bool HandleAllocated() const { return static_cast<bool>(FHandle); }

    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    int Width() const { return FWidth; }
    void SetWidth(int width);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle style);
    // Raster operation: applied by the canvas, not part of the GDI object.
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode mode);

private:
    void DescriptionChanged();

    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
    TPenHandle FHandle;
    bool FStale = false;
};
