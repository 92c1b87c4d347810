// Constants of the Windows bitmap file format shared by the reader and the writer.
#pragma once

#include <cstdint>

namespace bmp {

inline constexpr std::uint32_t kFileHeaderSize = 14;
inline constexpr std::uint32_t kCoreHeaderSize = 12; // OS/2 1.x and Windows 2.x
inline constexpr std::uint32_t kInfoHeaderSize = 40; // Windows 3.x
inline constexpr std::uint32_t kV2HeaderSize = 52;   // + red, green, blue masks
inline constexpr std::uint32_t kV3HeaderSize = 56;   // + alpha mask
inline constexpr std::uint32_t kV4HeaderSize = 108;  // + colour space
inline constexpr std::uint32_t kV5HeaderSize = 124;  // + rendering intent and profile
inline constexpr std::uint32_t kOs2V2MinHeaderSize = 16;
inline constexpr std::uint32_t kOs2V2MaxHeaderSize = 64;

inline constexpr std::uint32_t kRgb = 0;
inline constexpr std::uint32_t kRle8 = 1;
inline constexpr std::uint32_t kRle4 = 2;
inline constexpr std::uint32_t kBitFields = 3;
inline constexpr std::uint32_t kJpeg = 4;
inline constexpr std::uint32_t kPng = 5;
inline constexpr std::uint32_t kAlphaBitFields = 6;

} // namespace bmp
