// Counts the GDI and USER objects this test program creates and has not freed yet.
//
// Under Wine GetGuiResources always answers 0, so leak checks count for themselves: at
// installation the program's import address table entries for the gdi32/user32 create and
// free functions are pointed at counting wrappers. Every object a call from this module
// creates is remembered until the matching free call succeeds. Windows, menus, timers and
// window properties that the system frees together with their window are dropped when their
// window (or menu) no longer exists.
#pragma once

#include <string>

struct THandleCounts {
    int Brushes = 0;
    int Pens = 0;
    int Fonts = 0;
    int Bitmaps = 0;
    int Regions = 0;
    int MemoryDCs = 0; // CreateCompatibleDC / CreateDC
    int WindowDCs = 0; // GetDC / GetDCEx / GetWindowDC not yet released
    int Windows = 0;
    int Menus = 0;
    int Hooks = 0;
    int Icons = 0;
    int Timers = 0;
    int Props = 0;

    int Gdi() const { return Brushes + Pens + Fonts + Bitmaps + Regions + MemoryDCs + WindowDCs; }
    int User() const { return Windows + Menus + Hooks + Icons + Timers + Props; }
    bool operator==(const THandleCounts&) const = default;
    std::string ToString() const;
};

class THandleCounter {
public:
    // Patches the import table once; later calls do nothing. False when no entry could be
    // patched (the counts would stay 0).
    static bool Install();
    // The objects alive now.
    static THandleCounts Current();
    // How many import entries were redirected.
    static int PatchedImports();
};
