#include "ImageList.h"

#include "BitmapPixels.h"
#include "GraphicsError.h"

#include <algorithm>
#include <cstring>

const TEnumType DrawingStyleType{"TDrawingStyle", {"dsFocus", "dsSelected", "dsNormal", "dsTransparent"}};
const TEnumType ImageTypeType{"TImageType", {"itImage", "itMask"}};

namespace {

constexpr DWORD kRopDSPDxax = 0x00E20746;        // pattern where the source is white, destination elsewhere
constexpr std::uint32_t kDataMagic = 0x4C495754; // "TWIL"

COLORREF ListColor(TColor color) {
    if (color == clNone)
        return CLR_NONE;
    if (color == clDefault)
        return CLR_DEFAULT;
    return ColorToColorRef(color);
}

UINT DrawFlags(TDrawingStyle style, TImageType type) {
    UINT flags = ILD_NORMAL;
    switch (style) {
    case dsFocus:
        flags = ILD_FOCUS;
        break;
    case dsSelected:
        flags = ILD_SELECTED;
        break;
    case dsTransparent:
        flags = ILD_TRANSPARENT;
        break;
    case dsNormal:
        break;
    }
    return type == itMask ? flags | ILD_MASK : flags;
}

bool IsWhite(const std::uint8_t* bgr) {
    return bgr[0] == 0xFF && bgr[1] == 0xFF && bgr[2] == 0xFF;
}

bool IsBlack(const std::uint8_t* bgr) {
    return bgr[0] == 0 && bgr[1] == 0 && bgr[2] == 0;
}

// A white 24-bit picture of the given size whose canvas maps monochrome sources to black
// and white, whatever the system colours are.
void MakeWhite(TBitmap& bitmap, int width, int height) {
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(0, 0);
    bitmap.SetSize(width, height);
    bitmap.Canvas()->Font()->SetColor(clBlack);
    bitmap.Canvas()->Brush()->SetColor(clWhite);
}

} // namespace

// ---- TChangeLink ---------------------------------------------------------------------------

TChangeLink::~TChangeLink() {
    if (FSender)
        FSender->UnRegisterChanges(this);
}

void TChangeLink::Change() {
    if (FOnChange)
        FOnChange(FSender);
}

// ---- TCustomImageList ----------------------------------------------------------------------

struct TCustomImageList::TPreparedStrip {
    std::unique_ptr<TBitmap> Colour;
    TBitmapHandle Mask;
    int Count = 0;
};

TClass TCustomImageList::StaticClass() {
    static const TClassInfo info = TClassBuilder<TCustomImageList>("TCustomImageList").Build();
    return &info;
}

TClass TImageList::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TImageList>("TImageList")
            .Int("AllocBy", &TImageList::AllocBy, &TImageList::SetAllocBy)
            .Int("BkColor", &TImageList::BkColor, &TImageList::SetBkColor, &ColorIdents)
            .Int("BlendColor", &TImageList::BlendColor, &TImageList::SetBlendColor, &ColorIdents)
            .Enum("DrawingStyle", DrawingStyleType, &TImageList::DrawingStyle, &TImageList::SetDrawingStyle)
            .Int("Height", &TImageList::Height, &TImageList::SetHeight)
            .Enum("ImageType", ImageTypeType, &TImageList::ImageType, &TImageList::SetImageType)
            .Bool("Masked", &TImageList::Masked, &TImageList::SetMasked)
            .Bool("ShareImages", &TImageList::ShareImages, &TImageList::SetShareImages)
            .Int("Width", &TImageList::Width, &TImageList::SetWidth)
            .Binary("Bitmap", &TImageList::ReadData, &TImageList::WriteData)
            .Event<TNotifyEvent>("OnChange", &TImageList::FOnChange)
            .Build();
    return &info;
}

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList() {
    for (TChangeLink* link : FClients)
        link->FSender = nullptr;
    FreeHandle();
}

void TCustomImageList::FreeHandle() {
    if (FHandle && !FShareImages)
        ImageList_Destroy(FHandle);
    FHandle = nullptr;
}

HIMAGELIST TCustomImageList::Handle() {
    if (!FHandle) {
        FHandle =
            ImageList_Create(FWidth, FHeight, ILC_COLOR24 | (FMasked ? ILC_MASK : 0), FAllocBy, FAllocBy);
        if (!FHandle)
            throw EOutOfResources("Out of system resources");
        ImageList_SetBkColor(FHandle, ListColor(FBkColor));
    }
    return FHandle;
}

void TCustomImageList::SetHandle(HIMAGELIST list) {
    if (list == FHandle)
        return;
    FreeHandle();
    FHandle = list;
    int width = 0;
    int height = 0;
    if (list && ImageList_GetIconSize(list, &width, &height)) {
        FWidth = width;
        FHeight = height;
    }
    Change();
}

void TCustomImageList::SetSize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == FWidth && height == FHeight)
        return;
    FreeHandle();
    FWidth = width;
    FHeight = height;
    Change();
}

int TCustomImageList::Count() {
    return FHandle ? ImageList_GetImageCount(FHandle) : 0;
}

void TCustomImageList::SetMasked(bool value) {
    if (value == FMasked)
        return;
    FMasked = value;
    // The mask is part of how comctl32 made the list: a list of the other kind starts empty.
    if (FHandle && !FShareImages) {
        FreeHandle();
        Change();
    }
}

void TCustomImageList::SetBkColor(TColor color) {
    FBkColor = color;
    if (FHandle)
        ImageList_SetBkColor(FHandle, ListColor(color));
    Change();
}

void TCustomImageList::CheckIndex(int index) {
    if (index < 0 || index >= Count())
        throw EInvalidOperation(FormatMsg("Invalid image list index (%s)", {IntToStr(index)}));
}

TCustomImageList::TPreparedStrip TCustomImageList::Prepare(TBitmap* image, TBitmap* mask,
                                                           std::optional<TColor> maskColor) {
    TPreparedStrip strip;
    if (!image || image->Empty() || image->Width() < FWidth)
        return strip;
    strip.Count = image->Width() / FWidth;
    const int width = strip.Count * FWidth;
    const int sourceHeight = std::min(image->Height(), FHeight);

    // The list takes pixels from copies: comctl32 would otherwise blacken the caller's
    // transparent pixels.
    strip.Colour = std::make_unique<TBitmap>();
    strip.Colour->Assign(image);
    strip.Colour->SetTransparent(false);
    strip.Colour->SetPixelFormat(pf24bit);
    strip.Colour->SetSize(width, FHeight);
    TBitmap maskCopy;
    if (mask && !maskColor) {
        maskCopy.Assign(mask);
        maskCopy.SetPixelFormat(pf24bit);
    }
    const std::uint32_t key = maskColor ? ColorToColorRef(*maskColor) : 0;

    const std::size_t rowBytes = static_cast<std::size_t>((width + 15) / 16 * 2);
    std::vector<std::uint8_t> bits(rowBytes * static_cast<std::size_t>(FHeight), 0);
    const TPixelView colours = strip.Colour->PixelView();
    const TPixelView maskPixels = maskCopy.Empty() ? TPixelView{} : maskCopy.PixelView();
    for (int y = 0; y < FHeight; ++y) {
        std::uint8_t* row = colours.Row(y);
        for (int x = 0; x < width; ++x) {
            std::uint8_t* bgr = row + 3 * x;
            bool transparent = y >= sourceHeight; // rows the picture does not have
            if (!transparent && maskColor)
                transparent = (bgr[0] << 16 | bgr[1] << 8 | bgr[2]) == static_cast<int>(key);
            else if (!transparent && x < maskPixels.Width && y < maskPixels.Height)
                transparent = !IsBlack(maskPixels.Row(y) + 3 * x);
            if (transparent && FMasked) {
                bits[rowBytes * static_cast<std::size_t>(y) + (x >> 3)] |=
                    static_cast<std::uint8_t>(0x80u >> (x & 7));
                bgr[0] = bgr[1] = bgr[2] = 0;
            }
        }
    }
    strip.Mask.Reset(CreateBitmap(width, FHeight, 1, 1, bits.data()));
    if (!strip.Mask)
        throw EOutOfResources("Out of system resources");
    return strip;
}

int TCustomImageList::Add(TBitmap* image, TBitmap* mask) {
    TPreparedStrip strip = Prepare(image, mask, std::nullopt);
    if (strip.Count == 0)
        return -1;
    const int index = ImageList_Add(Handle(), strip.Colour->Handle(), FMasked ? strip.Mask.Get() : nullptr);
    if (index >= 0)
        Change();
    return index;
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor) {
    TPreparedStrip strip = Prepare(image, nullptr, maskColor);
    if (strip.Count == 0)
        return -1;
    const int index = ImageList_Add(Handle(), strip.Colour->Handle(), FMasked ? strip.Mask.Get() : nullptr);
    if (index >= 0)
        Change();
    return index;
}

int TCustomImageList::AddIcon(TIcon* icon) {
    if (!icon || icon->Empty())
        return -1;
    const int index = ImageList_ReplaceIcon(Handle(), -1, icon->Handle());
    if (index >= 0)
        Change();
    return index;
}

void TCustomImageList::Replace(int index, TBitmap* image, TBitmap* mask) {
    CheckIndex(index);
    TPreparedStrip strip = Prepare(image, mask, std::nullopt);
    if (strip.Count == 0)
        return;
    ImageList_Replace(FHandle, index, strip.Colour->Handle(), FMasked ? strip.Mask.Get() : nullptr);
    Change();
}

void TCustomImageList::ReplaceMasked(int index, TBitmap* image, TColor maskColor) {
    CheckIndex(index);
    TPreparedStrip strip = Prepare(image, nullptr, maskColor);
    if (strip.Count == 0)
        return;
    ImageList_Replace(FHandle, index, strip.Colour->Handle(), FMasked ? strip.Mask.Get() : nullptr);
    Change();
}

void TCustomImageList::ReplaceIcon(int index, TIcon* icon) {
    CheckIndex(index);
    if (!icon || icon->Empty())
        return;
    ImageList_ReplaceIcon(FHandle, index, icon->Handle());
    Change();
}

void TCustomImageList::Delete(int index) {
    CheckIndex(index);
    ImageList_Remove(FHandle, index);
    Change();
}

void TCustomImageList::Clear() {
    if (FHandle)
        ImageList_Remove(FHandle, -1);
    Change();
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
    Draw(canvas, x, y, index, FDrawingStyle, FImageType, enabled);
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, TDrawingStyle style, TImageType type,
                            bool enabled) {
    if (!canvas || index < 0 || index >= Count())
        return;
    HDC dc = canvas->Handle();
    if (enabled)
        ImageList_DrawEx(FHandle, index, dc, x, y, 0, 0, ListColor(FBkColor), ListColor(FBlendColor),
                         DrawFlags(style, type));
    else
        DrawDisabled(dc, x, y, index);
}

// The image's dark, opaque pixels become a monochrome stencil, drawn in the highlight
// colour one pixel down and right and in the shadow colour over it: an engraved image.
void TCustomImageList::DrawDisabled(HDC dc, int x, int y, int index) {
    TBitmap picture;
    MakeWhite(picture, FWidth, FHeight);
    ImageList_DrawEx(FHandle, index, picture.Canvas()->Handle(), 0, 0, 0, 0, CLR_NONE, CLR_NONE,
                     ILD_TRANSPARENT);
    TBitmap mask;
    MakeWhite(mask, FWidth, FHeight);
    IMAGEINFO info{};
    const bool masked = ImageList_GetImageInfo(FHandle, index, &info) && info.hbmMask;
    if (masked)
        ImageList_DrawEx(FHandle, index, mask.Canvas()->Handle(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_MASK);

    const std::size_t rowBytes = static_cast<std::size_t>((FWidth + 15) / 16 * 2);
    std::vector<std::uint8_t> bits(rowBytes * static_cast<std::size_t>(FHeight), 0);
    const TPixelView image = picture.PixelView();
    const TPixelView opaque = mask.PixelView();
    for (int row = 0; row < FHeight; ++row)
        for (int col = 0; col < FWidth; ++col) {
            const bool visible = !masked || IsBlack(opaque.Row(row) + 3 * col);
            if (visible && !IsWhite(image.Row(row) + 3 * col))
                bits[rowBytes * static_cast<std::size_t>(row) + (col >> 3)] |=
                    static_cast<std::uint8_t>(0x80u >> (col & 7));
        }
    const TBitmapHandle stencil(CreateBitmap(FWidth, FHeight, 1, 1, bits.data()));
    const TMemoryDC stencilDC(CreateCompatibleDC(dc));
    const TBrushHandle highlight(CreateSolidBrush(ColorToColorRef(clBtnHighlight)));
    const TBrushHandle shadow(CreateSolidBrush(ColorToColorRef(clBtnShadow)));
    if (!stencil || !stencilDC || !highlight || !shadow)
        throw EOutOfResources("Out of system resources");
    const TSelectScope stencilScope(stencilDC.Get(), stencil.Get());
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBack = ::SetBkColor(dc, RGB(0xFF, 0xFF, 0xFF));
    HGDIOBJ oldBrush = SelectObject(dc, highlight.Get());
    BitBlt(dc, x + 1, y + 1, FWidth, FHeight, stencilDC.Get(), 0, 0, kRopDSPDxax);
    SelectObject(dc, shadow.Get());
    BitBlt(dc, x, y, FWidth, FHeight, stencilDC.Get(), 0, 0, kRopDSPDxax);
    SelectObject(dc, oldBrush);
    SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
}

bool TCustomImageList::GetBitmap(int index, TBitmap* image) {
    if (!image || index < 0 || index >= Count())
        return false;
    image->SetSize(0, 0);
    image->SetSize(FWidth, FHeight);
    ImageList_DrawEx(FHandle, index, image->Canvas()->Handle(), 0, 0, 0, 0, CLR_NONE, CLR_NONE,
                     ILD_TRANSPARENT);
    return true;
}

void TCustomImageList::GetIcon(int index, TIcon* icon) {
    if (!icon)
        return;
    CheckIndex(index);
    HICON handle = ImageList_GetIcon(FHandle, index, ILD_NORMAL);
    if (!handle)
        throw EOutOfResources("Out of system resources");
    icon->SetHandle(handle);
}

bool TCustomImageList::ResourceLoad(HINSTANCE instance, const std::string& name, TColor maskColor) {
    TBitmap strip;
    try {
        strip.LoadFromResourceName(instance, name);
    } catch (const EResNotFound&) {
        return false;
    }
    if (FHandle)
        ImageList_Remove(FHandle, -1);
    const int index = maskColor == clNone ? Add(&strip, nullptr) : AddMasked(&strip, maskColor);
    return index >= 0;
}

void TCustomImageList::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TCustomImageList*>(source);
    if (!other) {
        TComponent::Assign(source);
        return;
    }
    if (other == this)
        return;
    HIMAGELIST copy = other->FHandle ? ImageList_Duplicate(other->FHandle) : nullptr;
    if (other->FHandle && !copy)
        throw EOutOfResources("Out of system resources");
    FreeHandle();
    FShareImages = false;
    FHandle = copy;
    FWidth = other->FWidth;
    FHeight = other->FHeight;
    FMasked = other->FMasked;
    FBkColor = other->FBkColor;
    FBlendColor = other->FBlendColor;
    FDrawingStyle = other->FDrawingStyle;
    FImageType = other->FImageType;
    FAllocBy = other->FAllocBy;
    Change();
}

void TCustomImageList::RegisterChanges(TChangeLink* link) {
    if (!link || std::find(FClients.begin(), FClients.end(), link) != FClients.end())
        return;
    if (link->FSender)
        link->FSender->UnRegisterChanges(link);
    link->FSender = this;
    FClients.push_back(link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link) {
    const auto found = std::find(FClients.begin(), FClients.end(), link);
    if (found == FClients.end())
        return;
    FClients.erase(found);
    link->FSender = nullptr;
}

void TCustomImageList::Change() {
    // A client may unregister while it is told.
    const std::vector<TChangeLink*> clients = FClients;
    for (TChangeLink* link : clients)
        if (std::find(FClients.begin(), FClients.end(), link) != FClients.end())
            link->Change();
    if (FOnChange)
        FOnChange(this);
}

// ---- form data -----------------------------------------------------------------------------

void TCustomImageList::WriteData(TStream& stream) {
    const int count = Count();
    stream.WriteUInt32LE(kDataMagic);
    stream.WriteUInt32LE(static_cast<std::uint32_t>(count));
    stream.WriteInt32LE(FWidth);
    stream.WriteInt32LE(FHeight);
    TBitmap images;
    TBitmap masks;
    if (count > 0) {
        MakeWhite(images, count * FWidth, FHeight);
        MakeWhite(masks, count * FWidth, FHeight);
        // Without a mask every pixel is opaque: black in the mask strip.
        if (!FMasked) {
            masks.Canvas()->Brush()->SetColor(clBlack);
            masks.Canvas()->FillRect(Rect(0, 0, count * FWidth, FHeight));
        }
        for (int i = 0; i < count; ++i) {
            ImageList_DrawEx(FHandle, i, images.Canvas()->Handle(), i * FWidth, 0, 0, 0, CLR_NONE, CLR_NONE,
                             ILD_TRANSPARENT);
            if (FMasked)
                ImageList_DrawEx(FHandle, i, masks.Canvas()->Handle(), i * FWidth, 0, 0, 0, CLR_NONE,
                                 CLR_NONE, ILD_MASK);
        }
    }
    images.WriteData(stream);
    masks.WriteData(stream);
}

void TCustomImageList::ReadData(TStream& stream) {
    if (stream.ReadUInt32LE() != kDataMagic)
        throw EInvalidGraphic("Image list data is not valid");
    const std::uint32_t count = stream.ReadUInt32LE();
    const std::int32_t width = stream.ReadInt32LE();
    const std::int32_t height = stream.ReadInt32LE();
    if (width <= 0 || width > 1024 || height <= 0 || height > 1024 || count > 4096)
        throw EInvalidGraphic("Image list data is not valid: impossible size or count");
    TBitmap images;
    TBitmap masks;
    images.ReadData(stream);
    masks.ReadData(stream);
    if (count > 0 && (images.Width() != static_cast<int>(count) * width || images.Height() != height ||
                      masks.Width() != images.Width() || masks.Height() != height))
        throw EInvalidGraphic("Image list data is not valid: the pictures do not match the list");
    FreeHandle();
    FWidth = width;
    FHeight = height;
    if (count > 0)
        Add(&images, &masks);
    else
        Change();
}

namespace {
// Forms describe image lists by class name.
const bool kRegistered = (RegisterClasses({TImageList::StaticClass()}), true);
} // namespace
