// Creates the skinner a decision names and attaches it the way its class attaches.
#pragma once

#include "SkinnerChoice.h"

#include <windows.h>

class TControl;
class TSkinControl;
class TWinSkinForm;

// control is the framework control served (null for a bare window); wnd the window a
// window-attached skinner subclasses. Null when the decision names no skinner or a skinner
// class this engine does not have yet; the control then keeps its native look.
TSkinControl* AttachSkinner(const TSkinnerChoice& choice, TWinSkinForm& form, TControl* control, HWND wnd);
