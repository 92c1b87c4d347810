#include "Color.h"

#include <windows.h>

TColor SysColorToRGB(int index) {
    // GetSysColor answers 0 for indices it does not know, which is the black we promise.
    return static_cast<TColor>(GetSysColor(index));
}
