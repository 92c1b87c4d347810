// The checked-in artwork is exactly what the generator draws, and the pictures keep the shapes
// the program relies on (sizes, transparent surroundings, opaque subjects).
#include "Artwork.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<char> ReadFile(const std::filesystem::path& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

TEST(Artwork, CheckedInFilesMatchTheGenerator) {
    const auto dir = std::filesystem::temp_directory_path() / "tw-artgen-test";
    std::filesystem::create_directories(dir);
    const std::string command = std::string(TW_ARTGEN) + " " + dir.string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const char* name : {"Toolbar.bmp", "Tarnwick.ico", "Immunizer.jpg", "About.bmp"}) {
        const auto fresh = ReadFile(dir / name);
        ASSERT_FALSE(fresh.empty()) << name;
        EXPECT_TRUE(fresh == ReadFile(std::filesystem::path(TW_ART_DIR) / name))
            << name << " is out of date: run artgen src/app/res and commit the result";
    }
    std::filesystem::remove_all(dir);
}

TEST(Artwork, ToolbarImagesHaveTransparentCornersAndOpaqueSubjects) {
    for (int i = 0; i < 4; ++i) {
        const art::Image img = art::ToolbarImage(i);
        ASSERT_EQ(img.Width(), 56);
        ASSERT_EQ(img.Height(), 50);
        EXPECT_EQ(img.At(0, 0).a, 0) << "image " << i;
        EXPECT_EQ(img.At(55, 49).a, 0) << "image " << i;
        int opaque = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 56; ++x)
                opaque += img.At(x, y).a > 0.99f;
        EXPECT_GT(opaque, 56 * 50 / 5) << "image " << i << " is nearly empty";
    }
}

TEST(Artwork, IconFillsItsTileAtEverySize) {
    for (int size : {16, 32, 48}) {
        const art::Image icon = art::AppIcon(size);
        EXPECT_EQ(icon.Width(), size);
        EXPECT_GT(icon.At(size / 2, size / 2).a, 0.99f);
        EXPECT_LT(icon.At(0, 0).a, 0.5f) << "rounded corners must stay see-through";
    }
}

} // namespace
