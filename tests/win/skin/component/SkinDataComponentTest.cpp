// TSkinData's published interface, its stored skin, the activation switch and what it asks of
// the window watcher.
#include "SkinDataTestSupport.h"

#include "SkinRead.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace skindatatest;

namespace {

std::string SkinStreamText(const std::vector<std::uint8_t>& file) {
    std::string text = "    SkinStream = {";
    for (std::uint8_t byte : SkinStreamOf(file))
        text += IntToHex(byte, 2);
    return text + "}";
}

std::vector<std::string> OwnPropertyNames() {
    std::vector<std::string> names;
    for (const TPropInfo* p : TSkinData::StaticClass()->PropList())
        if (!TComponent::StaticClass()->FindProp(p->Name))
            names.push_back(p->Name);
    return names;
}

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class TTempFolder {
public:
    TTempFolder() : FPath(std::filesystem::temp_directory_path() / "tw_skin_data_test") {
        std::filesystem::create_directories(FPath);
    }
    ~TTempFolder() { std::filesystem::remove_all(FPath); }
    std::string File(const std::string& name) const { return (FPath / name).string(); }

private:
    std::filesystem::path FPath;
};

} // namespace

// ---- properties ----------------------------------------------------------------------------------

TEST(SkinDataProperties, PublishedInDeclarationOrderWithTheirDefaults) {
    EXPECT_EQ(OwnPropertyNames(),
              (std::vector<std::string>{"Active", "DisableTag", "SkinControls", "Options", "Skin3rd",
                                        "SkinFile", "SkinStore", "SkinFormtype", "Version", "MenuUpdate",
                                        "MenuMerge", "OnFormSkin", "OnSkinChanged", "OnSkinControl",
                                        "OnBeforeSkinForm", "OnAfterSkinForm", "SkinStream"}));
    TSkinData skin(nullptr);
    EXPECT_EQ(GetPropValue(skin, "Active"), "False");
    EXPECT_EQ(skin.DisableTag(), 99);
    EXPECT_EQ(skin.SkinControls().Bits(), 0x1FFFFBu) << "all but xcMenuItem and xcFastReport";
    EXPECT_EQ(skin.Options().Bits(), 0x48u);
    EXPECT_EQ(GetPropValue(skin, "SkinFormtype"), "sfMainform");
    EXPECT_EQ(skin.Version(), "4.11.07.25");
    EXPECT_TRUE(skin.MenuUpdate());
    EXPECT_FALSE(skin.MenuMerge());
    EXPECT_EQ(skin.SkinFile(), "");
    EXPECT_TRUE(skin.SkinLoading());
    EXPECT_EQ(skin.SkinFileStream().Size(), 0);
}

TEST(SkinDataProperties, DefaultClassMapKeepsItsOrderAndDuplicates) {
    TSkinData skin(nullptr);
    const TStringList& map = *skin.Skin3rd();
    ASSERT_EQ(map.Count(), 117);
    EXPECT_EQ(map[0], "TCategoryButtons=scrollbar");
    EXPECT_EQ(map[12], "TControlBar=Panel");
    EXPECT_EQ(map[47], "TDBCheckboxEh=Checkbox");
    EXPECT_EQ(map[48], "TDBCheckboxEh=Checkbox");
    EXPECT_EQ(map[96], "TWWDBCombobox=Combobox");
    EXPECT_EQ(map[98], "TWWDBCombobox=Combobox");
    EXPECT_EQ(map[116], "TOVCDBNUMERICFIELD=Edit");
    EXPECT_EQ(map.Values("tcxbutton"), "bitbtn") << "class names compare without case";
}

TEST(SkinDataProperties, ClassMapSetterCopiesAndFormTextReplacesTheLines) {
    TSkinData skin(nullptr);
    TStringList lines;
    lines.Add("TMyGrid=scrollbar");
    SetObjectProp(skin, "Skin3rd", &lines);
    lines.Add("TOther=nil");
    ASSERT_EQ(skin.Skin3rd()->Count(), 1);
    EXPECT_EQ(skin.Skin3rd()->Strings(0), "TMyGrid=scrollbar");

    TLoadedForm form("    Skin3rd.Strings = ('TA=edit' 'TB=nil')");
    EXPECT_EQ(form.SkinData().Skin3rd()->Text(), "TA=edit\r\nTB=nil\r\n");
}

TEST(SkinDataProperties, WritesToSkinStoreAndVersionChangeNothing) {
    TSkinData skin(nullptr);
    SetPropValue(skin, "SkinStore", "c:\\skins\\main.skn");
    SetPropValue(skin, "Version", "1.0");
    EXPECT_EQ(GetPropValue(skin, "SkinStore"), "(none)");
    EXPECT_EQ(GetPropValue(skin, "Version"), "4.11.07.25");
    EXPECT_EQ(skin.SkinFile(), "");
    EXPECT_EQ(skin.SkinFileStream().Size(), 0);
    EXPECT_TRUE(skin.SkinLoading());

    TSkinData designed(nullptr);
    designed.SetDesigning(true);
    EXPECT_EQ(designed.SkinStore(), "(none)");
    designed.SkinFileStream().WriteBuffer("x", 1);
    EXPECT_EQ(designed.SkinStore(), "(Good)");
}

// ---- the stored skin ---------------------------------------------------------------------------

TEST(SkinDataStream, StoredSkinLoadsWhileTheFormIsReadAndWritesBackUnchanged) {
    TMessageLog log;
    const auto file = SmallSkinFile();
    TLoadedForm form("    Active = True\n" + SkinStreamText(file));
    TSkinData& skin = form.SkinData();
    EXPECT_TRUE(log.Messages().empty());
    EXPECT_FALSE(skin.SkinLoading());
    EXPECT_TRUE(skin.Active());
    EXPECT_EQ(skin.Elements().Colors.ButtonFace, RGBColor(10, 20, 30));
    EXPECT_EQ(skin.Elements().Buttons->LeftWidth, 3);

    TMemoryStream written;
    skin.WriteSkinStream(written);
    EXPECT_EQ(written.Bytes(), SkinStreamOf(file));
    TSkinData empty(nullptr);
    TMemoryStream nothing;
    empty.WriteSkinStream(nothing);
    EXPECT_EQ(nothing.Bytes(), (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

TEST(SkinDataStream, ActiveWithoutSkinDataReadsFalseAfterLoad) {
    for (const std::string stream : {"", "    SkinStream = {00000000}", "    SkinStream = {FFFFFFFF}"}) {
        TMessageLog log;
        TLoadedForm form("    Active = True\n" + stream);
        EXPECT_FALSE(form.SkinData().Active()) << stream;
        EXPECT_TRUE(form.SkinData().SkinLoading()) << stream;
        EXPECT_EQ(form.SkinData().SkinFileStream().Size(), 0) << stream;
        EXPECT_TRUE(log.Messages().empty()) << "a count of 0 or less loads nothing, silently";
    }
}

TEST(SkinDataStream, CountBeyondTheStoredBytesIsReportedOnceAndLoadsNothing) {
    for (const std::string stream :
         {"    SkinStream = {10000000 0102}", "    SkinStream = {FFFFFF7F}", "    SkinStream = {0100}"}) {
        TMessageLog log;
        TLoadedForm form("    Active = True\n" + stream);
        EXPECT_EQ(log.Messages().size(), 1u) << stream;
        EXPECT_FALSE(form.SkinData().Active()) << stream;
        EXPECT_EQ(form.SkinData().SkinFileStream().Size(), 0) << stream;
    }
}

TEST(SkinDataStream, RefusedPackageKeepsThePreviousElementsButRefusesActivation) {
    TSkinData skin(nullptr);
    TMemoryStream stream;
    const auto good = SkinStreamOf(SmallSkinFile());
    stream.WriteBuffer(good.data(), static_cast<int64_t>(good.size()));
    stream.SetPosition(0);
    skin.ReadSkinStream(stream);
    ASSERT_FALSE(skin.SkinLoading());

    TMessageLog log;
    const std::vector<std::uint8_t> oldVersion = SkinStreamOf({4, 0, 0, 0, 0, 0, 0, 0});
    TMemoryStream bad;
    bad.WriteBuffer(oldVersion.data(), static_cast<int64_t>(oldVersion.size()));
    bad.SetPosition(0);
    skin.ReadSkinStream(bad);
    ASSERT_EQ(log.Messages().size(), 1u);
    EXPECT_EQ(log.Messages()[0], TSkinReader::OldSkinMessage);
    EXPECT_TRUE(skin.SkinLoading());
    EXPECT_EQ(skin.Elements().Colors.ButtonFace, RGBColor(10, 20, 30)) << "the previous elements stay";
}

// ---- skin files ------------------------------------------------------------------------------------

TEST(SkinDataFile, MissingSkinFileKeepsTheLookAndRefusesALaterSwitchOn) {
    TRecordingWatcherScope watcher;
    TLoadedForm form("    Active = True\n" + SkinStreamText(SmallSkinFile()));
    TSkinData& skin = form.SkinData();
    ASSERT_FALSE(skin.SkinLoading());
    TMessageLog log;
    skin.AssignSkinFile("c:\\no such folder\\missing.skn");
    EXPECT_TRUE(log.Messages().empty()) << "a missing file is ignored silently";
    EXPECT_EQ(skin.SkinFile(), "c:\\no such folder\\missing.skn");
    EXPECT_TRUE(skin.SkinLoading());
    EXPECT_EQ(skin.Elements().Colors.ButtonFace, RGBColor(10, 20, 30)) << "the current look stays";
    EXPECT_EQ(skin.SkinFileStream().Bytes(), SmallSkinFile());

    skin.AssignActive(false);
    watcher.Calls.clear();
    skin.AssignActive(true);
    EXPECT_TRUE(skin.Active()) << "the value is stored";
    EXPECT_TRUE(watcher.Calls.empty()) << "but nothing is asked of the watcher";
}

TEST(SkinDataFile, ExistingSkinFileIsLoadedAndApplied) {
    TTempFolder folder;
    const std::string path = folder.File("blue.skn");
    WriteFile(path, SmallSkinFile());
    TRecordingWatcherScope watcher;
    TSkinData skin(nullptr);
    skin.AssignSkinFile(path);
    EXPECT_FALSE(skin.SkinLoading());
    EXPECT_EQ(skin.Elements().Colors.ButtonFace, RGBColor(10, 20, 30));
    // ApplySkin found no watcher: it ran AfterLoad, which created one, then made this component
    // the source; the watcher has not started, so no refresh is queued.
    EXPECT_EQ(watcher.Calls, (std::vector<std::string>{"register", "hook", "source", "refresh forms"}));
}

TEST(SkinDataFile, ReplacementSkinFileIsTriedBeforeItReplacesTheCurrentSkin) {
    TTempFolder folder;
    TLoadedForm form(SkinStreamText(StoredSkinFile()));
    TSkinData& skin = form.SkinData();
    const TColor stored = skin.Elements().Colors.ButtonFace;

    TMessageLog log;
    EXPECT_FALSE(skin.LoadReplacementSkin(folder.File("absent.skn")));
    const std::string damaged = folder.File("damaged.skn");
    WriteFile(damaged, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    EXPECT_FALSE(skin.LoadReplacementSkin(damaged));
    ASSERT_EQ(log.Messages().size(), 1u) << "only the damaged file is reported, once";
    EXPECT_NE(log.Messages()[0].find(damaged), std::string::npos);
    EXPECT_FALSE(skin.SkinLoading());
    EXPECT_EQ(skin.Elements().Colors.ButtonFace, stored);
    EXPECT_EQ(skin.SkinFileStream().Bytes(), StoredSkinFile());

    const std::string good = folder.File("good.skn");
    WriteFile(good, SmallSkinFile());
    EXPECT_TRUE(skin.LoadReplacementSkin(good));
    EXPECT_EQ(log.Messages().size(), 1u);
    EXPECT_FALSE(skin.SkinLoading());
    EXPECT_EQ(skin.Elements().Colors.ButtonFace, RGBColor(10, 20, 30));
}

// ---- activation and the watcher --------------------------------------------------------------

TEST(SkinDataActivation, MenuKindsAreAdjustedAtLoad) {
    TLoadedForm withMainMenu("    SkinControls = [xcMainMenu, xcMenuItem, xcSystemMenu]");
    EXPECT_EQ(GetSetProp(withMainMenu.SkinData(), "SkinControls"), "xcMainMenu,xcSystemMenu");
    TLoadedForm withoutMainMenu("    SkinControls = [xcPopupMenu, xcMenuItem, xcSystemMenu]");
    EXPECT_EQ(GetSetProp(withoutMainMenu.SkinData(), "SkinControls"), "xcPopupMenu,xcMenuItem");
}

TEST(SkinDataActivation, MainFormComponentStartsTheWatcherAndSwitchesThroughIt) {
    TRecordingWatcherScope watcher;
    TLoadedForm form("    Active = True\n" + SkinStreamText(SmallSkinFile()));
    TSkinData& skin = form.SkinData();
    EXPECT_EQ(watcher.Calls, (std::vector<std::string>{"register", "hook", "request 1 250"}));

    watcher.Calls.clear();
    skin.AssignActive(true);
    EXPECT_TRUE(watcher.Calls.empty()) << "no change, nothing happens";
    skin.AssignActive(false);
    skin.AssignActive(true);
    EXPECT_EQ(watcher.Calls,
              (std::vector<std::string>{"source", "request 2 250", "source", "request 1 250", "state 1"}));

    watcher.Calls.clear();
    skin.ApplySkin();
    EXPECT_EQ(watcher.Calls, (std::vector<std::string>{"source", "refresh forms", "request 3 250"}));
}

TEST(SkinDataActivation, OtherKindsStartThemselvesAndDialogKindsNeverSwitch) {
    TRecordingWatcherScope watcher;
    {
        TLoadedForm form("    Active = True\n    SkinFormtype = sfOnlyThisForm\n" +
                         SkinStreamText(SmallSkinFile()));
        EXPECT_EQ(watcher.Calls, (std::vector<std::string>{"register", "active", "state 1"}))
            << "the owner is no form, so nothing is skinned at once";
        watcher.Calls.clear();
        form.SkinData().AssignActive(false);
        EXPECT_EQ(watcher.Calls, (std::vector<std::string>{"source", "request 2 250"}));
    }
    EXPECT_EQ(watcher.Calls.back(), "unregister");

    TLoadedForm dialog("    SkinFormtype = sfDialog\n" + SkinStreamText(SmallSkinFile()));
    watcher.Calls.clear();
    dialog.SkinData().AssignActive(true);
    EXPECT_TRUE(dialog.SkinData().Active());
    EXPECT_TRUE(watcher.Calls.empty());
}

TEST(SkinDataActivation, WithoutAWatcherSwitchingOnlyStoresTheValue) {
    TLoadedForm form(SkinStreamText(SmallSkinFile()));
    TSkinData& skin = form.SkinData();
    ASSERT_EQ(SkinWatcher(), nullptr);
    skin.AssignActive(true);
    EXPECT_TRUE(skin.Active());
    skin.ApplySkin();
    EXPECT_TRUE(skin.Active());
    EXPECT_EQ(SkinWatcher(), nullptr);
}

TEST(SkinDataActivation, MonthCalendarIsVetoedUnlessTheApplicationSaysOtherwise) {
    TSkinData skin(nullptr);
    auto ask = [&skin](const std::string& className) {
        bool doSkin = true;
        skin.ShouldSkinWindow(nullptr, className, doSkin);
        return doSkin;
    };
    EXPECT_FALSE(ask("SysMonthCal32"));
    EXPECT_TRUE(ask("sysmonthcal32")) << "the class name is compared exactly";
    EXPECT_TRUE(ask("TfrPreviewForm"));
    skin.SetSkinControls(skin.SkinControls() + TSkinControlTypes{xcFastReport});
    EXPECT_FALSE(ask("TfrPreviewForm"));

    struct THandler {
        std::vector<std::string> Seen;
        void FormSkin(TObject*, const std::string& name, bool& doSkin) {
            Seen.push_back(name + (doSkin ? "+" : "-"));
            doSkin = name == "SysMonthCal32";
        }
    } handler;
    skin.OnFormSkin = TOnFormSkin(&handler, &THandler::FormSkin);
    EXPECT_TRUE(ask("SysMonthCal32"));
    EXPECT_FALSE(ask("TForm1"));
    EXPECT_EQ(handler.Seen, (std::vector<std::string>{"SysMonthCal32+", "TForm1+"}));
}

TEST(SkinDataActivation, SkinChangedIsRaisedWhenAssigned) {
    TSkinData skin(nullptr);
    skin.DoSkinChanged(); // nothing assigned: nothing happens
    struct THandler {
        TObject* Sender = nullptr;
        void Changed(TObject* sender) { Sender = sender; }
    } handler;
    skin.OnSkinChanged = TNotifyEvent(&handler, &THandler::Changed);
    skin.DoSkinChanged();
    EXPECT_EQ(handler.Sender, &skin);
}
