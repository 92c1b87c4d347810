// The immunizer on a real (Wine) system: its file steps, the commands it runs and what it
// reports, against folders of the test's own given as drive roots; and the drive enumeration
// over drive letters the test maps.
#include "DriveCommand.h"
#include "ImmunizerSystem.h"
#include "TestDrives.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

using ::testing::ElementsAre;
using N = TImmunizerNotice;

DWORD Attributes(const std::string& path) {
    return GetFileAttributesA(path.c_str());
}

bool IsFolder(const std::string& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// The guard folder under either name a command interpreter gives it.
bool HasGuard(const std::string& root) {
    return IsFolder(GuardFolderPath(root)) || IsFolder(DotlessGuardFolderPath(root));
}

void PlaceFile(const std::string& path, DWORD attributes = 0) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE) << path;
    CloseHandle(f);
}

using twtest::MappedDrive;
using twtest::ScratchFolder;

class ImmunizerSystemTest : public ::testing::Test {
protected:
    ScratchFolder scratch_{"tw-immunizer"};
    const std::string root_ = scratch_.Path() + "\\";
    TWinImmunizerSystem sys_;
};

TEST_F(ImmunizerSystemTest, FileStepsClearAProtectedFileAndLeaveAnExistingFolderAlone) {
    const std::string autorun = root_ + "autorun.inf";
    PlaceFile(autorun, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    ASSERT_TRUE(sys_.IsFile(autorun));
    sys_.ClearAttributesAndDelete(autorun);
    EXPECT_EQ(Attributes(autorun), INVALID_FILE_ATTRIBUTES);
    sys_.CreateFolder(autorun);
    EXPECT_TRUE(IsFolder(autorun));
    EXPECT_FALSE(sys_.IsFile(autorun)) << "a folder is not a file";
    EXPECT_EQ(sys_.FolderExists(autorun), std::optional<bool>(true));
    sys_.CreateFolder(autorun);
    EXPECT_TRUE(IsFolder(autorun));
    sys_.RemoveFolder(autorun);
    EXPECT_EQ(sys_.FolderExists(autorun), std::optional<bool>(false));
}

TEST_F(ImmunizerSystemTest, WindowsFolderHasNoTrailingBackslash) {
    const std::string dir = sys_.WindowsDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), '\\');
    EXPECT_TRUE(IsFolder(dir));
}

TEST_F(ImmunizerSystemTest, RunWaitsForTheCommandAndTellsAFailedStart) {
    const std::string made = root_ + "made";
    EXPECT_GT(sys_.Run(sys_.WindowsDir() + "\\system32\\cmd.exe /c md " + made), 31u);
    EXPECT_TRUE(IsFolder(made)) << "the command had not finished when Run returned";
    EXPECT_LE(sys_.Run(root_ + "no-such-program.exe"), 31u);
}

HANDLE gReleaseChild = nullptr;
void CALLBACK ReleaseChild(HWND, UINT, UINT_PTR, DWORD) {
    SetEvent(gReleaseChild);
}

TEST_F(ImmunizerSystemTest, RunHandlesTheThreadsMessagesUntilTheCommandEnds) {
    // The command ends only once a timer of this thread has fired: a wait that handles no
    // messages gives up after its limit with the command still running.
    const std::string event = "tw-run-" + std::to_string(GetCurrentProcessId());
    gReleaseChild = CreateEventA(nullptr, TRUE, FALSE, event.c_str());
    ASSERT_NE(gReleaseChild, nullptr);
    const std::string done = root_ + "child-done";
    SetEnvironmentVariableA("TW_CHILD_MARKER", done.c_str());
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, ReleaseChild);
    EXPECT_GT(sys_.Run("\"" + twtest::WindowsPath(TW_TEST_CHILD_PATH) + "\" --wait-event " + event), 31u);
    KillTimer(nullptr, timer);
    SetEnvironmentVariableA("TW_CHILD_MARKER", nullptr);
    EXPECT_EQ(WaitForSingleObject(gReleaseChild, 0), WAIT_OBJECT_0) << "no message was handled during Run";
    EXPECT_NE(Attributes(done), INVALID_FILE_ATTRIBUTES) << "Run returned before the command ended";
    CloseHandle(gReleaseChild);
}

TEST_F(ImmunizerSystemTest, DriveProbesFailQuietlyAndNest) {
    const UINT before = SetErrorMode(0);
    sys_.BeginDriveProbe();
    EXPECT_NE(GetErrorMode() & SEM_FAILCRITICALERRORS, 0u) << "an empty card reader would ask the user";
    sys_.BeginDriveProbe();
    sys_.EndDriveProbe();
    EXPECT_NE(GetErrorMode() & SEM_FAILCRITICALERRORS, 0u) << "an inner probe ended the outer one";
    sys_.EndDriveProbe();
    EXPECT_EQ(GetErrorMode(), 0u) << "the mode before the probe is back";
    SetErrorMode(before);
}

// The whole immunizer on a drive letter mapped to the scratch folder (only a drive root is
// accepted as the root typed by the user).
class DriveImmunizerOnWindows : public ImmunizerSystemTest {
protected:
    void SetUp() override {
        const std::vector<char> letters = twtest::FreeLetters(1);
        ASSERT_EQ(letters.size(), 1u);
        drive_ = std::make_unique<MappedDrive>(letters[0], DRIVE_REMOVABLE, scratch_.Path());
        if (!drive_->Mapped())
            GTEST_SKIP() << "drive letters cannot be mapped here (not Wine, or its mount manager refused)";
        typed_ = drive_->Root();
        immunizer_.Enumerate();
    }
    std::unique_ptr<MappedDrive> drive_;
    std::string typed_; // the drive's root, as the user types it; root_ is its folder
    TDriveImmunizer immunizer_{sys_};
};

TEST_F(DriveImmunizerOnWindows, ProtectedAutorunFileBecomesTheGuardedFolder) {
    PlaceFile(root_ + "autorun.inf", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_THAT(immunizer_.Immunize(false, true, typed_), ElementsAre(N::inImmunized));
    EXPECT_TRUE(IsFolder(root_ + "autorun.inf"));
    EXPECT_TRUE(HasGuard(root_)) << "no guard folder";
    EXPECT_TRUE(immunizer_.FailedRoots().empty());
}

// The guard as Windows' interpreter makes it ("vox...").
void PlaceWindowsGuard(const std::string& root) {
    CreateDirectoryA((root + "autorun.inf").c_str(), nullptr);
    ASSERT_TRUE(CreateDirectoryA(GuardFolderPath(root).c_str(), nullptr));
}

TEST_F(DriveImmunizerOnWindows, ReleaseRemovesTheGuardAndTheAutorunFolder) {
    PlaceWindowsGuard(root_);
    EXPECT_THAT(immunizer_.Release(false, true, typed_), ElementsAre(N::inReleased));
    EXPECT_EQ(Attributes(root_ + "autorun.inf"), INVALID_FILE_ATTRIBUTES) << "autorun.inf left behind";
    EXPECT_TRUE(immunizer_.FailedRoots().empty());
}

TEST_F(DriveImmunizerOnWindows, ImmunizeThenReleaseLeavesNothingWhateverNameTheGuardGot) {
    // Wine's md drops the dots of "vox..." while its rd keeps them.
    EXPECT_THAT(immunizer_.Immunize(false, true, typed_), ElementsAre(N::inImmunized));
    const bool dotless = IsFolder(DotlessGuardFolderPath(root_));
    ASSERT_TRUE(dotless || IsFolder(GuardFolderPath(root_)));
    EXPECT_EQ(sys_.GuardLosesDots(), dotless) << "the system misjudges its own interpreter";
    EXPECT_THAT(immunizer_.Release(false, true, typed_), ElementsAre(N::inReleased));
    EXPECT_EQ(Attributes(root_ + "autorun.inf"), INVALID_FILE_ATTRIBUTES) << "autorun.inf left behind";
}

TEST_F(DriveImmunizerOnWindows, ReleaseThatLeavesAutorunBehindIsReportedAsFailed) {
    PlaceWindowsGuard(root_);
    PlaceFile(root_ + "autorun.inf\\keep.txt"); // the folder cannot be removed while this is there
    EXPECT_THAT(immunizer_.Release(false, true, typed_), ElementsAre(N::inReleaseFailed));
    EXPECT_THAT(immunizer_.FailedRoots(), ElementsAre(typed_));
    EXPECT_FALSE(HasGuard(root_)) << "the guard folder itself was removed";
    EXPECT_NE(ReleaseFailedText(immunizer_.FailedRoots()).find(typed_), std::string::npos);
}

TEST_F(DriveImmunizerOnWindows, ADriveWhereNothingCanBeCreatedIsReportedAsFailed) {
    // A drive whose medium went away: its letter leads nowhere.
    ScratchFolder gone("tw-gone");
    const std::vector<char> letters = twtest::FreeLetters(1);
    ASSERT_EQ(letters.size(), 1u);
    MappedDrive vanished(letters[0], DRIVE_REMOVABLE, gone.Path());
    ASSERT_TRUE(vanished.Mapped());
    ASSERT_TRUE(RemoveDirectoryA(gone.Path().c_str()));
    EXPECT_THAT(immunizer_.Immunize(false, true, vanished.Root()), ElementsAre(N::inImmunizeFailed));
    EXPECT_THAT(immunizer_.FailedRoots(), ElementsAre(vanished.Root()));
    EXPECT_NE(ImmunizeFailedText(immunizer_.FailedRoots()).find(vanished.Root()), std::string::npos);
}

TEST_F(DriveImmunizerOnWindows, TextThatIsNoDriveRootIsRefusedAndRunsNothing) {
    const std::string evil = root_ + "evil";
    PlaceFile(root_ + "keep.txt");
    ASSERT_TRUE(CreateDirectoryA((root_ + "my stick").c_str(), nullptr));
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    SetCurrentDirectoryA(root_.c_str()); // where "md E:\my stick\..." would make "stick"
    for (const std::string& text :
         {typed_ + " & md " + evil, typed_ + "|md " + evil, typed_ + "\" & md " + evil, typed_ + " /s /q ",
          typed_ + "my stick\\", root_}) {
        EXPECT_THAT(immunizer_.Immunize(false, true, text), ElementsAre(N::inUnsafeRoot)) << text;
        EXPECT_THAT(immunizer_.Release(false, true, text), ElementsAre(N::inUnsafeRoot)) << text;
    }
    SetCurrentDirectoryA(current);
    EXPECT_EQ(Attributes(evil), INVALID_FILE_ATTRIBUTES) << "an extra command ran";
    EXPECT_EQ(Attributes(root_ + "autorun.inf"), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(Attributes(root_ + "keep.txt"), INVALID_FILE_ATTRIBUTES) << "the drive was emptied";
    EXPECT_EQ(Attributes(root_ + "my"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Attributes(root_ + "stick"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Attributes(root_ + "my stick\\autorun.inf"), INVALID_FILE_ATTRIBUTES);
}

TEST(DriveEnumerationOnWine, RemovableAndFixedDrivesOfAnyLetterAreOfferedAndProcessed) {
    ScratchFolder stick("tw-stick");
    ScratchFolder disc("tw-disc");
    const std::vector<char> letters = twtest::FreeLetters(2);
    ASSERT_EQ(letters.size(), 2u);
    MappedDrive removable(letters[0], DRIVE_REMOVABLE, stick.Path());
    if (!removable.Mapped())
        GTEST_SKIP() << "drive letters cannot be mapped here (not Wine, or its mount manager refused)";
    MappedDrive cdrom(letters[1], DRIVE_CDROM, disc.Path());
    ASSERT_TRUE(cdrom.Mapped());

    TWinImmunizerSystem sys;
    EXPECT_EQ(sys.DriveType(removable.Root()), static_cast<unsigned>(DRIVE_REMOVABLE));
    EXPECT_EQ(sys.DriveType("C:\\"), static_cast<unsigned>(DRIVE_FIXED));
    TDriveImmunizer immunizer(sys);
    immunizer.Enumerate();
    const std::vector<std::string> roots = immunizer.Roots();
    EXPECT_THAT(roots, ::testing::Contains(removable.Root()));
    EXPECT_THAT(roots, ::testing::Contains("C:\\"));
    EXPECT_THAT(roots, ::testing::Not(::testing::Contains(cdrom.Root()))) << "a CD-ROM drive is not offered";
    EXPECT_TRUE(std::is_sorted(roots.begin(), roots.end())) << "roots in letter order";

    // The mapped drive is processed like any other: its folder gets the guard.
    EXPECT_THAT(immunizer.Immunize(false, true, removable.Root()), ElementsAre(N::inImmunized));
    EXPECT_TRUE(HasGuard(stick.Path() + "\\"));
}

} // namespace
