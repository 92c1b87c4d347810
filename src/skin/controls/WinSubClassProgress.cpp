// TSkinProgress: the bar composed lying in a 24-bit bitmap (track, then the filled part or the
// chunks) and turned for standing bars before the one copy to the screen.
#include "WinSubClassPanels.h"

#include "ImgUtil.h"
#include "SkinDraw.h"
#include "TypInfo.h"

#include <algorithm>
#include <memory>

TClass TSkinProgress::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSkinProgress>("TSkinProgress").Build();
    return &info;
}

int ProgressFill(int width, int position, int minimum, int maximum) {
    if (maximum <= minimum || position <= minimum || width <= 0)
        return 0;
    position = std::min(position, maximum);
    return MulDiv(width, position - minimum, maximum - minimum);
}

namespace {

// What the bar shows, read once.
struct TProgressState {
    bool Vertical = false;
    int Position = 0;
    int Minimum = 0;
    int Maximum = 0;
};

TProgressState ReadProgress(HWND bar, LONG_PTR style) {
    TProgressState state;
    state.Vertical = (style & PBS_VERTICAL) != 0;
    state.Position = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
    state.Minimum = static_cast<int>(SendMessageW(bar, PBM_GETRANGE, TRUE, 0));
    state.Maximum = static_cast<int>(SendMessageW(bar, PBM_GETRANGE, FALSE, 0));
    return state;
}

void DrawTrack(HDC dc, const TRect& r, TDataSkinBorder& progress, int frames, int frame, bool tile) {
    DrawSkinRect(dc, r, progress.Bitmap, false, tile, true, frames, frame, progress.Margins());
}

// Chunk pieces side by side over the filled width, one chunk high.
void DrawTiledChunks(HDC dc, TDataSkinObject& chunk, int fill, int height) {
    TBitmap& image = chunk.Bitmap;
    TBitmap strip;
    strip.SetPixelFormat(pf24bit);
    strip.SetSize(fill, image.Height());
    const HDC stripDC = strip.Canvas()->Handle();
    for (int i = 0; i <= fill / image.Width(); ++i)
        BitBlt(stripDC, i * image.Width(), 0, image.Width(), image.Height(), image.Canvas()->Handle(), 0, 0,
               SRCCOPY);
    const TRect at = Bounds(chunk.LeftWidth + 2, (height - image.Height()) / 2, fill, image.Height());
    if (chunk.Trans == 1)
        DrawTransparent(dc, at, strip, SkinKeyColor);
    else
        BitBlt(dc, at.left, at.top, fill, image.Height(), stripDC, 0, 0, SRCCOPY);
}

// The chunk image stretched over the filled part, its ends kept, inside a 2-pixel inset.
void DrawStretchedChunk(HDC dc, TDataSkinObject& chunk, int fill, int height) {
    TBitmap bar;
    bar.SetPixelFormat(pf24bit);
    bar.SetSize(fill, height - 4);
    if (bar.Empty())
        return;
    StretchSkinBar(bar.Canvas()->Handle(), TRect{0, 0, bar.Width(), bar.Height()}, chunk.Bitmap, false, 1, 1,
                   chunk.Margins());
    BitBlt(dc, 2, 2, bar.Width(), bar.Height(), bar.Canvas()->Handle(), 0, 0, SRCCOPY);
}

} // namespace

bool TSkinProgress::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_ERASEBKGND:
        message.Result = 1;
        return false;
    case WM_PAINT:
    case WM_PRINTCLIENT: {
        TDataSkinBorder* progress = FSkinData ? FSkinData->Elements().Progress.get() : nullptr;
        if (!progress || progress->Bitmap.Empty())
            return true;
        PaintClient(message);
        message.Result = 0;
        return false;
    }
    default:
        return TSkinControl::BeforeMessage(message);
    }
}

void TSkinProgress::DrawSkin(HDC dc, const TRect& r) {
    TDataSkinBorder* progress = FSkinData ? FSkinData->Elements().Progress.get() : nullptr;
    if (!progress || progress->Bitmap.Empty())
        return;
    const bool chunked = progress->Style == 1;
    TDataSkinObject* chunk = FSkinData->Elements().ProgressChunk.get();
    if (chunked && (!chunk || chunk->Bitmap.Empty()))
        return;
    const TProgressState state = ReadProgress(FHandle, GetStyle(FHandle, GWL_STYLE));

    // Drawn lying: a standing bar's length is its height.
    const int length = state.Vertical ? RectHeight(r) : RectWidth(r);
    const int thickness = state.Vertical ? RectWidth(r) : RectHeight(r);
    TBitmap work;
    work.SetPixelFormat(pf24bit);
    work.SetSize(length, thickness);
    if (work.Empty())
        return;
    const HDC workDC = work.Canvas()->Handle();
    const TRect lying{0, 0, length, thickness};
    FillFace(workDC, lying);
    const int fill = ProgressFill(length, state.Position, state.Minimum, state.Maximum);
    if (!chunked) {
        DrawTrack(workDC, lying, *progress, 2, 1, progress->Tile == 1);
        if (fill > 0)
            DrawTrack(workDC, TRect{0, 0, fill, thickness}, *progress, 2, 2, progress->Tile == 1);
    } else {
        DrawTrack(workDC, lying, *progress, 1, 1, false);
        if (fill > 0 && chunk->Tile == 1)
            DrawTiledChunks(workDC, *chunk, fill, thickness);
        else if (fill > 0)
            DrawStretchedChunk(workDC, *chunk, fill, thickness);
    }

    TBitmap* shown = &work;
    TBitmap standing;
    if (state.Vertical) {
        // A quarter turn anticlockwise brings the filled start from the left to the bottom.
        standing.SetPixelFormat(pf24bit);
        standing.SetSize(thickness, length);
        RotateLeft(work.PixelView(), standing.PixelView());
        shown = &standing;
    }
    BitBlt(dc, r.left, r.top, shown->Width(), shown->Height(), shown->Canvas()->Handle(), 0, 0, SRCCOPY);
}
