#include "DriveCommand.h"

namespace {

const char kGuardFolder[] = "autorun.inf\\vox...\\";

std::string CommandLine(const std::string& windowsDir, const char* verb, const std::string& root) {
    return windowsDir + "\\system32\\cmd.exe /c " + verb + " " + root + kGuardFolder;
}

} // namespace

std::string ImmunizeCommandLine(const std::string& windowsDir, const std::string& root) {
    return CommandLine(windowsDir, "md", root);
}

std::string RemoveImmunizationCommandLine(const std::string& windowsDir, const std::string& root) {
    return CommandLine(windowsDir, "rd", root);
}

std::string GuardFolderPath(const std::string& root) {
    return root + kGuardFolder;
}

std::string DotlessGuardFolderPath(const std::string& root) {
    return root + "autorun.inf\\vox";
}

bool IsDriveRootText(const std::string& root) {
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    return (root.size() == 2 || (root.size() == 3 && root[2] == '\\')) && isLetter(root[0]) && root[1] == ':';
}
