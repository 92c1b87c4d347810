// TIcon: an icon handle as a picture. Loads icon files (picking the image nearest the size
// wanted) and icon resources, saves what it loaded or, for an icon made elsewhere, writes
// one from its bitmaps; always draws transparently.
#pragma once

#include "Graphic.h"

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

class TIcon : public TGraphic {
    TW_DECLARE_CLASS(TIcon, TGraphic)

    TIcon();
    ~TIcon() override;
    void Assign(TPersistent* source) override;

    bool Empty() const override { return !FHandle; }
    bool Transparent() const override { return true; }
    int Width() const override;
    int Height() const override;
    // The size wanted: an icon already loaded is made again at that size.
    void SetWidth(int width) override { SetSize(width, FRequestedHeight ? FRequestedHeight : Height()); }
    void SetHeight(int height) override { SetSize(FRequestedWidth ? FRequestedWidth : Width(), height); }
    void SetSize(int width, int height) override;

    // Owned by the icon.
    HICON Handle() const { return FHandle.Get(); }
    // Takes over an icon handle, which the icon then destroys.
    void SetHandle(HICON icon);
    // Hands the handle to the caller, who must destroy it; the icon is empty afterwards.
    HICON ReleaseHandle();
    bool HandleAllocated() const { return static_cast<bool>(FHandle); }

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    void LoadFromResourceName(HINSTANCE instance, const std::string& name);
    void LoadFromResourceID(HINSTANCE instance, int id);

protected:
    void Draw(TCanvas& canvas, const TRect& rect) override;

private:
    void LoadFromData(std::vector<std::uint8_t> data);
    void Adopt(HICON icon);
    std::vector<std::uint8_t> FileFromHandle() const;
    void LoadResource(HINSTANCE instance, LPCSTR name, const std::string& shownName);

    TIconHandle FHandle;
    std::vector<std::uint8_t> FData; // the icon file as loaded; empty for icons from elsewhere
    int FWidth = 0;
    int FHeight = 0;
    int FRequestedWidth = 0;
    int FRequestedHeight = 0;
};
