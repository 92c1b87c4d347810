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

// 24-bit pixel rows like skin artwork: flat runs from a small palette (magenta key colour
// included), some gradients, and rows that repeat the one above.
inline std::vector<std::uint8_t> BitmapLike(std::size_t size, unsigned seed = 3) {
    constexpr std::size_t stride = 160 * 3;
    static const std::uint8_t palette[][3] = {{0xFF, 0x00, 0xFF}, {0xF5, 0xF5, 0xF5}, {0x80, 0x80, 0x80},
                                              {0x20, 0x30, 0x60}, {0xC0, 0xD8, 0xF0}, {0x00, 0x00, 0x00},
                                              {0x66, 0x99, 0xCC}, {0xE0, 0xE0, 0xD0}};
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(size + stride);
    while (bytes.size() < size) {
        if (bytes.size() >= stride && random() % 4 != 0) {
            bytes.insert(bytes.end(), bytes.end() - stride, bytes.end() - stride + stride);
            continue;
        }
        for (std::size_t x = 0; x < stride;) {
            const auto& colour = palette[random() % 8];
            const bool gradient = random() % 5 == 0;
            for (std::size_t run = 4 + random() % 36; run > 0 && x < stride; --run, x += 3) {
                const auto shade = static_cast<std::uint8_t>(gradient ? x / 6 : 0);
                for (int c = 0; c < 3; ++c)
                    bytes.push_back(static_cast<std::uint8_t>(colour[c] - shade));
            }
        }
    }
    bytes.resize(size);
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
