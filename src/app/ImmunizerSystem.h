// The immunizer's system calls on Windows.
#pragma once

#include "DriveImmunizer.h"

#include <chrono>
#include <functional>
#include <optional>

class TWinImmunizerSystem final : public TImmunizerPlatform {
public:
    // How long Run waits for the command interpreter before the result is looked at.
    static constexpr std::chrono::milliseconds kCommandWait{10000};

    // Handles the messages waiting for the thread; false once the program is to end.
    using TMessagePump = std::function<bool()>;
    // The thread's messages, dispatched as they are; WM_QUIT is put back for the loop above.
    static bool PumpThreadMessages();

    explicit TWinImmunizerSystem(TMessagePump pump = PumpThreadMessages) : FPump(std::move(pump)) {}

    unsigned DriveType(const std::string& root) override;
    std::string WindowsDir() override;
    bool IsFile(const std::string& path) override;
    void ClearAttributesAndDelete(const std::string& path) override;
    void CreateFolder(const std::string& path) override;
    void RemoveFolder(const std::string& path) override;
    // Started hidden like WinExec, but waited for: the command's work is done when the
    // immunizer looks at the drive. The thread's messages are handled meanwhile, so windows
    // keep painting and timers keep running.
    unsigned Run(const std::string& commandLine) override;
    std::optional<bool> FolderExists(const std::string& path) override;
    // Found out once, by having the interpreter make a guard in a scratch folder.
    bool GuardLosesDots() override;
    // SEM_FAILCRITICALERRORS while probing; the interpreters started meanwhile inherit it.
    void BeginDriveProbe() override;
    void EndDriveProbe() override;

private:
    TMessagePump FPump;
    std::optional<bool> FGuardLosesDots;
    int FProbeDepth = 0;
    unsigned FErrorModeBefore = 0;
};
