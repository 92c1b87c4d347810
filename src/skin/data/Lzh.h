#pragma once
// TLZH: the decompressor of skin files. LZSS over a 4096-byte window; literals and match lengths
// are coded by an adaptive Huffman tree, the upper six bits of each match offset by a fixed
// prefix code. Every constant below belongs to the file format: changing one makes existing
// skin files unreadable.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// Raised when the decoder cannot get memory or is asked for more output than its input can hold.
// TODO(toolkit): derive from the toolkit's Exception once src/toolkit/core provides it.
class ElzhException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TLZH {
public:
    static constexpr int WindowSize = 4096;
    static constexpr int WindowMask = WindowSize - 1;
    static constexpr int MaxMatch = 60;
    static constexpr int Threshold = 2;
    static constexpr int SymbolCount = 256 + MaxMatch - Threshold; // 314
    static constexpr int TreeNodes = 2 * SymbolCount - 1;          // 627
    static constexpr int Root = TreeNodes - 1;                     // 626
    static constexpr std::uint16_t CountCeiling = 0x8000;
    static constexpr int PresetLength = WindowSize - MaxMatch; // 4036
    static constexpr std::uint8_t PresetByte = 0x20;
    // A byte of input holds at most 8 symbols and a symbol yields at most MaxMatch bytes.
    static constexpr std::uint64_t MaxOutputPerInputByte = 8 * MaxMatch;

    // Reads up to count bytes into buffer and returns how many it read; 0 means the input ended.
    using TReadBlock = std::function<std::uint16_t(std::uint8_t* buffer, std::uint16_t count)>;
    // Writes all count bytes or raises.
    using TWriteBlock = std::function<void(const std::uint8_t* buffer, std::uint16_t count)>;

    // Decodes size bytes from readBlock to writeBlock. A final match is always completed, so up to
    // MaxMatch - 1 bytes more than size may be written. Missing input reads as zero bits. Raises
    // ElzhException when size exceeds what the whole input could encode; exceptions of the
    // callbacks propagate.
    void Unpack(std::int32_t size, const TReadBlock& readBlock, const TWriteBlock& writeBlock);

    // The same decoding for a bitstream held in memory (the bytes after the 4-byte length).
    std::vector<std::uint8_t> Unpack(std::int32_t size, std::span<const std::uint8_t> bitstream);

    static std::uint64_t MaxDecodedSize(std::size_t inputBytes) {
        return static_cast<std::uint64_t>(inputBytes) * MaxOutputPerInputByte;
    }
};
