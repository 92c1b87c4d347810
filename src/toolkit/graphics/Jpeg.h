// TJPEGImage: a JPEG picture kept as its compressed bytes and decoded with libjpeg-turbo into
// a bitmap when it is first drawn or asked for. A picture assigned from a bitmap is
// compressed when it is saved.
#pragma once

#include "Bitmap.h"
#include "Graphic.h"

#include <cstdint>
#include <memory>
#include <vector>

enum TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };
enum TJPEGPerformance { jpBestQuality, jpBestSpeed };
enum TJPEGPixelFormat { jf24Bit, jf8Bit };

extern const TEnumType JPEGScaleType;
extern const TEnumType JPEGPerformanceType;
extern const TEnumType JPEGPixelFormatType;

class TJPEGImage : public TGraphic {
    TW_DECLARE_CLASS(TJPEGImage, TGraphic)

    TJPEGImage();
    ~TJPEGImage() override;
    // From another JPEG image (its bytes and settings) or from a bitmap (compressed on save).
    void Assign(TPersistent* source) override;

    bool Empty() const override { return FData.empty() && !FBitmap; }
    // The size of the decoded picture, that is after Scale.
    int Width() const override;
    int Height() const override;
    // A JPEG picture cannot be resized: raises EInvalidGraphicOperation.
    void SetWidth(int width) override;
    void SetHeight(int height) override;

    // Reads the rest of the stream.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    // Form descriptions store a 32-bit length before the JPEG data.
    void ReadData(TStream& stream) override;
    void WriteData(TStream& stream) override;

    // Decoding settings; changing one drops the decoded picture.
    TJPEGScale Scale() const { return FScale; }
    void SetScale(TJPEGScale scale);
    TJPEGPerformance Performance() const { return FPerformance; }
    void SetPerformance(TJPEGPerformance performance);
    TJPEGPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TJPEGPixelFormat format);
    bool Grayscale() const { return FGrayscale; }
    void SetGrayscale(bool value);
    bool Smoothing() const { return FSmoothing; }
    void SetSmoothing(bool value);
    bool ProgressiveDisplay() const { return FProgressiveDisplay; }
    void SetProgressiveDisplay(bool value) { FProgressiveDisplay = value; }
    // True when the loaded data is stored in several scans.
    bool ProgressiveEncoding() const;
    void SetProgressiveEncoding(bool value) { FProgressiveEncoding = value; }
    // Encoding quality 1..100 for pictures compressed here.
    int CompressionQuality() const { return FCompressionQuality; }
    void SetCompressionQuality(int quality);

    // The decoded picture, owned by the image; decoded now when needed.
    TBitmap* Bitmap() const;
    void DIBNeeded() const { Bitmap(); }
    // Compresses an assigned bitmap now.
    void JPEGNeeded();
    // Compresses the decoded picture again, with CompressionQuality and ProgressiveEncoding.
    void Compress();
    const std::vector<std::uint8_t>& Data() const { return FData; }

protected:
    void Draw(TCanvas& canvas, const TRect& rect) override;
    void AssignTo(TPersistent* dest) const override;

private:
    void SettingChanged();
    void LoadData(std::vector<std::uint8_t> data);
    int Scaled(int size) const;

    std::vector<std::uint8_t> FData;
    int FImageWidth = 0;
    int FImageHeight = 0;
    bool FDataProgressive = false;
    mutable std::unique_ptr<TBitmap> FBitmap;
    TJPEGScale FScale = jsFullSize;
    TJPEGPerformance FPerformance = jpBestQuality;
    TJPEGPixelFormat FPixelFormat = jf24Bit;
    bool FGrayscale = false;
    bool FSmoothing = true;
    bool FProgressiveDisplay = false;
    bool FProgressiveEncoding = false;
    int FCompressionQuality = 90;
};
