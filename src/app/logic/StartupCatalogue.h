// The programs Windows starts at log-on: the run keys of both roots, their "disabled" twins
// whose names end in "-", and the two startup folders; whether each program file exists, its
// icon, and deleting an entry from where it lives.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class TRootKey { rkLocalMachine, rkCurrentUser };
// Which registry view a key is read in: the program's own, or on 64-bit Windows the 64-bit or
// the 32-bit one (a 32-bit program sees only the latter unless it asks).
enum class TRegView { rvOwn, rv64, rv32 };
// What became of a deletion. An entry already gone is what the user asked for.
enum class TDeleteResult { drDeleted, drAlreadyGone, drRefused };

// What the catalogue asks of the system; the Windows build passes the registry, the shell and
// the file system, tests a fake.
class TStartupSystem {
public:
    virtual ~TStartupSystem() = default;
    // The registry views in which a root's run keys are read, each entry once per view.
    virtual std::vector<TRegView> Views(TRootKey) { return {TRegView::rvOwn}; }
    // The value names of a key opened with full access, in enumeration order; nullopt when the
    // key is missing or cannot be opened so.
    virtual std::optional<std::vector<std::string>> ValueNames(TRootKey root, const std::string& key,
                                                               TRegView view) = 0;
    // A string value's data; nullopt when the value is not a string.
    virtual std::optional<std::string> ReadString(TRootKey root, const std::string& key, TRegView view,
                                                  const std::string& name) = 0;
    // Deletes a value; the system's reason when refused.
    virtual TDeleteResult DeleteValue(TRootKey root, const std::string& key, TRegView view,
                                      const std::string& name, std::string& reason) = 0;
    virtual bool IsFile(const std::string& path) = 0;
    // The path found along the standard search path, empty when none (or longer than 259).
    virtual std::string FindOnSearchPath(const std::string& name) = 0;
    virtual int FileIconIndex(const std::string& path) = 0; // system small-icon list index
    virtual std::string SpecialFolderPath(int csidl) = 0;
    // The file names of the startup items in a folder (not folders, not desktop.ini).
    virtual std::vector<std::string> FolderFiles(const std::string& folder) = 0;
    // Clears the attributes, then deletes; the system's reason when refused.
    virtual TDeleteResult RemoveFile(const std::string& path, std::string& reason) = 0;
    virtual bool IsWinNT() = 0;
};

// One row of the startup list.
struct TStartupEntry {
    std::string Name;                // value name, or file name for kinds 1 and 2
    std::string Command;             // value data as read, or the file's full path
    std::string Exists;              // "是", or "否" once the existence check failed
    std::string Kind;                // decimal kind code, "1" to "14"
    std::string Disabled;            // "1" for an entry of a "-" key, else "0"
    bool Marked = false;             // the row's check mark: entries of a "-" key
    int Icon = -1;                   // index into the system small-icon list
    std::string Folder;              // kinds 1 and 2: the startup folder the file was found in
    TRegView View = TRegView::rvOwn; // registry kinds: the view the value was read in

    bool operator==(const TStartupEntry&) const = default;
};

inline constexpr char kExistsYes[] = "是";
inline constexpr char kExistsNo[] = "否";
inline constexpr int kCsidlCommonStartup = 24;
inline constexpr int kCsidlStartup = 7;

// Where a kind code lives: root and key for 3 to 14.
struct TRunKey {
    TRootKey Root;
    std::string Key;
};
std::optional<TRunKey> RunKeyOfKind(int kind);

class TStartupCatalogue {
public:
    explicit TStartupCatalogue(TStartupSystem& system) : FSystem(system) {}

    // Reads every source in list order, then runs the existence check.
    void LoadStartupItems();
    // Appends the entries of a key (kind) and of its "-" twin (kind + 1) in one view.
    void ReadRunKey(TRootKey root, const std::string& key, int kind, TRegView view = TRegView::rvOwn);
    // Appends the files of a startup folder as entries of kind 1 or 2.
    void ReadStartupFolder(int csidl, int kind);
    // Existence check and icons for every entry.
    void CheckItemFiles();
    // Removes an entry from where it was read: its key in its view, or its file in its own
    // folder. On refusal gives the reason; the caller keeps the row then, and only then.
    TDeleteResult DeleteStartupItem(const TStartupEntry& entry, std::string& reason);

    const std::vector<TStartupEntry>& Items() const { return FItems; }

private:
    void CheckItem(TStartupEntry& item);

    TStartupSystem& FSystem;
    std::vector<TStartupEntry> FItems;
};
