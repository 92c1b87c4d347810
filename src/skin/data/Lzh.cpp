#include "Lzh.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int LeafBase = TLZH::TreeNodes; // parent[LeafBase + s] is the place of symbol s
constexpr int Sentinel = TLZH::TreeNodes; // count[Sentinel] stops every upward scan

// The prefix code of the upper six offset bits, as two tables indexed by the next eight input
// bits: the decoded value and the length of its code. Value 0 has a 3-bit code, 1..3 4-bit,
// 4..11 5-bit, 12..23 6-bit, 24..47 7-bit and 48..63 8-bit codes, assigned in ascending order.
struct TOffsetTables {
    std::array<std::uint8_t, 256> High{};
    std::array<std::uint8_t, 256> CodeLength{};
};

constexpr TOffsetTables MakeOffsetTables() {
    constexpr int runs[][2] = {{1, 3}, {3, 4}, {8, 5}, {12, 6}, {24, 7}, {16, 8}}; // {values, bits}
    TOffsetTables tables;
    int index = 0;
    int value = 0;
    for (const auto& run : runs) {
        for (int v = 0; v < run[0]; ++v, ++value) {
            for (int e = 0; e < (1 << (8 - run[1])); ++e, ++index) {
                tables.High[index] = static_cast<std::uint8_t>(value);
                tables.CodeLength[index] = static_cast<std::uint8_t>(run[1]);
            }
        }
    }
    return tables;
}

constexpr TOffsetTables OffsetTables = MakeOffsetTables();
static_assert(OffsetTables.High[255] == 63 && OffsetTables.CodeLength[255] == 8);
static_assert(OffsetTables.High[31] == 0 && OffsetTables.High[32] == 1);

// Bits are consumed most significant first. Past the end of the input every byte reads as 0.
class TBitReader {
public:
    explicit TBitReader(std::span<const std::uint8_t> input)
        : FPos(input.data()), FEnd(input.data() + input.size()) {}

    unsigned Bit() {
        if (FCount == 0)
            Refill();
        const unsigned bit = static_cast<unsigned>(FBits >> 63);
        FBits <<= 1;
        --FCount;
        return bit;
    }

    // n in 1..8
    unsigned Bits(unsigned n) {
        if (FCount < static_cast<int>(n))
            Refill();
        const unsigned value = static_cast<unsigned>(FBits >> (64 - n));
        FBits <<= n;
        FCount -= static_cast<int>(n);
        return value;
    }

private:
    void Refill() {
        if (FEnd - FPos >= 8) {
            // Whole bytes that fit below the pending bits.
            const int take = (64 - FCount) / 8;
            std::uint64_t chunk = 0;
            for (int i = 0; i < take; ++i)
                chunk = (chunk << 8) | FPos[i];
            FPos += take;
            FBits |= chunk << (64 - FCount - 8 * take);
            FCount += 8 * take;
            return;
        }
        while (FCount <= 56) {
            const std::uint64_t byte = FPos < FEnd ? *FPos++ : 0;
            FBits |= byte << (56 - FCount);
            FCount += 8;
        }
    }

    const std::uint8_t* FPos;
    const std::uint8_t* FEnd;
    std::uint64_t FBits = 0; // the next bit in bit 63
    int FCount = 0;          // valid bits in FBits
};

// The adaptive Huffman tree over the 314 symbols. Places 0..626 hold nodes in non-decreasing
// count order (sibling property); a node's children sit at child[p] and child[p] + 1.
struct TLzhTree {
    static constexpr unsigned ScanWidth = 16;
    // Places 627 and above hold 0xFFFF: the sentinel, then padding for the windowed scan.
    std::array<std::uint16_t, TLZH::TreeNodes + 1 + ScanWidth> Count;
    std::array<std::uint16_t, TLZH::TreeNodes + TLZH::SymbolCount> Parent;
    std::array<std::uint16_t, TLZH::TreeNodes> Child;

    void Start() {
        for (int i = 0; i < TLZH::SymbolCount; ++i) {
            Count[i] = 1;
            Child[i] = static_cast<std::uint16_t>(i + LeafBase);
            Parent[i + LeafBase] = static_cast<std::uint16_t>(i);
        }
        for (int i = 0, j = TLZH::SymbolCount; j < TLZH::TreeNodes; i += 2, ++j) {
            Count[j] = static_cast<std::uint16_t>(Count[i] + Count[i + 1]);
            Child[j] = static_cast<std::uint16_t>(i);
            Parent[i] = Parent[i + 1] = static_cast<std::uint16_t>(j);
        }
        std::fill(Count.begin() + Sentinel, Count.end(), std::uint16_t{0xFFFF});
        Parent[TLZH::Root] = 0;
    }

    unsigned Decode(TBitReader& bits) {
        unsigned node = Child[TLZH::Root];
        while (node < static_cast<unsigned>(LeafBase))
            node = Child[node + bits.Bit()];
        const unsigned symbol = node - LeafBase;
        Update(symbol);
        return symbol;
    }

    void Update(unsigned symbol) {
        if (Count[TLZH::Root] == TLZH::CountCeiling)
            Rebuild();
        unsigned node = Parent[symbol + LeafBase];
        do {
            const std::uint16_t k = ++Count[node];
            if (k > Count[node + 1]) {
                // Exchange the node with the last one of a lower count.
                const unsigned l = LastBelow(node + 1, k);
                Count[node] = Count[l];
                Count[l] = k;
                const unsigned i = Child[node];
                Parent[i] = static_cast<std::uint16_t>(l);
                if (i < static_cast<unsigned>(LeafBase))
                    Parent[i + 1] = static_cast<std::uint16_t>(l);
                const unsigned j = Child[l];
                Child[l] = static_cast<std::uint16_t>(i);
                Parent[j] = static_cast<std::uint16_t>(node);
                if (j < static_cast<unsigned>(LeafBase))
                    Parent[j + 1] = static_cast<std::uint16_t>(node);
                Child[node] = static_cast<std::uint16_t>(j);
                node = l;
            }
            node = Parent[node];
        } while (node != 0);
    }

    // The highest place at or above `from` whose count is below k, given Count[from] < k. Counts
    // are sorted, so a window of them splits into a run below k and the rest: comparing a whole
    // window at once avoids the misprediction a step-by-step scan takes at the end of every run.
    unsigned LastBelow(unsigned from, std::uint16_t k) const {
        for (unsigned base = from + 1;; base += ScanWidth) {
            const unsigned below = CountBelow(&Count[base], k);
            if (below < ScanWidth)
                return base + below - 1;
        }
    }

    // How many of the ScanWidth sorted counts from `counts` on are below k.
    static unsigned CountBelow(const std::uint16_t* counts, std::uint16_t k) {
#if defined(__SSE2__)
        // count >= k exactly where the saturating difference k - count is zero.
        const __m128i key = _mm_set1_epi16(static_cast<short>(k));
        const __m128i zero = _mm_setzero_si128();
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(counts));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(counts + 8));
        const __m128i atLeast = _mm_packs_epi16(_mm_cmpeq_epi16(_mm_subs_epu16(key, low), zero),
                                                _mm_cmpeq_epi16(_mm_subs_epu16(key, high), zero));
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(atLeast)) | (1u << ScanWidth);
        return static_cast<unsigned>(std::countr_zero(mask));
#else
        unsigned below = 0;
        for (unsigned i = 0; i < ScanWidth; ++i)
            below += counts[i] < k ? 1u : 0u;
        return below;
#endif
    }

    // Halves every leaf count and builds a fresh tree from the leaves in their current order.
    void Rebuild() {
        int j = 0;
        for (int i = 0; i < TLZH::TreeNodes; ++i) {
            if (Child[i] >= LeafBase) {
                Count[j] = static_cast<std::uint16_t>((Count[i] + 1) / 2);
                Child[j] = Child[i];
                ++j;
            }
        }
        for (int i = 0, node = TLZH::SymbolCount; node < TLZH::TreeNodes; i += 2, ++node) {
            const std::uint16_t f = static_cast<std::uint16_t>(Count[i] + Count[i + 1]);
            int k = node - 1;
            while (f < Count[k])
                --k;
            ++k;
            const auto moved = static_cast<std::size_t>(node - k);
            std::memmove(&Count[k + 1], &Count[k], moved * sizeof(Count[0]));
            std::memmove(&Child[k + 1], &Child[k], moved * sizeof(Child[0]));
            Count[k] = f;
            Child[k] = static_cast<std::uint16_t>(i);
        }
        for (int i = 0; i < TLZH::TreeNodes; ++i) {
            const int k = Child[i];
            Parent[k] = static_cast<std::uint16_t>(i);
            if (k < LeafBase)
                Parent[k + 1] = static_cast<std::uint16_t>(i);
        }
    }
};

unsigned DecodeOffset(TBitReader& bits) {
    unsigned i = bits.Bits(8);
    const unsigned high = OffsetTables.High[i];
    const unsigned extra = OffsetTables.CodeLength[i] - 2u;
    i = (i << extra) | bits.Bits(extra);
    return (high << 6) | (i & 0x3F);
}

std::unique_ptr<TLzhTree> AllocateTree() {
    try {
        return std::make_unique<TLzhTree>();
    } catch (const std::bad_alloc&) {
        throw ElzhException("LZH : Cannot get memory for dictionary tables");
    }
}

void CheckDeclaredSize(std::int32_t size, std::size_t inputBytes) {
    if (static_cast<std::uint64_t>(size) > TLZH::MaxDecodedSize(inputBytes))
        throw ElzhException("LZH : Declared size " + std::to_string(size) + " exceeds what " +
                            std::to_string(inputBytes) + " input bytes can hold");
}

} // namespace

std::vector<std::uint8_t> TLZH::Unpack(std::int32_t size, std::span<const std::uint8_t> bitstream) {
    const auto tree = AllocateTree();
    tree->Start();
    if (size <= 0)
        return {};
    CheckDeclaredSize(size, bitstream.size());

    // The output follows a copy of the initial window, so every match copies from one linear
    // buffer: 60 unset window bytes (zero), then the 4036 preset spaces.
    constexpr std::size_t history = WindowSize;
    std::vector<std::uint8_t> buffer;
    try {
        buffer.resize(history + static_cast<std::size_t>(size) + MaxMatch - 1);
    } catch (const std::bad_alloc&) {
        throw ElzhException("LZH : Cannot get memory for " + std::to_string(size) + " decoded bytes");
    } catch (const std::length_error&) { // beyond a 32-bit process's largest vector
        throw ElzhException("LZH : Cannot get memory for " + std::to_string(size) + " decoded bytes");
    }
    std::memset(buffer.data() + (history - PresetLength), PresetByte, PresetLength);

    TBitReader bits(bitstream);
    std::uint8_t* const out = buffer.data();
    std::size_t pos = history;
    const std::size_t end = history + static_cast<std::size_t>(size);
    while (pos < end) {
        const unsigned symbol = tree->Decode(bits);
        if (symbol < 256) {
            out[pos++] = static_cast<std::uint8_t>(symbol);
            continue;
        }
        const std::size_t length = symbol - (255 - Threshold);
        const std::uint8_t* from = out + pos - DecodeOffset(bits) - 1;
        std::uint8_t* to = out + pos;
        // Byte by byte: a match may overlap the bytes it produces.
        for (std::size_t k = 0; k < length; ++k)
            to[k] = from[k];
        pos += length;
    }
    buffer.erase(buffer.begin(), buffer.begin() + history);
    buffer.resize(pos - history);
    return buffer;
}

void TLZH::Unpack(std::int32_t size, const TReadBlock& readBlock, const TWriteBlock& writeBlock) {
    std::vector<std::uint8_t> input;
    if (size > 0) {
        // The bound on size needs the input length, so the whole input is read first.
        std::uint8_t chunk[4096];
        while (const std::uint16_t got = readBlock(chunk, sizeof chunk))
            input.insert(input.end(), chunk, chunk + std::min<std::size_t>(got, sizeof chunk));
    }
    const std::vector<std::uint8_t> output = Unpack(size, input);
    constexpr std::size_t maxBlock = 0x8000;
    for (std::size_t done = 0; done < output.size();) {
        const std::size_t count = std::min(maxBlock, output.size() - done);
        writeBlock(output.data() + done, static_cast<std::uint16_t>(count));
        done += count;
    }
}
