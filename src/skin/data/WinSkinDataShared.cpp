// The painters' shared routines: optional user32 functions, wide text, window-to-control.
#include "WinSkinDataShared.h"

#include "Controls.h"

namespace {

using TGetScrollBarInfo = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
using TTrackMouseEvent = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
using TGetComboBoxInfo = BOOL(WINAPI*)(HWND, PCOMBOBOXINFO);
using TDisableProcessWindowsGhosting = void(WINAPI*)();

// user32 as loaded when the program starts; older systems lack some of these functions.
class TOptionalUser32 {
public:
    TOptionalUser32() : FLibrary(LoadLibraryA("user32.dll")) {
        if (!FLibrary)
            return;
        GetScrollBarInfo = Lookup<TGetScrollBarInfo>("GetScrollBarInfo");
        TrackMouseEvent = Lookup<TTrackMouseEvent>("TrackMouseEvent");
        GetComboBoxInfo = Lookup<TGetComboBoxInfo>("GetComboBoxInfo");
        DisableProcessWindowsGhosting =
            Lookup<TDisableProcessWindowsGhosting>("DisableProcessWindowsGhosting");
    }
    ~TOptionalUser32() {
        if (FLibrary)
            FreeLibrary(FLibrary);
    }
    TOptionalUser32(const TOptionalUser32&) = delete;
    TOptionalUser32& operator=(const TOptionalUser32&) = delete;

    TGetScrollBarInfo GetScrollBarInfo = nullptr;
    TTrackMouseEvent TrackMouseEvent = nullptr;
    TGetComboBoxInfo GetComboBoxInfo = nullptr;
    TDisableProcessWindowsGhosting DisableProcessWindowsGhosting = nullptr;

private:
    template <class F>
    F Lookup(const char* name) const {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(FLibrary, name)));
    }
    HMODULE FLibrary;
};

const TOptionalUser32& OptionalUser32() {
    static const TOptionalUser32 functions;
    return functions;
}

// Looked up at start-up, before any painter asks.
[[maybe_unused]] const TOptionalUser32& kLookedUpAtStart = OptionalUser32();

} // namespace

bool HasGetScrollBarInfo() {
    return OptionalUser32().GetScrollBarInfo != nullptr;
}

bool HasTrackMouseEvent() {
    return OptionalUser32().TrackMouseEvent != nullptr;
}

bool HasGetComboBoxInfo() {
    return OptionalUser32().GetComboBoxInfo != nullptr;
}

bool HasDisableProcessWindowsGhosting() {
    return OptionalUser32().DisableProcessWindowsGhosting != nullptr;
}

bool SkinGetScrollBarInfo(HWND wnd, LONG object, SCROLLBARINFO& info) {
    const auto function = OptionalUser32().GetScrollBarInfo;
    if (!function)
        return false;
    info.cbSize = sizeof info;
    return function(wnd, object, &info) != FALSE;
}

bool SkinGetComboBoxInfo(HWND combo, COMBOBOXINFO& info) {
    const auto function = OptionalUser32().GetComboBoxInfo;
    if (!function)
        return false;
    info.cbSize = sizeof info;
    return function(combo, &info) != FALSE;
}

void SkinTrackMouseLeave(HWND wnd) {
    const auto function = OptionalUser32().TrackMouseEvent;
    if (!function)
        return;
    TRACKMOUSEEVENT request{};
    request.cbSize = sizeof request; // 16 bytes in a 32-bit program
    request.dwFlags = TME_LEAVE;
    request.hwndTrack = wnd;
    function(&request);
}

void SkinDisableWindowsGhosting() {
    if (const auto function = OptionalUser32().DisableProcessWindowsGhosting)
        function();
}

bool IsWindowsNT() {
    return (GetVersion() & 0x80000000u) == 0;
}

int DrawSkinText(HDC dc, const std::wstring& text, RECT& rect, UINT format) {
    if (IsWindowsNT())
        return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    const std::string narrow = WideToAnsi(text);
    return DrawTextA(dc, narrow.c_str(), -1, &rect, format);
}

TWinControl* ControlFromWindow(HWND wnd) {
    return wnd ? FindControl(wnd) : nullptr;
}
