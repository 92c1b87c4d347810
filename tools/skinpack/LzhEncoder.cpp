#include "LzhEncoder.h"

#include "Lzh.h"

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <stdexcept>
#include <utility>

namespace {

constexpr int Window = TLZH::WindowSize;
constexpr int MaxMatch = TLZH::MaxMatch;
constexpr int MinMatch = TLZH::Threshold + 1;
constexpr int Leaves = TLZH::SymbolCount;
constexpr int Nodes = TLZH::TreeNodes;
constexpr int Root = TLZH::Root;

class TBitWriter {
public:
    explicit TBitWriter(std::vector<std::uint8_t>& out) : FOut(out) {}

    void Put(std::uint32_t value, int count) { // the low count bits of value, highest first
        for (int i = count - 1; i >= 0; --i) {
            FByte = static_cast<std::uint8_t>((FByte << 1) | ((value >> i) & 1u));
            if (++FFilled == 8) {
                FOut.push_back(FByte);
                FByte = 0;
                FFilled = 0;
            }
        }
    }

    void Flush() {
        if (FFilled > 0)
            FOut.push_back(static_cast<std::uint8_t>(FByte << (8 - FFilled)));
        FByte = 0;
        FFilled = 0;
    }

private:
    std::vector<std::uint8_t>& FOut;
    std::uint8_t FByte = 0;
    int FFilled = 0;
};

// The adaptive Huffman model, kept in step with the decoder: the same initial tree, the same
// update after every symbol and the same rebuild when the root count reaches the ceiling.
class TEncoderTree {
public:
    TEncoderTree() {
        for (int s = 0; s < Leaves; ++s) {
            FCount[s] = 1;
            FChild[s] = Nodes + s;
            FParent[Nodes + s] = s;
        }
        for (int left = 0, node = Leaves; node < Nodes; left += 2, ++node) {
            FCount[node] = FCount[left] + FCount[left + 1];
            FChild[node] = left;
            FParent[left] = FParent[left + 1] = node;
        }
        FCount[Nodes] = 0xFFFF;
        FParent[Root] = 0;
    }

    void Encode(int symbol, TBitWriter& bits) {
        // Leaf to root gives the code backwards: a node at its parent's child place + 1 is a 1.
        std::array<std::uint8_t, Nodes> path{};
        int length = 0;
        for (int place = FParent[Nodes + symbol]; place != Root; place = FParent[place])
            path[length++] = place == FChild[FParent[place]] + 1 ? 1 : 0;
        while (length > 0)
            bits.Put(path[--length], 1);
        Update(symbol);
    }

private:
    void Update(int symbol) {
        if (FCount[Root] == TLZH::CountCeiling)
            Rebuild();
        // Place 0 is never a parent, so it ends the walk; a leaf may sit there itself.
        int place = FParent[Nodes + symbol];
        do {
            const unsigned raised = ++FCount[place];
            int last = place;
            while (FCount[last + 1] < raised)
                ++last;
            if (last != place)
                Swap(place, last);
            place = FParent[last];
        } while (place != 0);
    }

    // Exchanges the subtrees at places a < b; the node at a was just raised to the higher count.
    void Swap(int a, int b) {
        std::swap(FCount[a], FCount[b]);
        const int childA = FChild[a];
        const int childB = FChild[b];
        FChild[a] = childB;
        FChild[b] = childA;
        Adopt(childA, b);
        Adopt(childB, a);
    }

    void Adopt(int child, int parent) {
        FParent[child] = parent;
        if (child < Nodes)
            FParent[child + 1] = parent;
    }

    void Rebuild() {
        std::array<unsigned, Leaves> leafCount{};
        std::array<int, Leaves> leafChild{};
        int leaves = 0;
        for (int place = 0; place < Nodes; ++place) {
            if (FChild[place] >= Nodes) {
                leafCount[leaves] = (FCount[place] + 1) / 2;
                leafChild[leaves] = FChild[place];
                ++leaves;
            }
        }
        for (int i = 0; i < Leaves; ++i) {
            FCount[i] = leafCount[i];
            FChild[i] = leafChild[i];
        }
        // Pair places 0-1, 2-3, ... and insert each new node after every node of equal or lower count.
        for (int left = 0, filled = Leaves; filled < Nodes; left += 2, ++filled) {
            const unsigned sum = FCount[left] + FCount[left + 1];
            int at = filled;
            while (at > 0 && FCount[at - 1] > sum)
                --at;
            for (int k = filled; k > at; --k) {
                FCount[k] = FCount[k - 1];
                FChild[k] = FChild[k - 1];
            }
            FCount[at] = sum;
            FChild[at] = left;
        }
        for (int place = 0; place < Nodes; ++place)
            Adopt(FChild[place], place);
    }

    std::array<unsigned, Nodes + 1> FCount{};
    std::array<int, Nodes + Leaves> FParent{};
    std::array<int, Nodes> FChild{};
};

// The fixed code for the upper six offset bits: code lengths 3 (value 0), 4 (1..3), 5 (4..11),
// 6 (12..23), 7 (24..47), 8 (48..63), codes assigned in ascending order of value.
struct TOffsetCode {
    std::array<std::uint8_t, 64> Length{};
    std::array<std::uint8_t, 64> Code{};

    TOffsetCode() {
        int value = 0;
        unsigned next = 0; // the next free code, left-aligned in 8 bits
        for (const auto& [values, bits] : {std::pair{1, 3}, {3, 4}, {8, 5}, {12, 6}, {24, 7}, {16, 8}}) {
            for (int i = 0; i < values; ++i, ++value) {
                Length[value] = static_cast<std::uint8_t>(bits);
                Code[value] = static_cast<std::uint8_t>(next >> (8 - bits));
                next += 1u << (8 - bits);
            }
        }
    }

    void Encode(unsigned offset, TBitWriter& bits) const {
        const unsigned high = offset >> 6;
        bits.Put(Code[high], Length[high]);
        bits.Put(offset & 0x3F, 6);
    }
};

// Finds the longest earlier match through hash chains of three-byte prefixes. Positions count in
// the text that the decoder sees: 4036 preset spaces, then the data.
class TMatchFinder {
public:
    explicit TMatchFinder(const std::vector<std::uint8_t>& text)
        : FText(text), FHashBits(HashBitsFor(text.size())), FHead(std::size_t{1} << FHashBits, -1) {
        FPrevious.fill(-1);
    }

    void Insert(std::int64_t pos) {
        if (pos + MinMatch > static_cast<std::int64_t>(FText.size()))
            return;
        const unsigned hash = Hash(pos);
        FPrevious[static_cast<std::size_t>(pos & (Window - 1))] = FHead[hash];
        FHead[hash] = pos;
    }

    // Longest match for pos within the window and below limit bytes; sets from on success.
    int Longest(std::int64_t pos, int limit, std::int64_t& from) const {
        if (limit < MinMatch)
            return 0;
        int best = 0;
        int budget = 256;
        for (std::int64_t candidate = FHead[Hash(pos)];
             candidate >= 0 && pos - candidate <= Window && budget-- > 0;
             candidate = FPrevious[static_cast<std::size_t>(candidate & (Window - 1))]) {
            int length = 0;
            while (length < limit && FText[static_cast<std::size_t>(candidate + length)] ==
                                         FText[static_cast<std::size_t>(pos + length)])
                ++length;
            if (length > best) {
                best = length;
                from = candidate;
                if (best == limit)
                    break;
            }
            const std::int64_t next = FPrevious[static_cast<std::size_t>(candidate & (Window - 1))];
            if (next >= candidate) // the slot was reused by a newer position
                break;
        }
        return best >= MinMatch ? best : 0;
    }

private:
    // Small inputs get a small table: clearing it is a large part of encoding a short text.
    static unsigned HashBitsFor(std::size_t size) {
        unsigned bits = 12;
        while (bits < 16 && (std::size_t{1} << bits) < size)
            ++bits;
        return bits;
    }

    unsigned Hash(std::int64_t pos) const {
        const auto* p = &FText[static_cast<std::size_t>(pos)];
        const std::uint32_t key = p[0] | p[1] << 8 | static_cast<std::uint32_t>(p[2]) << 16;
        return (key * 2654435761u) >> (32 - FHashBits);
    }

    const std::vector<std::uint8_t>& FText;
    unsigned FHashBits;
    std::vector<std::int64_t> FHead;
    std::array<std::int64_t, Window> FPrevious{};
};

} // namespace

std::vector<std::uint8_t> LzhEncode(std::span<const std::uint8_t> data, TLzhEncodeStats* stats) {
    if (data.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw std::length_error("LZH: input larger than 2 GB - 1 bytes");
    std::vector<std::uint8_t> out;
    const auto size = static_cast<std::uint32_t>(data.size());
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(size >> (8 * i)));

    std::vector<std::uint8_t> text(TLZH::PresetLength + data.size(), TLZH::PresetByte);
    std::copy(data.begin(), data.end(), text.begin() + TLZH::PresetLength);
    auto finder = std::make_unique<TMatchFinder>(text);
    auto tree = std::make_unique<TEncoderTree>();
    const TOffsetCode offsetCode;
    TBitWriter bits(out);
    TLzhEncodeStats counted;

    std::int64_t pos = TLZH::PresetLength;
    for (std::int64_t p = 0; p < pos; ++p)
        finder->Insert(p);
    const auto end = static_cast<std::int64_t>(text.size());
    while (pos < end) {
        std::int64_t from = 0;
        const int limit = static_cast<int>(std::min<std::int64_t>(MaxMatch, end - pos));
        const int length = finder->Longest(pos, limit, from);
        if (length == 0) {
            tree->Encode(text[static_cast<std::size_t>(pos)], bits);
            finder->Insert(pos++);
        } else {
            tree->Encode(255 - TLZH::Threshold + length, bits);
            offsetCode.Encode(static_cast<unsigned>(pos - from - 1), bits);
            for (int k = 0; k < length; ++k)
                finder->Insert(pos++);
            ++counted.Matches;
        }
        ++counted.Symbols;
    }
    bits.Flush();
    if (stats)
        *stats = counted;
    return out;
}
