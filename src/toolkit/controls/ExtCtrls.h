// Panels, splitters and images: a container that paints a raised border and a centred
// caption, a bar that resizes the control it is docked against, and a picture on its parent.
#pragma once

#include "Controls.h"
#include "Picture.h"

#include <memory>

class TCustomPanel : public TCustomControl {
    TW_DECLARE_CLASS(TCustomPanel, TCustomControl)
    explicit TCustomPanel(TComponent* owner);
    void Paint(HDC dc) override;
};

class TPanel : public TCustomPanel {
    TW_DECLARE_CLASS(TPanel, TCustomPanel)
    using TCustomPanel::TCustomPanel;
};

enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };
extern const TEnumType ResizeStyleType;

// A bar docked next to another control with the same alignment; dragging it resizes that
// control, never below MinSize and never so far that the rest of the parent gets less than
// MinSize. rsUpdate resizes while dragging; rsLine and rsPattern show an inverted bar and
// resize when the button is released; rsNone only shows the bar.
class TSplitter : public TGraphicControl {
    TW_DECLARE_CLASS(TSplitter, TGraphicControl)
    explicit TSplitter(TComponent* owner);

    int MinSize() const { return FMinSize; }
    void SetMinSize(int value) { FMinSize = value > 0 ? value : 1; }
    TResizeStyle ResizeStyle() const { return FResizeStyle; }
    void SetResizeStyle(TResizeStyle value) { FResizeStyle = value; }
    // The control it resizes now, or nullptr.
    TControl* ResizeControl();
    void Paint(HDC dc) override;

    TNotifyEvent OnMoved;

protected:
    void Loaded() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    bool Horizontal() const { return FAlign == alTop || FAlign == alBottom; }
    int SizeOf(TControl* control) const;
    int MaxSize(TControl* control);
    int NewSize(int x, int y) const;
    void Apply(int size);
    void DrawBar(int size);

    int FMinSize = 30;
    TResizeStyle FResizeStyle = rsPattern;
    TControl* FControl = nullptr; // while dragging
    POINT FDownPos{0, 0};
    int FStartSize = 0;
    int FMaxSize = 0;
    int FNewSize = 0;
    bool FBarShown = false;
    int FBarSize = 0;
};

// A picture painted on the parent: at its own size from the top left, centred, or stretched
// (keeping its proportions when asked). AutoSize sizes the control to the picture.
class TImage : public TGraphicControl {
    TW_DECLARE_CLASS(TImage, TGraphicControl)
    explicit TImage(TComponent* owner);
    ~TImage() override;

    TPicture* Picture() const { return FPicture.get(); }
    void SetPicture(TPicture* picture);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);
    bool Center() const { return FCenter; }
    void SetCenter(bool value);
    bool Proportional() const { return FProportional; }
    void SetProportional(bool value);
    // Draws a bitmap leaving the background where it has its transparent colour.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    // Where the picture goes inside the control.
    TRect DestRect() const;
    void Paint(HDC dc) override;

protected:
    void Loaded() override;

private:
    void PictureChanged(TObject* sender);
    void AdjustSize();

    std::unique_ptr<TPicture> FPicture;
    bool FAutoSize = false;
    bool FStretch = false;
    bool FCenter = false;
    bool FProportional = false;
    bool FTransparent = false;
};
