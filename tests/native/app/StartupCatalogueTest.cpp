// The startup list against a fake registry, file system and shell: row order, sub-items,
// kind codes, check marks, the existence check and deletion from the right source.
#include "StartupCatalogue.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using ::testing::ElementsAre;

const std::string kRun = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kRunOnce = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const std::string kRunServices = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";

struct Value {
    std::string name;
    std::optional<std::string> data; // nullopt: not a string value
};

// Keys of the 32-bit view are held under "32" + their path.
std::string InView(const std::string& key, TRegView view) {
    return view == TRegView::rv32 ? "32" + key : key;
}

class FakeSystem : public TStartupSystem {
public:
    std::map<std::pair<TRootKey, std::string>, std::vector<Value>> keys;
    std::vector<TRegView> machineViews{TRegView::rvOwn};
    std::set<std::pair<TRootKey, std::string>> locked; // exist but refuse full access
    std::set<std::string> files;
    std::map<std::string, std::string> searchPath;
    std::map<std::string, std::vector<std::string>> folders;
    std::map<int, std::string> specialFolders{{24, "C:\\All\\Startup"}, {7, "C:\\Me\\Startup"}};
    bool winNT = true;
    std::vector<std::string> deleted;

    std::vector<TRegView> Views(TRootKey root) override {
        return root == TRootKey::rkLocalMachine ? machineViews : std::vector<TRegView>{TRegView::rvOwn};
    }
    std::optional<std::vector<std::string>> ValueNames(TRootKey root, const std::string& key,
                                                       TRegView view) override {
        const auto it = keys.find({root, InView(key, view)});
        if (it == keys.end() || locked.count({root, key}))
            return std::nullopt;
        std::vector<std::string> names;
        for (const Value& v : it->second)
            names.push_back(v.name);
        return names;
    }
    std::optional<std::string> ReadString(TRootKey root, const std::string& key, TRegView view,
                                          const std::string& name) override {
        for (const Value& v : keys[{root, InView(key, view)}])
            if (v.name == name)
                return v.data;
        return std::nullopt;
    }
    TDeleteResult DeleteValue(TRootKey root, const std::string& key, TRegView view, const std::string& name,
                              std::string& reason) override {
        if (locked.count({root, key})) {
            reason = "locked";
            return TDeleteResult::drRefused;
        }
        auto& values = keys[{root, InView(key, view)}];
        for (auto it = values.begin(); it != values.end(); ++it)
            if (it->name == name) {
                values.erase(it);
                deleted.push_back(InView(key, view) + ":" + name);
                return TDeleteResult::drDeleted;
            }
        return TDeleteResult::drAlreadyGone;
    }
    bool IsFile(const std::string& path) override { return files.count(path) != 0; }
    std::string FindOnSearchPath(const std::string& name) override {
        const auto it = searchPath.find(name);
        return it == searchPath.end() ? "" : it->second;
    }
    std::vector<std::string> iconPaths; // every path an icon was asked for
    int FileIconIndex(const std::string& path) override {
        iconPaths.push_back(path);
        return 100 + static_cast<int>(iconPaths.size());
    }
    std::string SpecialFolderPath(int csidl) override { return specialFolders[csidl]; }
    std::vector<std::string> FolderFiles(const std::string& folder) override { return folders[folder]; }
    std::set<std::string> lockedFiles;
    TDeleteResult RemoveFile(const std::string& path, std::string& reason) override {
        if (lockedFiles.count(path)) {
            reason = "in use";
            return TDeleteResult::drRefused;
        }
        if (!files.erase(path))
            return TDeleteResult::drAlreadyGone;
        deleted.push_back(path);
        return TDeleteResult::drDeleted;
    }
    bool IsWinNT() override { return winNT; }
};

constexpr auto LM = TRootKey::rkLocalMachine;
constexpr auto CU = TRootKey::rkCurrentUser;
using D = TDeleteResult;

TStartupEntry Entry(const std::string& name, const std::string& kind, TRegView view = TRegView::rvOwn) {
    return {name, "", kExistsYes, kind, "0", false, -1, "", view};
}

class StartupCatalogueTest : public ::testing::Test {
protected:
    FakeSystem sys;
    TStartupCatalogue catalogue{sys};

    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const auto& item : catalogue.Items())
            names.push_back(item.Name);
        return names;
    }
};

TEST_F(StartupCatalogueTest, RowsFollowTheSourceOrderWithTheirKindCodesAndMarks) {
    sys.keys[{CU, kRunOnce + "-"}] = {{"cu-once-off", "x"}};
    sys.keys[{CU, kRun}] = {{"cu-run", "y"}};
    sys.keys[{LM, kRun + "-"}] = {{"lm-run-off", "z"}};
    sys.keys[{LM, kRun}] = {{"lm-run-b", "b"}, {"lm-run-a", "a"}};
    sys.keys[{LM, kRunServices}] = {{"lm-svc", "s"}};
    sys.keys[{CU, kRun + "-"}] = {{"cu-run-off", "w"}};
    sys.folders["C:\\Me\\Startup"] = {"notes.lnk"};
    sys.folders["C:\\All\\Startup"] = {"all.lnk"};
    catalogue.LoadStartupItems();

    EXPECT_THAT(Names(), ElementsAre("lm-run-b", "lm-run-a", "lm-run-off", "lm-svc", "cu-run", "cu-run-off",
                                     "cu-once-off", "all.lnk", "notes.lnk"));
    const auto& items = catalogue.Items();
    EXPECT_EQ(items[0].Kind, "3");
    EXPECT_EQ(items[0].Disabled, "0");
    EXPECT_FALSE(items[0].Marked);
    EXPECT_EQ(items[2].Kind, "4");
    EXPECT_EQ(items[2].Disabled, "1");
    EXPECT_TRUE(items[2].Marked);
    EXPECT_EQ(items[3].Kind, "7");
    EXPECT_EQ(items[5].Kind, "12");
    EXPECT_TRUE(items[5].Marked);
    EXPECT_EQ(items[6].Kind, "14");
    EXPECT_EQ(items[7].Kind, "1");
    EXPECT_EQ(items[7].Command, "C:\\All\\Startup\\all.lnk");
    EXPECT_EQ(items[8].Kind, "2");
}

TEST_F(StartupCatalogueTest, ANonStringValueIsListedEmptyAndLoadingGoesOn) {
    sys.keys[{LM, kRun}] = {{"first", "C:\\a.exe"}, {"dword", std::nullopt}, {"third", "C:\\c.exe"}};
    sys.keys[{CU, kRun}] = {{"later", "C:\\d.exe"}};
    sys.files = {"C:\\a.exe"};
    catalogue.LoadStartupItems();
    EXPECT_THAT(Names(), ElementsAre("first", "dword", "third", "later"));
    EXPECT_EQ(catalogue.Items()[1].Command, "");
    EXPECT_EQ(catalogue.Items()[0].Exists, kExistsYes) << "the existence check still ran";
    EXPECT_EQ(catalogue.Items()[3].Exists, kExistsNo);
}

TEST_F(StartupCatalogueTest, KeysWithoutFullAccessContributeNothing) {
    sys.keys[{LM, kRun}] = {{"admin-only", "x"}};
    sys.locked = {{LM, kRun}};
    sys.keys[{CU, kRun}] = {{"mine", "y"}};
    catalogue.LoadStartupItems();
    EXPECT_THAT(Names(), ElementsAre("mine"));
}

TEST_F(StartupCatalogueTest, ExistenceCheckTriesTheCommandItsPathTheSearchPathAndTheExePath) {
    sys.keys[{CU, kRun}] = {{"whole", "C:\\w.exe"},
                            {"args", "C:\\Tools\\A.exe -min"},
                            {"path", "rundll32.exe shell32.dll,Control_RunDLL"},
                            {"dotted", "C:\\tools.v2\\app.exe"},
                            {"missing", "C:\\gone.exe /x"}};
    sys.files = {"C:\\w.exe", "c:\\tools\\a.exe", "C:\\tools.v2\\app.exe"};
    sys.searchPath = {{"rundll32.exe", "C:\\windows\\system32\\rundll32.exe"}};
    catalogue.LoadStartupItems();
    // The icon comes from the first of the four candidates that is a file.
    EXPECT_THAT(sys.iconPaths, ElementsAre("C:\\w.exe", "c:\\tools\\a.exe",
                                           "C:\\windows\\system32\\rundll32.exe", "C:\\tools.v2\\app.exe"));
    const auto& items = catalogue.Items();
    EXPECT_EQ(items[1].Icon, 102);
    EXPECT_EQ(items[3].Exists, kExistsYes) << "found through the path up to its .exe";
    EXPECT_EQ(items[4].Exists, kExistsNo);
    EXPECT_EQ(items[4].Icon, 3);
}

TEST_F(StartupCatalogueTest, MissingProgramShowsIconZeroOutsideNt) {
    sys.winNT = false;
    sys.keys[{CU, kRun}] = {{"missing", "C:\\gone.exe"}};
    catalogue.LoadStartupItems();
    EXPECT_EQ(catalogue.Items()[0].Icon, 0);
}

TEST_F(StartupCatalogueTest, DeletingFromATwinKeyLeavesTheEnabledKeyAlone) {
    sys.keys[{CU, kRun}] = {{"same", "a"}};
    sys.keys[{CU, kRun + "-"}] = {{"same", "b"}};
    std::string reason;
    EXPECT_EQ(catalogue.DeleteStartupItem(Entry("same", "12"), reason), D::drDeleted);
    EXPECT_THAT(sys.deleted, ElementsAre(kRun + "-:same"));
    EXPECT_EQ((sys.keys[{CU, kRun}].size()), 1u);
}

TEST_F(StartupCatalogueTest, AFolderItemIsDeletedInTheFolderItWasFoundInAndNowhereElse) {
    sys.folders["C:\\Me\\Startup"] = {"notes.lnk"};
    sys.files = {"C:\\Me\\Startup\\notes.lnk", "\\notes.lnk"};
    catalogue.LoadStartupItems();
    ASSERT_EQ(catalogue.Items().size(), 1u);
    sys.specialFolders[7] = ""; // the shell no longer answers
    std::string reason;
    EXPECT_EQ(catalogue.DeleteStartupItem(catalogue.Items()[0], reason), D::drDeleted);
    EXPECT_THAT(sys.deleted, ElementsAre("C:\\Me\\Startup\\notes.lnk"));

    TStartupEntry folderless = catalogue.Items()[0];
    folderless.Folder.clear();
    EXPECT_EQ(catalogue.DeleteStartupItem(folderless, reason), D::drRefused);
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(sys.files.count("\\notes.lnk"), 1u) << "a file outside the startup folder was deleted";
}

TEST_F(StartupCatalogueTest, EntriesAlreadyGoneAreToldApartFromRefusedDeletions) {
    std::string reason;
    EXPECT_EQ(catalogue.DeleteStartupItem(Entry("nothing", "3"), reason), D::drAlreadyGone);
    TStartupEntry file = Entry("gone.lnk", "1");
    file.Folder = "C:\\All\\Startup";
    EXPECT_EQ(catalogue.DeleteStartupItem(file, reason), D::drAlreadyGone);
    EXPECT_TRUE(sys.deleted.empty());

    sys.keys[{LM, kRun}] = {{"admin-only", "x"}};
    sys.locked = {{LM, kRun}};
    EXPECT_EQ(catalogue.DeleteStartupItem(Entry("admin-only", "3"), reason), D::drRefused);
    EXPECT_EQ(reason, "locked");
    sys.files = {"C:\\All\\Startup\\busy.lnk"};
    sys.lockedFiles = {"C:\\All\\Startup\\busy.lnk"};
    file.Name = "busy.lnk";
    EXPECT_EQ(catalogue.DeleteStartupItem(file, reason), D::drRefused);
    EXPECT_EQ(reason, "in use");
    for (const char* kind : {"15", "abc", "0"}) {
        reason.clear();
        EXPECT_EQ(catalogue.DeleteStartupItem(Entry("x", kind), reason), D::drRefused) << kind;
        EXPECT_FALSE(reason.empty());
    }
}

TEST_F(StartupCatalogueTest, MachineKeysOfBothViewsAreListedOncePerViewAndDeletedInTheirOwn) {
    sys.machineViews = {TRegView::rv64, TRegView::rv32};
    sys.keys[{LM, kRun}] = {{"both", "C:\\64.exe"}, {"native", "n"}};
    sys.keys[{LM, "32" + kRun}] = {{"both", "C:\\32.exe"}};
    sys.keys[{LM, "32" + kRun + "-"}] = {{"parked32", "p"}};
    sys.keys[{LM, "32" + kRunOnce}] = {{"once32", "o"}};
    sys.keys[{CU, kRun}] = {{"user", "u"}};
    catalogue.LoadStartupItems();
    EXPECT_THAT(Names(), ElementsAre("both", "native", "both", "parked32", "once32", "user"));
    const auto& items = catalogue.Items();
    EXPECT_EQ(items[0].View, TRegView::rv64);
    EXPECT_EQ(items[2].View, TRegView::rv32);
    EXPECT_EQ(items[2].Command, "C:\\32.exe");
    EXPECT_EQ(items[3].Kind, "4");
    EXPECT_EQ(items[3].View, TRegView::rv32);
    EXPECT_EQ(items[4].Kind, "5");
    EXPECT_EQ(items[5].View, TRegView::rvOwn) << "the user's keys are one for both kinds of program";

    std::string reason;
    EXPECT_EQ(catalogue.DeleteStartupItem(items[2], reason), D::drDeleted);
    EXPECT_THAT(sys.deleted, ElementsAre("32" + kRun + ":both"));
    EXPECT_EQ((sys.keys[{LM, kRun}].size()), 2u) << "the 64-bit view keeps its entry of that name";
}

TEST(RunKeyOfKind, OddCodesAreEnabledKeysAndEvenCodesTheirTwins) {
    EXPECT_EQ(RunKeyOfKind(3)->Key, kRun);
    EXPECT_EQ(RunKeyOfKind(3)->Root, LM);
    EXPECT_EQ(RunKeyOfKind(10)->Key, "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce-");
    EXPECT_EQ(RunKeyOfKind(13)->Root, CU);
    EXPECT_EQ(RunKeyOfKind(14)->Key, kRunOnce + "-");
    EXPECT_FALSE(RunKeyOfKind(2));
    EXPECT_FALSE(RunKeyOfKind(15));
}

} // namespace
