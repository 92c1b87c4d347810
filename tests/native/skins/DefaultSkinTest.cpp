// The checked-in default skin is exactly what skingen draws, and it has the shape the engine
// relies on: every image the INI names exists as a 24-bit ".bmp", frames divide the images,
// margins leave something to stretch, the window borders cut the same region in both states,
// and pictures the engine copies without transparency have no key colour in them.
#include "BmpDecoder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

// The skin INI as the engine reads it: sections and keys without regard to case, the first
// occurrence wins, ";" starts a comment line.
class TIni {
public:
    explicit TIni(const std::string& text) {
        std::string line;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            if (i < text.size() && text[i] != '\n') {
                line += text[i];
                continue;
            }
            const std::string t = Trim(line);
            line.clear();
            if (t.empty() || t[0] == ';')
                continue;
            if (t.front() == '[' && t.back() == ']') {
                FOrder.push_back(t.substr(1, t.size() - 2));
                FSections.emplace(Lower(FOrder.back()), std::vector<std::pair<std::string, std::string>>{});
                FCurrent = &FSections[Lower(FOrder.back())];
            } else if (FCurrent && t.find('=') != std::string::npos) {
                const auto eq = t.find('=');
                FCurrent->emplace_back(Lower(Trim(t.substr(0, eq))), Trim(t.substr(eq + 1)));
            }
        }
    }

    const std::vector<std::string>& Sections() const { return FOrder; }
    bool Has(const std::string& section) const { return FSections.contains(Lower(section)); }
    std::string Value(const std::string& section, const std::string& key) const {
        const auto s = FSections.find(Lower(section));
        if (s == FSections.end())
            return {};
        for (const auto& [k, v] : s->second)
            if (k == Lower(key))
                return v;
        return {};
    }
    int Int(const std::string& section, const std::string& key, int fallback) const {
        const std::string v = Value(section, key);
        return v.empty() ? fallback : std::stoi(v);
    }
    std::vector<std::pair<std::string, std::string>> Keys(const std::string& section) const {
        return FSections.at(Lower(section));
    }

private:
    std::vector<std::string> FOrder;
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> FSections;
    std::vector<std::pair<std::string, std::string>>* FCurrent = nullptr;
};

struct TPicture {
    TBmpImage Image;
    bool IsKey(int x, int y) const {
        const TRgbQuad c = PixelColor(Image, x, y);
        return c.Red == 255 && c.Green == 0 && c.Blue == 255;
    }
};

// One frame of an image: frames side by side unless stacked.
struct TFrame {
    const TPicture* Picture;
    int X0, Y0, W, H;
    bool IsKey(int x, int y) const { return Picture->IsKey(X0 + x, Y0 + y); }
};

TFrame FrameOf(const TPicture& p, int frames, int index, bool stacked) {
    const int w = stacked ? p.Image.Width : p.Image.Width / frames;
    const int h = stacked ? p.Image.Height / frames : p.Image.Height;
    return {&p, stacked ? 0 : w * (index - 1), stacked ? h * (index - 1) : 0, w, h};
}

class DefaultSkin : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::vector<std::uint8_t> text = ReadFile(fs::path(TW_SKIN_DIR) / "skin.ini");
        Ini = new TIni(std::string(text.begin(), text.end()));
    }
    static void TearDownTestSuite() {
        delete Ini;
        Ini = nullptr;
    }

    static const TPicture& Picture(const std::string& section, const std::string& key) {
        static std::map<std::string, TPicture> cache;
        const std::string name = Ini->Value(section, key);
        EXPECT_FALSE(name.empty()) << "[" << section << "] " << key << " names no image";
        auto it = cache.find(name);
        if (it == cache.end())
            it = cache.emplace(name, TPicture{DecodeBmp(ReadFile(fs::path(TW_SKIN_DIR) / name))}).first;
        return it->second;
    }

    static inline TIni* Ini = nullptr;
};

int RunSkingen(const std::string& arguments) {
    const int status = std::system((std::string(TW_SKINGEN) + " " + arguments + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::set<std::string> FilesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.is_regular_file() &&
            (entry.path().extension() == ".bmp" || entry.path().extension() == ".ini"))
            names.insert(entry.path().filename().string());
    return names;
}

// A folder of the running test's own: CTest runs tests, parameterised ones too, side by side.
fs::path TestFolder(const std::string& stem) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = stem + "-" + info->test_suite_name() + "-" + info->name();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-')
            c = '_';
    return fs::temp_directory_path() / name;
}

TEST(DefaultSkinFiles, CheckedInFilesMatchTheGenerator) {
    const fs::path dir = TestFolder("tw-skingen-test");
    fs::remove_all(dir);
    ASSERT_EQ(RunSkingen(dir.string()), 0);
    const std::set<std::string> fresh = FilesIn(dir);
    EXPECT_EQ(fresh, FilesIn(TW_SKIN_DIR)) << "files were added or removed: run skingen skins/default";
    for (const std::string& name : fresh)
        EXPECT_TRUE(ReadFile(dir / name) == ReadFile(fs::path(TW_SKIN_DIR) / name))
            << name << " is out of date: run skingen skins/default and commit the result";
    fs::remove_all(dir);
}

bool IsKeyPixel(const TBmpImage& image, int x, int y) {
    const TRgbQuad c = PixelColor(image, x, y);
    return c.Red == 255 && c.Green == 0 && c.Blue == 255;
}

class Recoloured : public ::testing::TestWithParam<const char*> {};

// Re-coloured skins keep every transparent area (so the window region and the controls keep
// their shapes), also when the chosen colour is the key colour itself.
TEST_P(Recoloured, KeepsEveryShapeAndChangesTheColours) {
    const fs::path dir = TestFolder("tw-skingen-recoloured");
    fs::remove_all(dir);
    ASSERT_EQ(RunSkingen(dir.string() + " " + GetParam()), 0);
    ASSERT_EQ(FilesIn(dir), FilesIn(TW_SKIN_DIR));
    int changed = 0;
    for (const std::string& name : FilesIn(dir)) {
        if (!name.ends_with(".bmp"))
            continue;
        const TBmpImage other = DecodeBmp(ReadFile(dir / name));
        const TBmpImage blue = DecodeBmp(ReadFile(fs::path(TW_SKIN_DIR) / name));
        ASSERT_EQ(other.Width, blue.Width) << name;
        ASSERT_EQ(other.Height, blue.Height) << name;
        for (int y = 0; y < blue.Height; ++y)
            for (int x = 0; x < blue.Width; ++x)
                ASSERT_EQ(IsKeyPixel(other, x, y), IsKeyPixel(blue, x, y))
                    << name << " changes its transparent area at " << x << "," << y;
        changed += other.Pixels != blue.Pixels;
    }
    EXPECT_GT(changed, 30) << "the colour options hardly change the pictures";
    fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(DefaultSkinFiles, Recoloured,
                         ::testing::Values("--accent 2EA043 --face FAFAFA", "--accent FF00FF --title FF00FF",
                                           "--title 404850 --face E8E8E8", "--accent F2C230 --title E9EDF2"));

TEST(DefaultSkinFiles, ReviewOutputsCoverEveryBitmap) {
    const fs::path dir = TestFolder("tw-skingen-review");
    fs::remove_all(dir);
    ASSERT_EQ(RunSkingen((dir / "skin").string() + " --legend " + (dir / "legend.txt").string() +
                         " --preview " + (dir / "preview.bmp").string()),
              0);
    const std::vector<std::uint8_t> legendBytes = ReadFile(dir / "legend.txt");
    const std::string legend(legendBytes.begin(), legendBytes.end());
    for (const std::string& name : FilesIn(TW_SKIN_DIR))
        if (name.ends_with(".bmp")) {
            EXPECT_NE(legend.find(". " + name + "  "), std::string::npos)
                << name << " is missing from the legend";
        }
    const TBmpImage preview = DecodeBmp(ReadFile(dir / "preview.bmp"));
    EXPECT_GT(preview.Width, 780) << "the preview shows the 780-pixel main window";
    fs::remove_all(dir);
}

TEST(DefaultSkinFiles, BadColourOptionsAreRefused) {
    const fs::path dir = TestFolder("tw-skingen-refused");
    EXPECT_EQ(RunSkingen(dir.string() + " --accent 12345"), 2);
    EXPECT_EQ(RunSkingen(dir.string() + " --accent blue!!"), 2);
    EXPECT_EQ(RunSkingen(dir.string() + " --title"), 2);
    EXPECT_EQ(RunSkingen("--face FFFFFF"), 2);
    EXPECT_FALSE(fs::exists(dir));
}

TEST_F(DefaultSkin, EveryNamedImageIsALowerCase24BitBitmapAndEveryBitmapIsNamed) {
    std::set<std::string> named;
    for (const std::string& section : Ini->Sections())
        for (const auto& [key, value] : Ini->Keys(section)) {
            if (Lower(value).find(".bmp") == std::string::npos)
                continue;
            // The engine loads only names ending in exactly ".bmp"; entries are stored lower case.
            EXPECT_EQ(value, Lower(value)) << "[" << section << "] " << key;
            EXPECT_TRUE(value.ends_with(".bmp")) << "[" << section << "] " << key;
            EXPECT_EQ(value.find_first_of("/\\:"), std::string::npos) << value;
            named.insert(value);
        }
    std::set<std::string> files = FilesIn(TW_SKIN_DIR);
    files.erase("skin.ini");
    EXPECT_EQ(named, files);
    for (const std::string& name : files) {
        const TBmpImage image = DecodeBmp(ReadFile(fs::path(TW_SKIN_DIR) / name));
        EXPECT_EQ(image.BitsPerPixel, 24) << name;
        for (int y = 0; y < image.Height; ++y)
            for (int x = 0; x < image.Width; ++x) {
                // Green 1 on magenta falls inside the region's key tolerance: never use it.
                const TRgbQuad c = PixelColor(image, x, y);
                ASSERT_FALSE(c.Red == 255 && c.Green == 1 && c.Blue == 255) << name << " " << x << "," << y;
            }
    }
}

TEST_F(DefaultSkin, FramesDivideTheImagesAndMarginsLeaveAMiddle) {
    struct TElement {
        std::string Section, Key;
        int Frames;
        bool Stacked;
        bool NineGrid;
    };
    const int checks = Ini->Int("Buttons", "CheckButtonFrame", 0);
    const int radios = Ini->Int("Buttons", "RadioButtonFrame", 0);
    const std::vector<TElement> elements = {
        {"Personality", "Left", Ini->Int("Personality", "LeftFrame", 1), false, false},
        {"Personality", "Right", Ini->Int("Personality", "RightFrame", 1), false, false},
        {"Personality", "Top", Ini->Int("Personality", "TopFrame", 1), true, false},
        {"Personality", "Bottom", Ini->Int("Personality", "BottomFrame", 1), true, false},
        {"Personality", "TextBack", 2, true, false},
        {"Personality", "menuBar", 2, true, false},
        {"MDICONTROLS", "Image", 12, false, false},
        {"Buttons", "Bitmap", 5, false, true},
        {"Buttons", "CheckButton", checks, false, false},
        {"Buttons", "RadioButton", radios, false, false},
        {"Progress", "Bitmap", Ini->Int("Progress", "Style", 0) == 0 ? 2 : 1, false, true},
        {"Progress.Chunk", "Image", Ini->Int("Progress.Chunk", "Frame", 1), false, false},
        {"GroupBoxEdge", "Image", 2, false, true},
        {"GroupBox", "Image", 1, false, true},
        {"Tabs", "Image", 5, false, true},
        {"Tabs", "Border", 1, false, false},
        {"StatusBarEdges", "Image", 3, false, true},
        {"Tab.Pane", "Image", 1, false, true},
        {"ToolBars", "Image", 5, false, true},
        {"ComboButton", "Image", 4, false, true},
        {"SunkEdge", "Image", 4, false, true},
        {"ExtraImages", "Image", 5, false, false},
        {"Headerbar", "Image", Ini->Int("Headerbar", "Frame", 0) ? Ini->Int("Headerbar", "Frame", 0) : 5,
         false, true},
        {"MenuItem", "Image", 5, false, true},
        {"MenuBackground", "Image", 1, false, true},
        {"Scrollbar", "Image", 23, false, false},
        {"HorzScroll", "Image", 4, false, true},
        {"VertScroll", "Image", 4, false, true},
        {"HorzScrollThumb", "Image", Ini->Int("HorzScrollThumb", "FrameCount", 3), false, true},
        {"VertScrollThumb", "Image", Ini->Int("VertScrollThumb", "FrameCount", 3), false, true},
        {"Trackbar.ThumbHorz", "Image", 5, false, false},
        {"Trackbar.ThumbVert", "Image", 5, false, false},
        {"Trackbar.ThumbLeft", "Image", 5, false, false},
        {"Trackbar.ThumbRight", "Image", 5, false, false},
        {"Trackbar.ThumbUp", "Image", 5, false, false},
        {"Trackbar.ThumbDown", "Image", 5, false, false},
        {"UpDown.Horz", "Image", 8, false, false},
        {"UpDown.Horz", "GlyphImage", 8, false, false},
        {"UpDown.Vert", "Image", 8, false, false},
        {"UpDown.Vert", "GlyphImage", 8, false, false},
        {"Track", "Image", Ini->Int("Track", "Frame", 1), false, true},
        {"TRACKVERT", "Image", Ini->Int("TRACKVERT", "Frame", 1), false, true},
    };
    for (const TElement& e : elements) {
        SCOPED_TRACE("[" + e.Section + "] " + e.Key);
        ASSERT_GT(e.Frames, 0);
        const TPicture& p = Picture(e.Section, e.Key);
        EXPECT_EQ((e.Stacked ? p.Image.Height : p.Image.Width) % e.Frames, 0);
        if (!e.NineGrid)
            continue;
        const TFrame f = FrameOf(p, e.Frames, 1, e.Stacked);
        EXPECT_LT(Ini->Int(e.Section, "LeftWidth", 0) + Ini->Int(e.Section, "RightWidth", 0), f.W);
        EXPECT_LT(Ini->Int(e.Section, "TopHeight", 0) + Ini->Int(e.Section, "BottomHeight", 0), f.H);
    }
    // Unless a count is given, check and radio strips are cut into 13 (or 16) pixel frames.
    EXPECT_EQ(Picture("Buttons", "CheckButton").Image.Width / checks, 13);
    EXPECT_EQ(Picture("Buttons", "RadioButton").Image.Width / radios, 13);
    // Scroll-bar parts are squares of the bar's thickness, within 2 pixels of the platform's 17.
    const TPicture& parts = Picture("Scrollbar", "Image");
    EXPECT_EQ(parts.Image.Width / 23, parts.Image.Height);
    EXPECT_LE(std::abs(parts.Image.Height - 17), 2);
}

TEST_F(DefaultSkin, WindowBordersCutTheSameRoundedRegionInBothStates) {
    const int title = Picture("Personality", "Top").Image.Height / 2;
    const int top = Ini->Int("Personality", "LeftTopHeight", 0),
              bottom = Ini->Int("Personality", "LeftBotHeight", 0);
    EXPECT_EQ(top, title) << "the side images' fixed top should be the title bar";
    for (const char* side : {"Left", "Right"}) {
        SCOPED_TRACE(side);
        const TPicture& p = Picture("Personality", side);
        const TFrame active = FrameOf(p, 2, 1, false), inactive = FrameOf(p, 2, 2, false);
        const int outer = std::string(side) == "Left" ? 0 : active.W - 1;
        for (int y = 0; y < active.H; ++y)
            for (int x = 0; x < active.W; ++x) {
                ASSERT_EQ(active.IsKey(x, y), inactive.IsKey(x, y)) << x << "," << y;
                if (y >= top && y < active.H - bottom) {
                    ASSERT_FALSE(active.IsKey(x, y)) << "a hole in the stretched part at " << x << "," << y;
                }
            }
        EXPECT_TRUE(active.IsKey(outer, 0)) << "rounded top corner";
        EXPECT_TRUE(active.IsKey(outer, active.H - 1)) << "rounded bottom corner";
        EXPECT_FALSE(active.IsKey(outer, top)) << "the edge below the title is straight";
    }
    const TPicture& t = Picture("Personality", "Top");
    const TFrame active = FrameOf(t, 2, 1, true), inactive = FrameOf(t, 2, 2, true);
    const int l = Ini->Int("Personality", "TopTopHeight", 0), r = Ini->Int("Personality", "TopBotHeight", 0);
    for (int y = 0; y < active.H; ++y)
        for (int x = 0; x < active.W; ++x) {
            ASSERT_EQ(active.IsKey(x, y), inactive.IsKey(x, y)) << x << "," << y;
            if (x >= l && x < active.W - r) {
                ASSERT_FALSE(active.IsKey(x, y)) << "a hole in the stretched title at " << x << "," << y;
            }
        }
    EXPECT_FALSE(active.IsKey(0, active.H - 1));
    EXPECT_FALSE(Picture("Personality", "Bottom").Image.Pixels.empty());
    for (int y = 0; y < Picture("Personality", "Bottom").Image.Height; ++y)
        for (int x = 0; x < Picture("Personality", "Bottom").Image.Width; ++x)
            ASSERT_FALSE(Picture("Personality", "Bottom").IsKey(x, y)) << "the bottom border is whole";
}

TEST_F(DefaultSkin, PicturesCopiedWithoutTransparencyHaveNoKeyColour) {
    // Painted with plain copies whatever their Trans key says, or marked opaque by it.
    std::vector<std::pair<std::string, std::string>> opaque = {
        {"Headerbar", "Image"},     {"StatusBarEdges", "Image"}, {"MenuBackground", "Image"},
        {"Personality", "menuBar"}, {"Tabs", "Border"},          {"Tab.Pane", "Image"},
        {"Track", "Image"},         {"TRACKVERT", "Image"},      {"Personality", "TextBack"}};
    // SunkEdge is the exception: it only reaches the screen through the combo composite, into
    // which it is copied opaque so that its key pixels stay transparent there.
    for (const std::string& section : Ini->Sections())
        if (Ini->Value(section, "Trans") == "0" && !Ini->Value(section, "Image").empty() &&
            Lower(section) != "sunkedge")
            opaque.emplace_back(section, "Image");
    for (const auto& [section, key] : opaque) {
        const TPicture& p = Picture(section, key);
        for (int y = 0; y < p.Image.Height; ++y)
            for (int x = 0; x < p.Image.Width; ++x)
                ASSERT_FALSE(p.IsKey(x, y)) << "[" << section << "] " << key << " at " << x << "," << y;
    }
}

TEST_F(DefaultSkin, CaptionButtonsSitInTheTitleBarWithoutOverlapping) {
    const int title = Picture("Personality", "Top").Image.Height / 2;
    const int right = Picture("Personality", "Right").Image.Width / 2;
    constexpr int kWidth = 400; // any window wider than the buttons
    std::vector<std::pair<int, int>> spans;
    int count = 0;
    for (const std::string& section : Ini->Sections()) {
        const std::string upper = [&] {
            std::string u = section;
            std::transform(u.begin(), u.end(), u.begin(), ::toupper);
            return u;
        }();
        if (!upper.starts_with("BUTTON") || upper == "BUTTONS")
            continue;
        SCOPED_TRACE(section);
        ++count;
        // Without a frame count the reader guesses 3 or 6 frames from the proportions.
        const int frames = Ini->Int(section, "frame", 0);
        ASSERT_GT(frames, 0);
        const TPicture& p = Picture(section, "ButtonImage");
        ASSERT_EQ(p.Image.Width % frames, 0);
        const int w = p.Image.Width / frames, y = Ini->Int(section, "Ycoord", 0);
        const int x = Ini->Int(section, "Align", 0) == 1 ? kWidth - Ini->Int(section, "Xcoord", 0)
                                                         : Ini->Int(section, "Xcoord", 0);
        EXPECT_GE(y, 0);
        EXPECT_LE(y + p.Image.Height, title);
        EXPECT_LE(x + w, kWidth - right);
        // Maximize and restore take turns at one place; nothing else may overlap.
        if (Ini->Int(section, "Visibility", 0) != 1)
            spans.emplace_back(x, x + w);
    }
    EXPECT_EQ(count, 5);
    std::sort(spans.begin(), spans.end());
    for (std::size_t i = 1; i < spans.size(); ++i)
        EXPECT_LE(spans[i - 1].second, spans[i].first);
}

TEST_F(DefaultSkin, ComboFrameCornersFitTheTwoColumnsTheComboKeepsFixed) {
    // The combo box is rebuilt with a left margin of 2: column 2 onwards is stretched, so it
    // must look like the middle of the frame in every row.
    const TPicture& p = Picture("SunkEdge", "Image");
    for (int f = 1; f <= 4; ++f) {
        const TFrame frame = FrameOf(p, 4, f, false);
        for (int y = 0; y < frame.H; ++y) {
            const TRgbQuad a = PixelColor(p.Image, frame.X0 + 2, y);
            const TRgbQuad mid = PixelColor(p.Image, frame.X0 + frame.W / 2, y);
            ASSERT_EQ(a, mid) << "frame " << f << " row " << y;
        }
    }
}

TEST_F(DefaultSkin, ColourTableIsCompleteAndWellFormed) {
    for (const char* key : {"WindowText", "ButtonFace", "Scrollbar", "HilightText", "Hilight", "Menubar",
                            "Menu", "MenuText", "ButtonText", "ButtonHilight", "Buttonlight", "ButtonShadow",
                            "ButtonDkShadow", "MenuBarText", "TitleTextActive", "TitleTextNoActive"}) {
        const std::string value = Ini->Value("Colours", key);
        int r = -1, g = -1, b = -1;
        char extra = 0;
        EXPECT_EQ(std::sscanf(value.c_str(), "%d %d %d %c", &r, &g, &b, &extra), 3) << key << "=" << value;
        for (int c : {r, g, b})
            EXPECT_TRUE(c >= 0 && c <= 255) << key << "=" << value;
    }
    // Text must stand out from what it is drawn on: selected menu items and list rows,
    // menus, buttons.
    auto luminance = [](const std::string& value) {
        int r = 0, g = 0, b = 0;
        std::sscanf(value.c_str(), "%d %d %d", &r, &g, &b);
        return 0.299 * r + 0.587 * g + 0.114 * b;
    };
    for (const auto& [text, back] :
         {std::pair{"HilightText", "Hilight"}, std::pair{"MenuText", "Menu"},
          std::pair{"ButtonText", "ButtonFace"}, std::pair{"MenuBarText", "Menubar"}})
        EXPECT_GT(std::abs(luminance(Ini->Value("Colours", text)) - luminance(Ini->Value("Colours", back))),
                  90)
            << text << " on " << back;
}

} // namespace
