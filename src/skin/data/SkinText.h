#pragma once
// Byte-text helpers shared by the package reader and the INI parser. Skin texts are 8-bit
// (ASCII names, GBK captions): only the letters A to Z change case, other bytes never do.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace SkinText {

inline char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string LowerCase(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = LowerAscii(c);
    return result;
}

inline std::string UpperCase(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = UpperAscii(c);
    return result;
}

inline bool SameTextAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

// Removes every byte with a code of 32 or less from both ends.
inline std::string_view TrimControl(std::string_view text) {
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// Splits text the way the skin formats store lines: a line ends at CR, at LF or at CR LF (one CR
// then one LF are skipped after a line, so LF CR ends two lines), a NUL byte ends the whole text,
// and a final line end adds no empty line.
template <typename TLineFn>
void ForEachLine(std::string_view text, TLineFn&& onLine) {
    std::size_t pos = 0;
    const std::size_t end = text.size();
    while (pos < end && text[pos] != '\0') {
        std::size_t stop = pos;
        while (stop < end && text[stop] != '\0' && text[stop] != '\r' && text[stop] != '\n')
            ++stop;
        onLine(text.substr(pos, stop - pos));
        pos = stop;
        if (pos < end && text[pos] == '\r')
            ++pos;
        if (pos < end && text[pos] == '\n')
            ++pos;
    }
}

} // namespace SkinText
