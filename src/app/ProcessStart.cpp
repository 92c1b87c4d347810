#include "ProcessStart.h"

std::string SystemInterpreterPath() {
    char folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    return length && length < MAX_PATH ? std::string(folder, length) + "\\cmd.exe" : std::string();
}

unsigned StartProgram(const std::string& application, const std::string& commandLine, WORD show,
                      TKernelHandle* process) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = show;
    PROCESS_INFORMATION info{};
    std::string line = commandLine; // CreateProcessA may write into its command line
    if (!CreateProcessA(application.empty() ? nullptr : application.c_str(), line.data(), nullptr, nullptr,
                        FALSE, 0, nullptr, nullptr, &startup, &info)) {
        const DWORD code = GetLastError();
        return code <= 31 ? static_cast<unsigned>(code) : 0;
    }
    TKernelHandle started(info.hProcess);
    const TKernelHandle thread(info.hThread);
    if (process)
        *process = std::move(started);
    return 33;
}
