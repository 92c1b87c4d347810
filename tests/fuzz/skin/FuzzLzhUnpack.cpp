// The input is a skin file: a 4-byte declared length and the bitstream. The decoder must never
// read or write out of bounds, must produce at least the declared length (at most a final
// match more) or refuse with ElzhException. The input bytes are also compressed and decoded
// again, which must give them back exactly.
#include "Lzh.h"
#include "LzhEncoder.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    if (size >= 4) {
        const auto declared = static_cast<std::int32_t>(data[0] | data[1] << 8 | data[2] << 16 |
                                                        static_cast<std::uint32_t>(data[3]) << 24);
        // Sizes the input can hold decode up to 480 bytes per input byte; above 64 KB decoding
        // only repeats the same steps and would slow the search down.
        const bool decode =
            declared <= 0x10000 || static_cast<std::uint64_t>(declared) > TLZH::MaxDecodedSize(size - 4);
        try {
            if (!decode)
                throw ElzhException("skipped");
            TLZH lzh;
            const auto out = lzh.Unpack(declared, input.subspan(4));
            const std::size_t expected = declared > 0 ? static_cast<std::size_t>(declared) : 0;
            if (out.size() < expected || out.size() > expected + (declared > 0 ? TLZH::MaxMatch - 1 : 0))
                std::abort();
        } catch (const ElzhException&) {
            if (decode && static_cast<std::uint64_t>(declared) <= TLZH::MaxDecodedSize(size - 4) &&
                declared > 0)
                std::abort(); // refused a size the input could hold
        }
    }

    const auto file = LzhEncode(input);
    TLZH lzh;
    const auto again = lzh.Unpack(static_cast<std::int32_t>(size), std::span(file).subspan(4));
    if (again.size() != size || !std::equal(again.begin(), again.end(), data))
        std::abort();
    return 0;
}
