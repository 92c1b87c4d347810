// What a form painter shares with the window watcher: the flags both read and write, and the
// watcher's own operations a painter triggers. The watcher implements this interface next to
// its skin data one; while there is no watcher (tests attaching windows directly), a process-
// wide stand-in keeps the flags and the operations do nothing.
#pragma once

#include <windows.h>

class TBitmap;
class TControl;

// The background a popup menu window prepared for its items, and where its client area lies
// in it (the item rectangles are client coordinates).
struct TPopupBackground {
    TBitmap* Bitmap = nullptr;
    POINT ClientOrigin{0, 0};
};

// Which kind of menu is about to open.
enum TSkinMenuKind { mkPopup = 0, mkMenuBar = 1, mkSystemMenu = 2 };

class ISkinFormWatcher {
public:
    virtual ~ISkinFormWatcher() = default;

    // A window has been attached: the watcher leaves its start-up state.
    virtual void FormAttached() = 0;
    // New top-level windows stay hidden until their start message.
    virtual bool HideNewWindows() const = 0;
    virtual void SetHideNewWindows(bool value) = 0;
    virtual void SetMenuKind(TSkinMenuKind kind) = 0;
    // The MDI child controls shown in the frame's menu bar.
    virtual bool MDIButtons() const = 0;
    virtual void SetMDIButtons(bool on) = 0;
    // The skinned MDI frame's client window and framework form.
    virtual void SetMDIFrame(HWND client, TControl* form) = 0;
    // A form painter is being freed; the watcher drops it from its list without freeing it.
    virtual void ForgetWindow(HWND wnd) = 0;
    // The newest popup menu window without a menu shows this one (its items are being drawn).
    virtual void BindPopupMenu(HMENU menu) = 0;
    // The background of the popup window showing the menu; no bitmap when there is none.
    virtual TPopupBackground ItemBackground(HMENU menu) = 0;
    // GetVersion as stored when the watcher's hook was installed.
    virtual DWORD WinVersion() const = 0;
};

// The running watcher when it implements this interface, else the stand-in.
ISkinFormWatcher& SkinFormWatcher();

// True on the Windows NT family (what every platform this program runs on today is).
bool SkinIsNT();
