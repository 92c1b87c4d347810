// The immunizer's decisions against a recorded fake system: which drives, which file steps,
// which command lines, and what the user is told.
#include "DriveCommand.h"
#include "DriveImmunizer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <utility>

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
    bool losesDots = false;
    std::function<void()> whileRunning; // what the user does while a command runs
    int probeDepth = 0;
    std::vector<std::string> unprobed; // calls made outside a drive probe

    unsigned DriveType(const std::string& root) override {
        Probed("DriveType");
        const auto it = types.find(root[0]);
        return it == types.end() ? 1 : it->second;
    }
    std::string WindowsDir() override { return "C:\\WINDOWS"; }
    bool IsFile(const std::string& path) override {
        Probed("IsFile");
        return files.count(path) != 0;
    }
    void ClearAttributesAndDelete(const std::string& path) override {
        Probed("delete");
        files.erase(path);
        log.push_back("delete " + path);
    }
    void CreateFolder(const std::string& path) override {
        Probed("md");
        log.push_back("md " + path);
    }
    void RemoveFolder(const std::string& path) override {
        Probed("rmdir");
        log.push_back("rmdir " + path);
    }
    unsigned Run(const std::string& commandLine) override {
        Probed("run");
        log.push_back("run " + commandLine);
        if (whileRunning)
            std::exchange(whileRunning, nullptr)();
        if (runResults.empty())
            return 33;
        const unsigned r = runResults.front();
        runResults.erase(runResults.begin());
        return r;
    }
    std::optional<bool> FolderExists(const std::string& path) override {
        Probed("FolderExists");
        const auto it = folders.find(path);
        return it == folders.end() ? std::nullopt : std::optional<bool>(it->second);
    }
    bool GuardLosesDots() override { return losesDots; }
    void BeginDriveProbe() override { ++probeDepth; }
    void EndDriveProbe() override { --probeDepth; }

private:
    void Probed(const char* call) {
        if (probeDepth <= 0)
            unprobed.push_back(call);
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

TEST_F(DriveImmunizerTest, EmptySelectionImmunizesAndReleasesNothingAndSaysWhy) {
    // An empty root would make the commands act on the current folder, whatever it is.
    immunizer.Enumerate();
    EXPECT_THAT(immunizer.Immunize(false, true, ""), ElementsAre(N::inUnsafeRoot));
    EXPECT_THAT(immunizer.Release(false, true, ""), ElementsAre(N::inUnsafeRoot));
    EXPECT_THAT(sys.log, IsEmpty());
}

TEST_F(DriveImmunizerTest, ReleaseAlwaysReportsSuccessWhenNothingCanBeLookedAt) {
    immunizer.Enumerate();
    sys.runResults = {0};
    EXPECT_THAT(immunizer.Release(false, true, "E:\\"), ElementsAre(N::inReleased));
    EXPECT_THAT(sys.log, ElementsAre("run C:\\WINDOWS\\system32\\cmd.exe /c rd E:\\autorun.inf\\vox...\\",
                                     "rmdir E:\\autorun.inf"));
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

TEST_F(DriveImmunizerTest, TypedTextThatIsNoDriveRootIsRefusedAndNothingIsDone) {
    immunizer.Enumerate();
    // "rd E:\ /s /q autorun.inf\vox...\" would empty the drive; "md E:\my stick\..." makes
    // "E:\my" and a "stick" folder wherever the interpreter stands.
    for (const char* text :
         {"E:\\ & del C:\\x", "E:\\|x", "E:\\ /s /q ", "E:\\my stick\\", "E:\\,", "E:=;"}) {
        EXPECT_THAT(immunizer.Immunize(false, true, text), ElementsAre(N::inUnsafeRoot)) << text;
        EXPECT_THAT(immunizer.Release(false, true, text), ElementsAre(N::inUnsafeRoot)) << text;
        // The drives of "all local disks" are left alone as well: the typed text is refused first.
        EXPECT_THAT(immunizer.Release(true, true, text), ElementsAre(N::inUnsafeRoot)) << text;
    }
    EXPECT_THAT(sys.log, IsEmpty());
}

TEST_F(DriveImmunizerTest, TypedRootWithoutBackslashIsUsedUnchanged) {
    immunizer.Enumerate();
    immunizer.Immunize(false, true, "E:");
    EXPECT_THAT(sys.log, ElementsAre("md E:autorun.inf",
                                     "run C:\\WINDOWS\\system32\\cmd.exe /c md E:autorun.inf\\vox...\\"));
}

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

TEST_F(DriveImmunizerTest, ReleaseRemovesTheGuardWithoutDotsWhereTheInterpreterMadeItSo) {
    sys.losesDots = true;
    immunizer.Enumerate();
    EXPECT_THAT(immunizer.Release(false, true, "e:"), ElementsAre(N::inReleased));
    EXPECT_THAT(sys.log, ElementsAre("run C:\\WINDOWS\\system32\\cmd.exe /c rd e:autorun.inf\\vox...\\",
                                     "rmdir e:autorun.inf\\vox", "rmdir e:autorun.inf"));
}

TEST_F(DriveImmunizerTest, APressWhileACommandRunsDoesNothingAndDrivesAreProbedQuietly) {
    sys.types = {{'E', 2}};
    immunizer.Enumerate();
    std::vector<TImmunizerNotice> pressedMeanwhile{N::inImmunized};
    sys.whileRunning = [&] {
        EXPECT_TRUE(immunizer.Busy());
        pressedMeanwhile = immunizer.Release(true, true, "E:\\");
        const auto again = immunizer.Immunize(true, false, "");
        pressedMeanwhile.insert(pressedMeanwhile.end(), again.begin(), again.end());
    };
    EXPECT_THAT(immunizer.Immunize(false, true, "E:\\"), ElementsAre(N::inImmunized));
    EXPECT_THAT(pressedMeanwhile, IsEmpty());
    EXPECT_THAT(sys.log, ElementsAre("md E:\\autorun.inf",
                                     "run C:\\WINDOWS\\system32\\cmd.exe /c md E:\\autorun.inf\\vox...\\"));
    EXPECT_FALSE(immunizer.Busy());
    EXPECT_THAT(immunizer.Release(true, false, ""), ElementsAre(N::inReleased)) << "free again afterwards";
    EXPECT_THAT(sys.unprobed, IsEmpty());
    EXPECT_EQ(sys.probeDepth, 0);
}

} // namespace
