#include "SkinDraw.h"

#include "SkinDrawPixels.h"
#include "SysUtils.h"

#include <algorithm>

namespace {

bool Inverted(const TRect& r) {
    return r.right < r.left || r.bottom < r.top;
}

bool HasArea(const TRect& r) {
    return r.right > r.left && r.bottom > r.top;
}

// The part of `source` inside `bounds`.
TRect ClipTo(const TRect& source, const TRect& bounds) {
    return Rect(std::max(source.left, bounds.left), std::max(source.top, bounds.top),
                std::min(source.right, bounds.right), std::min(source.bottom, bounds.bottom));
}

HDC DrawingDC(TBitmap& bitmap) {
    return bitmap.Canvas()->Handle();
}

// A scratch bitmap whose canvas copies exact pixels when stretching: the default modes of a
// memory DC would AND or OR rows together when shrinking.
std::unique_ptr<TBitmap> WorkBitmap(int width, int height) {
    auto work = std::make_unique<TBitmap>();
    work->SetSize(width, height);
    if (!work->Empty())
        SetStretchBltMode(DrawingDC(*work), COLORONCOLOR);
    return work;
}

void Copy(HDC target, const TRect& dest, HDC source, const TRect& from) {
    StretchBlt(target, dest.left, dest.top, RectWidth(dest), RectHeight(dest), source, from.left, from.top,
               RectWidth(from), RectHeight(from), SRCCOPY);
}

// Draws a composed bitmap at dest: with the key colour left out, or as it is.
void Put(HDC dc, const TRect& dest, TBitmap& bitmap, bool transparent) {
    if (transparent)
        DrawTransparent(dc, dest, bitmap, SkinKeyColor);
    else
        BitBlt(dc, dest.left, dest.top, RectWidth(dest), RectHeight(dest), DrawingDC(bitmap), 0, 0, SRCCOPY);
}

// COLORONCOLOR on a DC for the scope of a drawing, the caller's mode back afterwards.
class TStretchModeScope {
public:
    explicit TStretchModeScope(HDC dc) : FDC(dc), FOld(SetStretchBltMode(dc, COLORONCOLOR)) {}
    TStretchModeScope(const TStretchModeScope&) = delete;
    TStretchModeScope& operator=(const TStretchModeScope&) = delete;
    ~TStretchModeScope() {
        if (FOld)
            SetStretchBltMode(FDC, FOld);
    }

private:
    HDC FDC;
    int FOld;
};

// A monochrome bitmap of the top-left width x height pixels, white where the bitmap has the key
// colour. Made straight from the pixels: no copy of the whole picture.
TBitmapHandle KeyMask(TBitmap& bitmap, TColor key, int width, int height) {
    const SkinDrawPixels::TColorPixels pixels(bitmap);
    const SkinDrawPixels::TKeyRange keyRange(key);
    const int step = pixels.Step();
    const std::size_t rowBytes = static_cast<std::size_t>((width + 15) / 16 * 2); // rows of whole words
    std::vector<std::uint8_t> bits(rowBytes * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = pixels.View().Row(y);
        std::uint8_t* out = bits.data() + rowBytes * static_cast<std::size_t>(y);
        for (int x = 0; x < width; ++x)
            if (keyRange.Contains(row + x * step))
                out[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
    }
    TBitmapHandle mask(CreateBitmap(width, height, 1, 1, bits.data()));
    if (!mask)
        throw EOutOfResources("Out of system resources");
    return mask;
}

} // namespace

// ---- geometry --------------------------------------------------------------------------------

TRect SkinFrameRect(int imageWidth, int imageHeight, bool verticalFrames, int frames, int frameIndex) {
    frames = std::max(frames, 1);
    frameIndex = std::clamp(frameIndex, 1, frames);
    if (imageWidth <= 0 || imageHeight <= 0)
        return Rect(0, 0, 0, 0);
    if (verticalFrames) {
        const int fh = imageHeight / frames;
        return Bounds(0, (frameIndex - 1) * fh, imageWidth, fh);
    }
    const int fw = imageWidth / frames;
    return Bounds((frameIndex - 1) * fw, 0, fw, imageHeight);
}

std::vector<TSkinGridPiece> SkinGridPieces(const TRect& frame, const TRect& margins, int width, int height) {
    // Margins come from the skin INI as they stand: clamped to the frame first, so that no
    // sum or offset below can overflow. A margin wider than the frame has nothing more to copy.
    const int fw = std::max<int>(RectWidth(frame), 0);
    const int fh = std::max<int>(RectHeight(frame), 0);
    int l = std::clamp<int>(margins.left, 0, fw);
    int t = std::clamp<int>(margins.top, 0, fh);
    int r = std::clamp<int>(margins.right, 0, fw);
    int b = std::clamp<int>(margins.bottom, 0, fh);
    if (width < l + r)
        l = r = 0;
    if (height < t + b)
        t = b = 0;
    const int x0 = frame.left, y0 = frame.top, x1 = frame.right, y1 = frame.bottom;
    const int w = width, h = height;

    std::vector<TSkinGridPiece> pieces;
    auto add = [&](bool wanted, TRect source, TRect dest, bool centre = false) {
        // Margins wider than the frame would read beyond it: only the frame is copied.
        source = ClipTo(source, frame);
        if (wanted && HasArea(source) && HasArea(dest))
            pieces.push_back({source, dest, centre});
    };
    add(l * t > 0, Rect(x0, y0, x0 + l, y0 + t), Rect(0, 0, l, t));
    add(l * b > 0, Rect(x0, y1 - b, x0 + l, y1), Rect(0, h - b, l, h));
    add(r * t > 0, Rect(x1 - r, y0, x1, y0 + t), Rect(w - r, 0, w, t));
    add(l > 0, Rect(x0, y0 + t, x0 + l, y1 - b), Rect(0, t, l, h - b));
    add(t > 0, Rect(x0 + l, y0, x1 - r, y0 + t), Rect(l, 0, w - r, t));
    add(true, Rect(x0 + l, y0 + t, x1 - r, y1 - b), Rect(l, t, w - r, h - b), true);
    add(r * b > 0, Rect(x1 - r, y1 - b, x1, y1), Rect(w - r, h - b, w, h));
    add(r > 0, Rect(x1 - r, y0 + t, x1, y1 - b), Rect(w - r, t, w, h - b));
    add(b > 0, Rect(x0 + l, y1 - b, x1 - r, y1), Rect(l, h - b, w - r, h));
    return pieces;
}

// ---- composition and drawing ------------------------------------------------------------------

std::unique_ptr<TBitmap> BuildSkinBitmap(const TRect& dest, TBitmap& image, const TRect& margins,
                                         bool verticalFrames, bool tile, int frames, int frameIndex) {
    if (Inverted(dest))
        return std::make_unique<TBitmap>();
    auto result = WorkBitmap(RectWidth(dest), RectHeight(dest));
    if (result->Empty() || image.Empty())
        return result;
    const TRect frame = SkinFrameRect(image.Width(), image.Height(), verticalFrames, frames, frameIndex);
    const HDC source = DrawingDC(image);
    for (const TSkinGridPiece& piece : SkinGridPieces(frame, margins, result->Width(), result->Height())) {
        if (piece.Centre && tile)
            TileBitmap(*result->Canvas(), piece.Dest, image, piece.Source);
        else
            Copy(DrawingDC(*result), piece.Dest, source, piece.Source);
    }
    return result;
}

void DrawSkinRect(HDC dc, const TRect& dest, TBitmap& image, bool verticalFrames, bool tile, bool transparent,
                  int frames, int frameIndex, const TRect& margins) {
    if (Inverted(dest) || image.Empty())
        return;
    const auto composed = BuildSkinBitmap(dest, image, margins, verticalFrames, tile, frames, frameIndex);
    if (!composed->Empty())
        Put(dc, dest, *composed, transparent);
}

void DrawSkinBar(TCanvas& canvas, const TRect& dest, TBitmap& image, bool verticalFrames, bool transparent,
                 int frames, int frameIndex, const TRect& margins) {
    if (Inverted(dest) || image.Empty())
        return;
    const TRect frame = SkinFrameRect(image.Width(), image.Height(), verticalFrames, frames, frameIndex);
    auto work = WorkBitmap(RectWidth(dest), RectHeight(dest));
    if (work->Empty() || !HasArea(frame))
        return;
    const HDC target = DrawingDC(*work);
    const HDC source = DrawingDC(image);
    const int w = work->Width(), h = work->Height();
    const int x0 = frame.left, y0 = frame.top, fw = RectWidth(frame), fh = RectHeight(frame);
    // Clamped to the frame first: INI margins may be anything.
    const int l = std::clamp<int>(margins.left, 0, fw);
    const int r = std::clamp<int>(margins.right, 0, fw);
    const int step = fw - l - r;
    if (step <= 0) {
        // No middle to repeat: a step of zero would never end, a negative one would read
        // outside the frame.
        Copy(target, Rect(0, 0, w, h), source, frame);
    } else {
        if (l > 0)
            Copy(target, Rect(0, 0, l, h), source, Rect(x0, y0, x0 + l, y0 + fh));
        for (int x = l; x < w - r; x += step)
            Copy(target, Rect(x, 0, x + step, h), source, Rect(x0 + l, y0, x0 + l + step, y0 + fh));
        if (r > 0)
            Copy(target, Rect(w - r, 0, w, h), source, Rect(x0 + fw - r, y0, x0 + fw, y0 + fh));
    }
    if (transparent) {
        work->SetTransparentColor(SkinKeyColor);
        work->SetTransparent(true);
        canvas.Draw(dest.left, dest.top, work.get());
    } else {
        BitBlt(canvas.Handle(), dest.left, dest.top, w, h, target, 0, 0, SRCCOPY);
    }
}

void StretchSkinBar(HDC dc, const TRect& dest, TBitmap& image, bool verticalFrames, int frames,
                    int frameIndex, const TRect& margins) {
    if (Inverted(dest) || image.Empty())
        return;
    const TRect frame = SkinFrameRect(image.Width(), image.Height(), verticalFrames, frames, frameIndex);
    if (!HasArea(frame))
        return;
    const HDC source = DrawingDC(image);
    const TStretchModeScope mode(dc);
    const int d = RectWidth(dest);
    const int x0 = frame.left, y0 = frame.top, fw = RectWidth(frame), fh = RectHeight(frame);
    if (d < fw) {
        Copy(dc, dest, source, frame);
        return;
    }
    const int l = std::clamp<int>(margins.left, 0, fw);
    const int r = std::clamp<int>(margins.right, 0, fw - l);
    auto piece = [&](const TRect& to, const TRect& from) {
        if (HasArea(to) && HasArea(from))
            Copy(dc, to, source, from);
    };
    piece(Rect(dest.left, dest.top, dest.left + l, dest.bottom), Rect(x0, y0, x0 + l, y0 + fh));
    piece(Rect(dest.left + l, dest.top, dest.right - r, dest.bottom), Rect(x0 + l, y0, x0 + fw - r, y0 + fh));
    piece(Rect(dest.right - r, dest.top, dest.right, dest.bottom), Rect(x0 + fw - r, y0, x0 + fw, y0 + fh));
}

void DrawSkinFrame(HDC dc, const TRect& dest, TBitmap& image, bool transparent, int frames, int frameIndex) {
    if (Inverted(dest) || image.Empty())
        return;
    const TRect frame = SkinFrameRect(image.Width(), image.Height(), false, frames, frameIndex);
    auto work = WorkBitmap(RectWidth(dest), RectHeight(dest));
    if (work->Empty() || !HasArea(frame))
        return;
    Copy(DrawingDC(*work), Rect(0, 0, work->Width(), work->Height()), DrawingDC(image), frame);
    Put(dc, dest, *work, transparent);
}

void DrawSkinGlyph(HDC dc, const TRect& dest, TBitmap& image, bool transparent, int frames, int frameIndex) {
    if (Inverted(dest) || image.Empty())
        return;
    const TRect frame = SkinFrameRect(image.Width(), image.Height(), false, frames, frameIndex);
    const int fw = RectWidth(frame), fh = RectHeight(frame);
    auto work = WorkBitmap(fw, fh);
    if (work->Empty())
        return;
    BitBlt(DrawingDC(*work), 0, 0, fw, fh, DrawingDC(image), frame.left, frame.top, SRCCOPY);
    // Integer division truncates toward zero: a glyph larger than dest overhangs it evenly.
    const int left = dest.left + (RectWidth(dest) - fw) / 2;
    const int top = dest.top + (RectHeight(dest) - fh) / 2;
    Put(dc, Bounds(left, top, fw, fh), *work, transparent);
}

void DrawTransparent(HDC dc, const TRect& dest, TBitmap& bitmap, TColor key) {
    if (Inverted(dest) || bitmap.Empty())
        return;
    const int w = std::min(RectWidth(dest), bitmap.Width());
    const int h = std::min(RectHeight(dest), bitmap.Height());
    if (w <= 0 || h <= 0)
        return;
    const TBitmapHandle mask = KeyMask(bitmap, key, w, h);
    // Where the mask is white the destination stays (0xAA0029), elsewhere the bitmap is copied.
    MaskBlt(dc, dest.left, dest.top, w, h, DrawingDC(bitmap), 0, 0, mask.Get(), 0, 0,
            MAKEROP4(0x00AA0029, SRCCOPY));
}

void TileBitmap(TCanvas& canvas, const TRect& dest, TBitmap& image, const TRect& source) {
    if (Inverted(dest))
        return;
    const TRect from = ClipTo(source, Rect(0, 0, image.Width(), image.Height()));
    const int w = RectWidth(from), h = RectHeight(from);
    if (w <= 0 || h <= 0)
        return;
    auto work = WorkBitmap(w, h);
    const HDC tile = DrawingDC(*work);
    BitBlt(tile, 0, 0, w, h, DrawingDC(image), from.left, from.top, SRCCOPY);
    const HDC target = canvas.Handle();
    for (int x = dest.left; x < dest.right; x += w)
        for (int y = dest.top; y < dest.bottom; y += h)
            BitBlt(target, x, y, w, h, tile, 0, 0, SRCCOPY);
}
