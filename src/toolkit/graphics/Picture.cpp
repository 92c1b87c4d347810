#include "Picture.h"

#include "GraphicsError.h"
#include "Jpeg.h"

#include <vector>

namespace {

struct TFileFormat {
    std::string Extension; // without the dot
    std::string Description;
    std::string ClassName;
    TPicture::TGraphicFactory Factory;
};

template <class G>
std::unique_ptr<TGraphic> Make() {
    return std::make_unique<G>();
}

std::vector<TFileFormat>& Formats() {
    static std::vector<TFileFormat> formats = {{"bmp", "Bitmaps", "TBitmap", &Make<TBitmap>},
                                               {"dib", "Bitmaps", "TBitmap", &Make<TBitmap>},
                                               {"ico", "Icons", "TIcon", &Make<TIcon>},
                                               {"jpg", "JPEG Image File", "TJPEGImage", &Make<TJPEGImage>},
                                               {"jpeg", "JPEG Image File", "TJPEGImage", &Make<TJPEGImage>}};
    return formats;
}

const TFileFormat* FormatForExtension(const std::string& fileName) {
    const std::size_t dot = fileName.find_last_of('.');
    const std::size_t slash = fileName.find_last_of("\\/");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return nullptr;
    const std::string extension = fileName.substr(dot + 1);
    for (const TFileFormat& f : Formats())
        if (SameText(f.Extension, extension))
            return &f;
    return nullptr;
}

const TFileFormat* FormatForClass(std::string_view className) {
    for (const TFileFormat& f : Formats())
        if (SameText(f.ClassName, className))
            return &f;
    return nullptr;
}

} // namespace

TClass TPicture::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TPicture>("TPicture").Binary("Data", &TPicture::ReadData, &TPicture::WriteData).Build();
    return &info;
}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::RegisterFileFormat(const std::string& extension, const std::string& description,
                                  const std::string& className, TGraphicFactory factory) {
    Formats().push_back({extension, description, className, factory});
}

void TPicture::Replace(std::unique_ptr<TGraphic> graphic) {
    FGraphic = std::move(graphic);
    if (FGraphic)
        FGraphic->SetOnChange(TNotifyEvent(this, &TPicture::GraphicChanged));
    GraphicChanged(FGraphic.get());
}

void TPicture::GraphicChanged(TObject*) {
    if (FOnChange)
        FOnChange(this);
}

void TPicture::SetGraphic(TGraphic* graphic) {
    if (graphic == FGraphic.get())
        return;
    if (!graphic) {
        Replace(nullptr);
        return;
    }
    const TFileFormat* format = FormatForClass(graphic->ClassName());
    std::unique_ptr<TGraphic> copy = format ? format->Factory() : nullptr;
    if (!copy)
        throw EConvertError(FormatMsg("Cannot assign a %s to a TPicture", {graphic->ClassName()}));
    copy->Assign(graphic);
    Replace(std::move(copy));
}

void TPicture::Assign(TPersistent* source) {
    if (!source) {
        SetGraphic(nullptr);
    } else if (auto* picture = dynamic_cast<TPicture*>(source)) {
        if (picture != this)
            SetGraphic(picture->Graphic());
    } else if (auto* graphic = dynamic_cast<TGraphic*>(source)) {
        SetGraphic(graphic);
    } else {
        TPersistent::Assign(source);
    }
}

TBitmap* TPicture::Bitmap() {
    if (auto* bitmap = dynamic_cast<TBitmap*>(FGraphic.get()))
        return bitmap;
    Replace(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(FGraphic.get());
}

TIcon* TPicture::Icon() {
    if (auto* icon = dynamic_cast<TIcon*>(FGraphic.get()))
        return icon;
    Replace(std::make_unique<TIcon>());
    return static_cast<TIcon*>(FGraphic.get());
}

void TPicture::LoadFromFile(const std::string& fileName) {
    const TFileFormat* format = FormatForExtension(fileName);
    if (!format)
        throw EInvalidGraphic("Unknown picture file extension: " + fileName);
    std::unique_ptr<TGraphic> graphic = format->Factory();
    graphic->LoadFromFile(fileName);
    Replace(std::move(graphic));
}

void TPicture::SaveToFile(const std::string& fileName) {
    if (FGraphic)
        FGraphic->SaveToFile(fileName);
}

void TPicture::ReadData(TStream& stream) {
    if (stream.Size() - stream.Position() <= 0) {
        Replace(nullptr);
        return;
    }
    std::uint8_t length = 0;
    stream.ReadBuffer(&length, 1);
    std::string className(length, '\0');
    stream.ReadBuffer(className.data(), length);
    const TFileFormat* format = FormatForClass(className);
    if (!format)
        throw EInvalidGraphic("Unknown picture kind in the stored data: " + className);
    std::unique_ptr<TGraphic> graphic = format->Factory();
    graphic->ReadData(stream);
    Replace(std::move(graphic));
}

void TPicture::WriteData(TStream& stream) {
    if (!FGraphic)
        return;
    const std::string className = FGraphic->ClassName();
    const auto length = static_cast<std::uint8_t>(className.size());
    stream.WriteBuffer(&length, 1);
    stream.WriteBuffer(className.data(), length);
    FGraphic->WriteData(stream);
}
