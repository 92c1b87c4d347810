#pragma once
// An LZHUF encoder for skin files: 4-byte little-endian length, then the bitstream that TLZH
// decodes (same adaptive tree, same offset code, same preset window). Skin authors' tool only:
// the program itself never compresses.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

struct TLzhEncodeStats {
    std::size_t Symbols = 0; // literals and matches
    std::size_t Matches = 0;
};

// Returns the complete skin-file bytes for data. Throws std::length_error above 2 GB - 1.
std::vector<std::uint8_t> LzhEncode(std::span<const std::uint8_t> data, TLzhEncodeStats* stats = nullptr);
