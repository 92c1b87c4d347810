#include "SkinRead.h"

#include "Lzh.h"
#include "SkinMessage.h"
#include "SkinText.h"

namespace {

// Reads a little-endian int32 at offset; bytes beyond the end read as 0, as a short stream read
// leaves the rest of the field untouched.
std::int32_t ReadInt32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4 && offset + i < bytes.size(); ++i)
        value |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
    return static_cast<std::int32_t>(value);
}

std::string Text(std::size_t value) {
    return std::to_string(value);
}

} // namespace

std::vector<std::uint8_t> TSkinReader::Decompress(std::span<const std::uint8_t> skinFile) {
    const std::int32_t size = skinFile.size() < 4 ? 0 : ReadInt32(skinFile, 0);
    const auto bitstream = skinFile.size() < 4 ? skinFile.subspan(skinFile.size()) : skinFile.subspan(4);
    TLZH lzh;
    std::vector<std::uint8_t> package = lzh.Unpack(size, bitstream);
    if (size > 0 && package.size() > static_cast<std::size_t>(size))
        package.resize(static_cast<std::size_t>(size));
    return package;
}

bool TSkinReader::LoadPackage(std::span<const std::uint8_t> skinFile) {
    Clear();
    const std::vector<std::uint8_t> package = Decompress(skinFile);
    const std::int32_t version = ReadInt32(package, 0);
    if (version != PackageVersion) {
        FVersion = version;
        ShowSkinMessage(OldSkinMessage);
        return false;
    }
    try {
        ParsePackage(package);
    } catch (const ESkinReaderException& error) {
        Clear();
        FVersion = version;
        ShowSkinMessage(std::string(DamagedSkinMessage) + "\r" + error.what());
        return false;
    }
    return true;
}

void TSkinReader::Clear() {
    FNames.clear();
    FCount = 0;
    FSizes.fill(0);
    FOffsets.clear();
    FData.clear();
    FVersion = FNamesLength = FReserved1 = FReserved2 = 0;
}

void TSkinReader::ParsePackage(std::span<const std::uint8_t> package) {
    if (package.size() < HeaderSize)
        throw ESkinReaderException("The package is " + Text(package.size()) +
                                   " bytes long, shorter than its 16-byte header.");
    FVersion = ReadInt32(package, 0);
    FNamesLength = ReadInt32(package, 4);
    FReserved1 = ReadInt32(package, 8);
    FReserved2 = ReadInt32(package, 12);

    const std::size_t available = package.size() - HeaderSize;
    if (FNamesLength < 0 || static_cast<std::size_t>(FNamesLength) > available)
        throw ESkinReaderException("The list of names (" + std::to_string(FNamesLength) +
                                   " bytes) does not fit in the package.");
    const auto namesLength = static_cast<std::size_t>(FNamesLength);
    const std::string_view namesText(reinterpret_cast<const char*>(package.data() + HeaderSize), namesLength);
    SkinText::ForEachLine(namesText, [this](std::string_view line) {
        if (FNames.size() == MaxEntries)
            throw ESkinReaderException("The package lists more than " + Text(MaxEntries) + " entries.");
        FNames.push_back(SkinText::LowerCase(line));
    });
    const std::size_t count = FNames.size();

    const std::size_t sizesAt = HeaderSize + namesLength;
    if (4 * count > package.size() - sizesAt)
        throw ESkinReaderException("The sizes of the " + Text(count) + " entries do not fit in the package.");
    const std::size_t dataAt = sizesAt + 4 * count;
    const std::size_t dataLength = package.size() - dataAt;
    std::uint64_t total = 0;
    FOffsets.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::int32_t size = ReadInt32(package, sizesAt + 4 * i);
        if (size < 0 || total + static_cast<std::uint64_t>(size) > dataLength)
            throw ESkinReaderException("The entry \"" + FNames[i] + "\" (" + std::to_string(size) +
                                       " bytes) runs past the end of the package.");
        FSizes[i] = size;
        FOffsets[i] = static_cast<std::size_t>(total);
        total += static_cast<std::uint64_t>(size);
    }
    FCount = static_cast<std::int32_t>(count);
    FData.assign(package.begin() + static_cast<std::ptrdiff_t>(dataAt), package.end());
}

std::span<const std::uint8_t> TSkinReader::Entry(std::size_t index) const {
    return std::span<const std::uint8_t>(FData).subspan(FOffsets.at(index),
                                                        static_cast<std::size_t>(FSizes[index]));
}

void TSkinReader::ExtractEntry(std::string_view name, std::vector<std::uint8_t>& target) const {
    target.clear();
    const std::string wanted = SkinText::LowerCase(name);
    for (std::size_t i = 0; i < FNames.size(); ++i) {
        if (FNames[i] == wanted) {
            const auto entry = Entry(i);
            target.assign(entry.begin(), entry.end());
            return;
        }
    }
}

void TSkinReader::ExtractFirstMatch(std::string_view text, std::vector<std::uint8_t>& target,
                                    std::string& name) const {
    target.clear();
    for (std::size_t i = 0; i < FNames.size(); ++i) {
        if (FNames[i].find(text) != std::string::npos) {
            const auto entry = Entry(i);
            target.assign(entry.begin(), entry.end());
            name = FNames[i];
            return;
        }
    }
}
