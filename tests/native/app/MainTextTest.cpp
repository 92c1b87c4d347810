#include "MainText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MainStatusText, NamesInOrderWithTheVendorSite) {
    EXPECT_EQ(MainStatusText("PC-01", "alice"), " 计算机名称:PC-01   用户:alice 网址：www.tarnwick.example");
    EXPECT_EQ(MainStatusText("PC-01", ""), " 计算机名称:PC-01   用户: 网址：www.tarnwick.example")
        << "a missing user name leaves nothing between the labels";
}

TEST(CleanCommandLine, FiveDeletionsRunAsSeparateCommands) {
    const std::string line = kCleanCommandLine;
    EXPECT_EQ(line.rfind("cmd /C del /f /s /q \"C:\\WINDOWS\\Temp\\*\" & ", 0), 0u);
    std::size_t commands = 0;
    for (std::size_t at = 0; (at = line.find("del /f /s /q \"", at)) != std::string::npos; ++at)
        ++commands;
    EXPECT_EQ(commands, 5u);
    std::size_t separators = 0;
    for (std::size_t at = 0; (at = line.find(" & del ", at)) != std::string::npos; ++at)
        ++separators;
    EXPECT_EQ(separators, 4u) << "every later del must start a command of its own";
    for (const char* pattern : {"\"%userprofile%\\Local Settings\\Temporary Internet Files\\*.*\"",
                                "\"%userprofile%\\Recent\\*.*\"", "\"%userprofile%\\Cookies\\*.*\"",
                                "\"%userprofile%\\Local Settings\\Temp\\*.*\""})
        EXPECT_NE(line.find(pattern), std::string::npos) << pattern;
    EXPECT_EQ(line.back(), '"');
}

} // namespace
