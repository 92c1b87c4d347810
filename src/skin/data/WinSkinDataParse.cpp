// The readers that turn a skin's INI sections into element records, in the order the skin
// data builds them, and the frame counts set after reading.
#include "WinSkinDataElements.h"

#include "BmpDecoder.h"
#include "ImgUtil.h"
#include "SkinRead.h"
#include "SkinText.h"
#include "SysUtils.h"
#include "WinSkinDataBitmaps.h"
#include "WinSkinIni.h"

#include <algorithm>
#include <array>
#include <new>
#include <string>
#include <type_traits>

namespace {

using WinSkinDataBitmaps::CopyArea;

constexpr std::string_view kPersonality = "Personality";
constexpr int kMdiButtons = 3;

// What distinguishes the readers that share the generic one's steps.
struct TReadKeys {
    std::string_view Image = "Image";
    std::string_view Extra;   // key of the second image (border records only)
    bool Frame = true;        // read key "Frame"
    bool Colours = true;      // read the text colours
    std::int32_t TileCap = 0; // what a Tile above 1 becomes
};

constexpr TReadKeys kGenericKeys{};

// Border records and the readers like them do not read "Frame".
TReadKeys BorderKeys(std::string_view extra = {}) {
    TReadKeys keys;
    keys.Extra = extra;
    keys.Frame = false;
    return keys;
}

// The module these routines are linked into: its resources hold the built-in images.
HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

// Title buttons come from sections named "Button..."; these belong to other elements.
bool IsOtherButtonSection(const std::string& upperName) {
    static constexpr std::array<std::string_view, 4> others{"BUTTONS", "BUTTON.RADIO", "BUTTON.CHECKBOX",
                                                            "BUTTON"};
    return std::find(others.begin(), others.end(), upperName) != others.end() ||
           !upperName.starts_with("BUTTON");
}

class TSkinParser {
public:
    TSkinParser(TSkinElements& elements, const TSkinReader& reader, const TQuickIni& ini)
        : FElements(elements), FReader(reader), FIni(ini) {}

    void Run();

private:
    std::int32_t Int(std::string_view section, std::string_view key, std::int32_t defaultValue) const {
        return FIni.ReadInteger(section, key, defaultValue);
    }
    std::string Text(std::string_view section, std::string_view key) const {
        return FIni.ReadString(section, key, std::string());
    }
    void Load(TBitmap& bitmap, std::string_view imageName) const {
        LoadSkinBitmap(FReader, bitmap, imageName);
    }

    void ReadFrameBorder(TDataSkinBorder& border, std::string_view prefix);
    void ReadTitleButtons();
    void ReadMdiImages(std::size_t first);
    void ReadPushButtons();
    void ReadTitle();
    void ReadMenuBar();
    void ReadTextColours(TDataSkinObject& record, std::string_view section);

    // The generic reader and its variants: absent (null) when the image key has no value.
    template <class TRecord>
    std::unique_ptr<TRecord> ReadElement(std::string_view section, const TReadKeys& keys = kGenericKeys);
    template <class TRecord>
    void Read(std::unique_ptr<TRecord>& slot, std::string_view section,
              const TReadKeys& keys = kGenericKeys) {
        slot = ReadElement<TRecord>(section, keys);
    }
    void ReadTrack(std::unique_ptr<TDataSkinObject>& slot, std::string_view section,
                   const char* builtInImage);
    void SetFrameCounts();

    TSkinElements& FElements;
    const TSkinReader& FReader;
    const TQuickIni& FIni;
};

void TSkinParser::Run() {
    TSkinElements& e = FElements;
    ReadFrameBorder(*e.BorderLeft, "Left");
    ReadFrameBorder(*e.BorderRight, "Right");
    ReadFrameBorder(*e.BorderTop, "Top");
    ReadFrameBorder(*e.BorderBottom, "Bottom");
    e.Colors = ReadSkinColorTable(FIni);
    e.Colours = ReadSkinColours(FIni);
    ReadTitleButtons();
    ReadPushButtons();
    ReadTitle();
    TReadKeys progress = BorderKeys();
    progress.Image = "Bitmap";
    progress.Colours = false;
    progress.TileCap = 1;
    Read(e.Progress, "Progress", progress);
    Read(e.ProgressChunk, "Progress.Chunk");
    ReadMenuBar();
    Read(e.GroupBoxEdge, "GroupBoxEdge");
    Read(e.GroupBox, "GroupBox", BorderKeys());
    if (e.GroupBox) {
        e.GroupBox->BackgroundAlignment = Int("GroupBox", "BackgroundAlignment", 0);
        e.GroupBox->BackgroundLeftShift = Int("GroupBox", "BackgroundLeftShift", 0);
        e.GroupBox->BackgroundRightShift = Int("GroupBox", "BackgroundRightShift", 0);
    }
    Read(e.Tabs, "Tabs", BorderKeys("Border"));
    Read(e.StatusBarEdges, "StatusBarEdges");
    Read(e.TabPane, "Tab.Pane");
    if (e.TabPane) {
        // The tab painters leave room for at most four pixels of edge.
        for (std::int32_t* margin :
             {&e.TabPane->LeftWidth, &e.TabPane->TopHeight, &e.TabPane->RightWidth, &e.TabPane->BottomHeight})
            *margin = std::min(*margin, 4);
    }
    Read(e.ToolBars, "ToolBars");
    Read(e.ComboButton, "ComboButton", BorderKeys("****"));
    Read(e.SunkEdge, "SunkEdge");
    Read(e.ExtraImages, "ExtraImages");
    Read(e.Headerbar, "Headerbar");
    Read(e.MenuItem, "MenuItem");
    Read(e.MenuBackground, "MenuBackground");
    Read(e.Scrollbar, "Scrollbar");
    Read(e.HorzScroll, "HorzScroll");
    Read(e.VertScroll, "VertScroll");
    Read(e.HorzScrollThumb, "HorzScrollThumb");
    Read(e.VertScrollThumb, "VertScrollThumb");
    Read(e.TrackbarThumbHorz, "Trackbar.ThumbHorz");
    Read(e.TrackbarThumbVert, "Trackbar.ThumbVert");
    Read(e.TrackbarThumbLeft, "Trackbar.ThumbLeft");
    Read(e.TrackbarThumbRight, "Trackbar.ThumbRight");
    Read(e.TrackbarThumbUp, "Trackbar.ThumbUp");
    Read(e.TrackbarThumbDown, "Trackbar.ThumbDown");
    Read(e.UpDownHorz, "UpDown.Horz", BorderKeys("GlyphImage"));
    Read(e.UpDownVert, "UpDown.Vert", BorderKeys("GlyphImage"));
    ReadTrack(e.Track, "Track", BuiltInTrackImage);
    ReadTrack(e.TrackVert, "TRACKVERT", BuiltInTrackVertImage);
    SetFrameCounts();
}

void TSkinParser::ReadFrameBorder(TDataSkinBorder& border, std::string_view prefix) {
    const std::string p(prefix);
    const std::int32_t fixedStart = Int(kPersonality, p + "TopHeight", 0);
    const std::int32_t fixedEnd = Int(kPersonality, p + "BotHeight", 0);
    // The same two keys give the fixed ends along the border's length.
    const bool upright = prefix == "Left" || prefix == "Right";
    border.LeftWidth = upright ? 0 : fixedStart;
    border.RightWidth = upright ? 0 : fixedEnd;
    border.TopHeight = upright ? fixedStart : 0;
    border.BottomHeight = upright ? fixedEnd : 0;
    border.Frame = Int(kPersonality, p + "Frame", 1);
    border.Tile = std::min(Int(kPersonality, p + "Stretch", 1), 1);
    border.Trans = Int(kPersonality, p + "Trans", 1);
    Load(border.Bitmap, Text(kPersonality, prefix));
}

void TSkinParser::ReadTextColours(TDataSkinObject& record, std::string_view section) {
    record.NormalColour = Int(section, "NormalColour", -1);
    record.MouseOverColour = Int(section, "MouseOverColour", -1);
    record.PressedColour = Int(section, "PressedColour", -1);
    const TColor text = FElements.Colors.ButtonText;
    record.NormalColour2 = ParseSkinColor(Text(section, "NormalColour2"), text);
    record.MouseOverColour2 = ParseSkinColor(Text(section, "MouseOverColour2"), text);
    record.PressedColour2 = ParseSkinColor(Text(section, "PressedColour2"), text);
}

template <class TRecord>
std::unique_ptr<TRecord> TSkinParser::ReadElement(std::string_view section, const TReadKeys& keys) {
    const std::string image = Text(section, keys.Image);
    if (image.empty())
        return nullptr;
    auto record = std::make_unique<TRecord>(std::string(section));
    Load(record->Bitmap, image);
    if constexpr (std::is_base_of_v<TDataSkinBorder, TRecord>) {
        if (!keys.Extra.empty()) {
            const std::string extra = Text(section, keys.Extra);
            if (!extra.empty())
                Load(record->ExtraBitmap, extra);
        }
    }
    record->Style = Int(section, "Style", 0);
    record->LeftWidth = Int(section, "LeftWidth", 0);
    record->RightWidth = Int(section, "RightWidth", 0);
    record->TopHeight = Int(section, "TopHeight", 0);
    record->BottomHeight = Int(section, "BottomHeight", 0);
    if (keys.Frame)
        record->Frame = Int(section, "Frame", 0);
    record->Trans = Int(section, "Trans", 0);
    record->Tile = Int(section, "Tile", 0);
    if (keys.Colours)
        ReadTextColours(*record, section);
    if (record->Tile > 1)
        record->Tile = keys.TileCap;
    return record;
}

void TSkinParser::ReadTitleButtons() {
    std::vector<std::string> sections;
    FIni.ReadSections(sections);
    // The MDI buttons are named after the last section name looked at.
    std::string lastName;
    std::vector<std::string> kept;
    for (auto it = sections.rbegin(); it != sections.rend(); ++it) {
        lastName = SkinText::UpperCase(*it);
        if (IsOtherButtonSection(lastName))
            continue;
        if (Int(lastName, "Action", 0) == -1 && Int(lastName, "Visibility", -1) != 0)
            continue;
        kept.push_back(lastName);
    }
    std::reverse(kept.begin(), kept.end());

    auto& buttons = FElements.SysButtons;
    buttons.clear();
    buttons.reserve(kept.size() + kMdiButtons);
    for (const std::string& name : kept) {
        lastName = name;
        auto b = std::make_unique<TDataSkinSysButton>(name);
        b->Action = Int(name, "Action", 0);
        b->Align = Int(name, "Align", 0);
        b->Xcoord = Int(name, "Xcoord", 0);
        b->Ycoord = Int(name, "Ycoord", 0);
        b->Visibility = Int(name, "Visibility", 0);
        b->Visibility1 = Int(name, "Visibility1", b->Action == -1 ? -1 : 0);
        b->CombineOp = Int(name, "CombineOp", -1);
        b->Frame = Int(name, "frame", 0);
        Load(b->Bitmap, Text(name, "ButtonImage"));
        if (b->Frame == 0) {
            // No count given: a strip about as wide as three square frames has three.
            b->Frame = 6;
            if (!b->Bitmap.Empty()) {
                const double ratio = static_cast<double>(b->Bitmap.Width()) / b->Bitmap.Height();
                b->Frame = ratio <= 3.8 ? 3 : 6;
                if (b->Action < 0)
                    b->Frame = 6;
            }
            // The system-menu button shows the window icon, not an image.
            if (b->Action == 3 || b->Action == 11)
                b->Bitmap.Assign(nullptr);
        }
        buttons.push_back(std::move(b));
    }
    const std::size_t first = buttons.size();
    for (int i = 0; i < kMdiButtons; ++i) {
        auto b = std::make_unique<TDataSkinSysButton>(lastName);
        b->Action = 7 + i; // minimise, restore, close of a maximised MDI child
        b->Align = b->Visibility = b->Visibility1 = 100;
        b->Frame = 4;
        buttons.push_back(std::move(b));
    }
    ReadMdiImages(first);
}

void TSkinParser::ReadMdiImages(std::size_t first) {
    TBitmap strip;
    Load(strip, Text("MDICONTROLS", "Image"));
    if (strip.Empty())
        return;
    // Twelve frames: four each for minimise, restore and close.
    const int q = strip.Width() / 12;
    const int h = strip.Height();
    for (int i = 0; i < kMdiButtons; ++i) {
        TDataSkinSysButton& b = *FElements.SysButtons[first + static_cast<std::size_t>(i)];
        CopyArea(b.Bitmap, strip, Rect(4 * q * i, 0, 4 * q * (i + 1), h));
        b.Xcoord = (q + 4) * (3 - i);
    }
}

void TSkinParser::ReadPushButtons() {
    constexpr std::string_view s = "Buttons";
    TDataSkinButton& b = *FElements.Buttons;
    b.LeftWidth = Int(s, "LeftWidth", 0);
    b.RightWidth = Int(s, "RightWidth", 0);
    b.TopHeight = Int(s, "TopHeight", 0);
    b.BottomHeight = Int(s, "BottomHeight", 0);
    b.Trans = Int(s, "Trans", 0);
    b.Tile = Int(s, "Tile", 0);
    Load(b.Bitmap, Text(s, "Bitmap"));
    Load(b.CheckBitmap, Text(s, "CheckButton"));
    Load(b.RadioBitmap, Text(s, "RadioButton"));
    b.RadioFrames = Int(s, "RadioButtonFrame", 0);
    b.CheckFrames = Int(s, "CheckButtonFrame", 0);
    if (b.Tile > 1)
        b.Tile = 0;
    b.HasNormalColour2 = Text(s, "NormalColour2").empty() ? 0 : 1;
    b.HasMouseOverColour2 = Text(s, "MouseOverColour2").empty() ? 0 : 1;
    b.HasPressedColour2 = Text(s, "PressedColour2").empty() ? 0 : 1;
    ReadTextColours(b, s);
}

void TSkinParser::ReadTitle() {
    TDataSkinTitle& t = *FElements.Title;
    Load(t.Bitmap, Text(kPersonality, "TextBack"));
    t.LeftWidth = Int(kPersonality, "TextShift", 0);
    t.TopHeight = Int(kPersonality, "TextShiftVert", 0);
    t.RightWidth = Int(kPersonality, "TextRightClip", 0);
    t.BottomHeight = 0;
    t.TextAlignment = Int(kPersonality, "TextAlignment", 0);
    t.TextBackground = Int(kPersonality, "Textbackground", 0);
    t.TextBackLeft = Int(kPersonality, "TXTBackleft", 0);
    t.TextBackRight = Int(kPersonality, "TXTBackRight", 0);
    t.FontHeight = Int("Fonts", "FontHeight", 14);
    // A colour counts only when all three of its components are given.
    auto textColor = [&](const std::string& key) {
        const std::int32_t r = Int(kPersonality, key + "R", -1);
        const std::int32_t g = Int(kPersonality, key + "G", -1);
        const std::int32_t b = Int(kPersonality, key + "B", -1);
        if (r < 0 || g < 0 || b < 0)
            return clNone;
        return RGBColor(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                        static_cast<std::uint8_t>(b));
    };
    t.ActiveTextColor = textColor("ActiveText");
    t.InactiveTextColor = textColor("InActiveText");
}

void TSkinParser::ReadMenuBar() {
    const std::string image = Text(kPersonality, "menuBar");
    if (image.empty()) {
        FElements.MenuBar.reset();
        return;
    }
    auto m = std::make_unique<TDataSkinObject>("MenuBar");
    Load(m->Bitmap, image);
    m->TopHeight = m->BottomHeight = 0;
    m->Tile = std::min(Int(kPersonality, "TileMenu", 1), 1);
    m->LeftWidth = Int(kPersonality, "TileLeftMenu", 1);
    m->RightWidth = Int(kPersonality, "TileRightMenu", 1);
    FElements.MenuBar = std::move(m);
}

void TSkinParser::ReadTrack(std::unique_ptr<TDataSkinObject>& slot, std::string_view section,
                            const char* builtInImage) {
    Read(slot, section);
    if (slot)
        return;
    auto track = std::make_unique<TDataSkinObject>(std::string(section));
    try {
        track->Bitmap.LoadFromResourceName(ThisModule(), builtInImage);
    } catch (const Exception&) {
        return; // a program built without the images: the track keeps its native look
    }
    track->LeftWidth = track->TopHeight = track->RightWidth = track->BottomHeight = 3;
    track->Tile = 0;
    track->Frame = 1;
    slot = std::move(track);
}

// Check-box and radio-button strips hold square frames of 13 or 16 pixels.
int CheckFramesOf(TBitmap& bitmap) {
    return std::max(bitmap.Width() / (bitmap.Height() < 16 ? 13 : 16), 4);
}

// Frames per element: the counts the painters rely on, whatever the skin wrote.
template <class TRecord>
void SetFrames(const std::unique_ptr<TRecord>& record, std::int32_t frames) {
    if (record)
        record->Frame = frames;
}

void TSkinParser::SetFrameCounts() {
    TSkinElements& e = FElements;
    TDataSkinButton& b = *e.Buttons;
    b.Frame = 5;
    if (b.RadioFrames == 0)
        b.RadioFrames = CheckFramesOf(b.RadioBitmap);
    if (b.CheckFrames == 0)
        b.CheckFrames = CheckFramesOf(b.CheckBitmap);
    e.Title->Frame = 2;
    if (e.Progress)
        e.Progress->Frame = e.Progress->Style != 0 ? 1 : 2;
    SetFrames(e.MenuBar, 2);
    SetFrames(e.GroupBoxEdge, 2);
    SetFrames(e.GroupBox, 1);
    SetFrames(e.Tabs, 5);
    SetFrames(e.StatusBarEdges, 3);
    SetFrames(e.TabPane, 1);
    SetFrames(e.ToolBars, 5);
    SetFrames(e.ComboButton, 4);
    SetFrames(e.SunkEdge, 4);
    SetFrames(e.ExtraImages, 5);
    if (e.Headerbar && e.Headerbar->Frame == 0)
        e.Headerbar->Frame = 5;
    SetFrames(e.MenuItem, 5);
    SetFrames(e.MenuBackground, 1);
    SetFrames(e.Scrollbar, 23);
    SetFrames(e.HorzScroll, 4);
    SetFrames(e.VertScroll, 4);
    SetFrames(e.HorzScrollThumb, Int("HorzScrollThumb", "FrameCount", 3));
    SetFrames(e.VertScrollThumb, Int("VertScrollThumb", "FrameCount", 3));
    for (auto* thumb : {&e.TrackbarThumbHorz, &e.TrackbarThumbVert, &e.TrackbarThumbLeft,
                        &e.TrackbarThumbRight, &e.TrackbarThumbUp, &e.TrackbarThumbDown})
        SetFrames(*thumb, 5);
    SetFrames(e.UpDownHorz, 8);
    SetFrames(e.UpDownVert, 8);
    // The combo button drawn for right-to-left fields.
    if (e.ComboButton && !e.ComboButton->Bitmap.Empty()) {
        WinSkinDataBitmaps::Copy24(e.ComboButton->ExtraBitmap, e.ComboButton->Bitmap);
        MirrorBitmap(e.ComboButton->ExtraBitmap.PixelView());
    }
}

} // namespace

TSkinElements::TSkinElements()
    : BorderLeft(std::make_unique<TDataSkinBorder>("Left")),
      BorderRight(std::make_unique<TDataSkinBorder>("Right")),
      BorderTop(std::make_unique<TDataSkinBorder>("Top")),
      BorderBottom(std::make_unique<TDataSkinBorder>("Bottom")),
      Buttons(std::make_unique<TDataSkinButton>("Buttons")),
      Title(std::make_unique<TDataSkinTitle>("Title")) {}

void LoadSkinBitmap(const TSkinReader& reader, TBitmap& bitmap, std::string_view imageName) {
    const std::size_t slash = imageName.find_last_of("\\/:");
    const std::string_view fileName =
        slash == std::string_view::npos ? imageName : imageName.substr(slash + 1);
    const std::size_t dot = fileName.find_last_of('.');
    const std::string_view extension =
        dot == std::string_view::npos ? std::string_view() : fileName.substr(dot);
    std::vector<std::uint8_t> entry;
    if (!fileName.empty() && extension == ".bmp")
        reader.ExtractEntry(fileName, entry);
    if (entry.empty()) {
        bitmap.Assign(nullptr);
        return;
    }
    try {
        bitmap.AssignImage(DecodeBmp(entry));
    } catch (const EInvalidGraphic&) {
        // A damaged image counts as a missing one: the element falls back to plain drawing.
        bitmap.Assign(nullptr);
    } catch (const EOutOfResources&) {
        bitmap.Assign(nullptr);
    } catch (const std::bad_alloc&) {
        bitmap.Assign(nullptr);
    }
}

void ParseSkin(TSkinElements& elements, const TSkinReader& reader, const TQuickIni& ini) {
    TSkinParser(elements, reader, ini).Run();
    BuildDerivedImages(elements);
}
