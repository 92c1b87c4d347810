// The first byte chooses what the rest is: a skin file as stored (even), or a decoded package
// that is compressed first (odd), so that the package parser sees structure and not only noise.
// A package is either rejected or indexed with every entry inside the data.
#include "Lzh.h"
#include "LzhEncoder.h"
#include "SkinMessage.h"
#include "SkinRead.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    static TSkinMessageSinkScope quiet([](const std::string&) {});
    const std::span<const std::uint8_t> rest(data + 1, size - 1);
    const std::vector<std::uint8_t> file =
        (data[0] & 1) ? LzhEncode(rest) : std::vector<std::uint8_t>(rest.begin(), rest.end());

    TSkinReader reader;
    bool loaded = false;
    try {
        loaded = reader.LoadPackage(file);
    } catch (const ElzhException&) {
        return 0;
    }
    if (!loaded) {
        if (!reader.Names().empty() || reader.Count() != 0)
            std::abort();
        return 0;
    }
    if (reader.Names().size() != static_cast<std::size_t>(reader.Count()) ||
        reader.Names().size() > TSkinReader::MaxEntries)
        std::abort();
    std::vector<std::uint8_t> entry;
    std::string name;
    reader.ExtractFirstMatch(".ini", entry, name);
    const auto& names = reader.Names();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (reader.Entry(i).size() != static_cast<std::size_t>(reader.Size(i)))
            std::abort();
        // A name finds its first occurrence.
        std::size_t first = 0;
        while (names[first] != names[i])
            ++first;
        reader.ExtractEntry(names[i], entry);
        const auto expected = reader.Entry(first);
        if (entry.size() != expected.size() || !std::equal(entry.begin(), entry.end(), expected.begin()))
            std::abort();
    }
    return 0;
}
