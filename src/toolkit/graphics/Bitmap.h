// TBitmap: a picture held in a DIB section, so its pixels can be reached directly through
// scan lines as well as drawn on through its canvas. Loads and saves Windows bitmap files
// and bitmap resources with the portable BMP codec; draws itself transparently when asked,
// keeping the destination wherever it has its transparent colour.
#pragma once

#include "BmpImage.h"
#include "Graphic.h"
#include "PixelView.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

// pfDevice is the screen's own format: 32 bits on every display this program meets.
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };
enum TBitmapHandleType { bmDIB, bmDDB };

extern const TEnumType PixelFormatType;
extern const TEnumType TransparentModeType;

class TBitmapCanvas;

class TBitmap : public TGraphic {
    TW_DECLARE_CLASS(TBitmap, TGraphic)

    TBitmap();
    ~TBitmap() override;
    // Copies another bitmap's picture and transparency settings; null empties this one.
    void Assign(TPersistent* source) override;

    bool Empty() const override { return FWidth == 0 || FHeight == 0; }
    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    // Resizing keeps the picture at the top left; new pixels are white.
    void SetWidth(int width) override { SetSize(width, FHeight); }
    void SetHeight(int height) override { SetSize(FWidth, height); }
    void SetSize(int width, int height) override;

    TPixelFormat PixelFormat() const { return FPixelFormat; }
    // Converts the picture; indexed formats get the standard colour table and each pixel
    // its nearest colour in it.
    void SetPixelFormat(TPixelFormat format);
    bool Monochrome() const;
    void SetMonochrome(bool value);
    TBitmapHandleType HandleType() const { return bmDIB; }
    int BitsPerPixel() const;
    // The colour table of 1, 4 and 8-bit pictures; empty for the others.
    const std::vector<TRgbQuad>& ColorTable() const { return FPalette; }

    // Row `row` (0 is the top) in the bitmap's own pixel format; valid until the size or the
    // format changes. Raises EInvalidGraphicOperation outside 0..Height-1.
    void* ScanLine(int row);
    // Every row at once, top row first.
    TPixelView PixelView();

    // Draws on the picture.
    TCanvas* Canvas();

    // The DIB section, still owned by the bitmap; the canvas lets go of it first so that it
    // can be selected elsewhere. Null for an empty bitmap.
    HBITMAP Handle();
    // Takes over a bitmap handle (any kind), which the bitmap then frees.
    void SetHandle(HBITMAP bitmap);
    // Copies the picture of a bitmap handle that stays its owner's.
    void AssignHandle(HBITMAP bitmap);
    // Hands the DIB section to the caller, who must free it; the bitmap keeps a copy.
    HBITMAP ReleaseHandle();
    bool HandleAllocated() const { return static_cast<bool>(FHandle); }
    // Frees the GDI objects and keeps the pixels in memory until they are needed again.
    void Dormant();

    // A monochrome bitmap marking the pixels of TransparentColor white, owned by the bitmap.
    HBITMAP MaskHandle();
    // Turns the picture into a 1-bit mask: white where it had `transparentColor`, black
    // everywhere else.
    void Mask(TColor transparentColor);

    // tmAuto: the colour of the bottom-left pixel; tmFixed: the colour set.
    TColor TransparentColor();
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode mode);

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    // A bitmap resource (RT_BITMAP) of the module; raises EResNotFound when there is none.
    void LoadFromResourceName(HINSTANCE instance, const std::string& name);
    void LoadFromResourceID(HINSTANCE instance, int id);
    // Form descriptions store a 32-bit length before the bitmap file.
    void ReadData(TStream& stream) override;
    void WriteData(TStream& stream) override;

    // The picture in the BMP codec's terms, and back.
    TBmpImage ToImage();
    void AssignImage(const TBmpImage& image);

protected:
    void Draw(TCanvas& canvas, const TRect& rect) override;
    void Changed() override;

private:
    friend class TBitmapCanvas;
    friend void TransparentStretch(HDC dc, const TRect& dest, TBitmap& bitmap, const TRect& source,
                                   TColor key);

    void HandleNeeded();
    void FreeContext();
    void CanvasChanging();
    void Clear();
    TConstPixelView CurrentView();
    HDC SourceDC();
    HBITMAP MaskFor(TColor key, std::optional<TBitmapHandle>& temporary);
    void TakeDib(TBitmapHandle handle, std::uint8_t* bits, int width, int height, TPixelFormat format,
                 std::vector<TRgbQuad> palette);
    void LoadDib(std::span<const std::uint8_t> dib);

    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FPixelFormat = pfDevice;
    std::vector<TRgbQuad> FPalette;
    TBitmapHandle FHandle;
    std::uint8_t* FBits = nullptr; // bottom row first, as the DIB section stores it
    std::optional<TBmpImage> FDormant;
    TBitmapHandle FMaskHandle;
    TColor FMaskColor = clNone;
    std::unique_ptr<TBitmapCanvas> FCanvas;
    TColor FTransparentColor = clDefault;
    TTransparentMode FTransparentMode = tmAuto;
};

// Stretches `source` of the bitmap onto `dest` of dc, leaving dc as it was wherever the
// bitmap has `key` (nowhere for clNone). Composed off screen: the destination changes in one
// copy.
void TransparentStretch(HDC dc, const TRect& dest, TBitmap& bitmap, const TRect& source, TColor key);

// An 8 x 8 checkerboard of the two colours, for pattern brushes (the face of a checked
// glyph box): background at the top-left pixel.
std::unique_ptr<TBitmap> AllocPatternBitmap(TColor background, TColor foreground);
