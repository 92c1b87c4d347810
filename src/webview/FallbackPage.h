// The page the web view draws when it cannot show the real one.
#pragma once

#include <windows.h>

#include <string>

// Paints the whole of area: the address that could not be shown and a one-line note.
void PaintFallbackPage(HDC dc, const RECT& area, const std::wstring& url);

// The note shown under the address.
extern const wchar_t kFallbackNote[];
