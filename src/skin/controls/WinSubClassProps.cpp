// Published properties read and written by name, captions and text conversion. Skinners
// serve foreign controls whose properties they only know by name, so every access here
// tolerates a missing object, a missing property and a property of another kind.
#include "WinSubClass.h"

#include "SysUtils.h"
#include "TypInfo.h"
#include "WinSkinFormWatcher.h"

#include <vector>

std::wstring TextW(std::string_view text) {
    return AnsiToWide(text);
}

std::wstring GetWindowCaption(HWND wnd) {
    if (SkinIsNT()) {
        const int length = GetWindowTextLengthW(wnd);
        if (length <= 0)
            return {};
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        const int copied = GetWindowTextW(wnd, text.data(), length + 1);
        text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
        return text;
    }
    std::vector<char> buffer(1000, '\0');
    const auto copied = SendMessageA(wnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return TextW(std::string_view(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0)));
}

namespace {

template <class String, class View>
String ReplaceFirstOf(View text, View oldText, View newText) {
    String result(text);
    const size_t at = oldText.empty() ? String::npos : result.find(oldText);
    if (at != String::npos)
        result.replace(at, oldText.size(), newText);
    return result;
}

} // namespace

std::string ReplaceFirst(std::string_view text, std::string_view oldText, std::string_view newText) {
    return ReplaceFirstOf<std::string>(text, oldText, newText);
}

std::wstring ReplaceFirst(std::wstring_view text, std::wstring_view oldText, std::wstring_view newText) {
    return ReplaceFirstOf<std::wstring>(text, oldText, newText);
}

UINT RightToLeftFlags(const TSkinControl& skinner, UINT flags) {
    const TControl* control = skinner.Control();
    if (!control)
        control = skinner.GraphicControl();
    if (control && control->BiDiMode() == bdRightToLeft)
        flags |= DT_RTLREADING;
    return flags;
}

bool IsPopupWindow(HWND wnd) {
    const LONG_PTR style = GetWindowLongPtrA(wnd, GWL_STYLE);
    return (style & WS_POPUP) != 0 || GetParent(wnd) == GetDesktopWindow();
}

// ---- properties -------------------------------------------------------------------------------

namespace {

const TPropInfo* PropOf(TObject* obj, std::string_view name) {
    return obj ? GetPropInfo(obj, name) : nullptr;
}

} // namespace

int64_t GetIntProp(TObject* obj, std::string_view name) {
    const TPropInfo* prop = PropOf(obj, name);
    if (!prop || prop->Kind != tkInteger || !prop->GetOrd)
        return -1;
    return prop->GetOrd(*obj);
}

std::string GetEnumText(TObject* obj, std::string_view name) {
    const TPropInfo* prop = PropOf(obj, name);
    if (!prop || prop->Kind != tkEnumeration || !prop->EnumType || !prop->GetOrd)
        return {};
    const int64_t value = prop->GetOrd(*obj);
    const auto& names = prop->EnumType->Names;
    if (value < 0 || value >= static_cast<int64_t>(names.size()))
        return {};
    return LowerCase(names[static_cast<size_t>(value)]);
}

std::wstring GetTextProp(TObject* obj, std::string_view name) {
    const TPropInfo* prop = PropOf(obj, name);
    if (!prop)
        return {};
    if (prop->Kind == tkWString && prop->GetWStr)
        return prop->GetWStr(*obj);
    if (prop->Kind == tkLString && prop->GetStr)
        return TextW(prop->GetStr(*obj));
    return {};
}

TObject* GetObjectPropOf(TObject* obj, std::string_view name, TClass cls) {
    const TPropInfo* prop = PropOf(obj, name);
    if (!prop || prop->Kind != tkClass || !prop->GetObj)
        return nullptr;
    TObject* value = prop->GetObj(*obj);
    if (value && cls && !value->InheritsFrom(cls))
        return nullptr;
    return value;
}

void SetPropText(TObject* obj, std::string_view name, std::string_view text) {
    const TPropInfo* prop = PropOf(obj, name);
    if (!prop || !prop->Writable())
        return;
    switch (prop->Kind) {
    case tkInteger: {
        int64_t value = 0;
        if (prop->SetOrd && TryStrToInt64(text, value))
            prop->SetOrd(*obj, value);
        break;
    }
    case tkEnumeration: {
        const int index = prop->EnumType ? prop->EnumType->IndexOf(text) : -1;
        if (prop->SetOrd && index >= 0)
            prop->SetOrd(*obj, index);
        break;
    }
    case tkLString:
        if (prop->SetStr)
            prop->SetStr(*obj, std::string(text));
        break;
    case tkWString:
        if (prop->SetWStr)
            prop->SetWStr(*obj, TextW(text));
        break;
    default:
        break;
    }
}
