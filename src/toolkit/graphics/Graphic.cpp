#include "Graphic.h"

TClass TGraphic::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGraphic>("TGraphic").Build();
    return &info;
}

void TGraphic::SetSize(int width, int height) {
    SetWidth(width);
    SetHeight(height);
}

void TGraphic::SetTransparent(bool value) {
    if (value == FTransparent)
        return;
    FTransparent = value;
    Changed();
}

void TGraphic::SetModified(bool value) {
    if (value)
        Changed();
    else
        FModified = false;
}

void TGraphic::Changed() {
    FModified = true;
    if (FOnChange)
        FOnChange(this);
}

void TGraphic::LoadFromFile(const std::string& fileName) {
    TFileStream stream(fileName, fmOpenRead);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& fileName) {
    // Written to memory first: a picture that fails to save leaves no half-written file.
    TMemoryStream data;
    SaveToStream(data);
    TFileStream stream(fileName, fmCreate);
    stream.WriteBuffer(data.Memory(), data.Size());
}
