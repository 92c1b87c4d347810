// skingen: draws the program's default skin (its INI and bitmaps) into a folder. The result is
// checked in under skins/default; a test regenerates it and compares.
#include "SkinArt.h"
#include "SkinPreview.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: skingen OUTDIR [options]\n"
    "  writes skin.ini and the skin's bitmaps into OUTDIR\n"
    "options:\n"
    "  --accent RRGGBB   accent colour of controls and selections (default 1E6FD9)\n"
    "  --title RRGGBB    title bar colour (default: the accent colour)\n"
    "  --face RRGGBB     dialog and control face colour (default F4F6F9)\n"
    "  --legend FILE     also write a text legend of the bitmaps (sizes, frames, keys)\n"
    "  --preview FILE    also write a 24-bit BMP of sample windows drawn from the skin\n";

struct TOptions {
    std::string OutDir;
    TSkinColours Colours;
    std::string Legend;
    std::string Preview;
};

bool ParseArgs(int argc, char** argv, TOptions& options, std::string& error) {
    bool titleGiven = false;
    std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!arg.starts_with("--")) {
            if (!options.OutDir.empty()) {
                error = "more than one output folder: " + arg;
                return false;
            }
            options.OutDir = arg;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = arg + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        if (arg == "--legend" || arg == "--preview") {
            (arg == "--legend" ? options.Legend : options.Preview) = value;
            continue;
        }
        if (arg != "--accent" && arg != "--title" && arg != "--face") {
            error = "unknown option " + arg;
            return false;
        }
        const auto colour = ParseHexColour(value);
        if (!colour) {
            error = arg + " takes a colour as six hexadecimal digits RRGGBB, not \"" + value + "\"";
            return false;
        }
        if (arg == "--accent")
            options.Colours.Accent = *colour;
        else if (arg == "--title")
            options.Colours.Title = *colour, titleGiven = true;
        else
            options.Colours.Face = *colour;
    }
    if (!titleGiven)
        options.Colours.Title = options.Colours.Accent;
    if (options.OutDir.empty()) {
        error = "no output folder given";
        return false;
    }
    return true;
}

bool Write(const std::filesystem::path& path, const std::string_view bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    f.close();
    if (!f) {
        std::fprintf(stderr, "skingen: cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

bool Write(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    return Write(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    TOptions options;
    std::string error;
    if (!ParseArgs(argc, argv, options, error)) {
        std::fprintf(stderr, "skingen: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    try {
        const TSkinPalette palette = MakePalette(options.Colours);
        const TSkin skin = BuildSkin(palette);
        const std::filesystem::path dir(options.OutDir);
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        if (!std::filesystem::is_directory(dir)) {
            std::fprintf(stderr, "skingen: cannot create the folder %s\n", dir.string().c_str());
            return 1;
        }
        bool ok = Write(dir / "skin.ini", IniText(skin));
        for (const TSkinImage& image : skin.Images())
            ok = ok && Write(dir / image.FileName, image.Bitmap.EncodeBmp());
        if (ok && !options.Legend.empty())
            ok = Write(options.Legend, LegendText(skin));
        if (ok && !options.Preview.empty())
            ok = Write(options.Preview, DrawPreview(skin, palette).EncodeBmp());
        return ok ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skingen: %s\n", e.what());
        return 1;
    }
}
