#include "WinSkinMenuLayout.h"

#include <algorithm>
#include <cwctype>

int MenuItemExtraWidth(int elementLeftWidth, bool hasImages, bool popupMenu) {
    const int element = std::max(elementLeftWidth, 0);
    const int glyphRoom = hasImages ? (popupMenu ? 12 : 10) : 35;
    return element + glyphRoom;
}

int MenuGlyphWidth(int imageListWidth, bool checked) {
    const int width = imageListWidth > 0 ? imageListWidth : 16;
    return checked ? std::max(width, 16) : width;
}

std::string MeasuredCaption(const std::string& caption) {
    if (caption.empty() || caption == "&")
        return caption + " ";
    return caption;
}

TMenuItemLayout MenuItemLayout(const TRect& rect, int glyphWidth, int elementLeftWidth, bool separator,
                               bool rightToLeft) {
    const int inset = std::max(elementLeftWidth, 0);
    const int gw = separator ? 0 : glyphWidth;
    TMenuItemLayout layout;
    if (!rightToLeft) {
        const int left = rect.left + 1 + inset;
        layout.Glyph = TRect{left, rect.top + 1, left + gw, rect.top + 1 + gw};
        layout.Text = TRect{layout.Glyph.right + 3, rect.top, rect.right - 1, rect.bottom};
    } else {
        const int right = separator ? rect.right : rect.right - 1 - inset;
        layout.Glyph = TRect{right - gw, rect.top + 1, right, rect.top + 1 + gw};
        layout.Text = TRect{rect.left + 1, rect.top, layout.Glyph.left - 3, rect.bottom};
    }
    return layout;
}

TRect CentredCaption(const TRect& text, int measuredWidth, int measuredHeight, bool rightToLeft) {
    const int shift = (RectHeight(text) - measuredHeight) / 2;
    TRect caption = text;
    caption.top = text.top + shift;
    caption.bottom = caption.top + measuredHeight;
    if (rightToLeft)
        caption.left = text.right - measuredWidth;
    else
        caption.right = text.left + measuredWidth;
    return caption;
}

TRect ShortCutRect(const TRect& item, const TRect& caption, bool rightToLeft) {
    if (rightToLeft)
        return TRect{item.left + 11, caption.top, caption.left, caption.bottom};
    return TRect{caption.right, caption.top, item.right - 11, caption.bottom};
}

TColor DisabledMenuTextColor(TColor buttonShadow, TColor menuText) {
    return buttonShadow == menuText ? clBtnShadow : buttonShadow;
}

int SeparatorSourceTop(int imageHeight, int rectHeight) {
    return rectHeight < imageHeight ? imageHeight - rectHeight : 0;
}

SIZE NativeItemSize(int textWidth, bool textEmpty, int elementLeftWidth, int itemHeight, bool windows9x) {
    SIZE size{textWidth + 26 + std::max(elementLeftWidth, 0), textEmpty ? 8 : itemHeight + 4};
    if (windows9x)
        size.cy += 4;
    return size;
}

int MenuBarMargin(int elementLeftWidth, int elementRightWidth, bool rightToLeft, int bandWidth) {
    if (elementLeftWidth < 0 || elementRightWidth < 0)
        return 6;
    const int margin = rightToLeft ? elementRightWidth + 8 : elementLeftWidth + 4;
    return bandWidth < margin ? 12 : margin;
}

std::vector<TRect> MenuBarCells(const std::vector<int>& captionWidths, int margin, int bandWidth,
                                int bandHeight, bool rightToLeft) {
    std::vector<TRect> cells;
    cells.reserve(captionWidths.size());
    int x = rightToLeft ? bandWidth - margin : margin;
    for (const int measured : captionWidths) {
        if (measured < 0) {
            cells.push_back(TRect{0, 0, 0, 0});
            continue;
        }
        const int w = measured > 0 ? measured + 10 : measured;
        if (rightToLeft) {
            cells.push_back(TRect{x - w, 0, x, bandHeight - 1});
            x -= w;
        } else {
            cells.push_back(TRect{x, 0, x + w, bandHeight - 1});
            x += w;
        }
    }
    return cells;
}

int NeighbourMenuIndex(int index, int count, bool forward) {
    if (count <= 0)
        return -1;
    if (forward)
        return index < 0 || index + 1 >= count ? 0 : index + 1;
    return index <= 0 || index >= count ? count - 1 : index - 1;
}

bool CaptionHasAccel(const std::wstring& caption, wchar_t key) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&')
            continue;
        if (caption[i + 1] == L'&') {
            ++i;
            continue;
        }
        return std::towupper(caption[i + 1]) == std::towupper(key);
    }
    return false;
}
