// The immunizer's decisions against a recorded fake system: which drives, which file steps,
// which command lines, and what the user is told.
#include "DriveCommand.h"
#include "DriveImmunizer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using N = TImmunizerNotice;

class FakeSystem : public TImmunizerPlatform {
public:
    std::map<char, unsigned> types; // drive letter -> GetDriveType value
    std::set<std::string> files;
    std::vector<std::string> log; // every action, in order
    std::vector<unsigned> runResults;
    // Folders the test says are there (true) or not (false) after the commands; others
    // cannot be told.
    std::map<std::string, bool> folders;

    unsigned DriveType(const std::string& root) override {
        const auto it = types.find(root[0]);
        return it == types.end() ? 1 : it->second;
    }
    std::string WindowsDir() override { return "C:\\WINDOWS"; }
    bool IsFile(const std::string& path) override { return files.count(path) != 0; }
    void ClearAttributesAndDelete(const std::string& path) override {
        files.erase(path);
        log.push_back("delete " + path);
    }
    void CreateFolder(const std::string& path) override { log.push_back("md " + path); }
    void RemoveFolder(const std::string& path) override { log.push_back("rmdir " + path); }
    unsigned Run(const std::string& commandLine) override {
        log.push_back("run " + commandLine);
        if (runResults.empty())
            return 33;
        const unsigned r = runResults.front();
        runResults.erase(runResults.begin());
        return r;
    }
    std::optional<bool> FolderExists(const std::string& path) override {
        const auto it = folders.find(path);
        return it == folders.end() ? std::nullopt : std::optional<bool>(it->second);
    }
};

class DriveImmunizerTest : public ::testing::Test {
protected:
    FakeSystem sys;
    TDriveImmunizer immunizer{sys};
};

TEST_F(DriveImmunizerTest, OffersRemovableAndFixedDrivesOfAllTwentySixLetters) {
    sys.types = {{'A', 2}, {'C', 3}, {'D', 5}, {'F', 4}, {'G', 6}, {'Z', 2}};
    immunizer.Enumerate();
    EXPECT_THAT(immunizer.Roots(), ElementsAre("A:\\", "C:\\", "Z:\\"));
    EXPECT_EQ(immunizer.WindowsDir(), "C:\\WINDOWS");
}

TEST_F(DriveImmunizerTest, AFileNamedAutorunIsReplacedByTheGuardedFolder) {
    sys.files = {"E:\\autorun.inf"};
    immunizer.Enumerate();
    EXPECT_THAT(immunizer.Immunize(false, true, "E:\\"), ElementsAre(N::inImmunized));
    EXPECT_THAT(sys.log, ElementsAre("delete E:\\autorun.inf", "md E:\\autorun.inf",
                                     "run C:\\WINDOWS\\system32\\cmd.exe /c md E:\\autorun.inf\\vox...\\"));
}

TEST_F(DriveImmunizerTest, AllDrivesReportOnlyWhenTheLastCommandStarted) {
    sys.types = {{'C', 3}, {'E', 2}};
    immunizer.Enumerate();
    sys.runResults = {33, 2};
    EXPECT_THAT(immunizer.Immunize(true, false, ""), IsEmpty());
    EXPECT_EQ(sys.log.size(), 4u) << "both drives were still processed";
    sys.runResults = {2, 33};
    EXPECT_THAT(immunizer.Immunize(true, false, ""), ElementsAre(N::inImmunized));
}

TEST_F(DriveImmunizerTest, AllDrivesWithNoDriveStartsNothingAndSaysNothing) {
    immunizer.Enumerate();
    EXPECT_THAT(immunizer.Immunize(true, false, ""), IsEmpty());
    EXPECT_THAT(sys.log, IsEmpty());
}

TEST_F(DriveImmunizerTest, EmptySelectionImmunizesNothing) {
    immunizer.Enumerate();
    EXPECT_THAT(immunizer.Immunize(false, true, ""), IsEmpty());
    EXPECT_THAT(sys.log, IsEmpty());
}

TEST_F(DriveImmunizerTest, ReleaseRunsEvenForAnEmptyRootAndAlwaysReportsSuccess) {
    immunizer.Enumerate();
    sys.runResults = {0};
    EXPECT_THAT(immunizer.Release(false, true, ""), ElementsAre(N::inReleased));
    EXPECT_THAT(sys.log, ElementsAre("run C:\\WINDOWS\\system32\\cmd.exe /c rd autorun.inf\\vox...\\",
                                     "rmdir autorun.inf"));
}

TEST_F(DriveImmunizerTest, ReleaseOfAllDrivesRemovesEachGuardAfterItsCommand) {
    sys.types = {{'E', 2}, {'F', 3}};
    immunizer.Enumerate();
    EXPECT_THAT(immunizer.Release(true, false, ""), ElementsAre(N::inReleased));
    EXPECT_THAT(sys.log, ElementsAre("run C:\\WINDOWS\\system32\\cmd.exe /c rd E:\\autorun.inf\\vox...\\",
                                     "rmdir E:\\autorun.inf",
                                     "run C:\\WINDOWS\\system32\\cmd.exe /c rd F:\\autorun.inf\\vox...\\",
                                     "rmdir F:\\autorun.inf"));
}

TEST_F(DriveImmunizerTest, TypedTextWithInterpreterCharactersIsRefusedAndNothingIsDone) {
    immunizer.Enumerate();
    EXPECT_THAT(immunizer.Immunize(false, true, "E:\\ & del C:\\x"), ElementsAre(N::inUnsafeRoot));
    EXPECT_THAT(immunizer.Release(false, true, "E:\\|x"), ElementsAre(N::inUnsafeRoot));
    EXPECT_THAT(sys.log, IsEmpty());
}

TEST_F(DriveImmunizerTest, TypedRootWithoutBackslashIsUsedUnchanged) {
    immunizer.Enumerate();
    immunizer.Immunize(false, true, "E:");
    EXPECT_THAT(sys.log, ElementsAre("md E:autorun.inf",
                                     "run C:\\WINDOWS\\system32\\cmd.exe /c md E:autorun.inf\\vox...\\"));
}

} // namespace

TEST_F(DriveImmunizerTest, ARootWithoutItsGuardFolderAfterwardsIsNamedAsFailed) {
    sys.types = {{'E', 2}, {'F', 2}};
    immunizer.Enumerate();
    sys.folders = {{GuardFolderPath("E:\\"), false},
                   {DotlessGuardFolderPath("E:\\"), false},
                   {GuardFolderPath("F:\\"), true}};
    EXPECT_THAT(immunizer.Immunize(true, false, ""), ElementsAre(N::inImmunizeFailed));
    EXPECT_THAT(immunizer.FailedRoots(), ElementsAre("E:\\"));
    EXPECT_NE(ImmunizeFailedText(immunizer.FailedRoots()).find("E:\\"), std::string::npos);
}

TEST_F(DriveImmunizerTest, AGuardUnderTheNameWithoutDotsCountsAsImmunized) {
    sys.folders = {{GuardFolderPath("E:\\"), false}, {DotlessGuardFolderPath("E:\\"), true}};
    EXPECT_THAT(immunizer.Immunize(false, true, "E:\\"), ElementsAre(N::inImmunized));
    EXPECT_THAT(immunizer.FailedRoots(), IsEmpty());
}

TEST_F(DriveImmunizerTest, AnAutorunFolderLeftAfterReleaseIsNamedAsFailed) {
    sys.folders = {{"E:\\autorun.inf", true}};
    EXPECT_THAT(immunizer.Release(false, true, "E:\\"), ElementsAre(N::inReleaseFailed));
    EXPECT_THAT(immunizer.FailedRoots(), ElementsAre("E:\\"));
    sys.folders = {{"E:\\autorun.inf", false}};
    EXPECT_THAT(immunizer.Release(false, true, "E:\\"), ElementsAre(N::inReleased));
}
