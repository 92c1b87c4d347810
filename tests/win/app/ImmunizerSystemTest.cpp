// The immunizer's file steps on a real (Wine) file system, in a folder of the test's own.
#include "ImmunizerSystem.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

class ImmunizerSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
        root_ = std::string(temp) + "tw-immunizer-" + std::to_string(GetCurrentProcessId()) + "\\";
        ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr));
    }
    void TearDown() override {
        const std::string autorun = root_ + "autorun.inf";
        SetFileAttributesA(autorun.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(autorun.c_str());
        RemoveDirectoryA(autorun.c_str());
        RemoveDirectoryA(root_.c_str());
    }
    static DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

    std::string root_;
    TWinImmunizerSystem sys_;
};

TEST_F(ImmunizerSystemTest, ProtectedAutorunFileIsClearedDeletedAndReplacedByAFolder) {
    const std::string autorun = root_ + "autorun.inf";
    HANDLE f = CreateFileA(autorun.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    CloseHandle(f);
    ASSERT_TRUE(sys_.IsFile(autorun));

    sys_.ClearAttributesAndDelete(autorun);
    EXPECT_EQ(Attributes(autorun), INVALID_FILE_ATTRIBUTES);
    sys_.CreateFolder(autorun);
    EXPECT_NE(Attributes(autorun) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_FALSE(sys_.IsFile(autorun)) << "a folder is not a file";
    sys_.CreateFolder(autorun); // an existing folder stays as it is
    EXPECT_NE(Attributes(autorun) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    sys_.RemoveFolder(autorun);
    EXPECT_EQ(Attributes(autorun), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ImmunizerSystemTest, WindowsFolderHasNoTrailingBackslash) {
    const std::string dir = sys_.WindowsDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_NE(dir.back(), '\\');
    EXPECT_NE(Attributes(dir) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST_F(ImmunizerSystemTest, DriveTypesComeFromTheSystem) {
    EXPECT_EQ(sys_.DriveType("C:\\"), static_cast<unsigned>(DRIVE_FIXED));
    EXPECT_EQ(sys_.DriveType("Q:\\"), static_cast<unsigned>(DRIVE_NO_ROOT_DIR));
}

} // namespace
