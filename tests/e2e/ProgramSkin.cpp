#include "ProgramSkin.h"

#include "SkinDraw.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace e2e {

ProgramSkin::ProgramSkin() : FSkin(new TSkinData(nullptr)) {
    std::ifstream in(TW_SKIN_PACKAGE, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    FSkin->SkinFileStream().Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    FSkin->LoadSkinFromStream();
}

COLORREF ProgramSkin::TitleColour(int frame) const {
    TDataSkinBorder& top = *Elements().BorderTop;
    const int frameHeight = top.Bitmap.Height() / top.Frame;
    return GetPixel(top.Bitmap.Canvas()->Handle(), top.Bitmap.Width() / 2, frameHeight * (frame - 1) + 1);
}

ButtonFaces::ButtonFaces(const ProgramSkin& skin, SIZE face, const std::vector<int>& frames)
    : FFrames(frames) {
    TDataSkinButton& element = *skin.Elements().Buttons;
    std::vector<std::unique_ptr<TBitmap>> composed;
    for (int frame : frames)
        composed.push_back(BuildSkinBitmap(TRect{0, 0, face.cx, face.cy}, element.Bitmap, element.Margins(),
                                           false, false, element.Frame, frame));
    // Left of a centred caption or glyph, a third of the way down.
    const int y = face.cy / 3;
    for (int x = 1; x < face.cx / 4 && !FSpot; ++x) {
        std::vector<COLORREF> colours;
        for (auto& bitmap : composed)
            colours.push_back(static_cast<COLORREF>(bitmap->Canvas()->Pixels(x, y)));
        std::vector<COLORREF> sorted = colours;
        std::sort(sorted.begin(), sorted.end());
        const bool distinct = std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end();
        if (distinct &&
            std::find(colours.begin(), colours.end(), static_cast<COLORREF>(clFuchsia)) == colours.end()) {
            FSpot = POINT{x, y};
            FColours = colours;
        }
    }
}

COLORREF ButtonFaces::Colour(int frame) const {
    const auto at = std::find(FFrames.begin(), FFrames.end(), frame);
    return at == FFrames.end() || FColours.empty() ? CLR_INVALID
                                                   : FColours[static_cast<size_t>(at - FFrames.begin())];
}

std::optional<RadioMarkSpot> RadioSpot(const ProgramSkin& skin, int uncheckedFrame, int checkedFrame) {
    TDataSkinButton& buttons = *skin.Elements().Buttons;
    TBitmap& image = buttons.RadioBitmap;
    const int frames = std::max(buttons.RadioFrames, 1);
    RadioMarkSpot spot;
    spot.Mark = SIZE{image.Width() / frames, image.Height()};
    const int y = spot.Mark.cy / 2;
    for (int x = spot.Mark.cx / 2; x > 0; --x) {
        const TColor off = image.Canvas()->Pixels(spot.Mark.cx * (uncheckedFrame - 1) + x, y);
        const TColor on = image.Canvas()->Pixels(spot.Mark.cx * (checkedFrame - 1) + x, y);
        if (off != on && off != clFuchsia && on != clFuchsia) {
            spot.At = POINT{x, y};
            spot.Unchecked = static_cast<COLORREF>(off);
            spot.Checked = static_cast<COLORREF>(on);
            return spot;
        }
    }
    return std::nullopt;
}

COLORREF ScreenPixel(HWND wnd, POINT at) {
    ClientToScreen(wnd, &at);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 1, 1);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, 1, 1, screen, at.x, at.y, SRCCOPY);
    const COLORREF colour = GetPixel(memory, 0, 0);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return colour;
}

} // namespace e2e
