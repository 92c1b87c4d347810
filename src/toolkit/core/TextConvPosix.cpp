// Portable builds keep 8-bit text as UTF-8.
#include "SysUtils.h"

std::wstring AnsiToWide(std::string_view s) {
    return Utf8ToWide(s);
}
std::string WideToAnsi(std::wstring_view s) {
    return WideToUtf8(s);
}
int AnsiCompareText(std::string_view a, std::string_view b) {
    return CompareText(a, b);
}
int AnsiCompareStr(std::string_view a, std::string_view b) {
    const int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}
