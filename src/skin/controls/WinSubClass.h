// TSkinControl: the base of every control skinner. A skinner sits in front of one control's
// message handling (the framework control's WindowProc, or the window procedure of a bare
// Win32 window), lets the control do its native work and then paints it again from the skin.
// The form painter that found the control keeps the skinner in its list; the skinner never
// owns the window it paints.
//
// Split by responsibility: WinSubClass.cpp (attachment and the message pipeline),
// WinSubClassPaint.cpp (painting entry points and fills), WinSubClassProps.cpp (published
// properties by name, captions and text), WinSubClassDraw.cpp (element, strip and text
// drawing shared by the skinner families).
#pragma once

#include "Bitmap.h"
#include "Canvas.h"
#include "Component.h"
#include "Controls.h"
#include "ImageList.h"
#include "SkinSubclass.h"
#include "WinSkinDataComponent.h"

#include <string>
#include <string_view>

#include <windows.h>

class TWinSkinForm;

// Messages of the engine's own that control skinners handle or send.
inline constexpr UINT WMS_SKINACTIVE = 0x3506;     // wParam > 0: skin painting on and repaint
inline constexpr UINT WMS_TABCLOSE = 0x3507;       // a tab's close mark was clicked
inline constexpr UINT WMS_PAINTCONTROLTO = 0xBC4A; // an edit paints itself into wParam

class TSkinControl : public TComponent {
    TW_DECLARE_CLASS(TSkinControl, TComponent)

    explicit TSkinControl(TComponent* owner);
    ~TSkinControl() override;

    // ---- the nine operations a skinner family overrides ----
    // Attaches to the owner, a framework windowed control.
    virtual void AttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas);
    // Attaches to a bare Win32 window.
    virtual void AttachWindow(HWND wnd, TSkinData* skinData, TWinSkinForm* form, TCanvas* canvas);
    // Gives back what attaching changed (colour, ParentBackground).
    virtual void Detach();
    // First look at every message; true lets the control handle it and AfterMessage follow.
    virtual bool BeforeMessage(TMessage& message);
    virtual void AfterMessage(TMessage& message);
    // Paints the whole window into dc, or into the window DC when dc is null.
    virtual void PaintNow(HDC dc);
    // The drawing itself; r is the window rectangle moved to (0, 0).
    virtual void DrawSkin(HDC dc, const TRect& r);
    virtual void SkinChanged();
    virtual bool CanSkin() { return true; }

    // The replacement window procedure (bare windows) and framework hook (controls).
    void NewWindowProc(TMessage& message);
    void CallOldProc(TMessage& message);
    void Redraw();

    // ---- what the form painter reads ----
    static constexpr int stAttached = 1;
    static constexpr int stDetached = 2;
    static constexpr int stKeepColor = 4; // a box skinner leaves the colour as it is
    static constexpr int stDestroyed = 6; // the window is gone: freed without detaching

    int State() const { return FState; }
    HWND Handle() const { return FHandle; }
    TWinControl* Control() const { return FControl; }
    TControl* GraphicControl() const { return FGraphicControl; }
    bool Active() const { return FActive; }
    bool Enabled() const { return FEnabled; }
    bool Attached() const { return FAttached; }
    bool OwnColor() const { return FOwnColor; }
    int Variant() const { return FVariant; }
    void SetVariant(int value) { FVariant = value; }
    bool ParentBackgroundOff() const { return FParentBackgroundOff; }

protected:
    void PaintClient(TMessage& message);
    void EraseTransparent(TMessage& message);
    void FillFace(HDC dc, const TRect& r);
    void FillParentColor(HDC dc, const TRect& r);
    LONG_PTR GetStyle(HWND wnd, int index) const;
    void SetParentBackground(bool attaching);
    void ForwardMouseDown(TMessage& message);
    void DrawFocusAround(HDC dc, UINT flags, const TRect& r);
    // The skin's face and shadow colours ([Colours] ButtonFace, ButtonShadow).
    TColor FaceColor() const;
    TColor ShadowColor() const;
    // Adds this skinner to the form's list (once).
    void JoinForm();
    // The first steps of attaching to a control (the owner when none is given); false when
    // there is nothing to do.
    bool BeginAttachControl(TWinSkinForm* form, TSkinData* skinData, bool ownColor, TCanvas* canvas,
                            TWinControl* control = nullptr);
    // With OwnColor: the face colour replaces the control's (kept for Detach).
    void TakeFaceColor();

    unsigned char FMouseState = 0; // bit 0 hot, bit 1 pressed
    TCanvas* FCanvas = nullptr;
    bool FEnabled = false;
    bool FFocused = false;
    std::wstring FCaption;
    // Bare windows: our procedure in front of the window's, the previous one kept.
    TSkinSubclass FSubclass;
    bool FActive = true;
    bool FUnicode = false;
    TSkinData* FSkinData = nullptr;
    HWND FHandle = nullptr;
    TWndMethod FOldWindowProc;
    TWinControl* FControl = nullptr;
    TRect FWindowRect{};
    TControl* FGraphicControl = nullptr;
    bool FOwnColor = false;
    TColor FOldColor = clNone;
    bool FAttached = false;
    int FState = 0;
    TWinSkinForm* FForm = nullptr;
    int FVariant = 0;
    bool FParentBackgroundOff = false;

private:
    void RestoreHooks();
};

// ---- text -----------------------------------------------------------------------------------

// The window's text, wide.
std::wstring GetWindowCaption(HWND wnd);
// 8-bit text in the system code page, wide.
std::wstring TextW(std::string_view text);
// Only the first occurrence of oldText is replaced.
std::string ReplaceFirst(std::string_view text, std::string_view oldText, std::string_view newText);
std::wstring ReplaceFirst(std::wstring_view text, std::wstring_view oldText, std::wstring_view newText);
// Adds DT_RTLREADING when the skinner's control reads right to left.
UINT RightToLeftFlags(const TSkinControl& skinner, UINT flags);
// Where a button press on a control of that size happened: lParam's signed halves, or the
// cursor position for controls too big for them.
POINT MouseDownPoint(LPARAM lParam, int width, int height, POINT cursorInClient);
// The window is a popup, or a child of the desktop.
bool IsPopupWindow(HWND wnd);

// ---- published properties by name: a missing object or property never fails ----

// An integer-kind property's value, else -1.
int64_t GetIntProp(TObject* obj, std::string_view name);
// The value name of an enumeration or Boolean property, lower-cased ("true", "bsnone"), else
// empty.
std::string GetEnumText(TObject* obj, std::string_view name);
// A wide or 8-bit string property as wide text, else empty.
std::wstring GetTextProp(TObject* obj, std::string_view name);
// The object held by a class-kind property when it is of cls (any class when null), else null.
TObject* GetObjectPropOf(TObject* obj, std::string_view name, TClass cls = nullptr);
// Integers from decimal text, enumerations by value name, strings as they are; other kinds
// and text that does not fit the property are left alone.
void SetPropText(TObject* obj, std::string_view name, std::string_view text);

// ---- drawing --------------------------------------------------------------------------------

// dst takes src's size and pixel format and src is drawn at (0, 0).
void CopyBitmap(TBitmap& src, TBitmap& dst);
// Frame frameIndex of the element composed to r's size (nine-grid, horizontal frames), with
// the element's transparency.
void DrawElement(HDC dc, const TRect& r, int frameCount, int frameIndex, TDataSkinObject& element);
// One frame of a strip of frames side by side stretched to r, magenta transparent: through a
// canvas on dc, onto a canvas, or blitted with the key colour.
void DrawStripFrameDC(HDC dc, const TRect& r, int count, int index, TBitmap& image);
void DrawStripFrame(TCanvas& canvas, const TRect& r, int count, int index, TBitmap& image);
void BlitStripFrame(HDC dc, const TRect& r, int count, int index, TBitmap& image);
// Caption text centred vertically (one pixel up), horizontally too for DT_CENTER; grey when
// disabled.
void DrawCaptionText(const TSkinControl& skinner, TCanvas& canvas, const TRect& r, UINT alignment,
                     bool enabled, std::wstring_view text);
// Single-line text centred in r both ways; alignment 0 left, 1 right, 2 centre.
void DrawCentredText(TCanvas& canvas, const TRect& r, std::wstring_view text, int alignment, bool enabled);
// An image-list image followed by single-line text, placed by alignment 0 left, 1 centre,
// 2 right.
void DrawImageText(const TSkinControl& skinner, TCanvas& canvas, const TRect& r, int alignment,
                   std::wstring_view text, int imageIndex, TCustomImageList* imageList);
