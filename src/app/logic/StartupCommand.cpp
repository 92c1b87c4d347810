#include "StartupCommand.h"

#include <algorithm>

namespace {

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string Trim(const std::string& s) {
    const auto first = std::find_if_not(s.begin(), s.end(), IsBlankOrControl);
    const auto last = std::find_if_not(s.rbegin(), s.rend(), IsBlankOrControl).base();
    return first < last ? std::string(first, last) : std::string();
}

// Only ASCII letters change: bytes of multi-byte characters stay as they are.
std::string LowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// 1-based position of what in s, 0 when absent.
std::size_t Pos(const std::string& what, const std::string& s) {
    const auto at = s.find(what);
    return at == std::string::npos ? 0 : at + 1;
}

} // namespace

std::string ExtractCommandPath(const std::string& command) {
    const std::string t = LowerAscii(Trim(command));
    if (!t.empty() && t.front() == '"') {
        // The quoted path is taken from the untouched command, so its case survives.
        const std::string rest = command.substr(std::min<std::size_t>(1, command.size()), t.size());
        const auto close = rest.find('"');
        return close == std::string::npos ? std::string() : rest.substr(0, close);
    }
    const std::size_t p = Pos(".", t);
    if (t.size() > p + 3) {
        const std::size_t q = Pos(".exe ", t);
        return t.substr(0, q + 3);
    }
    return t.substr(0, p + 3);
}

std::string ExeCommandPath(const std::string& command) {
    std::string t = Trim(command);
    if (!t.empty() && t.front() == '"')
        t.erase(0, 1);
    const auto at = LowerAscii(t).find(".exe");
    return at == std::string::npos ? std::string() : t.substr(0, at + 4);
}
