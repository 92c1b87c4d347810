// One owner type for every Win32 handle: move-only, frees its handle exactly once. Borrowed
// handles stay plain HWND/HDC/...; only owners are THandle.
#pragma once

#include <windows.h>

#include <utility>

template <class Traits>
class THandle {
public:
    using handle_type = typename Traits::handle_type;

    THandle() = default;
    explicit THandle(handle_type h) : FHandle(h) {}
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    THandle(THandle&& other) noexcept : FHandle(other.Detach()) {}
    THandle& operator=(THandle&& other) noexcept {
        Reset(other.Detach());
        return *this;
    }
    ~THandle() { Reset(); }

    handle_type Get() const { return FHandle; }
    explicit operator bool() const { return FHandle != handle_type{}; }

    // Takes ownership of h, freeing the handle held before.
    void Reset(handle_type h = handle_type{}) {
        if (FHandle != handle_type{} && FHandle != h)
            Traits::Free(FHandle);
        FHandle = h;
    }
    // Gives up ownership without freeing.
    handle_type Detach() { return std::exchange(FHandle, handle_type{}); }

private:
    handle_type FHandle{};
};

template <class H>
struct TGdiObjectTraits {
    using handle_type = H;
    static void Free(H h) { DeleteObject(h); }
};

struct TMemoryDCTraits {
    using handle_type = HDC;
    static void Free(HDC h) { DeleteDC(h); }
};

struct TWindowTraits {
    using handle_type = HWND;
    static void Free(HWND h) { DestroyWindow(h); }
};

struct TMenuTraits {
    using handle_type = HMENU;
    static void Free(HMENU h) { DestroyMenu(h); }
};

struct THookTraits {
    using handle_type = HHOOK;
    static void Free(HHOOK h) { UnhookWindowsHookEx(h); }
};

struct TIconTraits {
    using handle_type = HICON;
    static void Free(HICON h) { DestroyIcon(h); }
};

struct TRegKeyTraits {
    using handle_type = HKEY;
    static void Free(HKEY h) { RegCloseKey(h); }
};

// A file handle: CreateFile's failure value is INVALID_HANDLE_VALUE, not null.
class TFileHandle {
public:
    explicit TFileHandle(HANDLE h) : FHandle(h) {}
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    ~TFileHandle() {
        if (*this)
            CloseHandle(FHandle);
    }
    HANDLE Get() const { return FHandle; }
    explicit operator bool() const { return FHandle != INVALID_HANDLE_VALUE && FHandle != nullptr; }

private:
    HANDLE FHandle;
};

using TBrushHandle = THandle<TGdiObjectTraits<HBRUSH>>;
using TPenHandle = THandle<TGdiObjectTraits<HPEN>>;
using TFontHandle = THandle<TGdiObjectTraits<HFONT>>;
using TBitmapHandle = THandle<TGdiObjectTraits<HBITMAP>>;
using TRegionHandle = THandle<TGdiObjectTraits<HRGN>>;
using TMemoryDC = THandle<TMemoryDCTraits>;
using TWindowHandle = THandle<TWindowTraits>;
using TMenuHandle = THandle<TMenuTraits>;
using THookHandle = THandle<THookTraits>;
using TIconHandle = THandle<TIconTraits>;
using TRegKeyHandle = THandle<TRegKeyTraits>;

// A DC from GetDC/GetWindowDC, released to its window at the end of the scope.
class TWindowDC {
public:
    explicit TWindowDC(HWND wnd, bool wholeWindow = false)
        : FWnd(wnd), FDC(wholeWindow ? GetWindowDC(wnd) : GetDC(wnd)) {}
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    ~TWindowDC() {
        if (FDC)
            ReleaseDC(FWnd, FDC);
    }
    HDC Get() const { return FDC; }

private:
    HWND FWnd;
    HDC FDC;
};

// BeginPaint/EndPaint as a scope.
class TPaintScope {
public:
    explicit TPaintScope(HWND wnd) : FWnd(wnd), FDC(BeginPaint(wnd, &FPaint)) {}
    TPaintScope(const TPaintScope&) = delete;
    TPaintScope& operator=(const TPaintScope&) = delete;
    ~TPaintScope() { EndPaint(FWnd, &FPaint); }
    HDC Get() const { return FDC; }
    const RECT& Dirty() const { return FPaint.rcPaint; }

private:
    HWND FWnd;
    PAINTSTRUCT FPaint{};
    HDC FDC;
};

// Selects an object into a DC and puts the previous one back at the end of the scope.
class TSelectScope {
public:
    TSelectScope(HDC dc, HGDIOBJ obj) : FDC(dc), FOld(SelectObject(dc, obj)) {}
    TSelectScope(const TSelectScope&) = delete;
    TSelectScope& operator=(const TSelectScope&) = delete;
    ~TSelectScope() { SelectObject(FDC, FOld); }

private:
    HDC FDC;
    HGDIOBJ FOld;
};
