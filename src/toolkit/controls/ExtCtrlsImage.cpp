// TImage: a picture (bitmap, icon or JPEG) painted on the parent.
#include "ExtCtrls.h"

#include "Canvas.h"

#include <algorithm>

TClass TImage::StaticClass() {
    static const TClassInfo info = TClassBuilder<TImage>("TImage")
                                       .Bool("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize)
                                       .Bool("Center", &TImage::Center, &TImage::SetCenter)
                                       .Obj<TPicture>("Picture", &TImage::Picture, &TImage::SetPicture)
                                       .Bool("Proportional", &TImage::Proportional, &TImage::SetProportional)
                                       .Bool("Stretch", &TImage::Stretch, &TImage::SetStretch)
                                       .Bool("Transparent", &TImage::Transparent, &TImage::SetTransparent)
                                       .Build();
    return &info;
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner), FPicture(std::make_unique<TPicture>()) {
    FWidth = 105;
    FHeight = 105;
    FPicture->SetOnChange(TNotifyEvent(this, &TImage::PictureChanged));
}

TImage::~TImage() {
    FPicture->SetOnChange(TNotifyEvent());
}

void TImage::SetPicture(TPicture* picture) {
    FPicture->Assign(picture);
}

void TImage::SetAutoSize(bool value) {
    FAutoSize = value;
    AdjustSize();
}

void TImage::SetStretch(bool value) {
    FStretch = value;
    Invalidate();
}

void TImage::SetCenter(bool value) {
    FCenter = value;
    Invalidate();
}

void TImage::SetProportional(bool value) {
    FProportional = value;
    Invalidate();
}

void TImage::SetTransparent(bool value) {
    FTransparent = value;
    if (TGraphic* graphic = FPicture->Graphic())
        graphic->SetTransparent(value);
    Invalidate();
}

void TImage::Loaded() {
    TGraphicControl::Loaded();
    AdjustSize();
}

void TImage::PictureChanged(TObject*) {
    if (TGraphic* graphic = FPicture->Graphic(); graphic && graphic->Transparent() != FTransparent)
        graphic->SetTransparent(FTransparent); // calls back here once more
    AdjustSize();
    Invalidate();
}

void TImage::AdjustSize() {
    if (!FAutoSize || ComponentState().Contains(csLoading))
        return;
    const int width = FPicture->Width();
    const int height = FPicture->Height();
    if (width > 0 && height > 0)
        SetBounds(FLeft, FTop, width, height);
}

TRect TImage::DestRect() const {
    int width = FPicture->Width();
    int height = FPicture->Height();
    if (FStretch || (FProportional && (width > FWidth || height > FHeight))) {
        if (FProportional && width > 0 && height > 0) {
            // The largest size with the picture's proportions that fits the control.
            if (static_cast<long long>(FWidth) * height > static_cast<long long>(FHeight) * width) {
                width = MulDiv(width, FHeight, height);
                height = FHeight;
            } else {
                height = MulDiv(height, FWidth, width);
                width = FWidth;
            }
        } else {
            width = FWidth;
            height = FHeight;
        }
    }
    TRect r = Bounds(0, 0, width, height);
    if (FCenter)
        OffsetRect(&r, (FWidth - width) / 2, (FHeight - height) / 2);
    return r;
}

void TImage::Paint(HDC dc) {
    TGraphic* graphic = FPicture->Graphic();
    if (!graphic || graphic->Empty())
        return;
    TCanvas canvas;
    canvas.SetHandle(dc);
    const TRect r = DestRect();
    if (RectWidth(r) == graphic->Width() && RectHeight(r) == graphic->Height())
        canvas.Draw(r.left, r.top, graphic);
    else
        canvas.StretchDraw(r, graphic);
    canvas.SetHandle(nullptr);
}

namespace {
const bool kRegistered = (RegisterClasses({TImage::StaticClass()}), true);
}
