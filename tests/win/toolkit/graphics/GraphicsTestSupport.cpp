#include "GraphicsTestSupport.h"

namespace gfxtest {

namespace {

const std::map<char, TColor>& Palette() {
    static const std::map<char, TColor> colors = {{'K', clBlack},  {'W', clWhite}, {'R', clRed},
                                                  {'G', clLime},   {'B', clBlue},  {'M', clFuchsia},
                                                  {'Y', clYellow}, {'C', clAqua}};
    return colors;
}

} // namespace

TColor ColorOf(char c) {
    return Palette().at(c);
}

std::unique_ptr<TBitmap> Picture(const std::vector<std::string>& rows, TPixelFormat format) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(format);
    bitmap->SetSize(static_cast<int>(rows.front().size()), static_cast<int>(rows.size()));
    for (int y = 0; y < bitmap->Height(); ++y)
        for (int x = 0; x < bitmap->Width(); ++x)
            bitmap->Canvas()->SetPixels(
                x, y, ColorOf(rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]));
    return bitmap;
}

std::vector<std::string> Letters(TCanvas& canvas, int width, int height, int left, int top) {
    std::vector<std::string> rows;
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            const TColor c = canvas.Pixels(left + x, top + y);
            char letter = '?';
            for (const auto& [l, color] : Palette())
                if (color == c)
                    letter = l;
            row += letter;
        }
        rows.push_back(row);
    }
    return rows;
}

std::unique_ptr<TBitmap> Filled(int width, int height, TColor color) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(width, height);
    bitmap->Canvas()->Brush()->SetColor(color);
    bitmap->Canvas()->FillRect(Rect(0, 0, width, height));
    return bitmap;
}

} // namespace gfxtest
