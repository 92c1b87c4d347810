// The program as users get it: the stripped exe carries the version information Explorer
// shows and the About box agrees with, the manifest that keeps it out of the system's
// compatibility handling, and it still starts and wears its skin.
#include "ProgramTest.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

using namespace std::chrono_literals;
using ::testing::HasSubstr;

namespace {

std::wstring WidePath(const std::string& path) {
    const std::string windows = e2e::ToWindowsPath(path);
    return std::wstring(windows.begin(), windows.end()); // build paths are ASCII
}

std::string Utf8(std::wstring_view text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                        nullptr);
    return out;
}

std::string FromU8(std::u8string_view text) {
    return {text.begin(), text.end()};
}

// The version resource as the shell reads it.
class VersionInfo {
public:
    explicit VersionInfo(const std::wstring& path) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
        if (size == 0)
            return;
        FData.resize(size);
        if (!GetFileVersionInfoW(path.c_str(), 0, size, FData.data()))
            FData.clear();
    }
    bool Present() const { return !FData.empty(); }

    const VS_FIXEDFILEINFO* Fixed() const {
        UINT bytes = 0;
        const void* value = Query(L"\\", bytes);
        return bytes >= sizeof(VS_FIXEDFILEINFO) ? static_cast<const VS_FIXEDFILEINFO*>(value) : nullptr;
    }
    // The first translation: language in the low word, code page in the high word.
    DWORD Translation() const {
        UINT bytes = 0;
        const void* value = Query(L"\\VarFileInfo\\Translation", bytes);
        return bytes >= sizeof(DWORD) ? *static_cast<const DWORD*>(value) : 0;
    }
    std::wstring String(const wchar_t* key) const {
        UINT characters = 0;
        const void* value = Query((std::wstring(L"\\StringFileInfo\\080404b0\\") + key).c_str(), characters);
        return characters ? std::wstring(static_cast<const wchar_t*>(value)) : std::wstring(L"<missing>");
    }

private:
    // The value at path and its length (bytes, or characters for strings); length 0 if none.
    const void* Query(const wchar_t* path, UINT& length) const {
        void* value = nullptr;
        length = 0;
        if (FData.empty() || !VerQueryValueW(const_cast<BYTE*>(FData.data()), path, &value, &length))
            length = 0;
        return value;
    }
    std::vector<BYTE> FData;
};

// The exe opened for its resources only.
struct ModuleDeleter {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using ResourceModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleDeleter>;

ResourceModule OpenResources(const std::wstring& path) {
    return ResourceModule(
        LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

std::string Resource(HMODULE module, const wchar_t* name, const wchar_t* type) {
    HRSRC info = FindResourceW(module, name, type);
    HGLOBAL data = info ? LoadResource(module, info) : nullptr;
    const void* bytes = data ? LockResource(data) : nullptr;
    return bytes ? std::string(static_cast<const char*>(bytes), SizeofResource(module, info)) : std::string();
}

class ShippedFile : public ::testing::Test {
protected:
    const std::wstring FPath = WidePath(TW_PROGRAM_PATH);
    const VersionInfo FVersion{FPath};
};

TEST_F(ShippedFile, ExplorerShowsVersionElevenOfTheProductAndItsMaker) {
    ASSERT_TRUE(FVersion.Present()) << "no version information";
    const VS_FIXEDFILEINFO* fixed = FVersion.Fixed();
    ASSERT_NE(nullptr, fixed);
    EXPECT_EQ(VS_FFI_SIGNATURE, fixed->dwSignature);
    EXPECT_EQ(MAKELONG(0, 11), fixed->dwFileVersionMS);
    EXPECT_EQ(0u, fixed->dwFileVersionLS);
    EXPECT_EQ(MAKELONG(0, 11), fixed->dwProductVersionMS);
    EXPECT_EQ(0u, fixed->dwProductVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
    EXPECT_EQ(0u, fixed->dwFileFlags & fixed->dwFileFlagsMask) << "marked debug, pre-release or patched";
    EXPECT_EQ(MAKELONG(0x0804, 1200), FVersion.Translation()) << "not Chinese (PRC) in Unicode";

    EXPECT_EQ(L"11.0", FVersion.String(L"FileVersion"));
    EXPECT_EQ(L"11.0", FVersion.String(L"ProductVersion"));
    EXPECT_EQ(L"Tarnwick优化大师", FVersion.String(L"ProductName"));
    EXPECT_EQ(L"Tarnwick优化大师", FVersion.String(L"FileDescription"));
    EXPECT_EQ(L"Tarnwick 软件工作室", FVersion.String(L"CompanyName"));
    EXPECT_EQ(L"版权所有 (C) 2026 Tarnwick 软件工作室，保留所有权利。", FVersion.String(L"LegalCopyright"));
    EXPECT_EQ(L"Tarnwick.exe", FVersion.String(L"OriginalFilename"));
}

TEST_F(ShippedFile, TheAboutBoxShowsTheSameVersionProductAndCopyright) {
    ASSERT_TRUE(FVersion.Present());
    ResourceModule module = OpenResources(FPath);
    ASSERT_NE(nullptr, module);
    const std::string form = Resource(module.get(), L"TABOUT", MAKEINTRESOURCEW(10)); // RT_RCDATA
    ASSERT_FALSE(form.empty()) << "no About box in the program";
    const std::string version = Utf8(FVersion.String(L"ProductVersion"));
    const std::string product = Utf8(FVersion.String(L"ProductName"));
    // The form text is stored as written, in UTF-8.
    EXPECT_THAT(form, HasSubstr("Caption = '" + product + "V" + version + "'"));
    EXPECT_THAT(form, HasSubstr("Caption = '" + FromU8(u8"程序版本：V") + version + "'"));
    EXPECT_THAT(form, HasSubstr("Caption = '" + Utf8(FVersion.String(L"LegalCopyright")) + "'"));
}

TEST_F(ShippedFile, TheManifestRunsItAsInvokerOnWindows7To11WithCommonControls5Unscaled) {
    ResourceModule module = OpenResources(FPath);
    ASSERT_NE(nullptr, module);
    // Type 24, id 1: the manifest the loader applies when the process starts.
    const std::string manifest = Resource(module.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_FALSE(manifest.empty()) << "no application manifest";
    const auto has = [&](std::string_view text) { return manifest.find(text) != std::string::npos; };
    EXPECT_TRUE(has(R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)")) << manifest;
    EXPECT_EQ(manifest.find("requestedExecutionLevel"), manifest.rfind("requestedExecutionLevel"));
    for (const char* os :
         {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
          "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_TRUE(has(std::string("<supportedOS Id=\"") + os + "\"/>"))
            << "Windows 7, 8, 8.1, 10/11: " << os;
    EXPECT_FALSE(has("Microsoft.Windows.Common-Controls")) << "would switch to common controls 6";
    EXPECT_TRUE(has(">false</dpiAware>")) << manifest;
    EXPECT_FALSE(has("dpiAwareness")) << manifest;
}

class ShippedProgram : public e2e::ProgramTest {};

TEST_F(ShippedProgram, StartsAndWearsItsSkin) {
    Start();
    ASSERT_NE(nullptr, main_);
    EXPECT_EQ("Tarnwick优化大师", e2e::WindowCaption(main_));
    DWORD_PTR skinned = 0;
    EXPECT_TRUE(e2e::WaitUntil(
        [&] {
            return SendMessageTimeoutA(main_, 0x3523, 0, 0, SMTO_ABORTIFHUNG, 2000, &skinned) && skinned == 1;
        },
        30s))
        << "the main window does not answer the is-skinned query";
}

} // namespace
