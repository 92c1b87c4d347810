// The skin engine's own window messages. A skinned window answers WMS_ISSKINNED with 1, which
// is how every part of the engine (and another engine instance) avoids skinning it twice.
#pragma once

#include <windows.h>

inline constexpr UINT WMS_REPAINTFRAME = 0x3502;  // repaint the whole non-client area now
inline constexpr UINT WMS_SKINSTART = 0x3503;     // posted once by the watcher: start skinning
inline constexpr UINT WMS_BUTTONACTION = 0x3514;  // a caption button without built-in action
inline constexpr UINT WMS_BUTTONVISIBLE = 0x3515; // is a caption button shown? result > 0: yes
inline constexpr UINT WMS_REDRAWALL = 0x3516;     // to an MDI client: redraw the frame
inline constexpr UINT WMS_RESKINSCROLL = 0x3517;  // wParam: control whose scroll bars to reskin
inline constexpr UINT WMS_OPENMENUAT = 0x3518;    // lParam: screen point of a menu-bar button
inline constexpr UINT WMS_ISSKINNED = 0x3523;     // answered with 1 by every skinned window
inline constexpr UINT WMS_SKINCHANGED = 0x3401;   // framework hook: re-apply the skin
inline constexpr UINT WMS_PAINTFRAMETO = 0xBC4B;  // framework hook: paint the frame into wParam
inline constexpr UINT WMS_PING = 0xBC4D;          // framework hook: answers SKIN_MAGIC
inline constexpr UINT WMS_SKINDONE = 0xBC4E;      // sent to itself after every (re)skin

// Marks the engine's own requests and answers (lParam of WMS_PAINTFRAMETO, WMS_PING, WMS_SKINDONE).
inline constexpr LPARAM SKIN_MAGIC = 16802;
