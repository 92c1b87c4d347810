// skinview SKINFILE                        shows the preview with that skin
// skinview SKINFILE --screenshot OUT.png   writes the preview, active and inactive, and exits
#include "SkinMessage.h"
#include "SkinViewCapture.h"
#include "SkinViewFiles.h"
#include "SkinViewForm.h"
#include "SysUtils.h"
#include "WinSkinManage.h"

#include <array>
#include <optional>

#include <shellapi.h>

namespace {

constexpr const char* kUsage = "Usage: skinview SKINFILE [--screenshot OUT.png]";
constexpr DWORD kScreenshotTimeoutMs = 30000;

struct TArguments {
    std::wstring SkinFile;
    std::optional<std::wstring> Screenshot;
};

std::optional<TArguments> ParseArguments() {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!words)
        return std::nullopt;
    TArguments arguments;
    bool sound = true;
    for (int i = 1; i < count && sound; ++i) {
        const std::wstring word = words[i];
        if (word == L"--screenshot" && i + 1 < count && !arguments.Screenshot)
            arguments.Screenshot = words[++i];
        else if (!word.empty() && word[0] != L'-' && arguments.SkinFile.empty())
            arguments.SkinFile = word;
        else
            sound = false;
    }
    LocalFree(words);
    if (!sound || (arguments.Screenshot && arguments.SkinFile.empty()))
        return std::nullopt;
    return arguments;
}

// A GUI program has no console of its own: messages go to the one it was started from, or
// to wherever its standard error was redirected.
void WriteToConsole(std::string text) {
    for (char& c : text)
        if (c == '\r')
            c = '\n';
    text += '\n';
    HANDLE out = GetStdHandle(STD_ERROR_HANDLE);
    if ((!out || out == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS))
        out = GetStdHandle(STD_ERROR_HANDLE);
    DWORD written = 0;
    if (out && out != INVALID_HANDLE_VALUE)
        WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

int Screenshot(TSkinViewForm& form, const std::wstring& output) {
    TForm& second = *form.SecondWindow();
    second.Show();
    form.Show();
    SetForegroundWindow(form.Handle());
    const std::array<HWND, 2> windows{form.Handle(), second.Handle()};
    if (!WaitSkinnedAndPainted(windows, kScreenshotTimeoutMs)) {
        WriteToConsole("skinview: the windows were not skinned and painted in time.");
        return 1;
    }
    const std::vector<std::uint8_t> png = CaptureScreenPng(BoundsOf(windows));
    std::string problem = "The screen could not be read.";
    if (png.empty() || !WriteWholeFile(output, png, problem)) {
        WriteToConsole("skinview: " + WideToAnsi(output) + ": " + problem);
        return 1;
    }
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::optional<TArguments> arguments = ParseArguments();
    if (!arguments) {
        WriteToConsole(kUsage);
        ShowSkinMessage(kUsage);
        return 2;
    }
    const bool screenshot = arguments->Screenshot.has_value();
    // A screenshot run must never wait on a message box.
    std::optional<TSkinMessageSinkScope> console;
    if (screenshot)
        console.emplace([](const std::string& text) { WriteToConsole("skinview: " + text); });

    Application->Initialize();
    Application->SetTitle("Skin preview");
    TSkinManageScope watcher;
    TSkinViewForm* form = nullptr;
    Application->CreateForm(form);
    std::wstring skinFile = arguments->SkinFile;
    if (skinFile.empty())
        skinFile = AskForSkinFile(nullptr, L"");
    if (skinFile.empty())
        return 0;
    if (!form->OpenSkin(skinFile))
        return 1;
    if (screenshot)
        return Screenshot(*form, *arguments->Screenshot);
    form->SecondWindow()->Show();
    form->Show();
    Application->Run();
    return 0;
}
