// Starting programs the way the maintenance tools do, without letting a program of the same
// name in the program's own folder (a USB stick's root, say) stand in for the system's.
#pragma once

#include "WinHandle.h"

#include <windows.h>

#include <string>

struct TKernelHandleTraits {
    using handle_type = HANDLE;
    static void Free(HANDLE h) { CloseHandle(h); }
};
using TKernelHandle = THandle<TKernelHandleTraits>;

// The system's own command interpreter: cmd.exe in the system folder.
std::string SystemInterpreterPath();

// Starts commandLine with the window shown as `show`. The program run is application when it
// is given (a full path; the command line is then passed on as it is), else the one the
// command line names. Returns WinExec's value: above 31 once started, else the system's error
// code when it is one of the small ones (0 otherwise). process, when given, receives the
// started process.
unsigned StartProgram(const std::string& application, const std::string& commandLine, WORD show,
                      TKernelHandle* process = nullptr);
