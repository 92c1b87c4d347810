#include "PngEncoder.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace {

// ---- deflate with the fixed codes ------------------------------------------------------------

// Deflate packs bits from the least significant end; Huffman codes go most significant bit first.
class TBitWriter {
public:
    explicit TBitWriter(std::vector<std::uint8_t>& out) : FOut(out) {}

    void Put(std::uint32_t value, int count) {
        FBuffer |= value << FCount;
        FCount += count;
        while (FCount >= 8) {
            FOut.push_back(static_cast<std::uint8_t>(FBuffer));
            FBuffer >>= 8;
            FCount -= 8;
        }
    }
    void PutCode(std::uint32_t code, int length) {
        std::uint32_t reversed = 0;
        for (int i = 0; i < length; ++i)
            reversed |= ((code >> i) & 1u) << (length - 1 - i);
        Put(reversed, length);
    }
    void Flush() {
        if (FCount > 0)
            FOut.push_back(static_cast<std::uint8_t>(FBuffer));
        FBuffer = 0;
        FCount = 0;
    }

private:
    std::vector<std::uint8_t>& FOut;
    std::uint32_t FBuffer = 0;
    int FCount = 0;
};

void PutLiteralOrLength(TBitWriter& bits, int symbol) {
    if (symbol < 144)
        bits.PutCode(0x30 + symbol, 8);
    else if (symbol < 256)
        bits.PutCode(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        bits.PutCode(symbol - 256, 7);
    else
        bits.PutCode(0xC0 + symbol - 280, 8);
}

constexpr std::array<int, 29> kLengthBase{3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                          31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra{0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistanceBase{1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                            33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                            1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistanceExtra{0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                             6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

template <std::size_t N>
int CodeIndex(const std::array<int, N>& base, int value) {
    int index = 0;
    while (index + 1 < static_cast<int>(N) && base[index + 1] <= value)
        ++index;
    return index;
}

void PutMatch(TBitWriter& bits, int length, int distance) {
    const int l = CodeIndex(kLengthBase, length);
    PutLiteralOrLength(bits, 257 + l);
    bits.Put(static_cast<std::uint32_t>(length - kLengthBase[l]), kLengthExtra[l]);
    const int d = CodeIndex(kDistanceBase, distance);
    bits.PutCode(static_cast<std::uint32_t>(d), 5);
    bits.Put(static_cast<std::uint32_t>(distance - kDistanceBase[d]), kDistanceExtra[d]);
}

constexpr int kWindow = 32768;
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 258;
constexpr int kHashBits = 15;
// Enough for window captures; longer chains buy a few per cent at several times the time.
constexpr int kMaxChain = 48;

std::uint32_t Hash3(const std::uint8_t* p) {
    const std::uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16);
    return (v * 2654435761u) >> (32 - kHashBits);
}

// Greedy LZ77 over one fixed-code block: the first match of the longest length found in the
// hash chain is taken.
void Deflate(std::span<const std::uint8_t> data, TBitWriter& bits) {
    bits.Put(1, 1); // the last block
    bits.Put(1, 2); // fixed codes
    const int n = static_cast<int>(data.size());
    std::vector<int> head(1u << kHashBits, -1);
    std::vector<int> previous(static_cast<std::size_t>(n), -1);
    auto insert = [&](int at) {
        if (at + kMinMatch > n)
            return;
        const std::uint32_t h = Hash3(&data[static_cast<std::size_t>(at)]);
        previous[static_cast<std::size_t>(at)] = head[h];
        head[h] = at;
    };
    int at = 0;
    while (at < n) {
        int bestLength = 0, bestDistance = 0;
        if (at + kMinMatch <= n) {
            const int limit = std::min(kMaxMatch, n - at);
            int candidate = head[Hash3(&data[static_cast<std::size_t>(at)])];
            for (int chain = 0; candidate >= 0 && at - candidate <= kWindow && chain < kMaxChain; ++chain) {
                int length = 0;
                while (length < limit && data[static_cast<std::size_t>(candidate + length)] ==
                                             data[static_cast<std::size_t>(at + length)])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = at - candidate;
                    if (length == limit)
                        break;
                }
                candidate = previous[static_cast<std::size_t>(candidate)];
            }
        }
        if (bestLength >= kMinMatch) {
            PutMatch(bits, bestLength, bestDistance);
            for (int i = 0; i < bestLength; ++i)
                insert(at + i);
            at += bestLength;
        } else {
            PutLiteralOrLength(bits, data[static_cast<std::size_t>(at)]);
            insert(at);
            ++at;
        }
    }
    PutLiteralOrLength(bits, 256);
    bits.Flush();
}

// ---- PNG chunks ------------------------------------------------------------------------------

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutChunk(std::vector<std::uint8_t>& out, const char (&type)[5], std::span<const std::uint8_t> data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, PngCrc32(std::span(out).subspan(typeAt)));
}

} // namespace

std::uint32_t PngCrc32(std::span<const std::uint8_t> bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t b : bytes)
        crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::uint32_t ZlibAdler32(std::span<const std::uint8_t> bytes) {
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : bytes) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

std::vector<std::uint8_t> ZlibCompress(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> out{0x78, 0x01}; // deflate, 32K window, no dictionary
    TBitWriter bits(out);
    Deflate(bytes, bits);
    PutBigEndian(out, ZlibAdler32(bytes));
    return out;
}

std::vector<std::uint8_t> EncodePng(TConstPixelView pixels) {
    if (!pixels.IsValid() || (pixels.BitsPerPixel != 24 && pixels.BitsPerPixel != 32) || pixels.Width == 0 ||
        pixels.Height == 0)
        throw std::invalid_argument("EncodePng: a 24- or 32-bit image with pixels is needed");
    const int step = pixels.BitsPerPixel / 8;
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(pixels.Height) * (1 + 3 * static_cast<std::size_t>(pixels.Width)));
    for (std::int32_t y = 0; y < pixels.Height; ++y) {
        raw.push_back(0); // no filter: flat window areas already make long matches
        const std::uint8_t* row = pixels.Row(y);
        for (std::int32_t x = 0; x < pixels.Width; ++x) {
            const std::uint8_t* p = row + x * step;
            raw.insert(raw.end(), {p[2], p[1], p[0]});
        }
    }

    std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBigEndian(header, static_cast<std::uint32_t>(pixels.Width));
    PutBigEndian(header, static_cast<std::uint32_t>(pixels.Height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB, deflate, no interlace
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", ZlibCompress(raw));
    PutChunk(out, "IEND", {});
    return out;
}
