#include "Icon.h"

#include "GraphicsError.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kEntrySize = 16;

std::uint32_t LE16(const std::uint8_t* p) {
    return p[0] | (p[1] << 8);
}
std::uint32_t LE32(const std::uint8_t* p) {
    return LE16(p) | (LE16(p + 2) << 16);
}

struct TIconEntry {
    int Width = 0;
    int Height = 0;
    int Bits = 0;
    std::uint32_t Size = 0;
    std::uint32_t Offset = 0;
};

[[noreturn]] void Invalid(const char* why) {
    throw EInvalidGraphic(std::string("Icon image is not valid: ") + why);
}

// The number of directory entries, after checking the 6-byte header.
std::size_t EntryCount(const std::uint8_t* header) {
    if (LE16(header) != 0 || LE16(header + 2) != 1)
        Invalid("the data is not an icon file");
    const std::size_t count = LE16(header + 4);
    if (count == 0)
        Invalid("the file holds no image");
    return count;
}

std::vector<TIconEntry> ReadDirectory(std::span<const std::uint8_t> file) {
    if (file.size() < kDirectorySize)
        Invalid("the data ends before the header");
    const std::size_t count = EntryCount(file.data());
    if (file.size() < kDirectorySize + count * kEntrySize)
        Invalid("the data ends inside the directory");
    std::vector<TIconEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* e = file.data() + kDirectorySize + i * kEntrySize;
        TIconEntry entry;
        entry.Width = e[0] ? e[0] : 256;
        entry.Height = e[1] ? e[1] : 256;
        entry.Bits = static_cast<int>(LE16(e + 6));
        entry.Size = LE32(e + 8);
        entry.Offset = LE32(e + 12);
        if (entry.Offset > file.size() || entry.Size > file.size() - entry.Offset)
            Invalid("an image lies outside the data");
        entries.push_back(entry);
    }
    return entries;
}

// What the system's icon reader is given must be a complete image: a PNG, or a bitmap
// header whose colours, colour pixels and mask all fit into the entry.
void CheckImage(std::span<const std::uint8_t> image) {
    static constexpr std::uint8_t png[4] = {0x89, 'P', 'N', 'G'};
    if (image.size() >= 8 && std::memcmp(image.data(), png, sizeof png) == 0)
        return;
    if (image.size() < 40)
        Invalid("an image is too short");
    const std::uint32_t headerSize = LE32(image.data());
    const auto width = static_cast<std::int32_t>(LE32(image.data() + 4));
    const auto height = static_cast<std::int32_t>(LE32(image.data() + 8));
    const std::uint32_t bits = LE16(image.data() + 14);
    const std::uint32_t compression = LE32(image.data() + 16);
    const std::uint32_t used = LE32(image.data() + 32);
    if (headerSize < 40 || headerSize > image.size() || width <= 0 || width > 1024 || height <= 0 ||
        height > 2048 || (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32))
        Invalid("an image has a damaged header");
    if (compression != BI_RGB && !(compression == BI_BITFIELDS && (bits == 16 || bits == 32)))
        Invalid("an image is compressed");
    if (bits <= 8 && used > (1u << bits))
        Invalid("an image has too many colours");
    const std::uint64_t colours =
        bits <= 8 ? (used ? used : 1u << bits) : (compression == BI_BITFIELDS ? 3 : 0);
    const std::uint64_t rows = static_cast<std::uint64_t>(height) / 2;
    const std::uint64_t colourStride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    const std::uint64_t maskStride = (static_cast<std::uint64_t>(width) + 31) / 32 * 4;
    if (headerSize + colours * 4 + (colourStride + maskStride) * rows > image.size())
        Invalid("the data ends inside an image");
}

// The entry nearest the wanted size; among equals the one with the most colours.
const TIconEntry& ChooseEntry(const std::vector<TIconEntry>& entries, int width, int height) {
    const TIconEntry* best = &entries.front();
    auto distance = [&](const TIconEntry& e) {
        return std::abs(e.Width - width) + std::abs(e.Height - height);
    };
    for (const TIconEntry& e : entries)
        if (distance(e) < distance(*best) || (distance(e) == distance(*best) && e.Bits > best->Bits))
            best = &e;
    return *best;
}

struct TIconBitmaps {
    TBitmapHandle Color;
    TBitmapHandle Mask;
};

TIconBitmaps IconBitmaps(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return {};
    return {TBitmapHandle(info.hbmColor), TBitmapHandle(info.hbmMask)};
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// Bottom-up rows of a bitmap at the given depth (1 or 32), read with GetDIBits.
std::vector<std::uint8_t> Rows(HBITMAP bitmap, int width, int height, int bits) {
    struct {
        BITMAPINFOHEADER Header;
        RGBQUAD Colors[2];
    } info{};
    info.Header.biSize = sizeof(BITMAPINFOHEADER);
    info.Header.biWidth = width;
    info.Header.biHeight = height;
    info.Header.biPlanes = 1;
    info.Header.biBitCount = static_cast<WORD>(bits);
    info.Header.biCompression = BI_RGB;
    std::vector<std::uint8_t> rows(static_cast<std::size_t>((width * bits + 31) / 32 * 4 * height));
    const TMemoryDC dc(CreateCompatibleDC(nullptr));
    if (!GetDIBits(dc.Get(), bitmap, 0, static_cast<UINT>(height), rows.data(),
                   reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS))
        throw EInvalidGraphicOperation("Cannot read the icon's bitmaps");
    return rows;
}

} // namespace

TClass TIcon::StaticClass() {
    static const TClassInfo info = TClassBuilder<TIcon>("TIcon").Build();
    return &info;
}

TIcon::TIcon() = default;
TIcon::~TIcon() = default;

int TIcon::Width() const {
    return FHandle ? FWidth : FRequestedWidth;
}

int TIcon::Height() const {
    return FHandle ? FHeight : FRequestedHeight;
}

void TIcon::Adopt(HICON icon) {
    FHandle.Reset(icon);
    FWidth = FHeight = 0;
    const TIconBitmaps bitmaps = IconBitmaps(icon);
    BITMAP bm{};
    if (bitmaps.Color && GetObjectW(bitmaps.Color.Get(), sizeof bm, &bm)) {
        FWidth = bm.bmWidth;
        FHeight = bm.bmHeight;
    } else if (bitmaps.Mask && GetObjectW(bitmaps.Mask.Get(), sizeof bm, &bm)) {
        FWidth = bm.bmWidth;
        FHeight = bm.bmHeight / 2;
    }
}

void TIcon::SetHandle(HICON icon) {
    if (icon && icon == FHandle.Get())
        return;
    FData.clear();
    Adopt(icon);
    Changed();
}

HICON TIcon::ReleaseHandle() {
    HICON icon = FHandle.Detach();
    FData.clear();
    FWidth = FHeight = 0;
    Changed();
    return icon;
}

void TIcon::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    FRequestedWidth = width;
    FRequestedHeight = height;
    if (!FHandle || (width == FWidth && height == FHeight) || width == 0 || height == 0)
        return;
    if (!FData.empty()) {
        LoadFromData(FData);
        return;
    }
    HICON copy = static_cast<HICON>(CopyImage(FHandle.Get(), IMAGE_ICON, width, height, LR_COPYFROMRESOURCE));
    if (!copy)
        throw EOutOfResources("Out of system resources");
    Adopt(copy);
    Changed();
}

void TIcon::Assign(TPersistent* source) {
    if (!source) {
        FHandle.Reset();
        FData.clear();
        FWidth = FHeight = 0;
        Changed();
        return;
    }
    auto* other = dynamic_cast<TIcon*>(source);
    if (!other) {
        TGraphic::Assign(source);
        return;
    }
    if (other == this)
        return;
    FRequestedWidth = other->FRequestedWidth;
    FRequestedHeight = other->FRequestedHeight;
    if (!other->FData.empty()) {
        LoadFromData(other->FData);
        return;
    }
    HICON copy = other->FHandle ? CopyIcon(other->FHandle.Get()) : nullptr;
    if (other->FHandle && !copy)
        throw EOutOfResources("Out of system resources");
    FData.clear();
    Adopt(copy);
    Changed();
}

void TIcon::LoadFromData(std::vector<std::uint8_t> data) {
    const std::vector<TIconEntry> entries = ReadDirectory(data);
    const int wantedWidth = FRequestedWidth ? FRequestedWidth : GetSystemMetrics(SM_CXICON);
    const int wantedHeight = FRequestedHeight ? FRequestedHeight : GetSystemMetrics(SM_CYICON);
    const TIconEntry& entry = ChooseEntry(entries, wantedWidth, wantedHeight);
    const std::span<const std::uint8_t> image(data.data() + entry.Offset, entry.Size);
    CheckImage(image);
    HICON icon =
        CreateIconFromResourceEx(const_cast<PBYTE>(image.data()), entry.Size, TRUE, 0x00030000,
                                 FRequestedWidth ? FRequestedWidth : entry.Width,
                                 FRequestedHeight ? FRequestedHeight : entry.Height, LR_DEFAULTCOLOR);
    if (!icon)
        Invalid("the system cannot read its image");
    FData = std::move(data);
    Adopt(icon);
    Changed();
}

void TIcon::LoadFromStream(TStream& stream) {
    // The directory tells where the last image ends: data after the icon stays in the stream.
    std::vector<std::uint8_t> data(kDirectorySize);
    if (stream.Read(data.data(), kDirectorySize) != static_cast<std::int64_t>(kDirectorySize))
        Invalid("the data ends before the header");
    const std::size_t count = EntryCount(data.data());
    data.resize(kDirectorySize + count * kEntrySize);
    const auto directoryBytes = static_cast<std::int64_t>(count * kEntrySize);
    if (stream.Read(data.data() + kDirectorySize, directoryBytes) != directoryBytes)
        Invalid("the data ends inside the directory");
    std::uint64_t end = data.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* e = data.data() + kDirectorySize + i * kEntrySize;
        end = std::max<std::uint64_t>(end, std::uint64_t{LE32(e + 12)} + LE32(e + 8));
    }
    const std::int64_t rest = stream.Size() - stream.Position();
    if (end - data.size() > static_cast<std::uint64_t>(std::max<std::int64_t>(rest, 0)))
        Invalid("the data ends inside an image");
    const std::size_t head = data.size();
    data.resize(static_cast<std::size_t>(end));
    stream.ReadBuffer(data.data() + head, static_cast<std::int64_t>(end - head));
    LoadFromData(std::move(data));
}

std::vector<std::uint8_t> TIcon::FileFromHandle() const {
    const TIconBitmaps bitmaps = IconBitmaps(FHandle.Get());
    if (!bitmaps.Mask)
        throw EInvalidGraphicOperation("Cannot read the icon's bitmaps");
    const int w = FWidth;
    const int h = FHeight;
    std::vector<std::uint8_t> image;
    Put32(image, sizeof(BITMAPINFOHEADER));
    Put32(image, static_cast<std::uint32_t>(w));
    Put32(image, static_cast<std::uint32_t>(2 * h));
    Put16(image, 1);
    if (bitmaps.Color) {
        // A colour icon: 32-bit colours, then the mask.
        Put16(image, 32);
        image.resize(image.size() + 24, 0);
        const std::vector<std::uint8_t> colours = Rows(bitmaps.Color.Get(), w, h, 32);
        const std::vector<std::uint8_t> mask = Rows(bitmaps.Mask.Get(), w, h, 1);
        image.insert(image.end(), colours.begin(), colours.end());
        image.insert(image.end(), mask.begin(), mask.end());
    } else {
        // A monochrome icon keeps its mask over its picture in one bitmap twice as high;
        // read bottom-up, that is the picture's rows followed by the mask's.
        Put16(image, 1);
        image.resize(image.size() + 24, 0);
        Put32(image, 0x00000000);
        Put32(image, 0x00FFFFFF);
        const std::vector<std::uint8_t> rows = Rows(bitmaps.Mask.Get(), w, 2 * h, 1);
        image.insert(image.end(), rows.begin(), rows.end());
    }
    std::vector<std::uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, 1);
    file.push_back(static_cast<std::uint8_t>(w >= 256 ? 0 : w));
    file.push_back(static_cast<std::uint8_t>(h >= 256 ? 0 : h));
    file.push_back(0);
    file.push_back(0);
    Put16(file, 1);
    Put16(file, bitmaps.Color ? 32 : 1);
    Put32(file, static_cast<std::uint32_t>(image.size()));
    Put32(file, static_cast<std::uint32_t>(kDirectorySize + kEntrySize));
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

void TIcon::SaveToStream(TStream& stream) {
    if (Empty())
        return;
    const std::vector<std::uint8_t> file = FData.empty() ? FileFromHandle() : FData;
    stream.WriteBuffer(file.data(), static_cast<std::int64_t>(file.size()));
}

void TIcon::LoadResource(HINSTANCE instance, LPCSTR name, const std::string& shownName) {
    HICON icon = static_cast<HICON>(LoadImageA(instance, name, IMAGE_ICON, FRequestedWidth, FRequestedHeight,
                                               FRequestedWidth ? LR_DEFAULTCOLOR : LR_DEFAULTSIZE));
    if (!icon)
        throw EResNotFound(FormatMsg("Resource %s not found", {shownName}));
    FData.clear();
    Adopt(icon);
    Changed();
}

void TIcon::LoadFromResourceName(HINSTANCE instance, const std::string& name) {
    LoadResource(instance, name.c_str(), name);
}

void TIcon::LoadFromResourceID(HINSTANCE instance, int id) {
    LoadResource(instance, MAKEINTRESOURCEA(id), "#" + IntToStr(id));
}

void TIcon::Draw(TCanvas& canvas, const TRect& rect) {
    if (FHandle)
        DrawIconEx(canvas.Handle(), rect.left, rect.top, FHandle.Get(), RectWidth(rect), RectHeight(rect), 0,
                   nullptr, DI_NORMAL);
}
