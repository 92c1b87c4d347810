#include "DriveCommand.h"

#include <cstring>

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

namespace {

bool IsLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}
bool IsTrailByte(unsigned char c) {
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

} // namespace

bool IsSafeRootText(const std::string& root) {
    for (std::size_t i = 0; i < root.size(); ++i) {
        const auto c = static_cast<unsigned char>(root[i]);
        if (IsLeadByte(c)) {
            // A broken pair would let its second byte (say '&') reach the interpreter alone.
            if (i + 1 >= root.size() || !IsTrailByte(static_cast<unsigned char>(root[i + 1])))
                return false;
            ++i;
            continue;
        }
        if (c < 0x20 || c == 0x7F || std::strchr("&|<>^\"%", c) != nullptr)
            return false;
    }
    return true;
}
