// Starting the system's interpreter while a program named cmd.exe lies beside this program, as
// one planted on the USB stick the program runs from would.
#include "ProcessStart.h"
#include "TestDrives.h"

#include <gtest/gtest.h>

namespace {

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A copy of the test child as cmd.exe in this program's folder, removed again afterwards.
class PlantedInterpreter {
public:
    PlantedInterpreter() {
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        FPath = self;
        FPath = FPath.substr(0, FPath.find_last_of('\\') + 1) + "cmd.exe";
        FPlanted = CopyFileA(twtest::WindowsPath(TW_TEST_CHILD_PATH).c_str(), FPath.c_str(), TRUE) != FALSE;
    }
    PlantedInterpreter(const PlantedInterpreter&) = delete;
    PlantedInterpreter& operator=(const PlantedInterpreter&) = delete;
    ~PlantedInterpreter() {
        if (FPlanted)
            DeleteFileA(FPath.c_str());
    }
    bool Planted() const { return FPlanted; }

private:
    std::string FPath;
    bool FPlanted = false;
};

bool RunAndWait(const std::string& application, const std::string& commandLine) {
    TKernelHandle process;
    if (StartProgram(application, commandLine, SW_HIDE, &process) <= 31 || !process)
        return false;
    return WaitForSingleObject(process.Get(), 60000) == WAIT_OBJECT_0;
}

TEST(StartProgram, TheSystemInterpreterRunsByItsFullPathWithTheCommandTextUnchanged) {
    twtest::ScratchFolder scratch("tw-planted");
    const std::string planted = scratch.Path() + "\\planted-ran";
    const std::string echoed = scratch.Path() + "\\interpreter-ran";
    PlantedInterpreter plant;
    ASSERT_TRUE(plant.Planted());
    SetEnvironmentVariableA("TW_CHILD_MARKER", planted.c_str());
    const std::string command = "cmd /C echo ok> \"" + echoed + "\"";

    // Started by name, the program beside this one is what runs.
    ASSERT_TRUE(RunAndWait({}, command));
    ASSERT_TRUE(Exists(planted)) << "the plant is not found by name here: the test would prove nothing";
    ASSERT_FALSE(Exists(echoed));
    DeleteFileA(planted.c_str());

    ASSERT_TRUE(RunAndWait(SystemInterpreterPath(), command));
    SetEnvironmentVariableA("TW_CHILD_MARKER", nullptr);
    EXPECT_TRUE(Exists(echoed)) << "the command text did not reach the system's interpreter";
    EXPECT_FALSE(Exists(planted)) << "the planted cmd.exe ran";
}

TEST(StartProgram, AFailedStartGivesTheSystemsErrorCode) {
    const unsigned code = StartProgram("C:\\tw-nowhere\\cmd.exe", "cmd /C rem", SW_HIDE);
    EXPECT_TRUE(code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) << code;
    EXPECT_EQ(SystemInterpreterPath().substr(SystemInterpreterPath().size() - 8), "\\cmd.exe");
}

} // namespace
