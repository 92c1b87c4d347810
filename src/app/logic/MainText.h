// Texts and the command line of the main window's commands.
#pragma once

#include <string>

// The application title: task bar and message-box captions.
inline constexpr char kApplicationTitle[] = "Quellmoor系统优化大师";
inline constexpr char kMainCaption[] = "Tarnwick优化大师";

// Status panel 1: computer name, user name and the vendor's site.
std::string MainStatusText(const std::string& computerName, const std::string& userName);

// The cleaning command line: five "del /f /s /q" commands for the temporary, internet-cache,
// recent-documents, cookie and local temporary folders, run one after another.
extern const char kCleanCommandLine[];
// Shown once the interpreter has been started.
inline constexpr char kCleanStartedText[] = "        系统会自动清理完垃圾文件！";
// Shown when the interpreter could not be started.
inline constexpr char kCleanFailedText[] = "无法启动命令解释器 cmd.exe，临时文件没有被清理。";
