// The immunizer on a real (Wine) system: its file steps, the commands it runs and what it
// reports, against folders of the test's own given as drive roots; and the drive enumeration
// over drive letters the test maps.
#include "DriveCommand.h"
#include "ImmunizerSystem.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
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

// A folder of the test's own, emptied and removed when the test ends.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name) {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        FPath = std::string(temp) + name + "-" + std::to_string(GetCurrentProcessId());
        RemoveTree(FPath);
        CreateDirectoryA(FPath.c_str(), nullptr);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() { RemoveTree(FPath); }
    const std::string& Path() const { return FPath; }

private:
    static void RemoveTree(const std::string& path) {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = data.cFileName;
                if (name == "." || name == "..")
                    continue;
                const std::string child = path + "\\" + name;
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(child);
                else
                    DeleteFileA(child.c_str());
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
        // The guard folder's name ends in dots: only the path taken as it is reaches it.
        RemoveDirectoryA(("\\\\?\\" + path).c_str());
    }
    std::string FPath;
};

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

// The whole immunizer against the stand-in root.
class DriveImmunizerOnWindows : public ImmunizerSystemTest {
protected:
    void SetUp() override { immunizer_.Enumerate(); }
    TDriveImmunizer immunizer_{sys_};
};

TEST_F(DriveImmunizerOnWindows, ProtectedAutorunFileBecomesTheGuardedFolder) {
    PlaceFile(root_ + "autorun.inf", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_THAT(immunizer_.Immunize(false, true, root_), ElementsAre(N::inImmunized));
    EXPECT_TRUE(IsFolder(root_ + "autorun.inf"));
    EXPECT_TRUE(HasGuard(root_)) << "no guard folder";
    EXPECT_TRUE(immunizer_.FailedRoots().empty());
}

// The guard as Windows' interpreter makes it ("vox..."). Wine's md drops the dots while its rd
// keeps them, so a guard made under Wine is out of the release command's reach there.
void PlaceWindowsGuard(const std::string& root) {
    CreateDirectoryA((root + "autorun.inf").c_str(), nullptr);
    ASSERT_TRUE(CreateDirectoryA(GuardFolderPath(root).c_str(), nullptr));
}

TEST_F(DriveImmunizerOnWindows, ReleaseRemovesTheGuardAndTheAutorunFolder) {
    PlaceWindowsGuard(root_);
    EXPECT_THAT(immunizer_.Release(false, true, root_), ElementsAre(N::inReleased));
    EXPECT_EQ(Attributes(root_ + "autorun.inf"), INVALID_FILE_ATTRIBUTES) << "autorun.inf left behind";
    EXPECT_TRUE(immunizer_.FailedRoots().empty());
}

TEST_F(DriveImmunizerOnWindows, ReleaseThatLeavesAutorunBehindIsReportedAsFailed) {
    PlaceWindowsGuard(root_);
    PlaceFile(root_ + "autorun.inf\\keep.txt"); // the folder cannot be removed while this is there
    EXPECT_THAT(immunizer_.Release(false, true, root_), ElementsAre(N::inReleaseFailed));
    EXPECT_THAT(immunizer_.FailedRoots(), ElementsAre(root_));
    EXPECT_FALSE(HasGuard(root_)) << "the guard folder itself was removed";
    EXPECT_NE(ReleaseFailedText(immunizer_.FailedRoots()).find(root_), std::string::npos);
}

TEST_F(DriveImmunizerOnWindows, ARootWhereNothingCanBeCreatedIsReportedAsFailed) {
    PlaceFile(root_ + "blocked");
    const std::string blocked = root_ + "blocked\\";
    EXPECT_THAT(immunizer_.Immunize(false, true, blocked), ElementsAre(N::inImmunizeFailed));
    EXPECT_THAT(immunizer_.FailedRoots(), ElementsAre(blocked));
    EXPECT_NE(ImmunizeFailedText(immunizer_.FailedRoots()).find(blocked), std::string::npos);
}

TEST_F(DriveImmunizerOnWindows, TextWithCommandCharactersIsRefusedAndRunsNothing) {
    const std::string evil = root_ + "evil";
    for (const std::string& text :
         {root_ + " & md " + evil, root_ + "|md " + evil, root_ + "\" & md " + evil}) {
        EXPECT_THAT(immunizer_.Immunize(false, true, text), ElementsAre(N::inUnsafeRoot)) << text;
        EXPECT_THAT(immunizer_.Release(false, true, text), ElementsAre(N::inUnsafeRoot)) << text;
    }
    EXPECT_EQ(Attributes(evil), INVALID_FILE_ATTRIBUTES) << "an extra command ran";
    EXPECT_EQ(Attributes(root_ + "autorun.inf"), INVALID_FILE_ATTRIBUTES);
}

// Wine's mount manager maps a drive letter to a folder with a drive type, as its configuration
// tool does; on Windows the test is skipped.
class MappedDrive {
public:
    MappedDrive(char letter, UINT type, const std::string& folder) : FLetter(letter) {
        using UnixName = char*(CDECL*)(LPCWSTR);
        const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
        if (!unixName)
            return;
        const std::wstring wide(folder.begin(), folder.end()); // the scratch path is ASCII
        char* mountPoint = unixName(wide.c_str());
        if (!mountPoint)
            return;
        FMapped = Define(type, mountPoint);
        HeapFree(GetProcessHeap(), 0, mountPoint);
    }
    MappedDrive(const MappedDrive&) = delete;
    MappedDrive& operator=(const MappedDrive&) = delete;
    ~MappedDrive() {
        if (FMapped)
            Define(DRIVE_UNKNOWN, nullptr);
    }
    bool Mapped() const { return FMapped; }
    std::string Root() const { return std::string(1, FLetter) + ":\\"; }

private:
    // The request layout of the mount manager's "define a Unix drive" call.
    struct TUnixDrive {
        ULONG Size;
        ULONG Type; // a GetDriveType value
        ULONG FsType;
        DWORD Serial;
        ULONGLONG UnixDevice;
        WCHAR Letter;
        USHORT MountPointOffset;
        USHORT DeviceOffset;
        USHORT LabelOffset;
    };
    static constexpr DWORD kDefineUnixDrive =
        CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

    bool Define(UINT type, const char* mountPoint) const {
        std::string request(sizeof(TUnixDrive), '\0');
        if (mountPoint)
            request.append(mountPoint).push_back('\0');
        TUnixDrive drive{};
        drive.Size = static_cast<ULONG>(request.size());
        drive.Type = type;
        drive.Letter = static_cast<WCHAR>(FLetter - 'A' + 'a');
        drive.MountPointOffset = mountPoint ? static_cast<USHORT>(sizeof drive) : 0;
        request.replace(0, sizeof drive, reinterpret_cast<const char*>(&drive), sizeof drive);
        HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (manager == INVALID_HANDLE_VALUE)
            return false;
        DWORD returned = 0;
        const BOOL ok = DeviceIoControl(manager, kDefineUnixDrive, request.data(), drive.Size, nullptr, 0,
                                        &returned, nullptr);
        CloseHandle(manager);
        return ok && GetDriveTypeA(Root().c_str()) == (mountPoint ? type : DRIVE_NO_ROOT_DIR);
    }

    char FLetter;
    bool FMapped = false;
};

// Letters no drive uses, from the end of the alphabet (Z is Wine's view of the Unix root).
std::vector<char> FreeLetters(std::size_t count) {
    std::vector<char> letters;
    for (char letter = 'Y'; letter >= 'D' && letters.size() < count; --letter)
        if (GetDriveTypeA((std::string(1, letter) + ":\\").c_str()) == DRIVE_NO_ROOT_DIR)
            letters.push_back(letter);
    return letters;
}

TEST(DriveEnumerationOnWine, RemovableAndFixedDrivesOfAnyLetterAreOfferedAndProcessed) {
    ScratchFolder stick("tw-stick");
    ScratchFolder disc("tw-disc");
    const std::vector<char> letters = FreeLetters(2);
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
