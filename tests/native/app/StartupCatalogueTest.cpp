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

class FakeSystem : public TStartupSystem {
public:
    std::map<std::pair<TRootKey, std::string>, std::vector<Value>> keys;
    std::set<std::pair<TRootKey, std::string>> locked; // exist but refuse full access
    std::set<std::string> files;
    std::map<std::string, std::string> searchPath;
    std::map<std::string, std::vector<std::string>> folders;
    std::map<int, std::string> specialFolders{{24, "C:\\All\\Startup"}, {7, "C:\\Me\\Startup"}};
    bool winNT = true;
    std::vector<std::string> deleted;

    std::optional<std::vector<std::string>> ValueNames(TRootKey root, const std::string& key) override {
        const auto it = keys.find({root, key});
        if (it == keys.end() || locked.count({root, key}))
            return std::nullopt;
        std::vector<std::string> names;
        for (const Value& v : it->second)
            names.push_back(v.name);
        return names;
    }
    std::optional<std::string> ReadString(TRootKey root, const std::string& key,
                                          const std::string& name) override {
        for (const Value& v : keys[{root, key}])
            if (v.name == name)
                return v.data;
        return std::nullopt;
    }
    bool DeleteValue(TRootKey root, const std::string& key, const std::string& name,
                     std::string& reason) override {
        auto& values = keys[{root, key}];
        for (auto it = values.begin(); it != values.end(); ++it)
            if (it->name == name) {
                values.erase(it);
                deleted.push_back(key + ":" + name);
                return true;
            }
        reason = "not found";
        return false;
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
    bool RemoveFile(const std::string& path, std::string& reason) override {
        if (!files.erase(path)) {
            reason = "gone";
            return false;
        }
        deleted.push_back(path);
        return true;
    }
    bool IsWinNT() override { return winNT; }
};

constexpr auto LM = TRootKey::rkLocalMachine;
constexpr auto CU = TRootKey::rkCurrentUser;

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
    EXPECT_TRUE(catalogue.DeleteStartupItem("same", "12", reason));
    EXPECT_THAT(sys.deleted, ElementsAre(kRun + "-:same"));
    EXPECT_EQ((sys.keys[{CU, kRun}].size()), 1u);
}

TEST_F(StartupCatalogueTest, DeletingAFolderItemRemovesItsFile) {
    sys.files = {"C:\\Me\\Startup\\notes.lnk"};
    std::string reason;
    EXPECT_TRUE(catalogue.DeleteStartupItem("notes.lnk", "2", reason));
    EXPECT_THAT(sys.deleted, ElementsAre("C:\\Me\\Startup\\notes.lnk"));
}

TEST_F(StartupCatalogueTest, RefusedDeletionsReportWhy) {
    std::string reason;
    EXPECT_FALSE(catalogue.DeleteStartupItem("nothing", "3", reason));
    EXPECT_EQ(reason, "not found");
    EXPECT_FALSE(catalogue.DeleteStartupItem("x", "15", reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_FALSE(catalogue.DeleteStartupItem("x", "abc", reason));
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
