// A program the tests start in place of others. It leaves a file named by TW_CHILD_MARKER
// (when set) saying it ran, and with "--wait-event NAME" it ends only once that event is set
// (or after a minute).
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
    char marker[MAX_PATH] = {};
    if (GetEnvironmentVariableA("TW_CHILD_MARKER", marker, MAX_PATH) > 0) {
        HANDLE file = CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--wait-event") == 0) {
            HANDLE event = OpenEventA(SYNCHRONIZE, FALSE, argv[i + 1]);
            if (!event)
                return 2;
            const DWORD waited = WaitForSingleObject(event, 60000);
            CloseHandle(event);
            return waited == WAIT_OBJECT_0 ? 0 : 1;
        }
    return 0;
}
