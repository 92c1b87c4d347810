// The common ground of pictures: bitmaps, icons and JPEG images have a size, can be empty or
// transparent, load from and save to streams and files, and draw themselves on a canvas.
#pragma once

#include "Canvas.h"
#include "GraphicsError.h"
#include "Streams.h"

#include <string>

class TGraphic : public TPersistent {
    TW_DECLARE_CLASS(TGraphic, TPersistent)

    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual void SetWidth(int width) = 0;
    virtual void SetHeight(int height) = 0;
    virtual void SetSize(int width, int height);

    virtual bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool value);
    bool Modified() const { return FModified; }
    void SetModified(bool value);

    // Reads the picture from the stream's position; what follows it stays unread where the
    // format records its own length. Raises EInvalidGraphic for data it cannot read.
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) = 0;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);

    // The picture as stored in a form description (after the class name TPicture writes).
    virtual void ReadData(TStream& stream) { LoadFromStream(stream); }
    virtual void WriteData(TStream& stream) { SaveToStream(stream); }

    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(const TNotifyEvent& handler) { FOnChange = handler; }

protected:
    friend class TCanvas;
    friend class TPicture;
    // Draws the picture stretched to rect; the canvas has selected its objects already.
    virtual void Draw(TCanvas& canvas, const TRect& rect) = 0;
    // Marks the picture modified and tells OnChange.
    virtual void Changed();

private:
    bool FTransparent = false;
    bool FModified = false;
    TNotifyEvent FOnChange;
};
