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

TEST(IsSafeRootText, RejectsWhatTheInterpreterWouldAct) {
    for (const char* bad :
         {"E:\\ & del x", "E:\\|x", "E:<", "E:>", "E:^", "E:\"", "%TEMP%", "E:\\\n", "E:\t", "\x7f"})
        EXPECT_FALSE(IsSafeRootText(bad)) << bad;
}

TEST(IsSafeRootText, AcceptsRootsAndTwoByteCharacters) {
    for (const char* good : {"E:\\", "E:", "", "Z:\\folder name\\", "E:\\data.v2\\"})
        EXPECT_TRUE(IsSafeRootText(good)) << good;
    // A two-byte character whose trail byte is '|' (0x7C) is a letter, not a pipe.
    EXPECT_TRUE(IsSafeRootText("E:\\\x81\x7C\\"));
    EXPECT_FALSE(IsSafeRootText("E:\\\x81")) << "a lone lead byte at the end is not a character";
    EXPECT_FALSE(IsSafeRootText("E:\x81& del x")) << "'&' is no trail byte: it would stand alone";
}

} // namespace
