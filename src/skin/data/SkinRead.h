#pragma once
// TSkinReader: opens a skin package (a compressed archive of bitmaps and one INI text), checks its
// version, indexes its entries and copies single entries out by name.
//
// Skin file: int32 LE decoded length, then the LZH bitstream. Decoded package: int32 version
// (20000), int32 L, two reserved int32, L bytes of names (one per line, CR LF), one int32 size
// per name, then the entry data in name order. All integers are little-endian.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A package whose structure is damaged (too many names, sizes outside the data, ...).
// TODO(toolkit): derive from the toolkit's Exception once src/toolkit/core provides it.
class ESkinReaderException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TSkinReader {
public:
    static constexpr std::int32_t PackageVersion = 20000;
    static constexpr std::size_t MaxEntries = 1001;
    static constexpr std::size_t HeaderSize = 16;
    static constexpr const char* OldSkinMessage = "This is Older Skin File\rPlease update to new version !";
    static constexpr const char* DamagedSkinMessage = "This skin file is damaged and cannot be used.";

    // Decompresses and indexes a skin file. False when the package was rejected (wrong version or
    // damaged structure); the user has then been told through ShowSkinMessage and the reader is
    // empty. ElzhException from the decoder propagates.
    bool LoadPackage(std::span<const std::uint8_t> skinFile);

    // Copies the first entry named name (compared case-insensitively) into target; target ends up
    // empty when there is no such entry.
    void ExtractEntry(std::string_view name, std::vector<std::uint8_t>& target) const;

    // Copies the first entry whose name contains text (bytes compared as they are) into target and
    // stores that name in name; with no match target is empty and name is left unchanged.
    void ExtractFirstMatch(std::string_view text, std::vector<std::uint8_t>& target, std::string& name) const;

    // The decoded package of a skin file. A file shorter than its length field decodes to nothing.
    // Bytes a final match writes past the declared length are not part of the package.
    static std::vector<std::uint8_t> Decompress(std::span<const std::uint8_t> skinFile);

    const std::vector<std::string>& Names() const { return FNames; }
    std::int32_t Count() const { return FCount; }
    std::int32_t Size(std::size_t index) const { return FSizes.at(index); }
    std::span<const std::uint8_t> Entry(std::size_t index) const;
    std::int32_t Version() const { return FVersion; }
    std::int32_t NamesLength() const { return FNamesLength; }
    std::int32_t Reserved1() const { return FReserved1; }
    std::int32_t Reserved2() const { return FReserved2; }

private:
    void Clear();
    void ParsePackage(std::span<const std::uint8_t> package);

    std::vector<std::string> FNames;
    std::int32_t FCount = 0;
    std::array<std::int32_t, MaxEntries> FSizes{};
    std::vector<std::size_t> FOffsets; // start of each entry in FData
    std::vector<std::uint8_t> FData;
    std::int32_t FVersion = 0;
    std::int32_t FNamesLength = 0;
    std::int32_t FReserved1 = 0;
    std::int32_t FReserved2 = 0;
};
