// How a startup entry's command line is turned into the program file to look for.
#include "StartupCommand.h"

#include <gtest/gtest.h>

namespace {

TEST(ExtractCommandPath, UnquotedPathIsLowerCasedAndCutAfterExe) {
    EXPECT_EQ(ExtractCommandPath("C:\\Program Files\\App\\app.exe -min"), "c:\\program files\\app\\app.exe");
    EXPECT_EQ(ExtractCommandPath("rundll32.exe shell32.dll,Control_RunDLL"), "rundll32.exe");
    EXPECT_EQ(ExtractCommandPath("  C:\\APP.EXE  "), "c:\\app.exe") << "trimmed, short tail after the dot";
}

TEST(ExtractCommandPath, QuotedPathKeepsItsCase) {
    EXPECT_EQ(ExtractCommandPath("\"C:\\Program Files\\App\\app.exe\" /tray"),
              "C:\\Program Files\\App\\app.exe");
    EXPECT_EQ(ExtractCommandPath("\"C:\\Program Files\\App\\app.exe /tray"), "") << "never closed";
}

TEST(ExtractCommandPath, OddResultsThatCallersRelyOn) {
    EXPECT_EQ(ExtractCommandPath("c:\\tools.v2\\app.exe"), "c:\\") << "no \".exe \" with a blank after it";
    EXPECT_EQ(ExtractCommandPath("notepad"), "not") << "no dot: the first three characters";
    EXPECT_EQ(ExtractCommandPath("ab"), "ab");
    EXPECT_EQ(ExtractCommandPath(""), "");
    EXPECT_EQ(ExtractCommandPath("a.b"), "a.b");
}

TEST(ExeCommandPath, CutsAfterTheFirstExeInAnyCase) {
    EXPECT_EQ(ExeCommandPath("c:\\tools.v2\\App.EXE"), "c:\\tools.v2\\App.EXE");
    EXPECT_EQ(ExeCommandPath("c:\\tools.v2\\app.exe -x"), "c:\\tools.v2\\app.exe");
    EXPECT_EQ(ExeCommandPath("\"c:\\my.tools\\app.exe\" /min"), "c:\\my.tools\\app.exe");
    EXPECT_EQ(ExeCommandPath("c:\\tools\\script.cmd"), "");
}

} // namespace
