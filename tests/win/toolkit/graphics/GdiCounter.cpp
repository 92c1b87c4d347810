#include "GdiCounter.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <set>

#include <windows.h>

#include <commctrl.h>

namespace {

struct TRecord {
    const char* Kind;
    std::size_t Serial;
};

std::mutex& Lock() {
    static std::mutex lock;
    return lock;
}

std::map<const void*, TRecord>& Handles() {
    static std::map<const void*, TRecord> handles;
    return handles;
}

std::set<const void*>& FreedHandles() {
    static std::set<const void*> freed;
    return freed;
}

std::size_t gSerial = 0;

template <class H>
H Created(H handle, const char* kind) {
    if (handle) {
        const std::lock_guard<std::mutex> guard(Lock());
        Handles()[reinterpret_cast<const void*>(handle)] = {kind, ++gSerial};
        FreedHandles().erase(reinterpret_cast<const void*>(handle));
    }
    return handle;
}

template <class H>
void Freed(H handle, bool ok) {
    if (ok) {
        const std::lock_guard<std::mutex> guard(Lock());
        Handles().erase(reinterpret_cast<const void*>(handle));
        FreedHandles().insert(reinterpret_cast<const void*>(handle));
    }
}

// One entry per imported function: its name, the replacement and where the original goes.
struct THook {
    const char* Name;
    void* Replacement;
    void** Original;
};

#define TW_ORIGINAL(name) decltype(&::name) Real##name = nullptr

TW_ORIGINAL(CreateSolidBrush);
TW_ORIGINAL(CreateHatchBrush);
TW_ORIGINAL(CreatePatternBrush);
TW_ORIGINAL(CreateBrushIndirect);
TW_ORIGINAL(CreatePen);
TW_ORIGINAL(CreateFontIndirectW);
TW_ORIGINAL(CreateFontIndirectA);
TW_ORIGINAL(CreateCompatibleBitmap);
TW_ORIGINAL(CreateBitmap);
TW_ORIGINAL(CreateDIBSection);
TW_ORIGINAL(CreateCompatibleDC);
TW_ORIGINAL(DeleteObject);
TW_ORIGINAL(DeleteDC);
TW_ORIGINAL(GetDC);
TW_ORIGINAL(ReleaseDC);
TW_ORIGINAL(CopyImage);
TW_ORIGINAL(LoadImageA);
TW_ORIGINAL(CreateIconFromResourceEx);
TW_ORIGINAL(CreateIconIndirect);
TW_ORIGINAL(CopyIcon);
TW_ORIGINAL(DestroyIcon);
TW_ORIGINAL(GetIconInfo);
TW_ORIGINAL(ImageList_Create);
TW_ORIGINAL(ImageList_Duplicate);
TW_ORIGINAL(ImageList_Destroy);
TW_ORIGINAL(ImageList_GetIcon);

HBRUSH WINAPI HookCreateSolidBrush(COLORREF c) {
    return Created(RealCreateSolidBrush(c), "brush");
}
HBRUSH WINAPI HookCreateHatchBrush(int style, COLORREF c) {
    return Created(RealCreateHatchBrush(style, c), "brush");
}
HBRUSH WINAPI HookCreatePatternBrush(HBITMAP b) {
    return Created(RealCreatePatternBrush(b), "brush");
}
HBRUSH WINAPI HookCreateBrushIndirect(const LOGBRUSH* lb) {
    return Created(RealCreateBrushIndirect(lb), "brush");
}
HPEN WINAPI HookCreatePen(int style, int width, COLORREF c) {
    return Created(RealCreatePen(style, width, c), "pen");
}
HFONT WINAPI HookCreateFontIndirectW(const LOGFONTW* lf) {
    return Created(RealCreateFontIndirectW(lf), "font");
}
HFONT WINAPI HookCreateFontIndirectA(const LOGFONTA* lf) {
    return Created(RealCreateFontIndirectA(lf), "font");
}
HBITMAP WINAPI HookCreateCompatibleBitmap(HDC dc, int w, int h) {
    return Created(RealCreateCompatibleBitmap(dc, w, h), "bitmap");
}
HBITMAP WINAPI HookCreateBitmap(int w, int h, UINT planes, UINT bits, const void* data) {
    return Created(RealCreateBitmap(w, h, planes, bits, data), "bitmap");
}
HBITMAP WINAPI HookCreateDIBSection(HDC dc, const BITMAPINFO* bmi, UINT usage, void** bits, HANDLE section,
                                    DWORD offset) {
    return Created(RealCreateDIBSection(dc, bmi, usage, bits, section, offset), "DIB section");
}
HDC WINAPI HookCreateCompatibleDC(HDC dc) {
    return Created(RealCreateCompatibleDC(dc), "memory DC");
}
BOOL WINAPI HookDeleteObject(HGDIOBJ obj) {
    const BOOL ok = RealDeleteObject(obj);
    Freed(obj, ok);
    return ok;
}
BOOL WINAPI HookDeleteDC(HDC dc) {
    const BOOL ok = RealDeleteDC(dc);
    Freed(dc, ok);
    return ok;
}
HDC WINAPI HookGetDC(HWND wnd) {
    return Created(RealGetDC(wnd), "window DC");
}
int WINAPI HookReleaseDC(HWND wnd, HDC dc) {
    const int ok = RealReleaseDC(wnd, dc);
    Freed(dc, ok != 0);
    return ok;
}
HANDLE WINAPI HookCopyImage(HANDLE h, UINT type, int cx, int cy, UINT flags) {
    return Created(RealCopyImage(h, type, cx, cy, flags), type == IMAGE_BITMAP ? "bitmap" : "icon");
}
HANDLE WINAPI HookLoadImageA(HINSTANCE inst, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
    HANDLE h = RealLoadImageA(inst, name, type, cx, cy, flags);
    // Shared images belong to the system.
    return (flags & LR_SHARED) ? h : Created(h, type == IMAGE_BITMAP ? "bitmap" : "icon");
}
HICON WINAPI HookCreateIconFromResourceEx(PBYTE bits, DWORD size, BOOL icon, DWORD ver, int cx, int cy,
                                          UINT flags) {
    return Created(RealCreateIconFromResourceEx(bits, size, icon, ver, cx, cy, flags), "icon");
}
HICON WINAPI HookCreateIconIndirect(PICONINFO info) {
    return Created(RealCreateIconIndirect(info), "icon");
}
HICON WINAPI HookCopyIcon(HICON icon) {
    return Created(RealCopyIcon(icon), "icon");
}
BOOL WINAPI HookDestroyIcon(HICON icon) {
    const BOOL ok = RealDestroyIcon(icon);
    Freed(icon, ok);
    return ok;
}
BOOL WINAPI HookGetIconInfo(HICON icon, PICONINFO info) {
    const BOOL ok = RealGetIconInfo(icon, info);
    if (ok) {
        Created(info->hbmColor, "icon colour bitmap");
        Created(info->hbmMask, "icon mask bitmap");
    }
    return ok;
}
HIMAGELIST WINAPI HookImageList_Create(int cx, int cy, UINT flags, int initial, int grow) {
    return Created(RealImageList_Create(cx, cy, flags, initial, grow), "image list");
}
HIMAGELIST WINAPI HookImageList_Duplicate(HIMAGELIST list) {
    return Created(RealImageList_Duplicate(list), "image list");
}
BOOL WINAPI HookImageList_Destroy(HIMAGELIST list) {
    const BOOL ok = RealImageList_Destroy(list);
    Freed(list, ok);
    return ok;
}
HICON WINAPI HookImageList_GetIcon(HIMAGELIST list, int index, UINT flags) {
    return Created(RealImageList_GetIcon(list, index, flags), "icon");
}

#define TW_HOOK(name)                                                                                        \
    { #name, reinterpret_cast < void*>(&Hook##name), reinterpret_cast < void**>(&Real##name) }

const THook kHooks[] = {TW_HOOK(CreateSolidBrush),
                        TW_HOOK(CreateHatchBrush),
                        TW_HOOK(CreatePatternBrush),
                        TW_HOOK(CreateBrushIndirect),
                        TW_HOOK(CreatePen),
                        TW_HOOK(CreateFontIndirectW),
                        TW_HOOK(CreateFontIndirectA),
                        TW_HOOK(CreateCompatibleBitmap),
                        TW_HOOK(CreateBitmap),
                        TW_HOOK(CreateDIBSection),
                        TW_HOOK(CreateCompatibleDC),
                        TW_HOOK(DeleteObject),
                        TW_HOOK(DeleteDC),
                        TW_HOOK(GetDC),
                        TW_HOOK(ReleaseDC),
                        TW_HOOK(CopyImage),
                        TW_HOOK(LoadImageA),
                        TW_HOOK(CreateIconFromResourceEx),
                        TW_HOOK(CreateIconIndirect),
                        TW_HOOK(CopyIcon),
                        TW_HOOK(DestroyIcon),
                        TW_HOOK(GetIconInfo),
                        TW_HOOK(ImageList_Create),
                        TW_HOOK(ImageList_Duplicate),
                        TW_HOOK(ImageList_Destroy),
                        TW_HOOK(ImageList_GetIcon)};

void PatchImports(HMODULE module) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name;
         ++imp) {
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(
            base + (imp->OriginalFirstThunk ? imp->OriginalFirstThunk : imp->FirstThunk));
        for (; names->u1.AddressOfData; ++names, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            for (const THook& hook : kHooks) {
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), hook.Name) != 0)
                    continue;
                DWORD old = 0;
                VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &old);
                *hook.Original = reinterpret_cast<void*>(slot->u1.Function);
                slot->u1.Function = reinterpret_cast<ULONG_PTR>(hook.Replacement);
                VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, old, &old);
            }
        }
    }
}

} // namespace

namespace gdicount {

void Install() {
    static std::once_flag once;
    std::call_once(once, [] { PatchImports(GetModuleHandleW(nullptr)); });
}

std::size_t Live() {
    const std::lock_guard<std::mutex> guard(Lock());
    return Handles().size();
}

std::size_t Mark() {
    const std::lock_guard<std::mutex> guard(Lock());
    return gSerial;
}

bool WasFreed(const void* handle) {
    const std::lock_guard<std::mutex> guard(Lock());
    return FreedHandles().count(handle) != 0;
}

std::string Describe(std::size_t mark) {
    const std::lock_guard<std::mutex> guard(Lock());
    std::string text;
    for (const auto& [handle, record] : Handles()) {
        if (record.Serial <= mark)
            continue;
        char line[64];
        std::snprintf(line, sizeof line, "%s%s %p", text.empty() ? "" : "; ", record.Kind, handle);
        text += line;
    }
    return text;
}

} // namespace gdicount
