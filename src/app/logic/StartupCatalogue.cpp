#include "StartupCatalogue.h"

#include "StartupCommand.h"

#include <charconv>

namespace {

const char kRun[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunOnce[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const char kRunServices[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
const char kRunServicesOnce[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce";

struct TSource {
    TRootKey Root;
    const char* Key;
};

// The enabled keys in list order; each kind's "-" twin has the next code.
const TSource kSources[] = {
    {TRootKey::rkLocalMachine, kRun},         {TRootKey::rkLocalMachine, kRunOnce},
    {TRootKey::rkLocalMachine, kRunServices}, {TRootKey::rkLocalMachine, kRunServicesOnce},
    {TRootKey::rkCurrentUser, kRun},          {TRootKey::rkCurrentUser, kRunOnce},
};
constexpr int kFirstRegistryKind = 3;

int ParseKind(const std::string& text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() ? value : 0;
}

} // namespace

std::optional<TRunKey> RunKeyOfKind(int kind) {
    if (kind < kFirstRegistryKind || kind > 14)
        return std::nullopt;
    const TSource& source = kSources[(kind - kFirstRegistryKind) / 2];
    return TRunKey{source.Root, std::string(source.Key) + (kind % 2 == 0 ? "-" : "")};
}

void TStartupCatalogue::LoadStartupItems() {
    FItems.clear();
    int kind = kFirstRegistryKind;
    for (const TSource& source : kSources) {
        for (const TRegView view : FSystem.Views(source.Root))
            ReadRunKey(source.Root, source.Key, kind, view);
        kind += 2;
    }
    ReadStartupFolder(kCsidlCommonStartup, 1);
    ReadStartupFolder(kCsidlStartup, 2);
    CheckItemFiles();
}

void TStartupCatalogue::ReadRunKey(TRootKey root, const std::string& key, int kind, TRegView view) {
    const auto read = [&](const std::string& path, int code, bool disabled) {
        const auto names = FSystem.ValueNames(root, path, view);
        if (!names)
            return;
        for (const std::string& name : *names) {
            // A value that is not a string is still listed, with an empty command; the rest of
            // the key and every later source are read all the same.
            TStartupEntry entry{name,
                                FSystem.ReadString(root, path, view, name).value_or(""),
                                kExistsYes,
                                std::to_string(code),
                                disabled ? "1" : "0",
                                disabled,
                                -1,
                                "",
                                view};
            FItems.push_back(std::move(entry));
        }
    };
    read(key, kind, false);
    read(key + "-", kind + 1, true);
}

void TStartupCatalogue::ReadStartupFolder(int csidl, int kind) {
    const std::string folder = FSystem.SpecialFolderPath(csidl);
    if (folder.empty())
        return;
    for (const std::string& file : FSystem.FolderFiles(folder))
        FItems.push_back({file, folder + "\\" + file, kExistsYes, std::to_string(kind), "0", false, -1,
                          folder, TRegView::rvOwn});
}

void TStartupCatalogue::CheckItemFiles() {
    for (TStartupEntry& item : FItems)
        CheckItem(item);
}

void TStartupCatalogue::CheckItem(TStartupEntry& item) {
    if (FSystem.IsFile(item.Command)) {
        item.Icon = FSystem.FileIconIndex(item.Command);
        return;
    }
    const std::string path = ExtractCommandPath(item.Command);
    if (FSystem.IsFile(path)) {
        item.Icon = FSystem.FileIconIndex(path);
        return;
    }
    const std::string found = FSystem.FindOnSearchPath(path);
    if (!found.empty()) {
        item.Icon = FSystem.FileIconIndex(found);
        return;
    }
    // A program under a folder whose name holds a dot: the path through its ".exe".
    const std::string exe = ExeCommandPath(item.Command);
    if (!exe.empty() && FSystem.IsFile(exe)) {
        item.Icon = FSystem.FileIconIndex(exe);
        return;
    }
    item.Exists = kExistsNo;
    item.Icon = FSystem.IsWinNT() ? 3 : 0;
}

TDeleteResult TStartupCatalogue::DeleteStartupItem(const TStartupEntry& entry, std::string& reason) {
    const int code = ParseKind(entry.Kind);
    if (code == 1 || code == 2) {
        // The folder asked for anew could be empty by now, and "\name" is a file elsewhere.
        if (entry.Folder.empty()) {
            reason = "不知道该启动项所在的文件夹";
            return TDeleteResult::drRefused;
        }
        return FSystem.RemoveFile(entry.Folder + "\\" + entry.Name, reason);
    }
    if (const auto key = RunKeyOfKind(code))
        return FSystem.DeleteValue(key->Root, key->Key, entry.View, entry.Name, reason);
    reason = "未知的启动项类型 " + entry.Kind;
    return TDeleteResult::drRefused;
}
