// The USB immunizer's command lines and the check of a drive root the user typed.
#pragma once

#include <string>

// windowsDir + "\system32\cmd.exe /c md " + root + "autorun.inf\vox...\": the guard folder
// whose name ends in dots cannot be removed by ordinary tools.
std::string ImmunizeCommandLine(const std::string& windowsDir, const std::string& root);
// The same with "rd": removes the guard folder again.
std::string RemoveImmunizationCommandLine(const std::string& windowsDir, const std::string& root);
// The guard folder as both command lines name it: root + "autorun.inf\vox...\".
std::string GuardFolderPath(const std::string& root);
// The same folder where an interpreter dropped the dots when it created it (Wine's does):
// root + "autorun.inf\vox".
std::string DotlessGuardFolderPath(const std::string& root);

// Typed text goes into a command line: only a drive root, a letter and a colon with or
// without a backslash ("E:", "e:\"), is accepted. Anything more (a folder, a blank, "/s",
// "&") would reach the interpreter as a path of its own or as switches.
bool IsDriveRootText(const std::string& root);

inline constexpr char kUnsafeRootText[] =
    "请从列表中选择盘符，或只输入盘符，例如 E:\\ 或 E:（不能带文件夹、空格或其他字符）。";
