#include "SkinPacker.h"

#include "LzhEncoder.h"
#include "SkinFiles.h"
#include "SkinRead.h"
#include "SkinText.h"
#include "WinSkinIni.h"

#include <algorithm>
#include <set>

namespace {

void PutInt32(std::vector<std::uint8_t>& out, std::int64_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

bool HasExtension(const std::string& lowerName, std::string_view extension) {
    return lowerName.size() > extension.size() && lowerName.ends_with(extension);
}

std::string FileNamePart(std::string_view value) {
    const auto cut = value.find_last_of("\\/:");
    return std::string(cut == std::string_view::npos ? value : value.substr(cut + 1));
}

void CheckName(const std::string& name) {
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 32)
            throw ESkinpackError("the file name \"" + name + "\" contains a control character");
}

void CheckBitmap(const std::string& name, const std::vector<std::uint8_t>& data) {
    if (data.size() < 14 || data[0] != 'B' || data[1] != 'M')
        throw ESkinpackError(name + " is not a Windows bitmap file (it does not start with \"BM\")");
}

} // namespace

std::vector<std::uint8_t> BuildSkinPackage(const std::vector<TSkinPackEntry>& entries,
                                           const TSkinPackageHeader& header) {
    std::string names;
    for (const TSkinPackEntry& entry : entries)
        names += entry.Name + "\r\n";
    std::vector<std::uint8_t> out;
    PutInt32(out, header.Version);
    PutInt32(out, static_cast<std::int64_t>(names.size()));
    PutInt32(out, header.Reserved1);
    PutInt32(out, header.Reserved2);
    out.insert(out.end(), names.begin(), names.end());
    for (const TSkinPackEntry& entry : entries)
        PutInt32(out, static_cast<std::int64_t>(entry.Data.size()));
    for (const TSkinPackEntry& entry : entries)
        out.insert(out.end(), entry.Data.begin(), entry.Data.end());
    return out;
}

TPackedSkin PackSkinFolder(const std::filesystem::path& folder) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        throw ESkinpackError(PathText(folder) + " is not a folder");

    TPackedSkin result;
    std::vector<TSkinPackEntry> bitmaps;
    std::vector<TSkinPackEntry> inis;
    std::set<std::string> seen;
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        if (!item.is_regular_file())
            continue;
        const std::string original = PathText(item.path().filename());
        const std::string name = SkinText::LowerCase(original);
        const bool isBitmap = HasExtension(name, ".bmp");
        if (!isBitmap && !HasExtension(name, ".ini")) {
            result.Warnings.push_back("left out " + original + " (neither a bitmap nor the INI)");
            continue;
        }
        CheckName(original);
        if (!seen.insert(name).second)
            throw ESkinpackError("two files are named " + name + " once lower-cased");
        TSkinPackEntry entry{name, ReadFileBytes(item.path())};
        if (isBitmap) {
            CheckBitmap(original, entry.Data);
            bitmaps.push_back(std::move(entry));
        } else {
            inis.push_back(std::move(entry));
        }
    }
    if (inis.size() != 1)
        throw ESkinpackError(PathText(folder) + " holds " + std::to_string(inis.size()) +
                             " INI files; a skin needs exactly one");
    if (bitmaps.size() + 1 > TSkinReader::MaxEntries)
        throw ESkinpackError("a skin holds at most " + std::to_string(TSkinReader::MaxEntries) +
                             " entries; the folder has " + std::to_string(bitmaps.size() + 1));
    std::sort(bitmaps.begin(), bitmaps.end(), [](const auto& a, const auto& b) { return a.Name < b.Name; });

    std::vector<TSkinPackEntry> entries = std::move(bitmaps);
    entries.push_back(std::move(inis.front()));
    for (const TSkinPackEntry& entry : entries)
        result.Names.push_back(entry.Name);

    const auto& ini = entries.back().Data;
    const TSkinCrossCheck check =
        CrossCheckSkin(std::string_view(reinterpret_cast<const char*>(ini.data()), ini.size()), result.Names);
    for (const std::string& name : check.Missing)
        result.Warnings.push_back("the INI names " + name + ", which the folder lacks");
    for (const std::string& value : check.Ignored)
        result.Warnings.push_back("the INI names " + value +
                                  ", which the program ignores (it loads only names ending in \".bmp\")");

    result.File = LzhEncode(BuildSkinPackage(entries));
    return result;
}

TSkinCrossCheck CrossCheckSkin(std::string_view iniText, const std::vector<std::string>& entryNames) {
    TQuickIni ini;
    ini.LoadFromText(iniText);
    std::set<std::string> named;
    TSkinCrossCheck check;
    std::set<std::string> ignored;
    bool inSection = false; // keys before the first header are never read
    for (const std::string& line : ini.Lines()) {
        inSection = inSection || (line.front() == '[' && line.back() == ']');
        const auto equals = line.find('=');
        if (!inSection || equals == std::string::npos)
            continue;
        const std::string file =
            FileNamePart(SkinText::TrimControl(std::string_view(line).substr(equals + 1)));
        const std::string lower = SkinText::LowerCase(file);
        if (!HasExtension(lower, ".bmp"))
            continue;
        if (file.ends_with(".bmp"))
            named.insert(lower);
        else if (ignored.insert(file).second)
            check.Ignored.push_back(file);
    }
    const std::set<std::string> present(entryNames.begin(), entryNames.end());
    for (const std::string& name : named)
        if (!present.contains(name))
            check.Missing.push_back(name);
    for (const std::string& name : entryNames)
        if (HasExtension(name, ".bmp") && !named.contains(name))
            check.Unused.push_back(name);
    return check;
}
