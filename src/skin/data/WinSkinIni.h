#pragma once
// TQuickIni: the read-only INI parser for the skin's INI text. Lookups of sections and keys ignore
// case; values keep theirs. A missing section or key, an empty value and an unparsable number all
// give the caller's default.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TQuickIni {
public:
    // Replaces the content with the given text (the bytes from the stream position to its end).
    void LoadFromStream(std::span<const std::uint8_t> bytes);
    void LoadFromText(std::string_view text);

    // Index in the kept lines of the first header "[" + name + "]" (ignoring case), or -1.
    std::int32_t FindSection(std::string_view name) const;

    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string& defaultValue) const;
    // Decimal with an optional sign, or hexadecimal after "$" or a leading "0x"/"0X".
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const;
    // Names of all sections in text order, without brackets, trimmed, duplicates included.
    void ReadSections(std::vector<std::string>& list) const;

    // The kept lines: trimmed, neither empty nor comments.
    std::vector<std::string> Lines() const;

    // The integer syntax of ReadInteger, for values the caller already holds.
    static std::optional<std::int32_t> ParseInteger(std::string_view text);

private:
    struct TLine {
        std::string Text;  // trimmed line
        std::string Key;   // before the first "=", trimmed, lower-cased
        std::string Value; // after the first "=", trimmed
        bool IsHeader = false;
    };
    struct TSection {
        std::string Header; // "[Name]" as written, trimmed
        std::int32_t Line;  // index of the header in FLines
    };

    std::vector<TLine> FLines;
    std::vector<TSection> FSections;
};
