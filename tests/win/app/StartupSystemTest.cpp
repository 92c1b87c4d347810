// The startup catalogue on the real (Wine) registry, shell and file system: entries the test
// writes under both roots' run keys and their "-" twins, and removes again.
#include "StartupSystem.h"

#include "Registry.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string kRun = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kScratch = "\\Software\\TarnwickTest\\Values";

class RegistryScope {
public:
    RegistryScope(HKEY root, std::string key) : FRoot(root), FKey(std::move(key)) {}
    ~RegistryScope() {
        TRegistry reg;
        reg.SetRootKey(FRoot);
        if (reg.OpenKey(FKey, false))
            for (const std::string& name : FNames)
                reg.DeleteValue(name);
    }
    void WriteString(const std::string& name, const std::string& value) {
        TRegistry reg;
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
    const auto names = sys.ValueNames(TRootKey::rkCurrentUser, kScratch);
    ASSERT_TRUE(names);
    EXPECT_NE(std::find(names->begin(), names->end(), "text"), names->end());
    EXPECT_NE(std::find(names->begin(), names->end(), "number"), names->end());
    EXPECT_EQ(sys.ReadString(TRootKey::rkCurrentUser, kScratch, "text"),
              std::optional<std::string>("C:\\a.exe /x"));
    EXPECT_EQ(sys.ReadString(TRootKey::rkCurrentUser, kScratch, "number"), std::nullopt);
    EXPECT_FALSE(sys.ValueNames(TRootKey::rkCurrentUser, "\\Software\\TarnwickTest\\Missing"));
}

TEST(WinStartupSystem, DeletionsReportWhyTheyFailed) {
    RegistryScope scratch(HKEY_CURRENT_USER, kScratch);
    scratch.WriteString("doomed", "x");
    TWinStartupSystem sys;
    std::string reason;
    EXPECT_TRUE(sys.DeleteValue(TRootKey::rkCurrentUser, kScratch, "doomed", reason));
    EXPECT_FALSE(sys.DeleteValue(TRootKey::rkCurrentUser, kScratch, "doomed", reason));
    EXPECT_FALSE(reason.empty());
    reason.clear();
    EXPECT_FALSE(sys.DeleteValue(TRootKey::rkCurrentUser, "\\Software\\TarnwickTest\\Missing", "x", reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_FALSE(sys.RemoveFile("C:\\no-such-folder\\no-such-file.lnk", reason));
    EXPECT_FALSE(reason.empty());
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
    EXPECT_TRUE(sys.RemoveFile(folder + "\\notes.lnk", reason));
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
    ASSERT_TRUE(catalogue.DeleteStartupItem("tw-off", "12", reason)) << reason;
    const auto left = sys.ValueNames(TRootKey::rkCurrentUser, kRun + "-");
    ASSERT_TRUE(left);
    EXPECT_EQ(std::find(left->begin(), left->end(), "tw-off"), left->end());
    EXPECT_EQ(sys.ReadString(TRootKey::rkCurrentUser, kRun, "tw-cu"),
              std::optional<std::string>("notepad.exe"))
        << "the enabled key keeps its entries";
}

} // namespace
