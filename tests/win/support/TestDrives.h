// Folders and drive letters of a test's own, for code that acts on drive roots: a scratch
// folder removed with everything in it, and (under Wine) a drive letter mapped to a folder.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace twtest {

// A folder under the temporary folder, emptied and removed when the object goes.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name);
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

// Removes a folder and everything below it, names ending in dots included.
void RemoveTree(const std::string& path);

// Wine's mount manager maps a drive letter to a folder with a drive type, as its configuration
// tool does; the mapping goes with the object. Mapped() is false outside Wine.
class MappedDrive {
public:
    MappedDrive(char letter, UINT type, const std::string& folder);
    MappedDrive(const MappedDrive&) = delete;
    MappedDrive& operator=(const MappedDrive&) = delete;
    ~MappedDrive();
    bool Mapped() const { return FMapped; }
    std::string Root() const { return std::string(1, FLetter) + ":\\"; }

private:
    bool Define(UINT type, const char* mountPoint) const;

    char FLetter;
    bool FMapped = false;
};

// The Windows path of a path the build knows: "/work/..." is Wine's drive Z:.
std::string WindowsPath(std::string path);

// Letters no drive uses, from the end of the alphabet (Z is Wine's view of the Unix root).
std::vector<char> FreeLetters(std::size_t count);

} // namespace twtest
