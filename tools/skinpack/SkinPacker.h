#pragma once
// Building skin packages (version 20000) and checking a skin's INI against its bitmaps.
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// A folder or file that cannot become a skin; the message says why.
class ESkinpackError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TSkinPackEntry {
    std::string Name;
    std::vector<std::uint8_t> Data;
};

struct TSkinPackageHeader {
    std::int32_t Version = 20000;
    std::int32_t Reserved1 = 0;
    std::int32_t Reserved2 = 0;
};

// The decoded package: header, each name followed by CR LF, the sizes, then the data. Names are
// written as given.
std::vector<std::uint8_t> BuildSkinPackage(const std::vector<TSkinPackEntry>& entries,
                                           const TSkinPackageHeader& header = {});

struct TPackedSkin {
    std::vector<std::uint8_t> File;    // the compressed skin file
    std::vector<std::string> Names;    // entry names in package order
    std::vector<std::string> Warnings; // files left out and bitmaps the INI names but lacks
};

// Packs the one INI and every bitmap of folder: names lower-cased, bitmaps sorted by name, the
// INI last. Other files are left out with a warning. Throws ESkinpackError.
TPackedSkin PackSkinFolder(const std::filesystem::path& folder);

struct TSkinCrossCheck {
    std::vector<std::string> Missing; // bitmaps the INI names that the package lacks
    std::vector<std::string> Unused;  // package bitmaps the INI does not name
    std::vector<std::string> Ignored; // INI values the engine does not load (extension not ".bmp")
};

// Compares the bitmap names an INI text refers to with the entry names of a package. The engine
// takes the file-name part of a value and loads it only when it ends in ".bmp" exactly.
TSkinCrossCheck CrossCheckSkin(std::string_view iniText, const std::vector<std::string>& entryNames);
