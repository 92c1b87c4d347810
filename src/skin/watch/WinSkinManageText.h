// Window class names as the watcher compares them.
#pragma once

#include <algorithm>
#include <string>

#include <windows.h>

namespace skinmanage {

// The class name of a window, at most 100 characters; empty for no window.
inline std::string ClassNameOf(HWND wnd) {
    char name[101] = {};
    if (!wnd || !GetClassNameA(wnd, name, sizeof name))
        return {};
    return name;
}

// ASCII lower case: class names are compared with fixed ASCII texts.
inline std::string LowerAscii(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return text;
}

} // namespace skinmanage
