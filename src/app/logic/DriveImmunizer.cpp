#include "DriveImmunizer.h"

#include "DriveCommand.h"

namespace {

constexpr unsigned kStarted = 31; // values up to 31 are error codes
const char kAutorun[] = "autorun.inf";

std::string JoinRoots(const std::vector<std::string>& roots) {
    std::string text;
    for (const std::string& root : roots)
        text += (text.empty() ? "" : " ") + (root.empty() ? std::string("（空）") : root);
    return text;
}

// Drives are probed quietly for as long as the scope lasts.
class TDriveProbe {
public:
    explicit TDriveProbe(TImmunizerPlatform& platform) : FPlatform(platform) { FPlatform.BeginDriveProbe(); }
    TDriveProbe(const TDriveProbe&) = delete;
    TDriveProbe& operator=(const TDriveProbe&) = delete;
    ~TDriveProbe() { FPlatform.EndDriveProbe(); }

private:
    TImmunizerPlatform& FPlatform;
};

} // namespace

// One Immunize or Release at a time, its drives probed quietly.
class TDriveImmunizer::TRunScope {
public:
    explicit TRunScope(TDriveImmunizer& owner) : FOwner(owner), FProbe(owner.FPlatform) {
        FOwner.FBusy = true;
    }
    TRunScope(const TRunScope&) = delete;
    TRunScope& operator=(const TRunScope&) = delete;
    ~TRunScope() { FOwner.FBusy = false; }

private:
    TDriveImmunizer& FOwner;
    TDriveProbe FProbe;
};

void TDriveImmunizer::Enumerate() {
    const TDriveProbe probe(FPlatform);
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
    const unsigned started = FPlatform.Run(ImmunizeCommandLine(FWindowsDir, root));
    // The guard folder is the proof that the interpreter did its part.
    const std::optional<bool> guard = FPlatform.FolderExists(GuardFolderPath(root));
    if (guard == false && FPlatform.FolderExists(DotlessGuardFolderPath(root)) == false)
        FFailedRoots.push_back(root);
    return started;
}

void TDriveImmunizer::ReleaseRoot(const std::string& root) {
    FPlatform.Run(RemoveImmunizationCommandLine(FWindowsDir, root));
    // Where the immunize command made the guard without its dots, the release command missed
    // it; an ordinary removal reaches that name (and only an empty folder goes).
    if (FPlatform.GuardLosesDots())
        FPlatform.RemoveFolder(DotlessGuardFolderPath(root));
    // Only once the guard folder is gone can the emptied "autorun.inf" folder go.
    FPlatform.RemoveFolder(root + kAutorun);
    if (FPlatform.FolderExists(root + kAutorun) == true)
        FFailedRoots.push_back(root);
}

template <class Command>
std::vector<TImmunizerNotice> TDriveImmunizer::Exclusive(Command command) {
    if (FBusy)
        return {};
    const TRunScope run(*this);
    return command();
}

std::vector<TImmunizerNotice> TDriveImmunizer::Immunize(bool allDrives, bool oneDrive,
                                                        const std::string& root) {
    return Exclusive([&] { return DoImmunize(allDrives, oneDrive, root); });
}

std::vector<TImmunizerNotice> TDriveImmunizer::Release(bool allDrives, bool oneDrive,
                                                       const std::string& root) {
    return Exclusive([&] { return DoRelease(allDrives, oneDrive, root); });
}

std::vector<TImmunizerNotice> TDriveImmunizer::DoImmunize(bool allDrives, bool oneDrive,
                                                          const std::string& root) {
    FFailedRoots.clear();
    std::vector<TImmunizerNotice> notices;
    if (allDrives) {
        const std::vector<std::string> roots = Roots();
        unsigned last = 0;
        for (const std::string& r : roots)
            last = ImmunizeRoot(r);
        // A drive seen to have failed is named; otherwise the last command's start decides.
        if (!FFailedRoots.empty())
            notices.push_back(TImmunizerNotice::inImmunizeFailed);
        else if (!roots.empty() && last > kStarted)
            notices.push_back(TImmunizerNotice::inImmunized);
    }
    if (oneDrive) {
        const std::size_t failedBefore = FFailedRoots.size();
        if (!IsDriveRootText(root))
            notices.push_back(TImmunizerNotice::inUnsafeRoot);
        else if (const unsigned started = ImmunizeRoot(root); FFailedRoots.size() > failedBefore)
            notices.push_back(TImmunizerNotice::inImmunizeFailed);
        else if (started > kStarted)
            notices.push_back(TImmunizerNotice::inImmunized);
    }
    return notices;
}

std::vector<TImmunizerNotice> TDriveImmunizer::DoRelease(bool allDrives, bool oneDrive,
                                                         const std::string& root) {
    FFailedRoots.clear();
    if (oneDrive && !IsDriveRootText(root))
        return {TImmunizerNotice::inUnsafeRoot};
    if (allDrives)
        for (const std::string& r : Roots())
            ReleaseRoot(r);
    if (oneDrive)
        ReleaseRoot(root);
    return {FFailedRoots.empty() ? TImmunizerNotice::inReleased : TImmunizerNotice::inReleaseFailed};
}

std::string ImmunizeFailedText(const std::vector<std::string>& roots) {
    return "以下磁盘免疫失败：" + JoinRoots(roots) + "\r\n请确认磁盘已连接并且可以写入。";
}

std::string ReleaseFailedText(const std::vector<std::string>& roots) {
    return "以下磁盘取消免疫失败：" + JoinRoots(roots) +
           "\r\n请确认磁盘已连接并且可以写入，\"autorun.inf\" 文件夹中没有其他文件。";
}
