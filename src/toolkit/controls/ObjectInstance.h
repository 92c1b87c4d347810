// Per-object window procedures: a small piece of machine code that calls a TWndMethod
// closure, so that a window procedure can belong to one object (x86 and x86-64). Also
// hidden utility windows whose messages go to a closure (timers).
#pragma once

#include "Messages.h"

// Returns a window procedure that calls method; free it with FreeObjectInstance.
WNDPROC MakeObjectInstance(const TWndMethod& method);
void FreeObjectInstance(WNDPROC instance);

// A hidden window (class "TPUtilWindow") whose messages go to method; DeallocateHWnd destroys
// it and frees its window procedure.
HWND AllocateHWnd(const TWndMethod& method);
void DeallocateHWnd(HWND wnd);
