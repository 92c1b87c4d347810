// Feeds arbitrary bytes to the BMP reader: files when they start with "BM", packed DIBs
// otherwise. Whatever decodes is converted to 32 bits and written back out, so every path
// that touches decoded pixels runs on it too.
#include "BmpDecoder.h"
#include "BmpEncoder.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    // Small limits keep each run fast; the checks themselves do not depend on the numbers.
    const TBmpLimits limits{.MaxDimension = 4096, .MaxPixels = 1 << 20};
    try {
        const bool file = size >= 2 && data[0] == 'B' && data[1] == 'M';
        const TBmpImage image = file ? DecodeBmp(bytes, limits) : DecodeDib(bytes, limits);
        const TBmpImage bgra = ToBgra32(image);
        const auto written = EncodeBmp(image);
        const TBmpImage again = DecodeBmp(written, limits);
        if (again.Pixels != image.Pixels || bgra.Width != image.Width)
            __builtin_trap(); // what was written must read back unchanged
    } catch (const EInvalidGraphic&) {
    }
    return 0;
}
