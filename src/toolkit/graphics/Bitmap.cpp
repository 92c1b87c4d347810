#include "Bitmap.h"

#include "BitmapPixels.h"
#include "BmpDecoder.h"
#include "BmpEncoder.h"

#include <algorithm>
#include <cstring>

const TEnumType PixelFormatType{
    "TPixelFormat",
    {"pfDevice", "pf1bit", "pf4bit", "pf8bit", "pf15bit", "pf16bit", "pf24bit", "pf32bit", "pfCustom"}};
const TEnumType TransparentModeType{"TTransparentMode", {"tmAuto", "tmFixed"}};

// The bitmap's own canvas: a memory DC with the DIB section selected, made when first drawn
// on and let go whenever the bitmap's handle is wanted elsewhere or replaced. A stretch mode
// set on the DC carries over to the next one, so a work bitmap set up for exact stretching
// stays that way when it is resized.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& bitmap) : FBitmap(bitmap) {}
    ~TBitmapCanvas() override { FreeContext(); }

    void FreeContext() {
        if (!FDC)
            return;
        SetHandle(nullptr);
        FStretchMode = GetStretchBltMode(FDC.Get());
        SelectObject(FDC.Get(), FOldBitmap);
        FDC.Reset();
    }
    // The DC with the picture, for copying from: no font, brush or pen needed.
    HDC SourceDC() {
        RequiredState({csHandleValid});
        return FDC.Get();
    }

protected:
    void CreateHandle() override {
        FBitmap.HandleNeeded();
        TMemoryDC dc(CreateCompatibleDC(nullptr));
        if (!dc)
            throw EOutOfResources("Out of system resources");
        FOldBitmap = FBitmap.FHandle ? SelectObject(dc.Get(), FBitmap.FHandle.Get()) : nullptr;
        if (FStretchMode)
            SetStretchBltMode(dc.Get(), FStretchMode);
        FDC = std::move(dc);
        SetHandle(FDC.Get());
    }
    void Changing() override {
        FBitmap.CanvasChanging();
        TCanvas::Changing();
    }
    void Changed() override {
        FBitmap.Changed();
        TCanvas::Changed();
    }

private:
    TBitmap& FBitmap;
    TMemoryDC FDC;
    HGDIOBJ FOldBitmap = nullptr;
    int FStretchMode = 0;
};

namespace {

std::uint32_t LE32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::span<const std::uint8_t> ResourceBytes(HINSTANCE instance, LPCSTR name, const std::string& shownName) {
    HRSRC info = FindResourceA(instance, name, reinterpret_cast<LPCSTR>(RT_BITMAP));
    HGLOBAL data = info ? LoadResource(instance, info) : nullptr;
    const void* memory = data ? LockResource(data) : nullptr;
    if (!memory)
        throw EResNotFound(FormatMsg("Resource %s not found", {shownName}));
    return {static_cast<const std::uint8_t*>(memory), SizeofResource(instance, info)};
}

} // namespace

TClass TBitmap::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TBitmap>("TBitmap")
            .Int("Height", &TBitmap::Height, &TBitmap::SetHeight)
            .Enum("PixelFormat", PixelFormatType, &TBitmap::PixelFormat, &TBitmap::SetPixelFormat)
            .Bool("Transparent", &TBitmap::Transparent, &TBitmap::SetTransparent)
            .Int("TransparentColor", &TBitmap::TransparentColor, &TBitmap::SetTransparentColor, &ColorIdents)
            .Enum("TransparentMode", TransparentModeType, &TBitmap::TransparentMode,
                  &TBitmap::SetTransparentMode)
            .Int("Width", &TBitmap::Width, &TBitmap::SetWidth)
            .Build();
    return &info;
}

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
    // The canvas lets go of the DIB section before the section is freed.
    FCanvas.reset();
}

// ---- ownership of the pixels ---------------------------------------------------------------

void TBitmap::FreeContext() {
    if (FCanvas)
        FCanvas->FreeContext();
}

void TBitmap::CanvasChanging() {
    FMaskHandle.Reset();
}

void TBitmap::Changed() {
    FMaskHandle.Reset();
    TGraphic::Changed();
}

void TBitmap::TakeDib(TBitmapHandle handle, std::uint8_t* bits, int width, int height, TPixelFormat format,
                      std::vector<TRgbQuad> palette) {
    FreeContext();
    FMaskHandle.Reset();
    FHandle = std::move(handle);
    FBits = bits;
    FDormant.reset();
    FWidth = width;
    FHeight = height;
    FPixelFormat = format;
    FPalette = std::move(palette);
}

void TBitmap::Clear() {
    FreeContext();
    FMaskHandle.Reset();
    FHandle.Reset();
    FBits = nullptr;
    FDormant.reset();
    FWidth = FHeight = 0;
}

void TBitmap::HandleNeeded() {
    if (FHandle || Empty())
        return;
    TDibPixels dib = CreateDibSection(FWidth, FHeight, FPixelFormat, FPalette);
    const TPixelView view = DibView(dib.Bits, FWidth, FHeight, FPixelFormat);
    if (FDormant)
        CopyPixels(FDormant->View(), view);
    else
        FillWhite(view, FPixelFormat, FPalette);
    FHandle = std::move(dib.Handle);
    FBits = dib.Bits;
    FDormant.reset();
}

TConstPixelView TBitmap::CurrentView() {
    if (FDormant)
        return FDormant->View();
    HandleNeeded();
    if (!FHandle)
        return {};
    GdiFlush();
    return DibView(FBits, FWidth, FHeight, FPixelFormat);
}

HDC TBitmap::SourceDC() {
    Canvas();
    return FCanvas->SourceDC();
}

TCanvas* TBitmap::Canvas() {
    if (!FCanvas)
        FCanvas = std::make_unique<TBitmapCanvas>(*this);
    return FCanvas.get();
}

HBITMAP TBitmap::Handle() {
    HandleNeeded();
    FreeContext();
    // Whoever holds the handle may draw on it.
    FMaskHandle.Reset();
    return FHandle.Get();
}

void TBitmap::SetHandle(HBITMAP bitmap) {
    if (bitmap && bitmap == FHandle.Get())
        return;
    TBitmapHandle owned(bitmap);
    AssignHandle(bitmap);
}

void TBitmap::AssignHandle(HBITMAP bitmap) {
    if (bitmap && bitmap == FHandle.Get())
        return;
    if (!bitmap) {
        Clear();
        Changed();
        return;
    }
    BITMAP bm{};
    if (GetObjectW(bitmap, sizeof bm, &bm) == 0)
        throw EInvalidGraphicOperation("Invalid bitmap handle");
    const int width = bm.bmWidth;
    const int height = std::abs(bm.bmHeight);
    TPixelFormat format = bm.bmBitsPixel == 1    ? pf1bit
                          : bm.bmBitsPixel == 4  ? pf4bit
                          : bm.bmBitsPixel == 8  ? pf8bit
                          : bm.bmBitsPixel == 24 ? pf24bit
                                                 : pf32bit;
    if (width <= 0 || height <= 0) {
        Clear();
        FPixelFormat = format;
        Changed();
        return;
    }
    // GetDIBits reports the colour table of indexed bitmaps (black and white for monochrome
    // device bitmaps) and converts everything else.
    struct {
        BITMAPINFOHEADER Header;
        RGBQUAD Colors[256];
    } info{};
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = width;
    info.Header.biHeight = height;
    info.Header.biPlanes = 1;
    info.Header.biBitCount = static_cast<WORD>(BitsOfFormat(format));
    info.Header.biCompression = BI_RGB;
    TMemoryDC dc(CreateCompatibleDC(nullptr));
    std::vector<TRgbQuad> palette;
    if (IsIndexedFormat(format)) {
        if (!GetDIBits(dc.Get(), bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS))
            throw EInvalidGraphicOperation("Invalid bitmap handle");
        const std::size_t count = std::size_t{1} << BitsOfFormat(format);
        palette.resize(count);
        std::memcpy(palette.data(), info.Colors, count * sizeof(RGBQUAD));
    }
    TDibPixels dib = CreateDibSection(width, height, format, palette);
    if (GetDIBits(dc.Get(), bitmap, 0, static_cast<UINT>(height), dib.Bits,
                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) == 0)
        throw EInvalidGraphicOperation("Invalid bitmap handle");
    TakeDib(std::move(dib.Handle), dib.Bits, width, height, format, std::move(palette));
    Changed();
}

HBITMAP TBitmap::ReleaseHandle() {
    HandleNeeded();
    if (!FHandle)
        return nullptr;
    Dormant();
    // The picture stays with the bitmap; the caller gets a DIB section of its own.
    TDibPixels dib = CreateDibSection(FWidth, FHeight, FPixelFormat, FPalette);
    CopyPixels(FDormant->View(), DibView(dib.Bits, FWidth, FHeight, FPixelFormat));
    return dib.Handle.Detach();
}

void TBitmap::Dormant() {
    if (!FHandle)
        return;
    FDormant = ToImage();
    FreeContext();
    FMaskHandle.Reset();
    FHandle.Reset();
    FBits = nullptr;
}

// ---- size and format -----------------------------------------------------------------------

int TBitmap::BitsPerPixel() const {
    return BitsOfFormat(FPixelFormat);
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == FWidth && height == FHeight)
        return;
    if (width == 0 || height == 0) {
        Clear();
        FWidth = width;
        FHeight = height;
        Changed();
        return;
    }
    if (IsIndexedFormat(FPixelFormat) && FPalette.empty())
        FPalette = StandardColorTable(FPixelFormat);
    TDibPixels dib = CreateDibSection(width, height, FPixelFormat, FPalette);
    const TPixelView view = DibView(dib.Bits, width, height, FPixelFormat);
    FillWhite(view, FPixelFormat, FPalette);
    if (!Empty())
        CopyPixels(CurrentView(), view);
    TakeDib(std::move(dib.Handle), dib.Bits, width, height, FPixelFormat, FPalette);
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == FPixelFormat)
        return;
    if (format == pfCustom)
        throw EInvalidGraphicOperation("Invalid pixel format");
    std::vector<TRgbQuad> palette = StandardColorTable(format);
    if (Empty()) {
        FPixelFormat = format;
        FPalette = std::move(palette);
        Changed();
        return;
    }
    TDibPixels dib = CreateDibSection(FWidth, FHeight, format, palette);
    ConvertPixels(CurrentView(), FPixelFormat, FPalette, DibView(dib.Bits, FWidth, FHeight, format), format,
                  palette);
    TakeDib(std::move(dib.Handle), dib.Bits, FWidth, FHeight, format, std::move(palette));
    Changed();
}

bool TBitmap::Monochrome() const {
    return FPixelFormat == pf1bit && FPalette == StandardColorTable(pf1bit);
}

void TBitmap::SetMonochrome(bool value) {
    if (value == Monochrome())
        return;
    if (value && FPixelFormat == pf1bit) {
        // A two-colour picture with another colour table: redraw it in black and white.
        SetPixelFormat(pf24bit);
    }
    SetPixelFormat(value ? pf1bit : pfDevice);
}

void* TBitmap::ScanLine(int row) {
    if (row < 0 || row >= FHeight)
        throw EInvalidGraphicOperation(FormatMsg("Scan line index out of range (%s)", {IntToStr(row)}));
    return const_cast<std::uint8_t*>(PixelView().Row(row));
}

TPixelView TBitmap::PixelView() {
    HandleNeeded();
    FMaskHandle.Reset();
    if (!FHandle)
        return {0, 0, 0, BitsOfFormat(FPixelFormat), nullptr};
    GdiFlush();
    return DibView(FBits, FWidth, FHeight, FPixelFormat);
}

// ---- transparency --------------------------------------------------------------------------

TColor TBitmap::TransparentColor() {
    if (FTransparentMode == tmFixed && FTransparentColor != clDefault)
        return FTransparentColor;
    if (Empty())
        return clDefault;
    const TRgbQuad c = ReadColor(CurrentView(), 0, FHeight - 1, FPixelFormat, FPalette);
    return RGBColor(c.Red, c.Green, c.Blue);
}

void TBitmap::SetTransparentColor(TColor color) {
    if (color == FTransparentColor)
        return;
    FTransparentColor = color;
    FTransparentMode = color == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
    if (mode == FTransparentMode)
        return;
    if (mode == tmAuto)
        SetTransparentColor(clDefault);
    else
        SetTransparentColor(TransparentColor());
}

HBITMAP TBitmap::MaskFor(TColor key, std::optional<TBitmapHandle>& temporary) {
    const TConstPixelView view = CurrentView();
    const std::vector<std::uint8_t> bits = MaskBits(view, FPixelFormat, FPalette, MaskKey(key), 2);
    HBITMAP mask = CreateBitmap(FWidth, FHeight, 1, 1, bits.data());
    if (!mask)
        throw EOutOfResources("Out of system resources");
    temporary.emplace(mask);
    return mask;
}

HBITMAP TBitmap::MaskHandle() {
    if (Empty())
        return nullptr;
    const TColor key = TransparentColor();
    if (!FMaskHandle || FMaskColor != key) {
        std::optional<TBitmapHandle> mask;
        MaskFor(key, mask);
        FMaskHandle = std::move(*mask);
        FMaskColor = key;
    }
    return FMaskHandle.Get();
}

void TBitmap::Mask(TColor transparentColor) {
    if (Empty())
        return;
    std::vector<TRgbQuad> palette = StandardColorTable(pf1bit);
    TDibPixels dib = CreateDibSection(FWidth, FHeight, pf1bit, palette);
    const std::vector<std::uint8_t> bits =
        MaskBits(CurrentView(), FPixelFormat, FPalette, MaskKey(transparentColor), 4);
    const TPixelView target = DibView(dib.Bits, FWidth, FHeight, pf1bit);
    const auto rowBytes = static_cast<std::size_t>(target.Stride < 0 ? -target.Stride : target.Stride);
    for (int y = 0; y < FHeight; ++y)
        std::memcpy(target.Row(y), bits.data() + rowBytes * static_cast<std::size_t>(y), rowBytes);
    TakeDib(std::move(dib.Handle), dib.Bits, FWidth, FHeight, pf1bit, std::move(palette));
    Changed();
}

// ---- drawing -------------------------------------------------------------------------------

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) {
    if (Empty())
        return;
    HDC dc = canvas.Handle();
    if (Transparent()) {
        TransparentStretch(dc, rect, *this, Rect(0, 0, FWidth, FHeight), TransparentColor());
        return;
    }
    HDC source = SourceDC();
    // The mono-oriented default modes would AND or OR colour rows together when shrinking.
    const int mode = GetStretchBltMode(dc);
    const bool colourMode = mode == BLACKONWHITE || mode == WHITEONBLACK;
    if (colourMode && !Monochrome())
        SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, rect.left, rect.top, RectWidth(rect), RectHeight(rect), source, 0, 0, FWidth, FHeight,
               canvas.CopyMode());
    if (colourMode && !Monochrome())
        SetStretchBltMode(dc, mode);
}

void TransparentStretch(HDC dc, const TRect& dest, TBitmap& bitmap, const TRect& source, TColor key) {
    const int w = RectWidth(dest);
    const int h = RectHeight(dest);
    const int sw = RectWidth(source);
    const int sh = RectHeight(source);
    if (bitmap.Empty() || w <= 0 || h <= 0 || sw <= 0 || sh <= 0)
        return;
    std::optional<TBitmapHandle> temporary;
    HBITMAP mask = key == bitmap.TransparentColor() ? bitmap.MaskHandle() : bitmap.MaskFor(key, temporary);
    HDC picture = bitmap.SourceDC();

    TMemoryDC maskDC(CreateCompatibleDC(dc));
    TMemoryDC work(CreateCompatibleDC(dc));
    TBitmapHandle workBitmap(CreateCompatibleBitmap(dc, w, h));
    if (!maskDC || !work || !workBitmap)
        throw EOutOfResources("Out of system resources");
    const TSelectScope maskScope(maskDC.Get(), mask);
    const TSelectScope workScope(work.Get(), workBitmap.Get());
    // Exact pixels: the picture and its mask must sample the same source pixels.
    SetStretchBltMode(work.Get(), COLORONCOLOR);
    // work = D; D ^ P; (D ^ P) & M; ^ P: the destination where the mask is white (key), the
    // picture where it is black.
    BitBlt(work.Get(), 0, 0, w, h, dc, dest.left, dest.top, SRCCOPY);
    StretchBlt(work.Get(), 0, 0, w, h, picture, source.left, source.top, sw, sh, SRCINVERT);
    SetTextColor(work.Get(), RGB(0, 0, 0));
    SetBkColor(work.Get(), RGB(0xFF, 0xFF, 0xFF));
    StretchBlt(work.Get(), 0, 0, w, h, maskDC.Get(), source.left, source.top, sw, sh, SRCAND);
    StretchBlt(work.Get(), 0, 0, w, h, picture, source.left, source.top, sw, sh, SRCINVERT);
    BitBlt(dc, dest.left, dest.top, w, h, work.Get(), 0, 0, SRCCOPY);
}

std::unique_ptr<TBitmap> AllocPatternBitmap(TColor background, TColor foreground) {
    auto pattern = std::make_unique<TBitmap>();
    pattern->SetPixelFormat(pf24bit);
    pattern->SetSize(8, 8);
    TCanvas& canvas = *pattern->Canvas();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            canvas.SetPixels(x, y, (x + y) % 2 ? foreground : background);
    return pattern;
}

// ---- copying -------------------------------------------------------------------------------

void TBitmap::Assign(TPersistent* source) {
    if (!source) {
        Clear();
        Changed();
        return;
    }
    auto* other = dynamic_cast<TBitmap*>(source);
    if (!other) {
        TGraphic::Assign(source);
        return;
    }
    if (other == this)
        return;
    if (other->Empty()) {
        Clear();
        FWidth = other->FWidth;
        FHeight = other->FHeight;
        FPixelFormat = other->FPixelFormat;
        FPalette = other->FPalette;
    } else {
        TDibPixels dib =
            CreateDibSection(other->FWidth, other->FHeight, other->FPixelFormat, other->FPalette);
        CopyPixels(other->CurrentView(),
                   DibView(dib.Bits, other->FWidth, other->FHeight, other->FPixelFormat));
        TakeDib(std::move(dib.Handle), dib.Bits, other->FWidth, other->FHeight, other->FPixelFormat,
                other->FPalette);
    }
    FTransparentColor = other->FTransparentColor;
    FTransparentMode = other->FTransparentMode;
    TGraphic::SetTransparent(other->Transparent());
    Changed();
}

TBmpImage TBitmap::ToImage() {
    if (FDormant)
        return *FDormant;
    if (Empty())
        return CreateBmpImage(0, 0, BitsOfFormat(FPixelFormat));
    TBmpImage image = CreateBmpImage(FWidth, FHeight, BitsOfFormat(FPixelFormat));
    if (IsIndexedFormat(FPixelFormat))
        image.Palette = FPalette;
    image.Masks = MasksOfFormat(FPixelFormat);
    CopyPixels(CurrentView(), image.View());
    return image;
}

void TBitmap::AssignImage(const TBmpImage& image) {
    const std::optional<TPixelFormat> kept = FormatOfImage(image);
    const TBmpImage converted = kept ? TBmpImage{} : ToBgra32(image);
    const TBmpImage& source = kept ? image : converted;
    const TPixelFormat format = kept.value_or(pf32bit);
    if (source.Width <= 0 || source.Height <= 0) {
        Clear();
        FPixelFormat = format;
        FPalette = source.Palette;
        Changed();
        return;
    }
    std::vector<TRgbQuad> palette = IsIndexedFormat(format) ? source.Palette : std::vector<TRgbQuad>{};
    TDibPixels dib = CreateDibSection(source.Width, source.Height, format, palette);
    CopyPixels(source.View(), DibView(dib.Bits, source.Width, source.Height, format));
    TakeDib(std::move(dib.Handle), dib.Bits, source.Width, source.Height, format, std::move(palette));
    Changed();
}

// ---- streams and resources -----------------------------------------------------------------

void TBitmap::LoadFromStream(TStream& stream) {
    std::uint8_t header[14];
    if (stream.Read(header, sizeof header) != sizeof header)
        throw EInvalidGraphic("Bitmap image is not valid: the data ends before the file header");
    if (header[0] != 'B' || header[1] != 'M')
        throw EInvalidGraphic("Bitmap image is not valid: the data is not a bitmap file");
    // The file header knows the file's length, so data after it stays in the stream; when it
    // is wrong the rest of the stream is taken and the decoder judges it.
    const std::int64_t rest = std::max<std::int64_t>(stream.Size() - stream.Position(), 0);
    const std::int64_t declared = static_cast<std::int64_t>(LE32(header + 2)) - std::int64_t{sizeof header};
    const std::int64_t body = declared > 0 && declared <= rest ? declared : rest;
    std::vector<std::uint8_t> file(sizeof header + static_cast<std::size_t>(body));
    std::memcpy(file.data(), header, sizeof header);
    stream.ReadBuffer(file.data() + sizeof header, body);
    AssignImage(DecodeBmp(file));
}

void TBitmap::SaveToStream(TStream& stream) {
    if (Empty())
        return;
    const std::vector<std::uint8_t> file = EncodeBmp(ToImage());
    stream.WriteBuffer(file.data(), static_cast<std::int64_t>(file.size()));
}

void TBitmap::LoadDib(std::span<const std::uint8_t> dib) {
    AssignImage(DecodeDib(dib));
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::string& name) {
    LoadDib(ResourceBytes(instance, name.c_str(), name));
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id) {
    LoadDib(ResourceBytes(instance, MAKEINTRESOURCEA(id), "#" + IntToStr(id)));
}

void TBitmap::ReadData(TStream& stream) {
    const std::int64_t size = static_cast<std::int32_t>(stream.ReadUInt32LE());
    const std::int64_t rest = stream.Size() - stream.Position();
    if (size < 0 || size > rest)
        throw EInvalidGraphic("Bitmap image is not valid: the stored length exceeds the data");
    if (size == 0) {
        Assign(nullptr);
        return;
    }
    TMemoryStream data;
    data.CopyFrom(stream, size);
    data.SetPosition(0);
    LoadFromStream(data);
}

void TBitmap::WriteData(TStream& stream) {
    TMemoryStream data;
    SaveToStream(data);
    stream.WriteUInt32LE(static_cast<std::uint32_t>(data.Size()));
    if (data.Size() > 0)
        stream.WriteBuffer(data.Memory(), data.Size());
}
