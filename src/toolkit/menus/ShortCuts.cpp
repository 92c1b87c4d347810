// Shortcut keys as numbers and as the text menus show after a tab.
#include "Menus.h"

#include "SysUtils.h"

#include <array>

namespace {

struct KeyName {
    WORD Key;
    const char* Name;
};

// Names of keys whose text is not their character.
constexpr std::array<KeyName, 16> kKeyNames{{{VK_BACK, "BkSp"},
                                             {VK_TAB, "Tab"},
                                             {VK_ESCAPE, "Esc"},
                                             {VK_RETURN, "Enter"},
                                             {VK_SPACE, "Space"},
                                             {VK_PRIOR, "PgUp"},
                                             {VK_NEXT, "PgDn"},
                                             {VK_END, "End"},
                                             {VK_HOME, "Home"},
                                             {VK_LEFT, "Left"},
                                             {VK_UP, "Up"},
                                             {VK_RIGHT, "Right"},
                                             {VK_DOWN, "Down"},
                                             {VK_INSERT, "Ins"},
                                             {VK_DELETE, "Del"},
                                             {VK_PAUSE, "Pause"}}};

std::string KeyText(WORD key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F24)
        return "F" + IntToStr(key - VK_F1 + 1);
    for (const KeyName& k : kKeyNames)
        if (k.Key == key)
            return k.Name;
    // Punctuation and the rest: the keyboard layout's own name.
    char name[64] = {};
    const UINT scan = MapVirtualKeyA(key, 0 /* MAPVK_VK_TO_VSC */);
    if (scan && GetKeyNameTextA(static_cast<LONG>(scan << 16), name, sizeof name) > 0)
        return name;
    return std::string();
}

WORD TextKey(std::string_view text) {
    if (text.size() == 1) {
        const char c = static_cast<char>(UpperCase(text)[0]);
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'))
            return static_cast<WORD>(c);
    }
    if (text.size() >= 2 && (text[0] == 'F' || text[0] == 'f')) {
        int64_t n = 0;
        if (TryStrToInt64(text.substr(1), n) && n >= 1 && n <= 24)
            return static_cast<WORD>(VK_F1 + n - 1);
    }
    for (const KeyName& k : kKeyNames)
        if (SameText(text, k.Name))
            return k.Key;
    for (WORD key = 1; key < 0xFF; ++key) {
        const std::string name = KeyText(key);
        if (!name.empty() && SameText(text, name))
            return key;
    }
    return 0;
}

} // namespace

TShortCut ShortCut(WORD key, TShiftState shift) {
    if (key & 0xFF00)
        return scNone;
    TShortCut result = key;
    if (shift.Contains(ssShift))
        result |= scShift;
    if (shift.Contains(ssCtrl))
        result |= scCtrl;
    if (shift.Contains(ssAlt))
        result |= scAlt;
    return result;
}

void ShortCutToKey(TShortCut shortCut, WORD& key, TShiftState& shift) {
    key = shortCut & 0xFF;
    shift = TShiftState{};
    if (shortCut & scShift)
        shift.Include(ssShift);
    if (shortCut & scCtrl)
        shift.Include(ssCtrl);
    if (shortCut & scAlt)
        shift.Include(ssAlt);
}

std::string ShortCutToText(TShortCut shortCut) {
    const std::string key = KeyText(shortCut & 0xFF);
    if (key.empty())
        return std::string();
    std::string text;
    if (shortCut & scShift)
        text += "Shift+";
    if (shortCut & scCtrl)
        text += "Ctrl+";
    if (shortCut & scAlt)
        text += "Alt+";
    return text + key;
}

TShortCut TextToShortCut(std::string_view text) {
    TShortCut modifiers = 0;
    for (;;) {
        // A lone "+" is the plus key, not a separator.
        const size_t plus = text.find('+', 1);
        if (plus == std::string_view::npos)
            break;
        const std::string_view part = text.substr(0, plus);
        if (SameText(part, "Shift"))
            modifiers |= scShift;
        else if (SameText(part, "Ctrl"))
            modifiers |= scCtrl;
        else if (SameText(part, "Alt"))
            modifiers |= scAlt;
        else
            return scNone;
        text.remove_prefix(plus + 1);
    }
    const WORD key = TextKey(text);
    return key ? static_cast<TShortCut>(key | modifiers) : scNone;
}

std::string StripHotkey(std::string_view caption) {
    std::string text;
    text.reserve(caption.size());
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        text += caption[i];
    }
    return text;
}
