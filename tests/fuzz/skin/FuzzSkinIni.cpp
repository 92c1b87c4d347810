// Any text loads; every lookup answers with a value or the default and never reads outside the
// text. Keys are taken from the text itself so that lookups hit as well as miss.
#include "WinSkinIni.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TQuickIni ini;
    ini.LoadFromStream(std::span(data, size));
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    const std::vector<std::string> lines = ini.Lines();
    for (const std::string& line : lines)
        if (line.empty() || line.front() == ';' || static_cast<unsigned char>(line.front()) <= 32)
            std::abort();

    std::vector<std::string> keys = {"Image", "LeftWidth", "", "Frame"};
    for (const std::string& line : lines)
        if (const auto equals = line.find('='); equals != std::string::npos && keys.size() < 16)
            keys.push_back(line.substr(0, equals));
    // A bounded number of lookups: each walks the lines, and the parser is what is under test.
    if (sections.size() > 16)
        sections.resize(16);
    for (const std::string& section : sections) {
        for (const std::string& key : keys) {
            const std::string value = ini.ReadString(section, key, "\x01");
            if (value.empty())
                std::abort(); // an empty value gives the default
            const std::int32_t number = ini.ReadInteger(section, key, 12345);
            if (value == "\x01" && number != 12345)
                std::abort();
        }
    }
    TQuickIni::ParseInteger(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
