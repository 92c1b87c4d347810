// Loading a skin into TSkinData: from its stored bytes, from a skin file, or from a skin file
// that replaces the stored one; and handing a new skin to the windows already skinned.
#include "WinSkinDataComponent.h"

#include "Lzh.h"
#include "SkinMessage.h"
#include "SkinRead.h"
#include "WinSkinDataWatcher.h"
#include "WinSkinIni.h"

#include <new>
#include <span>
#include <vector>

#include <windows.h>

namespace {

constexpr const char* kSkinCannotBeRead = "The skin cannot be used: its data is damaged.";
constexpr const char* kSkinIncomplete = "The skin cannot be used: its data ends before the skin does.";

// The decoder reads input it lacks as zero bits, so a cut-off skin file would still unpack, its
// end made up. Unpacked once more with other bits after its end, a complete file gives the same
// bytes; a cut-off one does not.
bool IsCompleteSkinFile(std::span<const std::uint8_t> file) {
    if (file.size() <= 4)
        return true; // no data at all: the reader refuses it
    std::vector<std::uint8_t> padded(file.begin(), file.end());
    padded.insert(padded.end(), 8, 0xFF);
    return TSkinReader::Decompress(file) == TSkinReader::Decompress(padded);
}

bool IsFile(const std::string& path) {
    if (path.empty())
        return false;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Fills stream with the whole file; false (and the user told) when it cannot be read.
bool LoadFile(TMemoryStream& stream, const std::string& path) {
    try {
        stream.LoadFromFile(path);
        stream.SetPosition(0);
        return true;
    } catch (const std::exception& error) { // locked, unreadable, or too big to hold
        stream.Clear();
        ShowSkinMessage("The skin file " + path + " cannot be read.\r" + error.what());
        return false;
    }
}

} // namespace

bool TSkinData::LoadSkinFromStream() {
    FSkinLoading = true;
    if (Designing())
        return false;
    const auto& bytes = FSkinFileStream.Bytes();
    try {
        if (!IsCompleteSkinFile(bytes)) {
            ShowSkinMessage(kSkinIncomplete);
            return false;
        }
        TSkinReader reader;
        if (!reader.LoadPackage(bytes))
            return false; // the reader has told the user
        std::vector<std::uint8_t> scratch;
        std::string iniName;
        reader.ExtractFirstMatch(".ini", scratch, iniName);
        TQuickIni ini;
        ini.LoadFromStream(scratch);
        // The painters' caption buttons refer to the elements that parsing replaces.
        if (ISkinWatcher* watcher = SkinWatcher())
            watcher->ElementsReleasing(*this);
        ParseSkin(FElements, reader, ini);
    } catch (const std::bad_alloc&) {
        ShowSkinMessage(std::string(kSkinCannotBeRead) + "\rThere is not enough memory to unpack it.");
        return false;
    } catch (const std::exception& error) {
        // The decoder's and the streams' errors: damaged data, never a crash.
        ShowSkinMessage(std::string(kSkinCannotBeRead) + "\r" + error.what());
        return false;
    }
    FSkinLoading = false;
    return true;
}

void TSkinData::AssignSkinFile(const std::string& path) {
    FSkinLoading = true;
    FSkinFile = path;
    if (Designing()) {
        // The file replaces the stored skin.
        if (!path.empty() && FSkinFileStream.Size() > 0)
            FSkinFileStream.Clear();
        return;
    }
    if (!IsFile(path))
        return; // SkinLoading stays true: a later switch-on is refused
    FSkinFileStream.Clear();
    if (!LoadFile(FSkinFileStream, path))
        return;
    LoadSkinFromStream();
    ApplySkin();
}

void TSkinData::ApplySkin() {
    if (Designing() || Reading())
        return;
    if (!SkinWatcher())
        AfterLoad(); // creates the watcher
    ISkinWatcher* watcher = SkinWatcher();
    if (!watcher)
        return;
    watcher->SetActionSkin(this);
    watcher->RefreshForms();
    if (watcher->State() == SkinWatcherRunning)
        watcher->RequestAction(saRefresh, SkinActionDelay);
}

bool TSkinData::LoadReplacementSkin(const std::string& path) {
    if (Designing() || !IsFile(path))
        return false;
    TMemoryStream candidate;
    if (!LoadFile(candidate, path))
        return false;
    return ReplaceSkin(candidate, path);
}

bool TSkinData::ReplaceSkin(TMemoryStream& candidate, const std::string& name) {
    const bool hadSkin = !FSkinLoading;
    TMemoryStream previous;
    previous.CopyFrom(FSkinFileStream, 0);
    FSkinFileStream.Clear();
    FSkinFileStream.CopyFrom(candidate, 0);
    FSkinFileStream.SetPosition(0);

    // The reader's own message is folded into one that says which file and what happens now.
    std::string refusal;
    bool loaded = false;
    {
        TSkinMessageSinkScope capture([&refusal](const std::string& text) {
            if (refusal.empty())
                refusal = text;
        });
        loaded = LoadSkinFromStream();
    }
    if (loaded)
        return true;

    FSkinFileStream.Clear();
    FSkinFileStream.CopyFrom(previous, 0);
    FSkinFileStream.SetPosition(0);
    if (hadSkin)
        LoadSkinFromStream(); // the skin that was there loaded before and loads again
    ShowSkinMessage("The skin file " + name + " cannot be used.\r" + refusal +
                    (hadSkin ? "\rThe current skin stays." : ""));
    return false;
}

std::string TSkinData::ProgramSkinPath() {
    // Wide, because a trail byte of a GBK folder name can look like a backslash.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return ProgramSkinFileName;
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
    return WideToAnsi(folder) + ProgramSkinFileName;
}
