#include "SkinViewFiles.h"

#include "WinHandle.h"

#include <commdlg.h>

namespace {

// Larger files are no skin: the reader keeps every bitmap in memory.
constexpr LONGLONG kMaxSkinFileBytes = 64ll << 20;

std::string SystemProblem(const char* what) {
    const DWORD code = GetLastError();
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string message = std::string(what) + (text ? std::string(": ") + text : std::string());
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message;
}

} // namespace

bool ReadSkinFile(const std::wstring& path, TMemoryStream& stream, std::string& problem) {
    TFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        problem = SystemProblem("The file cannot be opened");
        return false;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size)) {
        problem = SystemProblem("The file cannot be read");
        return false;
    }
    if (size.QuadPart > kMaxSkinFileBytes) {
        problem = "The file is too large to be a skin.";
        return false;
    }
    std::vector<char> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
         read != bytes.size())) {
        problem = SystemProblem("The file cannot be read");
        return false;
    }
    stream.Clear();
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    return true;
}

bool WriteWholeFile(const std::wstring& path, const std::vector<std::uint8_t>& bytes, std::string& problem) {
    TFileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        problem = SystemProblem("The file cannot be created");
        return false;
    }
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size()) {
        problem = SystemProblem("The file cannot be written");
        return false;
    }
    return true;
}

std::wstring AskForSkinFile(HWND owner, const std::wstring& current) {
    std::wstring buffer(MAX_PATH * 4, L'\0');
    current.copy(buffer.data(), std::min(current.size(), buffer.size() - 1));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"Skin files (*.skn)\0*.skn\0All files (*.*)\0*.*\0";
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrTitle = L"Open skin";
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&dialog))
        return {};
    buffer.resize(wcslen(buffer.c_str()));
    return buffer;
}
