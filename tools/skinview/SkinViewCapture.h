// Screenshots of skinned windows: wait until the watcher has skinned them and every paint has
// run, then copy what the screen shows.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include <windows.h>

// Pumps messages until each window has an active form painter and no painting is pending;
// false when that did not happen within timeoutMs.
bool WaitSkinnedAndPainted(std::span<const HWND> windows, DWORD timeoutMs);
// The smallest rectangle holding the windows, in screen coordinates.
RECT BoundsOf(std::span<const HWND> windows);
// The screen's pixels in area as a PNG file; empty when the screen could not be read.
std::vector<std::uint8_t> CaptureScreenPng(const RECT& area);
