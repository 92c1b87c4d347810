// TPicture: holds one picture of any registered kind (bitmap, icon, JPEG), chooses the kind
// from a file's extension or a form description's class name, and tells its owner when the
// picture changes.
#pragma once

#include "Bitmap.h"
#include "Graphic.h"
#include "Icon.h"

#include <memory>
#include <string>

class TPicture : public TPersistent {
    TW_DECLARE_CLASS(TPicture, TPersistent)

    using TGraphicFactory = std::unique_ptr<TGraphic> (*)();

    TPicture();
    ~TPicture() override;
    // From another picture or any graphic (copied); null empties the picture.
    void Assign(TPersistent* source) override;

    TGraphic* Graphic() const { return FGraphic.get(); }
    // Keeps a copy of graphic.
    void SetGraphic(TGraphic* graphic);
    // The picture as a bitmap or icon: a picture of another kind is replaced by an empty one.
    TBitmap* Bitmap();
    TIcon* Icon();
    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }

    // The kind comes from the extension; raises EInvalidGraphic for one nobody registered.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);

    // Form descriptions: the graphic's class name (one length byte, then the name) followed
    // by the graphic's own data; nothing at all for an empty picture.
    void ReadData(TStream& stream);
    void WriteData(TStream& stream);

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(const TNotifyEvent& handler) { FOnChange = handler; }

    // Further picture kinds for files and form descriptions.
    static void RegisterFileFormat(const std::string& extension, const std::string& description,
                                   const std::string& className, TGraphicFactory factory);

private:
    void Replace(std::unique_ptr<TGraphic> graphic);
    void GraphicChanged(TObject* sender);

    std::unique_ptr<TGraphic> FGraphic;
    TNotifyEvent FOnChange;
};
