// The USB immunizer's work: which drives it offers, and immunizing or releasing a drive root by
// replacing "autorun.inf" with a folder that holds an undeletable guard folder.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

// What the immunizer asks of the system; the Windows build passes the real calls, tests a fake.
class TImmunizerPlatform {
public:
    virtual ~TImmunizerPlatform() = default;
    virtual unsigned DriveType(const std::string& root) = 0; // GetDriveTypeA
    virtual std::string WindowsDir() = 0;                    // without a trailing backslash
    virtual bool IsFile(const std::string& path) = 0;        // exists and is not a folder
    virtual void ClearAttributesAndDelete(const std::string& path) = 0;
    virtual void CreateFolder(const std::string& path) = 0;
    virtual void RemoveFolder(const std::string& path) = 0; // succeeds only when empty
    // Runs a command line hidden; returns above 31 when it started, else the system's error
    // code (WinExec's convention). Where the outcome can be looked at, the command has ended
    // (or a few seconds have passed) on return.
    virtual unsigned Run(const std::string& commandLine) = 0;
    // Whether a folder is there. A system that cannot be looked at answers nullopt; then only
    // the start of the commands tells how an operation went.
    virtual std::optional<bool> FolderExists(const std::string&) { return std::nullopt; }
    // Whether this system's interpreter creates the guard folder without the dots of its name
    // ("vox"), which its own release command then does not reach.
    virtual bool GuardLosesDots() { return false; }
    // Between these calls drives are probed: a drive without a medium (an empty card reader)
    // must fail quietly rather than ask the user with a system message box. Calls nest.
    virtual void BeginDriveProbe() {}
    virtual void EndDriveProbe() {}
};

// What the dialog tells the user after a command, in order.
enum class TImmunizerNotice { inImmunized, inReleased, inUnsafeRoot, inImmunizeFailed, inReleaseFailed };

class TDriveImmunizer {
public:
    static constexpr unsigned kDriveRemovable = 2;
    static constexpr unsigned kDriveFixed = 3;

    explicit TDriveImmunizer(TImmunizerPlatform& platform) : FPlatform(platform) {}

    // Reads the 26 drive letters (removable and fixed drives only) and the Windows folder.
    void Enumerate();
    // The roots found, in letter order ("E:\").
    std::vector<std::string> Roots() const;
    const std::string& WindowsDir() const { return FWindowsDir; }

    // "免疫": every drive when allDrives, then the typed or chosen root when oneDrive; only a
    // drive root is accepted as that root. A root counts as immunized when its guard folder is
    // there afterwards. While an Immunize or Release runs (the system may handle the user's
    // messages meanwhile) another one does nothing and returns no notice.
    std::vector<TImmunizerNotice> Immunize(bool allDrives, bool oneDrive, const std::string& root);
    // "取消免疫": the same choice. A root counts as released when no "autorun.inf" folder is
    // left; success is reported unless a root is seen to have failed or the typed root is
    // refused.
    std::vector<TImmunizerNotice> Release(bool allDrives, bool oneDrive, const std::string& root);
    // The roots that failed in the last Immunize or Release, in the order they were processed.
    const std::vector<std::string>& FailedRoots() const { return FFailedRoots; }
    bool Busy() const { return FBusy; }

private:
    class TRunScope;

    unsigned ImmunizeRoot(const std::string& root);
    void ReleaseRoot(const std::string& root);
    // Runs the command unless another one runs already.
    template <class Command>
    std::vector<TImmunizerNotice> Exclusive(Command command);
    std::vector<TImmunizerNotice> DoImmunize(bool allDrives, bool oneDrive, const std::string& root);
    std::vector<TImmunizerNotice> DoRelease(bool allDrives, bool oneDrive, const std::string& root);

    TImmunizerPlatform& FPlatform;
    std::array<std::string, 26> FDriveRoots;
    std::string FWindowsDir;
    std::vector<std::string> FFailedRoots;
    bool FBusy = false;
};

inline constexpr char kImmunizerCaption[] = "免疫信息提示";
inline constexpr char kImmunizedText[] = "免疫成功";
inline constexpr char kReleasedText[] = "取消免疫成功";

// The failure messages: the drives that failed, separated by blanks.
std::string ImmunizeFailedText(const std::vector<std::string>& roots);
std::string ReleaseFailedText(const std::vector<std::string>& roots);
