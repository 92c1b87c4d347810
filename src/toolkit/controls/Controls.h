// Controls: the visual components. TControl holds bounds, visibility, colour, text and the
// replaceable WindowProc through which every message is dispatched; TWinControl owns a Win32
// window whose class is named after the control's class (superclassing the standard class
// it wraps), stores itself in the window property named by ControlAtom, reflects
// notifications to child controls at CN_BASE + message, aligns its children and keeps the
// tab order. TGraphicControl paints on its parent; TCustomControl paints its own window.
//
// Every control owns its font (a TFont published as "Font"); with ParentFont it follows its
// parent's font. Windowless children hear mouse enter and leave through their parent.
#pragma once

#include "Canvas.h"
#include "Classes.h"
#include "Color.h"
#include "ColorIdents.h"
#include "GraphicsObjects.h"
#include "Messages.h"
#include "WinHandle.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// ---- colours -------------------------------------------------------------------------------

// Colours are TColor values (Color.h); colour properties read and write the names the graphics
// know (ColorIdents.h), and GDI takes them resolved by ColorToColorRef.
inline const TIdentMap& ControlColorIdents = ColorIdents;
inline COLORREF ColorRefOf(TColor color) {
    return ColorToColorRef(color);
}

// ---- enumerations --------------------------------------------------------------------------

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;
enum TControlStateItem {
    csLButtonDown,
    csClicked,
    csPalette,
    csReadingState,
    csAlignmentNeeded,
    csFocusing,
    csCreating,
    csPaintCopy,
    csCustomPaint,
    csDestroyingHandle,
    csDocking
};
using TControlState = TSet<TControlStateItem>;
enum TControlStyleItem {
    csAcceptsControls,
    csCaptureMouse,
    csDesignInteractive,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents,
    csNeedsBorderPaint,
    csParentBackground
};
using TControlStyle = TSet<TControlStyleItem>;

extern const TEnumType AlignType;
extern const TEnumType BiDiModeType;

// Mouse pointers: crDefault leaves the choice to the window class, the others are the
// system's shared cursors (the split cursors are the two-headed sizing arrows).
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;
extern const TIdentMap CursorIdents;
// The shared system cursor of a TCursor; nullptr for crDefault and unknown values.
HCURSOR CursorHandle(TCursor cursor);

using TMouseEvent = TClosure<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = TClosure<void(TObject* Sender, TShiftState Shift, int X, int Y)>;

TShiftState KeysToShiftState(WPARAM keys);
TShiftState KeyDataToShiftState(LPARAM keyData);

class TWinControl;

// ---- TControl ------------------------------------------------------------------------------

class TControl : public TComponent {
    TW_DECLARE_CLASS(TControl, TComponent)

    explicit TControl(TComponent* owner);
    ~TControl() override;

    // Every message goes through WindowProc; it starts as WndProc and may be replaced (and
    // put back) by anyone who wants to see messages first.
    TWndMethod WindowProc;
    virtual void WndProc(TMessage& message);
    // What happens to a message nobody handled: the original window procedure for windowed
    // controls, the stored text for the others.
    virtual void DefaultHandler(TMessage& message);
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* value) override;

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return RECT{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    virtual RECT ClientRect();
    int ClientWidth() { return ClientRect().right; }
    int ClientHeight() { return ClientRect().bottom; }
    virtual void SetClientWidth(int value);
    virtual void SetClientHeight(int value);
    POINT ClientToScreen(POINT p);
    POINT ScreenToClient(POINT p);
    virtual POINT ClientOrigin();

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value);
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    // The control's own font; changing it clears ParentFont. SetFont copies the font given.
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* font);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode value);
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool value);
    bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }

    // Caption and Text are the same: the window text of windowed controls.
    std::string Text();
    void SetText(const std::string& value);
    std::string Caption() { return Text(); }
    void SetCaption(const std::string& value) { SetText(value); }

    TControlState ControlState() const { return FControlState; }
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle value) { FControlStyle = value; }

    virtual void Invalidate();
    virtual void Update();
    void Repaint();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    // Mouse handling the toolkit's messages end in; descendants and event handlers hook here.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void Click();
    virtual void DblClick();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnResize;

protected:
    virtual void Resize();
    virtual void UpdateBoundsRect(const RECT& r);
    virtual void VisibleChanging() {}
    void RequestAlign();
    TColor ParentColorValue() const;
    // Takes the parent's font without clearing ParentFont.
    void AdoptParentFont();

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = alNone;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clWindow;
    bool FParentColor = true;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    TCursor FCursor = crDefault;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
    std::string FText;
    TControlState FControlState;
    TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};

private:
    void WMMouseButton(TMessage& message, TMouseButton button, bool down, bool dbl);
    void FontChanged(TObject* sender);
    bool FAdoptingFont = false;
    friend class TWinControl;
};

// ---- TWinControl ---------------------------------------------------------------------------

struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    HMENU Menu = nullptr;
    void* Param = nullptr;
    WNDCLASSA WindowClass{};
    std::string WinClassName;
};

class TWinControl : public TControl {
    TW_DECLARE_CLASS(TWinControl, TControl)

    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    void BeforeDestruction() override;

    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;

    // The window, created on first use (with the windows of the parent chain).
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded();
    void DestroyHandle();
    // Destroys and re-creates the window, keeping text, bounds and children.
    void RecreateWnd();
    // Top-level windows without a parent control may sit in a foreign parent window.
    HWND ParentWindow() const { return FParentWindow; }
    void SetParentWindow(HWND wnd);

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    bool ContainsControl(TControl* control) const;
    TControl* ControlAtPos(POINT p, bool allowDisabled = false);

    // Tab order among the windowed children; GetTabOrderList lists all windowed descendants.
    int TabOrder() const;
    void SetTabOrder(int value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);
    void GetTabOrderList(std::vector<TWinControl*>& list);
    TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop, bool checkParent);
    void SelectNext(TWinControl* current, bool forward, bool checkTabStop);

    bool Focused();
    virtual bool CanFocus();
    virtual void SetFocus();

    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool value) { FDoubleBuffered = value; }
    bool ParentBackground() const { return FControlStyle.Contains(csParentBackground); }
    void SetParentBackground(bool value);

    void SetBounds(int left, int top, int width, int height) override;
    RECT ClientRect() override;
    POINT ClientOrigin() override;
    void SetClientWidth(int value) override;
    void SetClientHeight(int value) override;
    void Invalidate() override;
    void Update() override;
    // Aligns the children (top, bottom, left, right, then client) inside the client area.
    void Realign();
    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();

    // The brush the background is erased with (Color).
    HBRUSH Brush();

    // Sends message to every child control (windowed or not).
    void Broadcast(TMessage& message);
    // Paints the windowless children into dc (the window's client DC), from first on (all
    // when null); skinners that paint over a control paint its windowless children after.
    void PaintControls(HDC dc, TControl* first = nullptr);

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    virtual void CreateParams(TCreateParams& params);
    // Makes the window class a superclass of a standard class such as "BUTTON".
    void CreateSubClass(TCreateParams& params, const char* controlClassName);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    virtual void DestroyWnd();
    virtual void CreateHandle();
    virtual void PaintWindow(HDC dc);
    void PaintHandler(TMessage& message);
    virtual void AlignControls(RECT& rect);
    // A form overrides this to track the active control; the chain is asked from the top.
    virtual bool SetFocusedControl(TWinControl* control);
    // A control inside is leaving: a form forgets it as its active or focused control.
    virtual void DefocusControl(TWinControl*) {}
    TWinControl* TopLevelControl();
    virtual void DoEnter();
    virtual void DoExit();
    void UpdateBoundsFromWindow();
    void Loaded() override;

    HWND FHandle = nullptr;
    WNDPROC FDefWndProc = DefWindowProcA;

private:
    void MainWndProc(TMessage& message);
    bool ReflectNotification(TMessage& message);
    bool IsControlMouseMsg(TMessage& message);
    bool HandleKeyMessage(TMessage& message);
    void TrackMouse();
    // Sends CM_MOUSELEAVE to the windowless child the mouse left and CM_MOUSEENTER to the
    // one it entered.
    void SetMouseControl(TControl* control);
    bool SetCursorFor(TMessage& message);
    void ApplyPendingClientSize();
    void UpdateBrush();
    static LRESULT CALLBACK InitWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

    WNDPROC FObjectInstance = nullptr;
    HWND FParentWindow = nullptr;
    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabList;
    bool FTabStop = false;
    bool FDoubleBuffered = false;
    bool FMouseInClient = false;
    TControl* FMouseControl = nullptr;
    int FAlignLevel = 0;
    bool FAligning = false;
    int FPendingClientWidth = -1;
    int FPendingClientHeight = -1;
    TBrushHandle FBrush;
    TColor FBrushColor = clNone;
    friend class TControl;
};

// ---- painted controls ----------------------------------------------------------------------

// A control without a window: its parent paints it (Paint receives the parent's DC with the
// origin moved to the control) and forwards mouse messages to it.
class TGraphicControl : public TControl {
    TW_DECLARE_CLASS(TGraphicControl, TControl)
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    virtual void Paint(HDC dc);
    void WndProc(TMessage& message) override;
    // The surface Paint draws on: it holds the parent's DC while the control paints.
    TCanvas* Canvas() const { return FCanvas.get(); }

private:
    std::unique_ptr<TCanvas> FCanvas;
};

// A windowed control that paints itself.
class TCustomControl : public TWinControl {
    TW_DECLARE_CLASS(TCustomControl, TWinControl)
    explicit TCustomControl(TComponent* owner);
    virtual void Paint(HDC dc);

protected:
    void PaintWindow(HDC dc) override;
};

// ---- window lookup -------------------------------------------------------------------------

// The global atom of "ControlOfs" + module handle + thread id (hex, at least 8 digits each):
// the window property under which every toolkit window stores its control.
ATOM ControlAtom();
// The toolkit control of a window, or nullptr for windows the toolkit did not create.
TWinControl* FindControl(HWND wnd);
// The control of wnd or of its nearest ancestor window that has one.
TWinControl* FindVCLWindow(HWND wnd);

// Where exceptions escaping a control's message handling go (the application sets it);
// without one they are swallowed so that no exception crosses a window procedure.
using TControlExceptionHandler = void (*)(TObject* sender);
void SetControlExceptionHandler(TControlExceptionHandler handler);
// Called inside a catch block: hands the current exception to the handler.
void HandleControlException(TObject* sender);

// Menus plug in here: they see every window's menu messages before the control does
// (menu commands, owner drawing and measuring of menu items, menu pop-ups, CM_MENUCHANGED,
// WM_CREATE and WM_DESTROY of the window, and key presses that may be shortcuts). The hook
// returns true when it handled the message.
using TMenuMessageHook = bool (*)(TWinControl* control, TMessage& message);
void SetMenuMessageHook(TMenuMessageHook hook);

HINSTANCE ToolkitInstance();
