#include "HandleCounter.h"

#include <windows.h>

#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <utility>

namespace {

enum Kind { kBrush, kPen, kFont, kBitmap, kRegion, kMemoryDC, kWindow, kMenu, kHook, kIcon, kKindCount };

struct State {
    std::mutex lock; // held only around the bookkeeping, never across the real call
    std::set<uintptr_t> live[kKindCount];
    std::map<HDC, int> windowDCs;
    std::set<std::pair<HWND, UINT_PTR>> timers;
    std::set<std::pair<HWND, ATOM>> props;
    int patched = 0;
};

State& S() {
    static State state;
    return state;
}

template <class H>
void Add(Kind kind, H h) {
    if (!h)
        return;
    std::lock_guard guard(S().lock);
    S().live[kind].insert(reinterpret_cast<uintptr_t>(h));
}

template <class H>
void Remove(Kind kind, H h) {
    std::lock_guard guard(S().lock);
    S().live[kind].erase(reinterpret_cast<uintptr_t>(h));
}

void RemoveGdi(HGDIOBJ h) {
    std::lock_guard guard(S().lock);
    for (Kind k : {kBrush, kPen, kFont, kBitmap, kRegion})
        S().live[k].erase(reinterpret_cast<uintptr_t>(h));
}

ATOM PropAtomA(LPCSTR name) {
    if (IS_INTRESOURCE(name))
        return static_cast<ATOM>(reinterpret_cast<uintptr_t>(name));
    return GlobalFindAtomA(name);
}

ATOM PropAtomW(LPCWSTR name) {
    if (IS_INTRESOURCE(name))
        return static_cast<ATOM>(reinterpret_cast<uintptr_t>(name));
    return GlobalFindAtomW(name);
}

// The real functions, looked up by name (the import table entries point at the wrappers).
template <class F>
F Real(const char* dll, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(dll), name)));
}

#define TW_REAL(dll, name) static const auto real = Real<decltype(&::name)>(dll, #name)

// ---- gdi32 ---------------------------------------------------------------------------------

HBRUSH WINAPI HookCreateSolidBrush(COLORREF c) {
    TW_REAL("gdi32.dll", CreateSolidBrush);
    HBRUSH h = real(c);
    Add(kBrush, h);
    return h;
}
HBRUSH WINAPI HookCreateBrushIndirect(const LOGBRUSH* lb) {
    TW_REAL("gdi32.dll", CreateBrushIndirect);
    HBRUSH h = real(lb);
    Add(kBrush, h);
    return h;
}
HBRUSH WINAPI HookCreatePatternBrush(HBITMAP bm) {
    TW_REAL("gdi32.dll", CreatePatternBrush);
    HBRUSH h = real(bm);
    Add(kBrush, h);
    return h;
}
HBRUSH WINAPI HookCreateHatchBrush(int style, COLORREF c) {
    TW_REAL("gdi32.dll", CreateHatchBrush);
    HBRUSH h = real(style, c);
    Add(kBrush, h);
    return h;
}
HPEN WINAPI HookCreatePen(int style, int width, COLORREF c) {
    TW_REAL("gdi32.dll", CreatePen);
    HPEN h = real(style, width, c);
    Add(kPen, h);
    return h;
}
HPEN WINAPI HookCreatePenIndirect(const LOGPEN* lp) {
    TW_REAL("gdi32.dll", CreatePenIndirect);
    HPEN h = real(lp);
    Add(kPen, h);
    return h;
}
HPEN WINAPI HookExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* lb, DWORD count, const DWORD* styles) {
    TW_REAL("gdi32.dll", ExtCreatePen);
    HPEN h = real(style, width, lb, count, styles);
    Add(kPen, h);
    return h;
}
HFONT WINAPI HookCreateFontIndirectA(const LOGFONTA* lf) {
    TW_REAL("gdi32.dll", CreateFontIndirectA);
    HFONT h = real(lf);
    Add(kFont, h);
    return h;
}
HFONT WINAPI HookCreateFontIndirectW(const LOGFONTW* lf) {
    TW_REAL("gdi32.dll", CreateFontIndirectW);
    HFONT h = real(lf);
    Add(kFont, h);
    return h;
}
HFONT WINAPI HookCreateFontA(int a, int b, int c, int d, int e, DWORD f, DWORD g, DWORD h_, DWORD i, DWORD j,
                             DWORD k, DWORD l, DWORD m, LPCSTR n) {
    TW_REAL("gdi32.dll", CreateFontA);
    HFONT h = real(a, b, c, d, e, f, g, h_, i, j, k, l, m, n);
    Add(kFont, h);
    return h;
}
HBITMAP WINAPI HookCreateCompatibleBitmap(HDC dc, int w, int h_) {
    TW_REAL("gdi32.dll", CreateCompatibleBitmap);
    HBITMAP h = real(dc, w, h_);
    Add(kBitmap, h);
    return h;
}
HBITMAP WINAPI HookCreateDIBSection(HDC dc, const BITMAPINFO* bi, UINT usage, void** bits, HANDLE section,
                                    DWORD offset) {
    TW_REAL("gdi32.dll", CreateDIBSection);
    HBITMAP h = real(dc, bi, usage, bits, section, offset);
    Add(kBitmap, h);
    return h;
}
HBITMAP WINAPI HookCreateBitmap(int w, int h_, UINT planes, UINT bpp, const void* bits) {
    TW_REAL("gdi32.dll", CreateBitmap);
    HBITMAP h = real(w, h_, planes, bpp, bits);
    Add(kBitmap, h);
    return h;
}
HBITMAP WINAPI HookCreateBitmapIndirect(const BITMAP* bm) {
    TW_REAL("gdi32.dll", CreateBitmapIndirect);
    HBITMAP h = real(bm);
    Add(kBitmap, h);
    return h;
}
HBITMAP WINAPI HookCreateDIBitmap(HDC dc, const BITMAPINFOHEADER* bih, DWORD init, const void* bits,
                                  const BITMAPINFO* bi, UINT usage) {
    TW_REAL("gdi32.dll", CreateDIBitmap);
    HBITMAP h = real(dc, bih, init, bits, bi, usage);
    Add(kBitmap, h);
    return h;
}
HRGN WINAPI HookCreateRectRgn(int l, int t, int r, int b) {
    TW_REAL("gdi32.dll", CreateRectRgn);
    HRGN h = real(l, t, r, b);
    Add(kRegion, h);
    return h;
}
HRGN WINAPI HookCreateRectRgnIndirect(const RECT* r) {
    TW_REAL("gdi32.dll", CreateRectRgnIndirect);
    HRGN h = real(r);
    Add(kRegion, h);
    return h;
}
HRGN WINAPI HookCreateEllipticRgn(int l, int t, int r, int b) {
    TW_REAL("gdi32.dll", CreateEllipticRgn);
    HRGN h = real(l, t, r, b);
    Add(kRegion, h);
    return h;
}
HRGN WINAPI HookCreateRoundRectRgn(int l, int t, int r, int b, int w, int h_) {
    TW_REAL("gdi32.dll", CreateRoundRectRgn);
    HRGN h = real(l, t, r, b, w, h_);
    Add(kRegion, h);
    return h;
}
HRGN WINAPI HookCreatePolygonRgn(const POINT* p, int n, int mode) {
    TW_REAL("gdi32.dll", CreatePolygonRgn);
    HRGN h = real(p, n, mode);
    Add(kRegion, h);
    return h;
}
HRGN WINAPI HookExtCreateRegion(const XFORM* x, DWORD n, const RGNDATA* d) {
    TW_REAL("gdi32.dll", ExtCreateRegion);
    HRGN h = real(x, n, d);
    Add(kRegion, h);
    return h;
}
HDC WINAPI HookCreateCompatibleDC(HDC dc) {
    TW_REAL("gdi32.dll", CreateCompatibleDC);
    HDC h = real(dc);
    Add(kMemoryDC, h);
    return h;
}
HDC WINAPI HookCreateDCA(LPCSTR driver, LPCSTR device, LPCSTR port, const DEVMODEA* mode) {
    TW_REAL("gdi32.dll", CreateDCA);
    HDC h = real(driver, device, port, mode);
    Add(kMemoryDC, h);
    return h;
}
BOOL WINAPI HookDeleteObject(HGDIOBJ h) {
    TW_REAL("gdi32.dll", DeleteObject);
    const BOOL ok = real(h);
    if (ok)
        RemoveGdi(h);
    return ok;
}
BOOL WINAPI HookDeleteDC(HDC h) {
    TW_REAL("gdi32.dll", DeleteDC);
    const BOOL ok = real(h);
    if (ok)
        Remove(kMemoryDC, h);
    return ok;
}

// ---- user32 --------------------------------------------------------------------------------

// A region given to a window belongs to the window from then on; the system frees it.
int WINAPI HookSetWindowRgn(HWND wnd, HRGN region, BOOL redraw) {
    TW_REAL("user32.dll", SetWindowRgn);
    const int ok = real(wnd, region, redraw);
    if (ok && region)
        Remove(kRegion, region);
    return ok;
}

void AddWindowDC(HDC dc) {
    if (!dc)
        return;
    std::lock_guard guard(S().lock);
    ++S().windowDCs[dc];
}
HDC WINAPI HookGetDC(HWND wnd) {
    TW_REAL("user32.dll", GetDC);
    HDC dc = real(wnd);
    AddWindowDC(dc);
    return dc;
}
HDC WINAPI HookGetDCEx(HWND wnd, HRGN clip, DWORD flags) {
    TW_REAL("user32.dll", GetDCEx);
    HDC dc = real(wnd, clip, flags);
    AddWindowDC(dc);
    return dc;
}
HDC WINAPI HookGetWindowDC(HWND wnd) {
    TW_REAL("user32.dll", GetWindowDC);
    HDC dc = real(wnd);
    AddWindowDC(dc);
    return dc;
}
int WINAPI HookReleaseDC(HWND wnd, HDC dc) {
    TW_REAL("user32.dll", ReleaseDC);
    const int rc = real(wnd, dc);
    // A release call ends the borrow even where the system keeps the DC (class and own DCs).
    std::lock_guard guard(S().lock);
    auto it = S().windowDCs.find(dc);
    if (it != S().windowDCs.end() && --it->second == 0)
        S().windowDCs.erase(it);
    return rc;
}
HWND WINAPI HookCreateWindowExA(DWORD ex, LPCSTR cls, LPCSTR name, DWORD style, int x, int y, int w, int h,
                                HWND parent, HMENU menu, HINSTANCE inst, LPVOID param) {
    TW_REAL("user32.dll", CreateWindowExA);
    HWND wnd = real(ex, cls, name, style, x, y, w, h, parent, menu, inst, param);
    Add(kWindow, wnd);
    return wnd;
}
HWND WINAPI HookCreateWindowExW(DWORD ex, LPCWSTR cls, LPCWSTR name, DWORD style, int x, int y, int w, int h,
                                HWND parent, HMENU menu, HINSTANCE inst, LPVOID param) {
    TW_REAL("user32.dll", CreateWindowExW);
    HWND wnd = real(ex, cls, name, style, x, y, w, h, parent, menu, inst, param);
    Add(kWindow, wnd);
    return wnd;
}
BOOL WINAPI HookDestroyWindow(HWND wnd) {
    TW_REAL("user32.dll", DestroyWindow);
    const BOOL ok = real(wnd);
    if (ok)
        Remove(kWindow, wnd);
    return ok;
}
HMENU WINAPI HookCreateMenu() {
    TW_REAL("user32.dll", CreateMenu);
    HMENU m = real();
    Add(kMenu, m);
    return m;
}
HMENU WINAPI HookCreatePopupMenu() {
    TW_REAL("user32.dll", CreatePopupMenu);
    HMENU m = real();
    Add(kMenu, m);
    return m;
}
BOOL WINAPI HookDestroyMenu(HMENU m) {
    TW_REAL("user32.dll", DestroyMenu);
    const BOOL ok = real(m);
    if (ok)
        Remove(kMenu, m);
    return ok;
}
HHOOK WINAPI HookSetWindowsHookExA(int id, HOOKPROC proc, HINSTANCE inst, DWORD thread) {
    TW_REAL("user32.dll", SetWindowsHookExA);
    HHOOK h = real(id, proc, inst, thread);
    Add(kHook, h);
    return h;
}
HHOOK WINAPI HookSetWindowsHookExW(int id, HOOKPROC proc, HINSTANCE inst, DWORD thread) {
    TW_REAL("user32.dll", SetWindowsHookExW);
    HHOOK h = real(id, proc, inst, thread);
    Add(kHook, h);
    return h;
}
BOOL WINAPI HookUnhookWindowsHookEx(HHOOK h) {
    TW_REAL("user32.dll", UnhookWindowsHookEx);
    const BOOL ok = real(h);
    if (ok)
        Remove(kHook, h);
    return ok;
}
HANDLE WINAPI HookCopyImage(HANDLE h, UINT type, int cx, int cy, UINT flags) {
    TW_REAL("user32.dll", CopyImage);
    HANDLE copy = real(h, type, cx, cy, flags);
    if (copy && !(flags & LR_COPYDELETEORG)) {
        if (type == IMAGE_BITMAP)
            Add(kBitmap, copy);
        else
            Add(kIcon, copy);
    }
    return copy;
}
HICON WINAPI HookCreateIconIndirect(PICONINFO info) {
    TW_REAL("user32.dll", CreateIconIndirect);
    HICON h = real(info);
    Add(kIcon, h);
    return h;
}
BOOL WINAPI HookDestroyIcon(HICON h) {
    TW_REAL("user32.dll", DestroyIcon);
    const BOOL ok = real(h);
    if (ok)
        Remove(kIcon, h);
    return ok;
}
UINT_PTR WINAPI HookSetTimer(HWND wnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
    TW_REAL("user32.dll", SetTimer);
    const UINT_PTR rc = real(wnd, id, elapse, proc);
    if (rc) {
        std::lock_guard guard(S().lock);
        S().timers.insert({wnd, wnd ? id : rc});
    }
    return rc;
}
BOOL WINAPI HookKillTimer(HWND wnd, UINT_PTR id) {
    TW_REAL("user32.dll", KillTimer);
    const BOOL ok = real(wnd, id);
    std::lock_guard guard(S().lock);
    S().timers.erase({wnd, id});
    return ok;
}
BOOL WINAPI HookSetPropA(HWND wnd, LPCSTR name, HANDLE data) {
    TW_REAL("user32.dll", SetPropA);
    const BOOL ok = real(wnd, name, data);
    if (ok) {
        std::lock_guard guard(S().lock);
        S().props.insert({wnd, PropAtomA(name)});
    }
    return ok;
}
BOOL WINAPI HookSetPropW(HWND wnd, LPCWSTR name, HANDLE data) {
    TW_REAL("user32.dll", SetPropW);
    const BOOL ok = real(wnd, name, data);
    if (ok) {
        std::lock_guard guard(S().lock);
        S().props.insert({wnd, PropAtomW(name)});
    }
    return ok;
}
HANDLE WINAPI HookRemovePropA(HWND wnd, LPCSTR name) {
    TW_REAL("user32.dll", RemovePropA);
    const ATOM atom = PropAtomA(name); // before the removal may drop the atom
    HANDLE h = real(wnd, name);
    std::lock_guard guard(S().lock);
    S().props.erase({wnd, atom});
    return h;
}
HANDLE WINAPI HookRemovePropW(HWND wnd, LPCWSTR name) {
    TW_REAL("user32.dll", RemovePropW);
    const ATOM atom = PropAtomW(name);
    HANDLE h = real(wnd, name);
    std::lock_guard guard(S().lock);
    S().props.erase({wnd, atom});
    return h;
}

struct Hook {
    const char* name;
    void* wrapper;
};

#define TW_HOOK(name)                                                                                        \
    { #name, reinterpret_cast < void*>(&Hook##name) }

const Hook kHooks[] = {
    TW_HOOK(CreateSolidBrush),
    TW_HOOK(CreateBrushIndirect),
    TW_HOOK(CreatePatternBrush),
    TW_HOOK(CreateHatchBrush),
    TW_HOOK(CreatePen),
    TW_HOOK(CreatePenIndirect),
    TW_HOOK(ExtCreatePen),
    TW_HOOK(CreateFontIndirectA),
    TW_HOOK(CreateFontIndirectW),
    TW_HOOK(CreateFontA),
    TW_HOOK(CreateCompatibleBitmap),
    TW_HOOK(CreateDIBSection),
    TW_HOOK(CreateBitmap),
    TW_HOOK(CreateBitmapIndirect),
    TW_HOOK(CreateDIBitmap),
    TW_HOOK(CreateRectRgn),
    TW_HOOK(CreateRectRgnIndirect),
    TW_HOOK(CreateEllipticRgn),
    TW_HOOK(CreateRoundRectRgn),
    TW_HOOK(CreatePolygonRgn),
    TW_HOOK(ExtCreateRegion),
    TW_HOOK(CreateCompatibleDC),
    TW_HOOK(CreateDCA),
    TW_HOOK(DeleteObject),
    TW_HOOK(DeleteDC),
    TW_HOOK(SetWindowRgn),
    TW_HOOK(GetDC),
    TW_HOOK(GetDCEx),
    TW_HOOK(GetWindowDC),
    TW_HOOK(ReleaseDC),
    TW_HOOK(CreateWindowExA),
    TW_HOOK(CreateWindowExW),
    TW_HOOK(DestroyWindow),
    TW_HOOK(CreateMenu),
    TW_HOOK(CreatePopupMenu),
    TW_HOOK(DestroyMenu),
    TW_HOOK(SetWindowsHookExA),
    TW_HOOK(SetWindowsHookExW),
    TW_HOOK(UnhookWindowsHookEx),
    TW_HOOK(CopyImage),
    TW_HOOK(CreateIconIndirect),
    TW_HOOK(DestroyIcon),
    TW_HOOK(SetTimer),
    TW_HOOK(KillTimer),
    TW_HOOK(SetPropA),
    TW_HOOK(SetPropW),
    TW_HOOK(RemovePropA),
    TW_HOOK(RemovePropW),
};

const Hook* FindHook(const char* name) {
    for (const Hook& h : kHooks)
        if (std::strcmp(h.name, name) == 0)
            return &h;
    return nullptr;
}

int PatchImports() {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress)
        return 0;
    int patched = 0;
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name;
         ++imp) {
        const char* dll = reinterpret_cast<const char*>(base + imp->Name);
        if (_stricmp(dll, "user32.dll") != 0 && _stricmp(dll, "gdi32.dll") != 0)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(
            base + (imp->OriginalFirstThunk ? imp->OriginalFirstThunk : imp->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            const Hook* hook = FindHook(reinterpret_cast<const char*>(byName->Name));
            if (!hook)
                continue;
            DWORD old = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old))
                continue;
            slots->u1.Function = reinterpret_cast<decltype(slots->u1.Function)>(hook->wrapper);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
            ++patched;
        }
    }
    return patched;
}

} // namespace

std::string THandleCounts::ToString() const {
    std::string s;
    auto add = [&](const char* name, int n) {
        s += std::string(s.empty() ? "" : ", ") + name + "=" + std::to_string(n);
    };
    add("brushes", Brushes);
    add("pens", Pens);
    add("fonts", Fonts);
    add("bitmaps", Bitmaps);
    add("regions", Regions);
    add("memoryDCs", MemoryDCs);
    add("windowDCs", WindowDCs);
    add("windows", Windows);
    add("menus", Menus);
    add("hooks", Hooks);
    add("icons", Icons);
    add("timers", Timers);
    add("props", Props);
    return s;
}

bool THandleCounter::Install() {
    static const int patched = [] {
        const int n = PatchImports();
        S().patched = n;
        return n;
    }();
    return patched > 0;
}

int THandleCounter::PatchedImports() {
    return S().patched;
}

THandleCounts THandleCounter::Current() {
    std::lock_guard guard(S().lock);
    State& s = S();
    // Objects the system frees with their window or menu are gone when that is gone.
    std::erase_if(s.live[kWindow], [](uintptr_t h) { return !IsWindow(reinterpret_cast<HWND>(h)); });
    std::erase_if(s.live[kMenu], [](uintptr_t h) { return !IsMenu(reinterpret_cast<HMENU>(h)); });
    std::erase_if(s.timers, [](const auto& t) { return t.first && !IsWindow(t.first); });
    std::erase_if(s.props, [](const auto& p) { return !IsWindow(p.first); });
    THandleCounts c;
    c.Brushes = static_cast<int>(s.live[kBrush].size());
    c.Pens = static_cast<int>(s.live[kPen].size());
    c.Fonts = static_cast<int>(s.live[kFont].size());
    c.Bitmaps = static_cast<int>(s.live[kBitmap].size());
    c.Regions = static_cast<int>(s.live[kRegion].size());
    c.MemoryDCs = static_cast<int>(s.live[kMemoryDC].size());
    for (const auto& [dc, n] : s.windowDCs)
        c.WindowDCs += n;
    c.Windows = static_cast<int>(s.live[kWindow].size());
    c.Menus = static_cast<int>(s.live[kMenu].size());
    c.Hooks = static_cast<int>(s.live[kHook].size());
    c.Icons = static_cast<int>(s.live[kIcon].size());
    c.Timers = static_cast<int>(s.timers.size());
    c.Props = static_cast<int>(s.props.size());
    return c;
}
