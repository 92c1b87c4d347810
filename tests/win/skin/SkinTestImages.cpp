#include "SkinTestImages.h"

#include "BmpEncoder.h"

#include <array>
#include <utility>

namespace skintest {

namespace {

constexpr std::array<std::pair<char, TColor>, 15> kColors{{
    {'K', clBlack},
    {'W', clWhite},
    {'R', clRed},
    {'G', clLime},
    {'B', clBlue},
    {'M', clFuchsia},
    {'Y', clYellow},
    {'C', clAqua},
    {'O', RGBColor(0xFF, 0x80, 0x00)},
    {'P', clPurple},
    {'N', clNavy},
    {'T', clTeal},
    {'L', clOlive},
    {'S', clSilver},
    {'A', clGray},
}};

TBmpImage Image(const std::vector<std::string>& rows) {
    const auto height = static_cast<std::int32_t>(rows.size());
    const auto width = height == 0 ? 0 : static_cast<std::int32_t>(rows.front().size());
    TBmpImage image = CreateBmpImage(width, height, 24);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x) {
            const TColor c = ColorOf(rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
            std::uint8_t* p = image.View().Row(y) + 3 * x;
            p[0] = BlueOf(c);
            p[1] = GreenOf(c);
            p[2] = RedOf(c);
        }
    return image;
}

} // namespace

TColor ColorOf(char letter) {
    for (const auto& [l, c] : kColors)
        if (l == letter)
            return c;
    return RGBColor(0x12, 0x34, 0x56);
}

char LetterOf(COLORREF color) {
    for (const auto& [l, c] : kColors)
        if (static_cast<COLORREF>(c) == color)
            return l;
    return '?';
}

std::unique_ptr<TBitmap> Picture(const std::vector<std::string>& rows, TPixelFormat format) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->AssignImage(Image(rows));
    bitmap->SetPixelFormat(format);
    return bitmap;
}

std::unique_ptr<TBitmap> Surface(int width, int height, TColor color) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf32bit);
    bitmap->SetSize(width, height);
    bitmap->Canvas()->Brush()->SetColor(color);
    bitmap->Canvas()->FillRect(Rect(0, 0, width, height));
    return bitmap;
}

std::vector<std::uint8_t> BmpFile(const std::vector<std::string>& rows) {
    return EncodeBmp(Image(rows));
}

std::vector<std::uint8_t> BmpFile(int width, int height, TColor color) {
    TBmpImage image = CreateBmpImage(width, height, 24);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x) {
            std::uint8_t* p = image.View().Row(y) + 3 * x;
            p[0] = BlueOf(color);
            p[1] = GreenOf(color);
            p[2] = RedOf(color);
        }
    return EncodeBmp(image);
}

std::vector<std::string> Letters(HDC dc, int left, int top, int width, int height) {
    GdiFlush();
    std::vector<std::string> rows;
    for (int y = top; y < top + height; ++y) {
        std::string row;
        for (int x = left; x < left + width; ++x)
            row += LetterOf(GetPixel(dc, x, y));
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::string> Letters(TBitmap& bitmap) {
    return Letters(bitmap.Canvas()->Handle(), 0, 0, bitmap.Width(), bitmap.Height());
}

std::vector<std::string> Rows(int width, int height, char letter) {
    return std::vector<std::string>(static_cast<std::size_t>(height),
                                    std::string(static_cast<std::size_t>(width), letter));
}

} // namespace skintest
