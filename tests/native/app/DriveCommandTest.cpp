#include "DriveCommand.h"

#include <gtest/gtest.h>

namespace {

TEST(DriveCommandLines, GuardFolderUnderTheRoot) {
    EXPECT_EQ(ImmunizeCommandLine("C:\\WINDOWS", "E:\\"),
              "C:\\WINDOWS\\system32\\cmd.exe /c md E:\\autorun.inf\\vox...\\");
    EXPECT_EQ(RemoveImmunizationCommandLine("C:\\WINDOWS", "E:\\"),
              "C:\\WINDOWS\\system32\\cmd.exe /c rd E:\\autorun.inf\\vox...\\");
    EXPECT_EQ(ImmunizeCommandLine("C:\\WINDOWS", "E:"),
              "C:\\WINDOWS\\system32\\cmd.exe /c md E:autorun.inf\\vox...\\")
        << "typed text is used unchanged";
}

TEST(IsDriveRootText, AcceptsOnlyALetterAndAColonWithOrWithoutBackslash) {
    for (const char* good : {"E:\\", "E:", "e:\\", "a:", "Z:\\"})
        EXPECT_TRUE(IsDriveRootText(good)) << good;
    // Switches, blanks, folders and interpreter characters would all reach the command line;
    // two-byte characters are refused whatever their trail byte looks like.
    for (const char* bad : {"E:\\ /s /q ",
                            "E:\\ ",
                            " E:\\",
                            "E:\\/s",
                            "E:\\,",
                            "E:\\;",
                            "E:=",
                            "E:\\my stick\\",
                            "Z:\\folder name\\",
                            "E:\\data.v2\\",
                            "E:\\ & del x",
                            "E:\\|x",
                            "E:<",
                            "E:^",
                            "E:\"",
                            "%TEMP%",
                            "E:\\\n",
                            "E:\t",
                            "",
                            "E",
                            ":\\",
                            "EE:",
                            "1:\\",
                            "E:/",
                            "E:\\\\",
                            "\\\\server\\share\\",
                            "\xB5:\\",
                            "E:\\\x81\x7C\\"})
        EXPECT_FALSE(IsDriveRootText(bad)) << bad;
}

} // namespace
