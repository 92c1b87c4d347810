#include "ObjectInstance.h"

#include "SysUtils.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

namespace {

struct Instance {
    TWndMethod Method;
};

#if defined(_WIN64)
// sub rsp,38h / mov rax,instance / mov [rsp+20h],rax / mov rax,StdWndProc / call rax /
// add rsp,38h / ret: the instance becomes the fifth argument, the stack stays 16-byte aligned.
constexpr size_t kSlotSize = 48;

LRESULT StdWndProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam, Instance* instance) {
    TMessage m{msg, wParam, lParam, 0};
    instance->Method(m);
    return m.Result;
}

void WriteThunk(unsigned char* code, Instance* instance) {
    const uint64_t inst = reinterpret_cast<uint64_t>(instance);
    const uint64_t proc = reinterpret_cast<uint64_t>(&StdWndProc);
    unsigned char* p = code;
    const unsigned char prologue[] = {0x48, 0x83, 0xEC, 0x38, 0x48, 0xB8};
    std::memcpy(p, prologue, sizeof prologue);
    p += sizeof prologue;
    std::memcpy(p, &inst, 8);
    p += 8;
    const unsigned char store[] = {0x48, 0x89, 0x44, 0x24, 0x20, 0x48, 0xB8};
    std::memcpy(p, store, sizeof store);
    p += sizeof store;
    std::memcpy(p, &proc, 8);
    p += 8;
    const unsigned char epilogue[] = {0xFF, 0xD0, 0x48, 0x83, 0xC4, 0x38, 0xC3};
    std::memcpy(p, epilogue, sizeof epilogue);
}

Instance* InstanceOf(const unsigned char* code) {
    Instance* inst = nullptr;
    std::memcpy(&inst, code + 6, sizeof inst);
    return inst;
}
#else
// pop eax / push instance / push eax / mov eax,StdWndProc / jmp eax: the instance becomes the
// first argument of a five-argument stdcall procedure, which also removes it from the stack.
constexpr size_t kSlotSize = 16;

LRESULT __stdcall StdWndProc(Instance* instance, HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    instance->Method(m);
    return m.Result;
}

void WriteThunk(unsigned char* code, Instance* instance) {
    const uint32_t inst = reinterpret_cast<uint32_t>(instance);
    const uint32_t proc = reinterpret_cast<uint32_t>(&StdWndProc);
    code[0] = 0x58;
    code[1] = 0x68;
    std::memcpy(code + 2, &inst, 4);
    code[6] = 0x50;
    code[7] = 0xB8;
    std::memcpy(code + 8, &proc, 4);
    code[12] = 0xFF;
    code[13] = 0xE0;
}

Instance* InstanceOf(const unsigned char* code) {
    Instance* inst = nullptr;
    std::memcpy(&inst, code + 2, sizeof inst);
    return inst;
}
#endif

// Executable pages carved into slots. Pages are kept for the life of the process: a window
// procedure may still be returning through its slot while its object is being freed.
class ThunkPool {
public:
    unsigned char* Allocate() {
        std::lock_guard lock(FMutex);
        if (FFree.empty())
            Grow();
        unsigned char* slot = FFree.back();
        FFree.pop_back();
        return slot;
    }
    void Release(unsigned char* slot) {
        std::lock_guard lock(FMutex);
        FFree.push_back(slot);
    }
    bool Owns(const void* p) const {
        for (unsigned char* page : FPages)
            if (p >= page && p < page + kPageSize)
                return true;
        return false;
    }

private:
    static constexpr size_t kPageSize = 4096;
    void Grow() {
        void* page = VirtualAlloc(nullptr, kPageSize, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
        if (!page)
            throw EOutOfResources("Out of memory for window procedures");
        auto* bytes = static_cast<unsigned char*>(page);
        FPages.push_back(bytes);
        for (size_t off = kPageSize; off >= kSlotSize; off -= kSlotSize)
            FFree.push_back(bytes + off - kSlotSize);
    }
    std::mutex FMutex;
    std::vector<unsigned char*> FPages;
    std::vector<unsigned char*> FFree;
};

// Never destroyed: the application frees the forms it owns during static destruction, when
// a pool of function-local lifetime could already be gone.
ThunkPool& Pool() {
    static ThunkPool* const pool = new ThunkPool;
    return *pool;
}

const char kUtilClass[] = "TPUtilWindow";

} // namespace

WNDPROC MakeObjectInstance(const TWndMethod& method) {
    auto instance = std::make_unique<Instance>();
    instance->Method = method;
    unsigned char* slot = Pool().Allocate();
    WriteThunk(slot, instance.get());
    FlushInstructionCache(GetCurrentProcess(), slot, kSlotSize);
    instance.release(); // owned by the slot until FreeObjectInstance
    return reinterpret_cast<WNDPROC>(reinterpret_cast<void*>(slot));
}

void FreeObjectInstance(WNDPROC proc) {
    auto* slot = reinterpret_cast<unsigned char*>(reinterpret_cast<void*>(proc));
    if (!slot || !Pool().Owns(slot))
        return;
    delete InstanceOf(slot);
    Pool().Release(slot);
}

HWND AllocateHWnd(const TWndMethod& method) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing{};
    if (!GetClassInfoA(instance, kUtilClass, &existing)) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = instance;
        wc.lpszClassName = kUtilClass;
        RegisterClassA(&wc);
    }
    HWND wnd = CreateWindowExA(WS_EX_TOOLWINDOW, kUtilClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               instance, nullptr);
    if (!wnd)
        throw EOutOfResources("Error creating window");
    if (method.Assigned())
        SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MakeObjectInstance(method)));
    return wnd;
}

void DeallocateHWnd(HWND wnd) {
    if (!wnd)
        return;
    auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(wnd, GWLP_WNDPROC));
    DestroyWindow(wnd);
    if (proc != DefWindowProcA)
        FreeObjectInstance(proc);
}
