// The painting entry points every skinner shares, and the fills of face and parent colour.
#include "WinSubClass.h"

#include "SkinDraw.h"
#include "TypInfo.h"
#include "WinHandle.h"

TColor TSkinControl::FaceColor() const {
    return FSkinData ? static_cast<TColor>(FSkinData->Elements().Colors.ButtonFace) : clBtnFace;
}

TColor TSkinControl::ShadowColor() const {
    return FSkinData ? static_cast<TColor>(FSkinData->Elements().Colors.ButtonShadow) : clBtnShadow;
}

void TSkinControl::Redraw() {
    if (FGraphicControl) {
        FGraphicControl->Invalidate();
        return;
    }
    InvalidateRect(FHandle, nullptr, TRUE);
    UpdateWindow(FHandle);
}

void TSkinControl::PaintClient(TMessage& message) {
    PAINTSTRUCT paint{};
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    const bool began = dc == nullptr;
    if (began)
        dc = BeginPaint(FHandle, &paint);
    RECT window{};
    if (dc && GetWindowRect(FHandle, &window)) {
        FWindowRect = window;
        DrawSkin(dc, TRect{0, 0, window.right - window.left, window.bottom - window.top});
    }
    if (began)
        EndPaint(FHandle, &paint);
}

void TSkinControl::PaintNow(HDC dc) {
    RECT window{};
    if (!GetWindowRect(FHandle, &window))
        return;
    FWindowRect = window;
    const TRect r{0, 0, window.right - window.left, window.bottom - window.top};
    try {
        if (dc) {
            DrawSkin(dc, r);
            return;
        }
        TWindowDC windowDC(FHandle, true);
        if (windowDC.Get())
            DrawSkin(windowDC.Get(), r);
    } catch (...) {
        // The native painting stays.
    }
}

void TSkinControl::DrawSkin(HDC, const TRect&) {}

void TSkinControl::EraseTransparent(TMessage& message) {
    const auto dc = reinterpret_cast<HDC>(message.WParam);
    if (FControl) {
        const RECT bounds = FControl->BoundsRect();
        HWND parent = FControl->Parent() ? FControl->Parent()->Handle() : GetParent(FHandle);
        PaintParentBackground(parent, bounds, dc);
    } else {
        RECT client{};
        GetClientRect(FHandle, &client);
        FillParentColor(dc, client);
    }
    message.Result = 1;
}

void TSkinControl::FillFace(HDC dc, const TRect& r) {
    TBrushHandle brush(CreateSolidBrush(ColorToRGB(FaceColor())));
    FillRect(dc, &r, brush.Get());
}

void TSkinControl::FillParentColor(HDC dc, const TRect& r) {
    TColor color = FaceColor();
    TWinControl* parent = FControl ? FControl->Parent() : nullptr;
    if (parent && PropType(parent, "Color") == tkInteger)
        color = static_cast<TColor>(GetIntProp(parent, "Color"));
    TBrushHandle brush(CreateSolidBrush(ColorToRGB(color)));
    FillRect(dc, &r, brush.Get());
}

void TSkinControl::DrawFocusAround(HDC dc, UINT flags, const TRect& r) {
    TRect text = r;
    DrawTextW(dc, FCaption.c_str(), static_cast<int>(FCaption.size()), &text,
              flags | DT_CALCRECT | DT_NOCLIP);
    const int width = RectWidth(text);
    const int height = RectHeight(text);
    if (flags & DT_CENTER) {
        text.left = r.left + (RectWidth(r) - width) / 2;
        text.top = r.top + (RectHeight(r) - height) / 2;
    } else if (flags & DT_RIGHT) {
        text.left = r.right - width;
    }
    text.right = text.left + width;
    text.bottom = text.top + height;
    InflateRect(&text, 2, 1);
    IntersectRect(&text, &text, &r);
    DrawFocusRect(dc, &text);
}
