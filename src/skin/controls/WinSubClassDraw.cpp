// Element, strip-frame and text drawing shared by the skinner families.
#include "WinSubClass.h"

#include "SkinDraw.h"

#include <algorithm>

namespace {

bool Inverted(const TRect& r) {
    return r.right < r.left || r.bottom < r.top;
}

// Transparent background, no brush, plain font: how every skinner draws its texts.
void PlainText(TCanvas& canvas) {
    canvas.Brush()->SetStyle(bsClear);
    canvas.Font()->SetStyle({});
    SetBkMode(canvas.Handle(), TRANSPARENT);
}

void TextColor(TCanvas& canvas, bool enabled) {
    if (!enabled)
        canvas.Font()->SetColor(clBtnShadow);
}

} // namespace

void CopyBitmap(TBitmap& src, TBitmap& dst) {
    dst.SetPixelFormat(src.PixelFormat());
    dst.SetSize(src.Width(), src.Height());
    if (src.Empty())
        return;
    BitBlt(dst.Canvas()->Handle(), 0, 0, src.Width(), src.Height(), src.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void DrawElement(HDC dc, const TRect& r, int frameCount, int frameIndex, TDataSkinObject& element) {
    if (Inverted(r))
        return;
    DrawSkinRect(dc, r, element.Bitmap, false, element.Tile == 1, element.Trans == 1, frameCount, frameIndex,
                 element.Margins());
}

void DrawStripFrameDC(HDC dc, const TRect& r, int count, int index, TBitmap& image) {
    if (Inverted(r) || image.Empty())
        return;
    TransparentStretch(dc, r, image, SkinFrameRect(image.Width(), image.Height(), false, count, index),
                       SkinKeyColor);
}

void DrawStripFrame(TCanvas& canvas, const TRect& r, int count, int index, TBitmap& image) {
    if (Inverted(r) || image.Empty())
        return;
    DrawStripFrameDC(canvas.Handle(), r, count, index, image);
}

void BlitStripFrame(HDC dc, const TRect& r, int count, int index, TBitmap& image) {
    if (Inverted(r))
        return;
    DrawSkinFrame(dc, r, image, true, count, index);
}

void DrawCaptionText(const TSkinControl& skinner, TCanvas& canvas, const TRect& r, UINT alignment,
                     bool enabled, std::wstring_view text) {
    PlainText(canvas);
    TRect measured = r;
    canvas.TextRect(measured, text, alignment | DT_EXPANDTABS | DT_CALCRECT | DT_NOCLIP);
    const int width = RectWidth(measured);
    const int height = RectHeight(measured);
    TRect target = r;
    if (alignment == DT_CENTER) {
        target.left = r.left + (RectWidth(r) - width) / 2;
        target.right = target.left + width;
    }
    target.top = r.top + (RectHeight(r) - height) / 2 - 1;
    target.bottom = target.top + height;
    TextColor(canvas, enabled);
    canvas.TextRect(target, text, RightToLeftFlags(skinner, alignment | DT_EXPANDTABS));
}

void DrawCentredText(TCanvas& canvas, const TRect& r, std::wstring_view text, int alignment, bool enabled) {
    static constexpr UINT Justify[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    const UINT flag = Justify[std::clamp(alignment, 0, 2)];
    PlainText(canvas);
    TRect measured = r;
    canvas.TextRect(measured, text, flag | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE);
    const int width = RectWidth(measured);
    const int height = RectHeight(measured);
    TRect target;
    target.left = r.left + (RectWidth(r) - width) / 2;
    target.top = r.top + (RectHeight(r) - height) / 2;
    target.right = target.left + width;
    target.bottom = target.top + height;
    TextColor(canvas, enabled);
    canvas.TextRect(target, text, flag | DT_EXPANDTABS | DT_SINGLELINE);
}

void DrawImageText(const TSkinControl& skinner, TCanvas& canvas, const TRect& r, int alignment,
                   std::wstring_view text, int imageIndex, TCustomImageList* imageList) {
    const bool withImage = imageList && imageIndex != -1 && imageList->Width() < RectWidth(r);
    const int imageWidth = withImage ? imageList->Width() : 0;
    TRect measured = r;
    if (withImage)
        measured.right += imageWidth + 2;
    PlainText(canvas);
    canvas.TextRect(measured, text,
                    DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE | DT_END_ELLIPSIS);
    const int textWidth = RectWidth(measured);
    const int textHeight = RectHeight(measured);
    const int free = RectWidth(r) - imageWidth - textWidth;
    int x = 3;
    if (alignment == 1)
        x = free / 2;
    else if (alignment == 2)
        x = free - 2;
    x = std::max(x, 1);
    int left = r.left + x;
    if (withImage) {
        const int y = r.top + (RectHeight(r) - imageList->Height()) / 2;
        ImageList_Draw(imageList->Handle(), imageIndex, canvas.Handle(), left, y, ILD_TRANSPARENT);
        left += imageWidth + 2;
    }
    TRect target{left, r.top + (RectHeight(r) - textHeight) / 2, left + textWidth, 0};
    target.bottom = target.top + textHeight;
    IntersectRect(&target, &target, &r);
    TextColor(canvas, skinner.Enabled());
    canvas.TextRect(target, text, RightToLeftFlags(skinner, DT_EXPANDTABS | DT_SINGLELINE | DT_END_ELLIPSIS));
}
