// The startup catalogue on the real (Wine) registry, shell and file system: entries the test
// writes under both roots' run keys and their "-" twins, and removes again.
#include "StartupSystem.h"

#include "Registry.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string kRun = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kScratch = "\\Software\\TarnwickTest\\Values";
constexpr auto kOwn = TRegView::rvOwn;
using D = TDeleteResult;

class RegistryScope {
public:
    // view: 0, or KEY_WOW64_64KEY / KEY_WOW64_32KEY for the key of that registry view.
    RegistryScope(HKEY root, std::string key, REGSAM view = 0)
        : FRoot(root), FKey(std::move(key)), FView(view) {}
    ~RegistryScope() {
        TRegistry reg(KEY_ALL_ACCESS | FView);
        reg.SetRootKey(FRoot);
        if (reg.OpenKey(FKey, false))
            for (const std::string& name : FNames)
                reg.DeleteValue(name);
    }
    void WriteString(const std::string& name, const std::string& value) {
        TRegistry reg(KEY_ALL_ACCESS | FView);
        reg.SetRootKey(FRoot);
        ASSERT_TRUE(reg.OpenKey(FKey, true));
        reg.WriteString(name, value);
        FNames.push_back(name);
    }
    void WriteInteger(const std::string& name, int value) {
        TRegistry reg;
        reg.SetRootKey(FRoot);
        ASSERT_TRUE(reg.OpenKey(FKey, true));
        reg.WriteInteger(name, value);
        FNames.push_back(name);
    }

private:
    HKEY FRoot;
    std::string FKey;
    REGSAM FView;
    std::vector<std::string> FNames;
};

const TStartupEntry* Find(const TStartupCatalogue& catalogue, const std::string& name) {
    const auto& items = catalogue.Items();
    const auto it =
        std::find_if(items.begin(), items.end(), [&](const TStartupEntry& e) { return e.Name == name; });
    return it == items.end() ? nullptr : &*it;
}

std::size_t IndexOf(const TStartupCatalogue& catalogue, const std::string& name) {
    return static_cast<std::size_t>(Find(catalogue, name) - catalogue.Items().data());
}

TEST(WinStartupSystem, ReadsValuesAndTellsStringsFromOtherTypes) {
    RegistryScope scratch(HKEY_CURRENT_USER, kScratch);
    scratch.WriteString("text", "C:\\a.exe /x");
    scratch.WriteInteger("number", 7);
    TWinStartupSystem sys;
    const auto names = sys.ValueNames(TRootKey::rkCurrentUser, kScratch, kOwn);
    ASSERT_TRUE(names);
    EXPECT_NE(std::find(names->begin(), names->end(), "text"), names->end());
    EXPECT_NE(std::find(names->begin(), names->end(), "number"), names->end());
    EXPECT_EQ(sys.ReadString(TRootKey::rkCurrentUser, kScratch, kOwn, "text"),
              std::optional<std::string>("C:\\a.exe /x"));
    EXPECT_EQ(sys.ReadString(TRootKey::rkCurrentUser, kScratch, kOwn, "number"), std::nullopt);
    EXPECT_FALSE(sys.ValueNames(TRootKey::rkCurrentUser, "\\Software\\TarnwickTest\\Missing", kOwn));
}

TEST(WinStartupSystem, DeletionsTellAnEntryAlreadyGoneFromARefusal) {
    RegistryScope scratch(HKEY_CURRENT_USER, kScratch);
    scratch.WriteString("doomed", "x");
    TWinStartupSystem sys;
    std::string reason;
    EXPECT_EQ(sys.DeleteValue(TRootKey::rkCurrentUser, kScratch, kOwn, "doomed", reason), D::drDeleted);
    EXPECT_EQ(sys.DeleteValue(TRootKey::rkCurrentUser, kScratch, kOwn, "doomed", reason), D::drAlreadyGone);
    EXPECT_EQ(
        sys.DeleteValue(TRootKey::rkCurrentUser, "\\Software\\TarnwickTest\\Missing", kOwn, "x", reason),
        D::drAlreadyGone);
    EXPECT_EQ(sys.RemoveFile("C:\\no-such-folder\\no-such-file.lnk", reason), D::drAlreadyGone);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string busy = std::string(temp) + "tw-busy-" + std::to_string(GetCurrentProcessId()) + ".lnk";
    HANDLE open =
        CreateFileA(busy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    EXPECT_EQ(sys.RemoveFile(busy, reason), D::drRefused) << "a file in use is not gone";
    EXPECT_FALSE(reason.empty());
    CloseHandle(open);
}

TEST(WinStartupSystem, ShellAndSearchPathAnswer) {
    TWinStartupSystem sys;
    EXPECT_TRUE(sys.IsWinNT());
    const std::string notepad = sys.FindOnSearchPath("notepad.exe");
    ASSERT_FALSE(notepad.empty());
    EXPECT_TRUE(sys.IsFile(notepad));
    EXPECT_GE(sys.FileIconIndex(notepad), 0);
    EXPECT_EQ(sys.FindOnSearchPath("c:\\"), "") << "a folder is no program";
    EXPECT_EQ(sys.FindOnSearchPath("system32"), "");
    EXPECT_FALSE(sys.SpecialFolderPath(7).empty());
    EXPECT_NE(SystemSmallIcons(), nullptr);
}

TEST(WinStartupSystem, FolderFilesSkipFoldersAndTheSettingsFile) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "tw-startup-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    for (const char* name : {"\\notes.lnk", "\\desktop.ini"}) {
        HANDLE f = CreateFileA((folder + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        CloseHandle(f);
    }
    CreateDirectoryA((folder + "\\sub").c_str(), nullptr);
    TWinStartupSystem sys;
    EXPECT_EQ(sys.FolderFiles(folder), std::vector<std::string>{"notes.lnk"});
    std::string reason;
    EXPECT_EQ(sys.RemoveFile(folder + "\\notes.lnk", reason), D::drDeleted);
    DeleteFileA((folder + "\\desktop.ini").c_str());
    RemoveDirectoryA((folder + "\\sub").c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST(StartupCatalogueOnWindows, RunKeysAndTwinsOfBothRootsInListOrder) {
    RegistryScope lmRun(HKEY_LOCAL_MACHINE, kRun);
    RegistryScope cuRun(HKEY_CURRENT_USER, kRun);
    RegistryScope cuTwin(HKEY_CURRENT_USER, kRun + "-");
    lmRun.WriteString("tw-lm", "C:\\missing\\lm.exe -q");
    cuRun.WriteString("tw-cu", "notepad.exe");
    cuRun.WriteInteger("tw-dword", 1);
    cuTwin.WriteString("tw-off", "C:\\missing\\off.exe");
    cuTwin.WriteString("tw-dotted", "C:\\tw-missing.v2\\app.exe");
    TWinStartupSystem sys;
    TStartupCatalogue catalogue(sys);
    catalogue.LoadStartupItems();

    const TStartupEntry* lm = Find(catalogue, "tw-lm");
    const TStartupEntry* cu = Find(catalogue, "tw-cu");
    const TStartupEntry* dword = Find(catalogue, "tw-dword");
    const TStartupEntry* off = Find(catalogue, "tw-off");
    ASSERT_TRUE(lm && cu && dword && off);
    EXPECT_LT(IndexOf(catalogue, "tw-lm"), IndexOf(catalogue, "tw-cu"));
    EXPECT_LT(IndexOf(catalogue, "tw-cu"), IndexOf(catalogue, "tw-off"));
    EXPECT_EQ(lm->Kind, "3");
    EXPECT_EQ(lm->Exists, kExistsNo);
    EXPECT_EQ(lm->Icon, 3);
    EXPECT_EQ(cu->Kind, "11");
    EXPECT_EQ(cu->Exists, kExistsYes) << "found along the search path";
    EXPECT_EQ(dword->Command, "");
    EXPECT_EQ(off->Kind, "12");
    EXPECT_EQ(off->Disabled, "1");
    EXPECT_TRUE(off->Marked);
    const TStartupEntry* dotted = Find(catalogue, "tw-dotted");
    ASSERT_TRUE(dotted);
    EXPECT_EQ(dotted->Exists, kExistsNo) << "the command cut to \"c:\\\" names a folder, not a program";

    std::string reason;
    ASSERT_EQ(catalogue.DeleteStartupItem(*off, reason), D::drDeleted) << reason;
    const auto left = sys.ValueNames(TRootKey::rkCurrentUser, kRun + "-", kOwn);
    ASSERT_TRUE(left);
    EXPECT_EQ(std::find(left->begin(), left->end(), "tw-off"), left->end());
    EXPECT_EQ(sys.ReadString(TRootKey::rkCurrentUser, kRun, kOwn, "tw-cu"),
              std::optional<std::string>("notepad.exe"))
        << "the enabled key keeps its entries";
}

// Stands in for WOW64 with the test's answer. While the redirection is "off" the given files
// exist, and they are gone again once it is back: a check that finds them ran with it off.
class StandInWow64 final : public TWow64 {
public:
    StandInWow64(bool wow64, std::vector<std::string> filesWhileOff = {})
        : FWow64(wow64), FFiles(std::move(filesWhileOff)) {}
    bool IsWow64() override { return FWow64; }
    bool DisableRedirection(void*& token) override {
        ++disabled;
        token = this;
        for (const std::string& file : FFiles)
            CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        return true;
    }
    void RevertRedirection(void* token) override {
        EXPECT_EQ(token, this);
        ++reverted;
        for (const std::string& file : FFiles)
            DeleteFileA(file.c_str());
    }
    int disabled = 0, reverted = 0;

private:
    bool FWow64;
    std::vector<std::string> FFiles;
};

std::vector<std::pair<std::string, TRegView>> RowsNamed(const TStartupCatalogue& catalogue,
                                                        const std::string& prefix) {
    std::vector<std::pair<std::string, TRegView>> rows;
    for (const TStartupEntry& e : catalogue.Items())
        if (e.Name.rfind(prefix, 0) == 0)
            rows.emplace_back(e.Name + "=" + e.Command, e.View);
    return rows;
}

TEST(StartupCatalogueUnderWow64, MachineRunKeysOfBothViewsAreListedAndDeletedInTheirOwnView) {
    // Under WOW64 the 32-bit program's own view is the 32-bit one; here (a 64-bit program) the
    // views are told apart the same way, by the flags the keys are opened with.
    RegistryScope run64(HKEY_LOCAL_MACHINE, kRun, KEY_WOW64_64KEY);
    RegistryScope run32(HKEY_LOCAL_MACHINE, kRun, KEY_WOW64_32KEY);
    run64.WriteString("tw-wow-64", "C:\\a64.exe");
    run64.WriteString("tw-wow-both", "C:\\b64.exe");
    run32.WriteString("tw-wow-32", "C:\\a32.exe");
    run32.WriteString("tw-wow-both", "C:\\b32.exe");
    StandInWow64 wow64(true);
    TWinStartupSystem sys(nullptr, wow64);
    EXPECT_EQ(sys.Views(TRootKey::rkLocalMachine), (std::vector<TRegView>{TRegView::rv64, TRegView::rv32}));
    EXPECT_EQ(sys.Views(TRootKey::rkCurrentUser), std::vector<TRegView>{kOwn})
        << "the user's keys are shared";
    TStartupCatalogue catalogue(sys);
    catalogue.LoadStartupItems();
    using R = std::vector<std::pair<std::string, TRegView>>;
    ASSERT_EQ(RowsNamed(catalogue, "tw-wow-"), (R{{"tw-wow-64=C:\\a64.exe", TRegView::rv64},
                                                  {"tw-wow-both=C:\\b64.exe", TRegView::rv64},
                                                  {"tw-wow-32=C:\\a32.exe", TRegView::rv32},
                                                  {"tw-wow-both=C:\\b32.exe", TRegView::rv32}}));

    const TStartupEntry& both32 =
        *std::find_if(catalogue.Items().begin(), catalogue.Items().end(),
                      [](const TStartupEntry& e) { return e.Command == "C:\\b32.exe"; });
    std::string reason;
    EXPECT_EQ(catalogue.DeleteStartupItem(both32, reason), D::drDeleted) << reason;
    const auto left32 = sys.ValueNames(TRootKey::rkLocalMachine, kRun, TRegView::rv32);
    ASSERT_TRUE(left32);
    EXPECT_EQ(std::count(left32->begin(), left32->end(), "tw-wow-both"), 0);
    EXPECT_EQ(sys.ReadString(TRootKey::rkLocalMachine, kRun, TRegView::rv64, "tw-wow-both"),
              std::optional<std::string>("C:\\b64.exe"))
        << "the other view's entry of that name stays";

    // Not under WOW64: the program's own view alone, as before.
    StandInWow64 native(false);
    TWinStartupSystem own(nullptr, native);
    TStartupCatalogue ownCatalogue(own);
    ownCatalogue.LoadStartupItems();
    EXPECT_EQ(RowsNamed(ownCatalogue, "tw-wow-"),
              (R{{"tw-wow-64=C:\\a64.exe", kOwn}, {"tw-wow-both=C:\\b64.exe", kOwn}}));
#ifdef _WIN64
    EXPECT_FALSE(SystemWow64().IsWow64()) << "a 64-bit program is no WOW64 program";
#endif
}

TEST(StartupCatalogueUnderWow64, ExistenceIsCheckedWithTheFileSystemRedirectionOff) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string selfPath = self;
    const std::string id = std::to_string(GetCurrentProcessId());
    const std::string file = std::string(temp) + "tw-wow-native-" + id + ".exe";
    const std::string searched = "tw-wow-search-" + id + ".exe"; // beside this program: on the search path
    const std::string besideMe = selfPath.substr(0, selfPath.find_last_of('\\') + 1) + searched;

    StandInWow64 wow64(true, {file, besideMe});
    TWinStartupSystem sys(nullptr, wow64);
    EXPECT_TRUE(sys.IsFile(file));
    EXPECT_EQ(sys.FindOnSearchPath(searched).size(), besideMe.size());
    EXPECT_EQ(wow64.disabled, 2);
    EXPECT_EQ(wow64.reverted, 2) << "the redirection stays off after the check";

    StandInWow64 native(false, {file, besideMe});
    TWinStartupSystem own(nullptr, native);
    EXPECT_FALSE(own.IsFile(file));
    EXPECT_EQ(own.FindOnSearchPath(searched), "");
    EXPECT_EQ(native.disabled, 0) << "outside WOW64 there is no redirection to turn off";
}

} // namespace
