#include "WinSkinIni.h"

#include "SkinText.h"

#include <limits>

namespace {

bool IsHeader(std::string_view line) {
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Hexadecimal numbers are 32-bit patterns: "$FFFFFFFF" is -1, as skin authors write colours.
std::optional<std::uint32_t> ParseHex(std::string_view digits) {
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
        if (value > std::numeric_limits<std::uint32_t>::max())
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::optional<std::uint64_t> ParseDecimal(std::string_view digits) {
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > (std::uint64_t{1} << 31))
            return std::nullopt;
    }
    return value;
}

} // namespace

void TQuickIni::LoadFromStream(std::span<const std::uint8_t> bytes) {
    LoadFromText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void TQuickIni::LoadFromText(std::string_view text) {
    FLines.clear();
    FSections.clear();
    SkinText::ForEachLine(text, [this](std::string_view raw) {
        const std::string_view line = SkinText::TrimControl(raw);
        if (line.empty() || line.front() == ';')
            return;
        TLine kept;
        kept.Text = line;
        kept.IsHeader = IsHeader(line);
        const auto equals = line.find('=');
        if (equals != std::string_view::npos) {
            kept.Key = SkinText::LowerCase(SkinText::TrimControl(line.substr(0, equals)));
            kept.Value = SkinText::TrimControl(line.substr(equals + 1));
        }
        if (kept.IsHeader)
            FSections.push_back({kept.Text, static_cast<std::int32_t>(FLines.size())});
        FLines.push_back(std::move(kept));
    });
}

std::int32_t TQuickIni::FindSection(std::string_view name) const {
    for (const TSection& section : FSections) {
        const std::string_view header = section.Header;
        if (header.size() == name.size() + 2 && SkinText::SameTextAscii(header.substr(1, name.size()), name))
            return section.Line;
    }
    return -1;
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view key,
                                  const std::string& defaultValue) const {
    const std::int32_t header = FindSection(section);
    if (header < 0)
        return defaultValue;
    const std::string wanted = SkinText::LowerCase(key);
    for (std::size_t i = static_cast<std::size_t>(header) + 1; i < FLines.size() && !FLines[i].IsHeader;
         ++i) {
        if (FLines[i].Key == wanted)
            return FLines[i].Value.empty() ? defaultValue : FLines[i].Value;
    }
    return defaultValue;
}

std::optional<std::int32_t> TQuickIni::ParseInteger(std::string_view text) {
    std::string s(text);
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X'))
        s.replace(0, 2, "$");
    std::string_view rest = s;
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    if (!rest.empty() && rest.front() == '$') {
        const auto pattern = ParseHex(rest.substr(1));
        if (!pattern)
            return std::nullopt;
        const std::uint32_t bits = negative ? 0u - *pattern : *pattern;
        return static_cast<std::int32_t>(bits);
    }
    const auto magnitude = ParseDecimal(rest);
    if (!magnitude)
        return std::nullopt;
    if (negative)
        return static_cast<std::int32_t>(-static_cast<std::int64_t>(*magnitude));
    if (*magnitude > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(*magnitude);
}

std::int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key,
                                    std::int32_t defaultValue) const {
    return ParseInteger(ReadString(section, key, std::string())).value_or(defaultValue);
}

void TQuickIni::ReadSections(std::vector<std::string>& list) const {
    list.clear();
    for (const TSection& section : FSections) {
        const std::string_view header = section.Header;
        list.emplace_back(SkinText::TrimControl(header.substr(1, header.size() - 2)));
    }
}

std::vector<std::string> TQuickIni::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(FLines.size());
    for (const TLine& line : FLines)
        lines.push_back(line.Text);
    return lines;
}
