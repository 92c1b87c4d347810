// Counts the GDI objects, icons, image lists and device contexts this test program creates
// and frees. GetGuiResources always answers 0 under Wine, so the program's own import table
// is patched instead: every create call records its handle, every successful delete or
// release forgets it.
#pragma once

#include <cstddef>
#include <string>

namespace gdicount {

// Patches the imports once; later calls do nothing.
void Install();
// Handles created through the program's imports and not freed yet.
std::size_t Live();
// "brush 0x...; bitmap 0x..." for the handles created since `mark` was taken.
std::string Describe(std::size_t mark);
// A sequence number that grows with every handle created: marks a point in time.
std::size_t Mark();
// Whether the program freed this handle (destroyed an image list, deleted an object).
bool WasFreed(const void* handle);

} // namespace gdicount

// Live handles at construction versus now; installs the counter first.
class TGdiBalance {
public:
    TGdiBalance() : FStart((gdicount::Install(), gdicount::Live())), FMark(gdicount::Mark()) {}
    long Leaked() const { return static_cast<long>(gdicount::Live()) - static_cast<long>(FStart); }
    std::string Details() const { return gdicount::Describe(FMark); }

private:
    std::size_t FStart;
    std::size_t FMark;
};
