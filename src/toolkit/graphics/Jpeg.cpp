#include "Jpeg.h"

#include "JpegCodec.h"

#include <algorithm>

const TEnumType JPEGScaleType{"TJPEGScale", {"jsFullSize", "jsHalf", "jsQuarter", "jsEighth"}};
const TEnumType JPEGPerformanceType{"TJPEGPerformance", {"jpBestQuality", "jpBestSpeed"}};
const TEnumType JPEGPixelFormatType{"TJPEGPixelFormat", {"jf24Bit", "jf8Bit"}};

TClass TJPEGImage::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TJPEGImage>("TJPEGImage")
            .Int("CompressionQuality", &TJPEGImage::CompressionQuality, &TJPEGImage::SetCompressionQuality)
            .Bool("Grayscale", &TJPEGImage::Grayscale, &TJPEGImage::SetGrayscale)
            .Enum("Performance", JPEGPerformanceType, &TJPEGImage::Performance, &TJPEGImage::SetPerformance)
            .Enum("PixelFormat", JPEGPixelFormatType, &TJPEGImage::PixelFormat, &TJPEGImage::SetPixelFormat)
            .Bool("ProgressiveDisplay", &TJPEGImage::ProgressiveDisplay, &TJPEGImage::SetProgressiveDisplay)
            .Enum("Scale", JPEGScaleType, &TJPEGImage::Scale, &TJPEGImage::SetScale)
            .Bool("Smoothing", &TJPEGImage::Smoothing, &TJPEGImage::SetSmoothing)
            .Build();
    return &info;
}

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

int TJPEGImage::Scaled(int size) const {
    const int denominator = 1 << static_cast<int>(FScale);
    return (size + denominator - 1) / denominator; // as libjpeg rounds its scaled sizes
}

int TJPEGImage::Width() const {
    if (FBitmap)
        return FBitmap->Width();
    return Scaled(FImageWidth);
}

int TJPEGImage::Height() const {
    if (FBitmap)
        return FBitmap->Height();
    return Scaled(FImageHeight);
}

void TJPEGImage::SetWidth(int) {
    throw EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}

void TJPEGImage::SetHeight(int) {
    throw EInvalidGraphicOperation("Cannot change the size of a JPEG image");
}

bool TJPEGImage::ProgressiveEncoding() const {
    return FData.empty() ? FProgressiveEncoding : FDataProgressive;
}

void TJPEGImage::SettingChanged() {
    // Only a picture that can be decoded again is dropped; one assigned from a bitmap stays.
    if (!FData.empty())
        FBitmap.reset();
    Changed();
}

void TJPEGImage::SetScale(TJPEGScale scale) {
    if (scale == FScale)
        return;
    FScale = scale;
    SettingChanged();
}

void TJPEGImage::SetPerformance(TJPEGPerformance performance) {
    if (performance == FPerformance)
        return;
    FPerformance = performance;
    SettingChanged();
}

void TJPEGImage::SetPixelFormat(TJPEGPixelFormat format) {
    if (format == FPixelFormat)
        return;
    FPixelFormat = format;
    SettingChanged();
}

void TJPEGImage::SetGrayscale(bool value) {
    if (value == FGrayscale)
        return;
    FGrayscale = value;
    SettingChanged();
}

void TJPEGImage::SetSmoothing(bool value) {
    if (value == FSmoothing)
        return;
    FSmoothing = value;
    SettingChanged();
}

void TJPEGImage::SetCompressionQuality(int quality) {
    FCompressionQuality = std::clamp(quality, 1, 100);
}

void TJPEGImage::LoadData(std::vector<std::uint8_t> data) {
    // The header is read at once: data that is no JPEG is refused here, not when drawn.
    const TJpegHeader header = ReadJpegHeader(data);
    FData = std::move(data);
    FImageWidth = header.Width;
    FImageHeight = header.Height;
    FDataProgressive = header.Progressive;
    FBitmap.reset();
    Changed();
}

TBitmap* TJPEGImage::Bitmap() const {
    if (!FBitmap && !FData.empty()) {
        TJpegDecodeOptions options;
        options.ScaleDenominator = 1 << static_cast<int>(FScale);
        options.Grayscale = FGrayscale;
        options.Quantize = FPixelFormat == jf8Bit;
        options.Fast = FPerformance == jpBestSpeed;
        options.Smoothing = FSmoothing;
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->AssignImage(DecodeJpeg(FData, options));
        FBitmap = std::move(bitmap);
    }
    return FBitmap.get();
}

void TJPEGImage::JPEGNeeded() {
    if (!FData.empty() || !FBitmap || FBitmap->Empty())
        return;
    TBitmap colours;
    colours.Assign(FBitmap.get());
    colours.SetPixelFormat(pf24bit);
    FData = EncodeJpeg(colours.ToImage(), FCompressionQuality, FProgressiveEncoding, FGrayscale);
    FImageWidth = FBitmap->Width();
    FImageHeight = FBitmap->Height();
    FDataProgressive = FProgressiveEncoding;
}

void TJPEGImage::Compress() {
    if (FData.empty() && !FBitmap)
        return;
    Bitmap();
    FData.clear();
    JPEGNeeded();
}

void TJPEGImage::Assign(TPersistent* source) {
    if (!source) {
        FData.clear();
        FBitmap.reset();
        FImageWidth = FImageHeight = 0;
        Changed();
        return;
    }
    if (auto* other = dynamic_cast<TJPEGImage*>(source)) {
        if (other == this)
            return;
        FScale = other->FScale;
        FPerformance = other->FPerformance;
        FPixelFormat = other->FPixelFormat;
        FGrayscale = other->FGrayscale;
        FSmoothing = other->FSmoothing;
        FProgressiveDisplay = other->FProgressiveDisplay;
        FProgressiveEncoding = other->FProgressiveEncoding;
        FCompressionQuality = other->FCompressionQuality;
        FData = other->FData;
        FImageWidth = other->FImageWidth;
        FImageHeight = other->FImageHeight;
        FDataProgressive = other->FDataProgressive;
        FBitmap.reset();
        if (FData.empty() && other->FBitmap) {
            FBitmap = std::make_unique<TBitmap>();
            FBitmap->Assign(other->FBitmap.get());
        }
        Changed();
        return;
    }
    if (auto* bitmap = dynamic_cast<::TBitmap*>(source)) {
        auto copy = std::make_unique<::TBitmap>();
        copy->Assign(bitmap);
        copy->SetTransparent(false);
        copy->SetPixelFormat(pf24bit);
        FData.clear();
        FBitmap = std::move(copy);
        FImageWidth = FBitmap->Width();
        FImageHeight = FBitmap->Height();
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

void TJPEGImage::AssignTo(TPersistent* dest) const {
    if (auto* bitmap = dynamic_cast<::TBitmap*>(dest)) {
        if (TBitmap* picture = Bitmap())
            bitmap->Assign(picture);
        else
            bitmap->Assign(nullptr);
        return;
    }
    TGraphic::AssignTo(dest);
}

void TJPEGImage::LoadFromStream(TStream& stream) {
    const std::int64_t rest = std::max<std::int64_t>(stream.Size() - stream.Position(), 0);
    std::vector<std::uint8_t> data(static_cast<std::size_t>(rest));
    stream.ReadBuffer(data.data(), rest);
    LoadData(std::move(data));
}

void TJPEGImage::SaveToStream(TStream& stream) {
    JPEGNeeded();
    if (!FData.empty())
        stream.WriteBuffer(FData.data(), static_cast<std::int64_t>(FData.size()));
}

void TJPEGImage::ReadData(TStream& stream) {
    const std::int64_t size = static_cast<std::int32_t>(stream.ReadUInt32LE());
    const std::int64_t rest = stream.Size() - stream.Position();
    if (size < 0 || size > rest)
        throw EInvalidGraphic("JPEG image is not valid: the stored length exceeds the data");
    std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
    stream.ReadBuffer(data.data(), size);
    if (data.empty())
        Assign(nullptr);
    else
        LoadData(std::move(data));
}

void TJPEGImage::WriteData(TStream& stream) {
    JPEGNeeded();
    stream.WriteUInt32LE(static_cast<std::uint32_t>(FData.size()));
    if (!FData.empty())
        stream.WriteBuffer(FData.data(), static_cast<std::int64_t>(FData.size()));
}

void TJPEGImage::Draw(TCanvas& canvas, const TRect& rect) {
    TBitmap* picture = Bitmap();
    if (!picture)
        return;
    picture->SetTransparent(Transparent());
    canvas.StretchDraw(rect, picture);
}
