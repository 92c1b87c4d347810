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

// Typed text goes into a command line: it must not carry anything the command interpreter
// acts on (& | < > ^ " %) nor control characters. Two-byte characters of code page 936 are
// letters even when their second byte looks like '|' or '^'; a broken pair is rejected.
bool IsSafeRootText(const std::string& root);

inline constexpr char kUnsafeRootText[] =
    "盘符中含有不允许的字符（& | < > ^ \" % 或控制字符），请重新选择或输入盘符，例如 E:\\";
