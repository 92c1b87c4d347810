// Image lists: equally sized images in one comctl32 image list, drawn normally,
// transparently or greyed out for disabled commands. A list can also show an image list made
// elsewhere (the system's small icons) without owning it.
#pragma once

#include "Bitmap.h"
#include "Component.h"
#include "Icon.h"

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include <commctrl.h>

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };

extern const TEnumType DrawingStyleType;
extern const TEnumType ImageTypeType;

class TCustomImageList;

// How a control hears that an image list it shows has changed.
class TChangeLink : public TObject {
public:
    TChangeLink() = default;
    ~TChangeLink() override;
    TCustomImageList* Sender() const { return FSender; }
    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(const TNotifyEvent& handler) { FOnChange = handler; }
    void Change();

private:
    friend class TCustomImageList;
    TCustomImageList* FSender = nullptr;
    TNotifyEvent FOnChange;
};

class TCustomImageList : public TComponent {
    TW_DECLARE_CLASS(TCustomImageList, TComponent)

    explicit TCustomImageList(TComponent* owner);
    ~TCustomImageList() override;
    // Copies the images (a shared list's images too) and the settings of another list.
    void Assign(TPersistent* source) override;

    // The comctl32 list, made when first needed.
    HIMAGELIST Handle();
    // Shows another list: it is destroyed with this one unless ShareImages is set.
    void SetHandle(HIMAGELIST list);
    bool HandleAllocated() const { return FHandle != nullptr; }
    bool ShareImages() const { return FShareImages; }
    void SetShareImages(bool value) { FShareImages = value; }

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // A new size empties the list.
    void SetWidth(int width) { SetSize(width, FHeight); }
    void SetHeight(int height) { SetSize(FWidth, height); }
    void SetSize(int width, int height);
    int Count();

    bool Masked() const { return FMasked; }
    void SetMasked(bool value);
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor color);
    TColor BlendColor() const { return FBlendColor; }
    void SetBlendColor(TColor color) { FBlendColor = color; }
    TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
    void SetDrawingStyle(TDrawingStyle style) { FDrawingStyle = style; }
    TImageType ImageType() const { return FImageType; }
    void SetImageType(TImageType type) { FImageType = type; }
    int AllocBy() const { return FAllocBy; }
    void SetAllocBy(int count) { FAllocBy = count > 0 ? count : 4; }

    // Each adds as many images as the picture is wide (a strip); returns the first index,
    // -1 when nothing could be added. The caller's pictures are not changed.
    int Add(TBitmap* image, TBitmap* mask);
    int AddMasked(TBitmap* image, TColor maskColor);
    int AddIcon(TIcon* icon);
    void Replace(int index, TBitmap* image, TBitmap* mask);
    void ReplaceMasked(int index, TBitmap* image, TColor maskColor);
    void ReplaceIcon(int index, TIcon* icon);
    void Delete(int index);
    void Clear();

    // Disabled images are drawn embossed in the button highlight and shadow colours.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
    void Draw(TCanvas* canvas, int x, int y, int index, TDrawingStyle style, TImageType type,
              bool enabled = true);
    // The image on a white bitmap of the list's size; false for an index outside the list.
    bool GetBitmap(int index, TBitmap* image);
    void GetIcon(int index, TIcon* icon);

    // A strip from a bitmap resource, `maskColor` transparent (clNone: no mask); false when
    // the resource is missing.
    bool ResourceLoad(HINSTANCE instance, const std::string& name, TColor maskColor);

    void RegisterChanges(TChangeLink* link);
    void UnRegisterChanges(TChangeLink* link);
    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(const TNotifyEvent& handler) { FOnChange = handler; }

    // The images as form descriptions store them: size, count, the image strip and its mask
    // strip as bitmap files.
    void ReadData(TStream& stream);
    void WriteData(TStream& stream);

protected:
    void Change();
    TNotifyEvent FOnChange;

private:
    void FreeHandle();
    void CheckIndex(int index);
    void DrawDisabled(HDC dc, int x, int y, int index);
    struct TPreparedStrip;
    TPreparedStrip Prepare(TBitmap* image, TBitmap* mask, std::optional<TColor> maskColor);

    HIMAGELIST FHandle = nullptr;
    bool FShareImages = false;
    int FWidth = 16;
    int FHeight = 16;
    bool FMasked = true;
    TColor FBkColor = clNone;
    TColor FBlendColor = clNone;
    TDrawingStyle FDrawingStyle = dsNormal;
    TImageType FImageType = itImage;
    int FAllocBy = 4;
    std::vector<TChangeLink*> FClients;
};

class TImageList : public TCustomImageList {
    TW_DECLARE_CLASS(TImageList, TCustomImageList)

    explicit TImageList(TComponent* owner) : TCustomImageList(owner) {}
};
