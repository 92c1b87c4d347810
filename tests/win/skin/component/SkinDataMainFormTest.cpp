// The program's main window with its stored skin: loaded while the form is read, every element
// the skin's INI describes present with its picture, and a skin file beside the program that
// replaces the stored one.
#include "SkinDataTestSupport.h"

#include "SkinFiles.h"
#include "SkinPacker.h"
#include "WinSkinIni.h"
#include "Wmain.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string_view>

using namespace skindatatest;

namespace {

using TFormPtr = std::unique_ptr<Tmain, TObjectDeleter>;

TFormPtr CreateMainForm() {
    TFormPtr form(new Tmain(nullptr));
    form->AfterConstruction();
    return form;
}

TQuickIni DefaultSkinIni() {
    TQuickIni ini;
    const auto bytes = ReadFileBytes(std::filesystem::path(TW_SKIN_DIR) / "skin.ini");
    ini.LoadFromStream(bytes);
    return ini;
}

// The optional elements by the INI section that describes them.
struct TElementSection {
    std::string_view Section;
    const TDataSkinObject* (*Get)(const TSkinElements&);
};

#define TW_ELEMENT(section, field)                                                                           \
    {                                                                                                        \
        section, [](const TSkinElements& e) -> const TDataSkinObject* { return e.field.get(); }              \
    }
const TElementSection kSections[] = {
    TW_ELEMENT("Progress", Progress),
    TW_ELEMENT("Progress.Chunk", ProgressChunk),
    TW_ELEMENT("GroupBoxEdge", GroupBoxEdge),
    TW_ELEMENT("GroupBox", GroupBox),
    TW_ELEMENT("Tabs", Tabs),
    TW_ELEMENT("StatusBarEdges", StatusBarEdges),
    TW_ELEMENT("Tab.Pane", TabPane),
    TW_ELEMENT("ToolBars", ToolBars),
    TW_ELEMENT("ComboButton", ComboButton),
    TW_ELEMENT("SunkEdge", SunkEdge),
    TW_ELEMENT("ExtraImages", ExtraImages),
    TW_ELEMENT("Headerbar", Headerbar),
    TW_ELEMENT("MenuItem", MenuItem),
    TW_ELEMENT("MenuBackground", MenuBackground),
    TW_ELEMENT("Scrollbar", Scrollbar),
    TW_ELEMENT("HorzScroll", HorzScroll),
    TW_ELEMENT("VertScroll", VertScroll),
    TW_ELEMENT("HorzScrollThumb", HorzScrollThumb),
    TW_ELEMENT("VertScrollThumb", VertScrollThumb),
    TW_ELEMENT("Trackbar.ThumbHorz", TrackbarThumbHorz),
    TW_ELEMENT("Trackbar.ThumbVert", TrackbarThumbVert),
    TW_ELEMENT("Trackbar.ThumbLeft", TrackbarThumbLeft),
    TW_ELEMENT("Trackbar.ThumbRight", TrackbarThumbRight),
    TW_ELEMENT("Trackbar.ThumbUp", TrackbarThumbUp),
    TW_ELEMENT("Trackbar.ThumbDown", TrackbarThumbDown),
    TW_ELEMENT("UpDown.Horz", UpDownHorz),
    TW_ELEMENT("UpDown.Vert", UpDownVert),
    TW_ELEMENT("Track", Track),
    TW_ELEMENT("TRACKVERT", TrackVert),
};
#undef TW_ELEMENT

// A file standing beside the test program for the length of a test.
class TProgramFolderFile {
public:
    explicit TProgramFolderFile(const std::vector<std::uint8_t>& bytes)
        : FPath(TSkinData::ProgramSkinPath()) {
        std::ofstream(FPath, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    ~TProgramFolderFile() { std::filesystem::remove(FPath); }
    TProgramFolderFile(const TProgramFolderFile&) = delete;
    TProgramFolderFile& operator=(const TProgramFolderFile&) = delete;

private:
    std::string FPath;
};

} // namespace

TEST(SkinDataMainForm, StoredSkinIsTheDefaultSkinFolderPackedAndLoadsWithTheForm) {
    TMessageLog log;
    const TFormPtr form = CreateMainForm();
    ASSERT_NE(form->SkinData1, nullptr);
    TSkinData& skin = *form->SkinData1;
    EXPECT_TRUE(log.Messages().empty());
    EXPECT_FALSE(skin.SkinLoading());
    EXPECT_TRUE(skin.Active());
    // skins/default.skn must be refreshed (pack_default_skin) whenever skins/default changes.
    EXPECT_EQ(skin.SkinFileStream().Bytes(), PackSkinFolder(TW_SKIN_DIR).File)
        << "skins/default.skn is not a fresh pack of skins/default";

    // The settings the main window gives its skin component, after the load's adjustment.
    EXPECT_EQ(skin.DisableTag(), 99);
    EXPECT_EQ(
        GetSetProp(skin, "SkinControls"),
        "xcMainMenu,xcPopupMenu,xcToolbar,xcControlbar,xcCombo,xcCheckBox,xcRadioButton,xcProgress,"
        "xcScrollbar,xcEdit,xcButton,xcBitBtn,xcSpeedButton,xcSpin,xcPanel,xcGroupBox,xcStatusBar,xcTab,"
        "xcTrackBar,xcSystemMenu");
    EXPECT_EQ(GetSetProp(skin, "Options"), "xoPreview,xoToolbarBK");
    EXPECT_EQ(skin.SkinFormtype(), sfMainform);
    EXPECT_TRUE(skin.MenuUpdate());
    EXPECT_FALSE(skin.MenuMerge());
    EXPECT_EQ(skin.Skin3rd()->Count(), 117);
    EXPECT_EQ(skin.SkinStore(), "(none)") << "FormCreate's path is ignored";
}

TEST(SkinDataMainForm, EveryElementTheSkinDescribesIsPresentWithItsPicture) {
    const TFormPtr form = CreateMainForm();
    const TSkinElements& e = form->SkinData1->Elements();
    const TQuickIni ini = DefaultSkinIni();
    for (const TElementSection& entry : kSections) {
        if (ini.FindSection(entry.Section) < 0)
            continue;
        const TDataSkinObject* element = entry.Get(e);
        ASSERT_NE(element, nullptr) << entry.Section;
        EXPECT_FALSE(const_cast<TDataSkinObject*>(element)->Bitmap.Empty()) << entry.Section;
    }
    for (const TDataSkinBorder* border :
         {e.BorderLeft.get(), e.BorderRight.get(), e.BorderTop.get(), e.BorderBottom.get()})
        EXPECT_FALSE(const_cast<TDataSkinBorder*>(border)->Bitmap.Empty()) << border->Name;
    EXPECT_FALSE(e.Title->Bitmap.Empty());
    EXPECT_FALSE(e.Buttons->Bitmap.Empty());
    EXPECT_FALSE(e.Buttons->CheckBitmap.Empty());
    EXPECT_FALSE(e.Buttons->RadioBitmap.Empty());
    ASSERT_NE(e.MenuBar, nullptr);
    EXPECT_FALSE(e.MenuBar->Bitmap.Empty());

    // Title buttons: close, maximize, restore, minimize, the system-menu icon, then the three
    // MDI buttons cut from MDICONTROLS.
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    std::vector<std::string> titleButtons;
    for (const std::string& name : sections)
        if (name.size() > 6 && SameText(name.substr(0, 6), "Button") && !SameText(name, "Buttons"))
            titleButtons.push_back(UpperCase(name));
    ASSERT_EQ(e.SysButtons.size(), titleButtons.size() + 3);
    for (std::size_t i = 0; i < titleButtons.size(); ++i)
        EXPECT_EQ(e.SysButtons[i]->Name, titleButtons[i]);
    for (const auto& button : e.SysButtons)
        EXPECT_FALSE(button->Bitmap.Empty()) << button->Name << " " << button->Action;
    EXPECT_EQ(e.Colors.ButtonFace, ParseSkinColor(ini.ReadString("Colours", "ButtonFace", ""), clBtnFace));
}

TEST(SkinDataMainForm, MenuGlyphsAndTheApplicationIconAreReady) {
    const TFormPtr form = CreateMainForm();
    TSkinData& skin = *form->SkinData1;
    EXPECT_EQ(skin.MenuGlyphs().Count(), 4);
    EXPECT_EQ(skin.MenuGlyphs().Width(), 16);
    // Each glyph has ink (black) and background (white, the mask colour).
    for (int index = 0; index < 4; ++index) {
        TBitmap glyph;
        ASSERT_TRUE(skin.MenuGlyphs().GetBitmap(index, &glyph));
        int ink = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                ink += GetPixel(glyph.Canvas()->Handle(), x, y) == RGB(0, 0, 0);
        EXPECT_GT(ink, 6) << "glyph " << index;
        EXPECT_LT(ink, 16 * 16 / 2) << "glyph " << index;
    }
    TBitmap& icon = skin.AppIcon();
    ASSERT_EQ(icon.Width(), GetSystemMetrics(SM_CXSMICON));
    ASSERT_EQ(icon.Height(), GetSystemMetrics(SM_CYSMICON));
    EXPECT_EQ(icon.TransparentColor(), 0xFF00FF);
    int painted = 0;
    for (int y = 0; y < icon.Height(); ++y)
        for (int x = 0; x < icon.Width(); ++x)
            painted += GetPixel(icon.Canvas()->Handle(), x, y) != RGB(255, 0, 255);
    EXPECT_GT(painted, icon.Width() * icon.Height() / 4) << "the program's icon is drawn on magenta";
}

TEST(SkinDataMainForm, ValidSkinFileBesideTheProgramReplacesTheStoredSkin) {
    TProgramFolderFile file(SmallSkinFile());
    TMessageLog log;
    const TFormPtr form = CreateMainForm();
    TSkinData& skin = *form->SkinData1;
    EXPECT_TRUE(log.Messages().empty());
    EXPECT_FALSE(skin.SkinLoading());
    EXPECT_TRUE(skin.Active());
    EXPECT_EQ(skin.Elements().Colors.ButtonFace, RGBColor(10, 20, 30));
    EXPECT_EQ(skin.Elements().Tabs, nullptr) << "nothing of the stored skin is left";
}

TEST(SkinDataMainForm, DamagedSkinFileBesideTheProgramIsReportedOnceAndTheStoredSkinStays) {
    std::vector<std::uint8_t> damaged = SmallSkinFile();
    damaged.resize(damaged.size() / 2);
    TProgramFolderFile file(damaged);
    TMessageLog log;
    const TFormPtr form = CreateMainForm();
    TSkinData& skin = *form->SkinData1;
    ASSERT_EQ(log.Messages().size(), 1u);
    EXPECT_NE(log.Messages()[0].find(TSkinData::ProgramSkinPath()), std::string::npos) << log.Messages()[0];
    EXPECT_FALSE(skin.SkinLoading());
    EXPECT_TRUE(skin.Active());
    EXPECT_EQ(skin.SkinFileStream().Bytes(), StoredSkinFile());
    EXPECT_NE(skin.Elements().Tabs, nullptr);
    EXPECT_NE(skin.Elements().Colors.ButtonFace, RGBColor(10, 20, 30));
}

TEST(SkinDataMainForm, SkinFileBesideTheProgramIsReadOnlyWithTheForm) {
    TProgramFolderFile file(SmallSkinFile());
    TSkinData skin(nullptr);
    skin.AssignSkinFile(TW_SKIN_PACKAGE); // loads and applies without a form
    EXPECT_FALSE(skin.SkinLoading());
    EXPECT_EQ(skin.SkinFileStream().Bytes(), StoredSkinFile()) << "the assigned file, not main.skn";
    EXPECT_NE(skin.Elements().Colors.ButtonFace, RGBColor(10, 20, 30));
}
