// Routines the form and control painters share: the user32 functions that older systems lack,
// looked up once when the program starts; text drawn wide where the platform can; and the
// toolkit control behind a window handle.
#pragma once

#include "SysUtils.h" // AnsiToWide: 8-bit text in the system's code page to wide text

#include <string>

#include <windows.h>

class TWinControl;

// Which of the optional user32 functions this system offers.
bool HasGetScrollBarInfo();
bool HasTrackMouseEvent();
bool HasGetComboBoxInfo();
bool HasDisableProcessWindowsGhosting();

// GetScrollBarInfo when the system has it; false otherwise.
bool SkinGetScrollBarInfo(HWND wnd, LONG object, SCROLLBARINFO& info);
// GetComboBoxInfo when the system has it; false otherwise.
bool SkinGetComboBoxInfo(HWND combo, COMBOBOXINFO& info);
// Asks for WM_MOUSELEAVE when the pointer leaves wnd; nothing on systems without
// TrackMouseEvent.
void SkinTrackMouseLeave(HWND wnd);
// Stops the system from replacing hung windows by ghosts, where it can.
void SkinDisableWindowsGhosting();

// True on the NT family, where text is drawn wide.
bool IsWindowsNT();

// Draws text with DrawTextW on the NT family; elsewhere converts it to 8-bit text and uses
// DrawTextA. The format flags pass through (DT_CALCRECT included); returns the text height.
int DrawSkinText(HDC dc, const std::wstring& text, RECT& rect, UINT format);

// The toolkit control that owns a window (the window property named by ControlAtom), or
// nullptr for no window and for windows the toolkit did not create.
TWinControl* ControlFromWindow(HWND wnd);
