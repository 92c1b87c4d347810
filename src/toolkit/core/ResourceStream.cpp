// Windows only: module resources as streams (form descriptions are RCDATA resources).
#include "Streams.h"

#include "SysUtils.h"

#include <windows.h>

namespace {

HRSRC FindRes(void* instance, const std::string& name, const char* type) {
    return FindResourceA(static_cast<HMODULE>(instance), name.c_str(), type ? type : MAKEINTRESOURCEA(10));
}

} // namespace

TResourceStream::TResourceStream(void* instance, const std::string& name, const char* type) {
    HRSRC info = FindRes(instance, name, type);
    HGLOBAL data = info ? LoadResource(static_cast<HMODULE>(instance), info) : nullptr;
    const void* memory = data ? LockResource(data) : nullptr;
    if (!memory)
        throw EResNotFound(FormatMsg("Resource %s not found", {name}));
    // Resources stay mapped for the module's lifetime: nothing to free.
    SetPointer(memory, SizeofResource(static_cast<HMODULE>(instance), info));
}

bool TResourceStream::Exists(void* instance, const std::string& name, const char* type) {
    return FindRes(instance, name, type) != nullptr;
}
