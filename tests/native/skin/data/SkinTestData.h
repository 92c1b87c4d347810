#pragma once
// Inputs shared by the skin data tests: text-like, bitmap-like and random bytes, and skin files
// built with the skinpack tool's encoder and package writer.
#include "LzhEncoder.h"
#include "SkinPacker.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace SkinTestData {

inline std::vector<std::uint8_t> Bytes(std::string_view text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

inline std::vector<std::uint8_t> RandomBytes(std::size_t size, unsigned seed = 1) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(random() >> 24);
    return bytes;
}

// INI-like text with repeated keys and varying numbers, about as compressible as a skin INI.
inline std::vector<std::uint8_t> TextLike(std::size_t size, unsigned seed = 7) {
    static const char* const words[] = {"Image",  "LeftWidth", "TopHeight", "RightWidth", "BottomHeight",
                                        "Frame",  "Trans",     "Tile",      "Colour",     "Personality",
                                        "Button", "Scrollbar", "Progress",  "MenuItem",   ".bmp"};
    std::mt19937 random(seed);
    std::string text;
    while (text.size() < size) {
        text += "[";
        text += words[random() % 15];
        text += std::to_string(random() % 40) + "]\r\n";
        for (int k = 0; k < 6; ++k) {
            text += words[random() % 15];
            text += "=" + std::to_string(random() % 300) + "\r\n";
        }
    }
    text.resize(size);
    return Bytes(text);
}

// 24-bit bitmap-like rows: flat runs of a few colours with magenta key areas and gradients.
inline std::vector<std::uint8_t> BitmapLike(std::size_t size, unsigned seed = 3) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(size);
    while (bytes.size() < size) {
        const std::uint8_t r = static_cast<std::uint8_t>(random()), g = static_cast<std::uint8_t>(random());
        const std::size_t run = 1 + random() % 40;
        for (std::size_t i = 0; i < run && bytes.size() + 3 <= size; ++i) {
            const bool key = random() % 8 == 0;
            bytes.push_back(key ? 0xFF : static_cast<std::uint8_t>(r + i)); // blue
            bytes.push_back(key ? 0x00 : g);
            bytes.push_back(key ? 0xFF : r);
        }
        if (bytes.size() + 3 > size)
            bytes.resize(size, 0);
    }
    return bytes;
}

// A minimal file that passes for a Windows bitmap: "BM" and some bytes.
inline std::vector<std::uint8_t> FakeBitmap(std::string_view tag, std::size_t size = 64) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(std::max(size, tag.size() + 2));
    bytes.push_back('B');
    bytes.push_back('M');
    for (const char c : tag)
        bytes.push_back(static_cast<std::uint8_t>(c));
    while (bytes.size() < size)
        bytes.push_back(static_cast<std::uint8_t>(bytes.size() * 7));
    return bytes;
}

inline std::vector<std::uint8_t> SkinFile(const std::vector<TSkinPackEntry>& entries,
                                          const TSkinPackageHeader& header = {}) {
    return LzhEncode(BuildSkinPackage(entries, header));
}

// A temporary folder removed with everything in it at the end of the scope.
class TTempFolder {
public:
    TTempFolder() {
        static int counter = 0;
        std::random_device seed;
        FPath = std::filesystem::temp_directory_path() /
                ("tw_skin_test_" + std::to_string(seed()) + "_" + std::to_string(++counter));
        std::filesystem::create_directories(FPath);
    }
    ~TTempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    std::filesystem::path operator/(std::string_view name) const { return FPath / name; }

private:
    std::filesystem::path FPath;
};

} // namespace SkinTestData
