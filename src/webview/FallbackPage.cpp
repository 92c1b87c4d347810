#include "FallbackPage.h"

#include "WinHandle.h"

const wchar_t kFallbackNote[] = L"本机没有可用的网页浏览组件，无法显示此网页。";

namespace {

constexpr COLORREF kPage = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kBand = RGB(0xEE, 0xF3, 0xFA);
constexpr COLORREF kRule = RGB(0xC8, 0xD6, 0xE8);
constexpr COLORREF kAddress = RGB(0x1F, 0x4E, 0x8C);
constexpr COLORREF kNote = RGB(0x5A, 0x5A, 0x5A);
constexpr int kMargin = 24;

TFontHandle MessageFont(int height, int weight) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    LOGFONTW lf = metrics.lfMessageFont;
    lf.lfHeight = height;
    lf.lfWeight = weight;
    return TFontHandle(CreateFontIndirectW(&lf));
}

void Fill(HDC dc, const RECT& r, COLORREF color) {
    TBrushHandle brush(CreateSolidBrush(color));
    FillRect(dc, &r, brush.Get());
}

void Line(HDC dc, const RECT& r, const std::wstring& text, HFONT font, COLORREF color) {
    TSelectScope select(dc, font);
    SetTextColor(dc, color);
    RECT box = r;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void Compose(HDC dc, const RECT& area, const std::wstring& url) {
    Fill(dc, area, kPage);
    const TFontHandle title = MessageFont(-16, FW_BOLD);
    const TFontHandle body = MessageFont(-12, FW_NORMAL);
    const int top = area.top + kMargin;
    const RECT band{area.left, top - 8, area.right, top + 56};
    Fill(dc, band, kBand);
    Fill(dc, RECT{area.left, band.bottom, area.right, band.bottom + 1}, kRule);
    SetBkMode(dc, TRANSPARENT);
    Line(dc, RECT{area.left + kMargin, top, area.right - kMargin, top + 24}, url, title.Get(), kAddress);
    Line(dc, RECT{area.left + kMargin, top + 26, area.right - kMargin, top + 46}, kFallbackNote, body.Get(),
         kNote);
}

} // namespace

void PaintFallbackPage(HDC dc, const RECT& area, const std::wstring& url) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return;
    // Composed off-screen and blitted once: resizing the main window must not flicker.
    TMemoryDC memory(CreateCompatibleDC(dc));
    TBitmapHandle canvas(CreateCompatibleBitmap(dc, width, height));
    if (!memory || !canvas) {
        Compose(dc, area, url);
        return;
    }
    {
        TSelectScope select(memory.Get(), canvas.Get());
        Compose(memory.Get(), RECT{0, 0, width, height}, url);
        BitBlt(dc, area.left, area.top, width, height, memory.Get(), 0, 0, SRCCOPY);
    }
}
