// Decoding speed is reported as bytes of output per second.
#include "Lzh.h"
#include "LzhEncoder.h"
#include "SkinPacker.h"
#include "SkinRead.h"
#include "WinSkinIni.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t DecodeSize = 1 << 20;

// INI-like text: sections and key=value lines with varying numbers.
std::vector<std::uint8_t> TextLike(std::size_t size) {
    static const char* const words[] = {"Image", "LeftWidth", "TopHeight", "RightWidth", "BottomHeight",
                                        "Frame", "Trans",     "Tile",      "Colour",     "Personality"};
    std::mt19937 random(7);
    std::string text;
    while (text.size() < size) {
        text += std::string("[") + words[random() % 10] + std::to_string(random() % 40) + "]\r\n";
        for (int k = 0; k < 6; ++k)
            text += std::string(words[random() % 10]) + "=" + std::to_string(random() % 300) + "\r\n";
    }
    text.resize(size);
    return {text.begin(), text.end()};
}

// 24-bit pixel rows like skin artwork: flat runs from a small palette (magenta key colour
// included), some gradients, and rows that repeat the one above.
std::vector<std::uint8_t> BitmapLike(std::size_t size, unsigned seed = 3) {
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

std::vector<std::uint8_t> RandomBytes(std::size_t size) {
    std::mt19937 random(1);
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(random() >> 24);
    return bytes;
}

void Decode(benchmark::State& state, const std::vector<std::uint8_t>& data) {
    const std::vector<std::uint8_t> file = LzhEncode(data);
    const std::span<const std::uint8_t> bitstream = std::span(file).subspan(4);
    for (auto _ : state) {
        TLZH lzh;
        auto out = lzh.Unpack(static_cast<std::int32_t>(data.size()), bitstream);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
    state.counters["ratio"] = static_cast<double>(file.size()) / static_cast<double>(data.size());
}

void BM_LzhDecodeText(benchmark::State& state) {
    Decode(state, TextLike(DecodeSize));
}
void BM_LzhDecodeBitmap(benchmark::State& state) {
    Decode(state, BitmapLike(DecodeSize));
}
void BM_LzhDecodeRandom(benchmark::State& state) {
    Decode(state, RandomBytes(DecodeSize));
}
BENCHMARK(BM_LzhDecodeText);
BENCHMARK(BM_LzhDecodeBitmap);
BENCHMARK(BM_LzhDecodeRandom);

// A skin INI that gives every section and key the skin loader reads.
std::string SkinIni() {
    std::string ini = "; generated for the benchmark\r\n[Personality]\r\n";
    for (const char* side : {"Left", "Right", "Top", "Bottom"}) {
        const std::string p = side;
        ini += p + "=" + p + ".bmp\r\n" + p + "TopHeight=4\r\n" + p + "BotHeight=4\r\n" + p + "Frame=2\r\n" +
               p + "Stretch=1\r\n" + p + "Trans=0\r\n";
    }
    ini += "TextBack=title.bmp\r\nTextShift=20\r\nTextShiftVert=2\r\nTextRightClip=60\r\nTextAlignment=0\r\n"
           "Textbackground=1\r\nTXTBackleft=4\r\nTXTBackRight=4\r\nActiveTextR=255\r\nActiveTextG=255\r\n"
           "ActiveTextB=255\r\nInActiveTextR=160\r\nInActiveTextG=160\r\nInActiveTextB=160\r\nmenuBar="
           "menubar.bmp\r\n"
           "TileMenu=1\r\nTileLeftMenu=2\r\nTileRightMenu=2\r\n[Fonts]\r\nFontHeight=14\r\n[Colours]\r\n";
    for (const char* key : {"WindowText", "ButtonFace", "Scrollbar", "HilightText", "Hilight", "Menubar",
                            "Menu", "MenuText", "ButtonText", "ButtonHilight", "Buttonlight", "ButtonShadow",
                            "ButtonDkShadow", "MenuBarText", "TitleTextActive", "TitleTextNoActive"})
        ini += std::string(key) + "=245 245 245\r\n";
    ini += "[COLOUR0]\r\ncolor=0 0 0\r\n[COLOUR1]\r\ncolor=30 60 90\r\n";
    for (int i = 0; i < 4; ++i)
        ini += "[BUTTON" + std::to_string(i) + "]\r\nAction=" + std::to_string(i) +
               "\r\nAlign=1\r\nXcoord=20\r\nYcoord=4\r\nVisibility=0\r\nButtonImage=button" +
               std::to_string(i) + ".bmp\r\n";
    ini +=
        "[MDICONTROLS]\r\nImage=mdi.bmp\r\n[Buttons]\r\nBitmap=button.bmp\r\nCheckButton=check.bmp\r\n"
        "RadioButton=radio.bmp\r\nLeftWidth=3\r\nRightWidth=3\r\nTopHeight=3\r\nBottomHeight=3\r\nTrans=1\r\n"
        "Tile=0\r\nNormalColour2=0 0 0\r\n[Progress]\r\nBitmap=progress.bmp\r\nStyle=0\r\n";
    for (const char* section : {"Progress.Chunk",
                                "GroupBoxEdge",
                                "GroupBox",
                                "Tabs",
                                "StatusBarEdges",
                                "Tab.Pane",
                                "ToolBars",
                                "ComboButton",
                                "SunkEdge",
                                "ExtraImages",
                                "Headerbar",
                                "MenuItem",
                                "MenuBackground",
                                "Scrollbar",
                                "HorzScroll",
                                "VertScroll",
                                "HorzScrollThumb",
                                "VertScrollThumb",
                                "Trackbar.ThumbHorz",
                                "Trackbar.ThumbVert",
                                "Trackbar.ThumbLeft",
                                "Trackbar.ThumbRight",
                                "Trackbar.ThumbUp",
                                "Trackbar.ThumbDown",
                                "UpDown.Horz",
                                "UpDown.Vert",
                                "Track",
                                "TRACKVERT"})
        ini += std::string("[") + section + "]\r\nImage=" + section +
               ".bmp\r\nLeftWidth=4\r\nTopHeight=4\r\n"
               "RightWidth=4\r\nBottomHeight=4\r\nTrans=1\r\nTile=0\r\nFrame=5\r\n";
    return ini;
}

// The lookups of one skin load, section by section, in the loader's order.
std::size_t ReadWholeSkin(const TQuickIni& ini) {
    std::size_t lookups = 0;
    std::int64_t sink = 0;
    auto integer = [&](const char* section, const std::string& key, std::int32_t def) {
        ++lookups;
        sink += ini.ReadInteger(section, key, def);
    };
    auto text = [&](const char* section, const std::string& key) {
        ++lookups;
        sink += static_cast<std::int64_t>(ini.ReadString(section, key, std::string()).size());
    };
    for (const std::string p : {"Left", "Right", "Top", "Bottom"}) {
        for (const char* suffix : {"TopHeight", "BotHeight", "Frame", "Stretch", "Trans"})
            integer("Personality", p + suffix, 0);
        text("Personality", p);
    }
    for (const char* key : {"WindowText", "ButtonFace", "Scrollbar", "HilightText", "Hilight", "Menubar",
                            "Menu", "MenuText", "ButtonText", "ButtonHilight", "Buttonlight", "ButtonShadow",
                            "ButtonDkShadow", "MenuBarText", "TitleTextActive", "TitleTextNoActive"})
        text("Colours", key);
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    for (const std::string& section : sections) {
        if (section.starts_with("COLOUR")) {
            text(section.c_str(), "color");
        } else if (section.starts_with("BUTTON")) {
            for (const char* key : {"Action", "Visibility", "Action", "Align", "Xcoord", "Ycoord",
                                    "Visibility", "Visibility1", "CombineOp", "frame"})
                integer(section.c_str(), key, 0);
            text(section.c_str(), "ButtonImage");
        }
    }
    text("MDICONTROLS", "Image");
    for (const char* key :
         {"LeftWidth", "RightWidth", "TopHeight", "BottomHeight", "Trans", "Tile", "NormalColour",
          "MouseOverColour", "PressedColour", "RadioButtonFrame", "CheckButtonFrame"})
        integer("Buttons", key, 0);
    for (const char* key :
         {"Bitmap", "CheckButton", "RadioButton", "NormalColour2", "MouseOverColour2", "PressedColour2"})
        text("Buttons", key);
    text("Personality", "TextBack");
    for (const char* key : {"TextShift", "TextShiftVert", "TextRightClip", "TextAlignment", "Textbackground",
                            "TXTBackleft", "TXTBackRight", "ActiveTextR", "ActiveTextG", "ActiveTextB",
                            "InActiveTextR", "InActiveTextG", "InActiveTextB"})
        integer("Personality", key, -1);
    integer("Fonts", "FontHeight", 14);
    text("Progress", "Bitmap");
    for (const char* key : {"Style", "LeftWidth", "RightWidth", "TopHeight", "BottomHeight", "Trans", "Tile"})
        integer("Progress", key, 0);
    text("Personality", "menuBar");
    for (const char* key : {"TileMenu", "TileLeftMenu", "TileRightMenu"})
        integer("Personality", key, 1);
    for (const char* section : {"Progress.Chunk",
                                "GroupBoxEdge",
                                "GroupBox",
                                "Tabs",
                                "StatusBarEdges",
                                "Tab.Pane",
                                "ToolBars",
                                "ComboButton",
                                "SunkEdge",
                                "ExtraImages",
                                "Headerbar",
                                "MenuItem",
                                "MenuBackground",
                                "Scrollbar",
                                "HorzScroll",
                                "VertScroll",
                                "HorzScrollThumb",
                                "VertScrollThumb",
                                "Trackbar.ThumbHorz",
                                "Trackbar.ThumbVert",
                                "Trackbar.ThumbLeft",
                                "Trackbar.ThumbRight",
                                "Trackbar.ThumbUp",
                                "Trackbar.ThumbDown",
                                "UpDown.Horz",
                                "UpDown.Vert",
                                "Track",
                                "TRACKVERT"}) {
        text(section, "Image");
        for (const char* key : {"Style", "LeftWidth", "RightWidth", "TopHeight", "BottomHeight", "Frame",
                                "Trans", "Tile", "NormalColour", "MouseOverColour", "PressedColour"})
            integer(section, key, 0);
        for (const char* key : {"NormalColour2", "MouseOverColour2", "PressedColour2"})
            text(section, key);
    }
    for (const char* section : {"HorzScrollThumb", "VertScrollThumb"})
        integer(section, "FrameCount", 3);
    text("Tabs", "Border");
    text("ComboButton", "****");
    text("UpDown.Horz", "GlyphImage");
    text("UpDown.Vert", "GlyphImage");
    for (const char* key : {"BackgroundAlignment", "BackgroundLeftShift", "BackgroundRightShift"})
        integer("GroupBox", key, 0);
    benchmark::DoNotOptimize(sink);
    return lookups;
}

void BM_IniLoad(benchmark::State& state) {
    const std::string text = SkinIni();
    for (auto _ : state) {
        TQuickIni ini;
        ini.LoadFromText(text);
        benchmark::DoNotOptimize(&ini);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_IniLoad);

void BM_IniLookupsOfASkinLoad(benchmark::State& state) {
    TQuickIni ini;
    ini.LoadFromText(SkinIni());
    std::size_t lookups = 0;
    for (auto _ : state)
        lookups += ReadWholeSkin(ini);
    state.SetItemsProcessed(static_cast<std::int64_t>(lookups));
    state.counters["lookups_per_load"] =
        static_cast<double>(lookups) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_IniLookupsOfASkinLoad);

// A package shaped like the program's own skin: 33 bitmaps and a 10 KB INI, about 92 KB decoded.
std::vector<std::uint8_t> SkinPackageFile(std::vector<std::string>& names) {
    std::vector<TSkinPackEntry> entries;
    for (int i = 0; i < 33; ++i) {
        std::vector<std::uint8_t> bitmap = {'B', 'M'};
        const auto pixels = BitmapLike(1000 + static_cast<std::size_t>(i) * 100, static_cast<unsigned>(i));
        bitmap.insert(bitmap.end(), pixels.begin(), pixels.end());
        entries.push_back({"element" + std::to_string(i) + ".bmp", bitmap});
    }
    const auto ini = TextLike(10133);
    entries.push_back({"skin.ini", ini});
    for (const auto& entry : entries)
        names.push_back(entry.Name);
    return LzhEncode(BuildSkinPackage(entries));
}

void BM_SkinPackageLoad(benchmark::State& state) {
    std::vector<std::string> names;
    const auto file = SkinPackageFile(names);
    std::int64_t decoded = 0;
    for (auto _ : state) {
        TSkinReader reader;
        benchmark::DoNotOptimize(reader.LoadPackage(file));
        decoded =
            static_cast<std::int64_t>(TSkinReader::HeaderSize + reader.NamesLength()) + 4 * reader.Count();
        for (std::int32_t i = 0; i < reader.Count(); ++i)
            decoded += reader.Size(static_cast<std::size_t>(i));
    }
    state.SetBytesProcessed(state.iterations() * decoded);
}
BENCHMARK(BM_SkinPackageLoad);

void BM_SkinPackageExtractAll(benchmark::State& state) {
    std::vector<std::string> names;
    const auto file = SkinPackageFile(names);
    TSkinReader reader;
    reader.LoadPackage(file);
    std::vector<std::uint8_t> target;
    std::string iniName;
    for (auto _ : state) {
        reader.ExtractFirstMatch(".ini", target, iniName);
        for (const std::string& name : names)
            reader.ExtractEntry(name, target);
        benchmark::DoNotOptimize(target.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(names.size() + 1));
}
BENCHMARK(BM_SkinPackageExtractAll);

} // namespace
