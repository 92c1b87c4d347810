// Windows builds use the process's ANSI code page (GBK for this program) for 8-bit text.
#include "SysUtils.h"

#include <windows.h>

std::wstring AnsiToWide(std::string_view s) {
    if (s.empty())
        return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return out;
}

std::string WideToAnsi(std::wstring_view s) {
    if (s.empty())
        return {};
    const int n =
        WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

namespace {

int Compare(DWORD flags, std::string_view a, std::string_view b) {
    const int r = CompareStringA(LOCALE_USER_DEFAULT, flags, a.data(), static_cast<int>(a.size()), b.data(),
                                 static_cast<int>(b.size()));
    return r - CSTR_EQUAL;
}

} // namespace

int AnsiCompareText(std::string_view a, std::string_view b) {
    return Compare(NORM_IGNORECASE, a, b);
}
int AnsiCompareStr(std::string_view a, std::string_view b) {
    return Compare(0, a, b);
}
