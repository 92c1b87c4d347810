#include "DriveImmunizer.h"

#include "DriveCommand.h"

namespace {

constexpr unsigned kStarted = 31; // WinExec values up to 31 are error codes
const char kAutorun[] = "autorun.inf";

} // namespace

void TDriveImmunizer::Enumerate() {
    for (int i = 0; i < 26; ++i) {
        const std::string root = std::string(1, static_cast<char>('A' + i)) + ":\\";
        const unsigned type = FPlatform.DriveType(root);
        FDriveRoots[i] = type == kDriveRemovable || type == kDriveFixed ? root : std::string();
    }
    FWindowsDir = FPlatform.WindowsDir();
}

std::vector<std::string> TDriveImmunizer::Roots() const {
    std::vector<std::string> roots;
    for (const std::string& root : FDriveRoots)
        if (!root.empty())
            roots.push_back(root);
    return roots;
}

unsigned TDriveImmunizer::ImmunizeRoot(const std::string& root) {
    const std::string autorun = root + kAutorun;
    if (FPlatform.IsFile(autorun))
        FPlatform.ClearAttributesAndDelete(autorun);
    FPlatform.CreateFolder(autorun);
    return FPlatform.Run(ImmunizeCommandLine(FWindowsDir, root));
}

void TDriveImmunizer::ReleaseRoot(const std::string& root) {
    FPlatform.Run(RemoveImmunizationCommandLine(FWindowsDir, root));
    FPlatform.RemoveFolder(root + kAutorun);
}

std::vector<TImmunizerNotice> TDriveImmunizer::Immunize(bool allDrives, bool oneDrive,
                                                        const std::string& root) {
    std::vector<TImmunizerNotice> notices;
    if (allDrives) {
        const std::vector<std::string> roots = Roots();
        unsigned last = 0;
        for (const std::string& r : roots)
            last = ImmunizeRoot(r);
        // Only the last command's start decides, as users of the dialog have come to expect.
        if (!roots.empty() && last > kStarted)
            notices.push_back(TImmunizerNotice::inImmunized);
    }
    if (oneDrive && !root.empty()) {
        if (!IsSafeRootText(root))
            notices.push_back(TImmunizerNotice::inUnsafeRoot);
        else if (ImmunizeRoot(root) > kStarted)
            notices.push_back(TImmunizerNotice::inImmunized);
    }
    return notices;
}

std::vector<TImmunizerNotice> TDriveImmunizer::Release(bool allDrives, bool oneDrive,
                                                       const std::string& root) {
    if (oneDrive && !IsSafeRootText(root))
        return {TImmunizerNotice::inUnsafeRoot};
    if (allDrives)
        for (const std::string& r : Roots())
            ReleaseRoot(r);
    if (oneDrive)
        ReleaseRoot(root);
    return {TImmunizerNotice::inReleased};
}
