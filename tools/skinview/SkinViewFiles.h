// Files the skin preview reads and writes, by wide paths (skin authors' folders may have names
// outside the ANSI code page): skin files, the open dialog and screenshots.
#pragma once

#include "Streams.h"

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

// Reads a skin file whole into stream. False with a sentence for the user when it cannot.
bool ReadSkinFile(const std::wstring& path, TMemoryStream& stream, std::string& problem);
// Writes bytes to path, replacing it. False with a sentence for the user when it cannot.
bool WriteWholeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes, std::string& problem);
// The open dialog for .skn files; empty when the user cancelled.
std::wstring AskForSkinFile(HWND owner, const std::wstring& current);
