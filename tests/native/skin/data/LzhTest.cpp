#include "Lzh.h"

#include "SkinTestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace SkinTestData;

namespace {

std::vector<std::uint8_t> Bitstream(const std::vector<std::uint8_t>& file) {
    return std::vector<std::uint8_t>(file.begin() + 4, file.end());
}

std::vector<std::uint8_t> Decode(std::int32_t size, const std::vector<std::uint8_t>& bitstream) {
    TLZH lzh;
    return lzh.Unpack(size, bitstream);
}

std::vector<std::uint8_t> RoundTrip(const std::vector<std::uint8_t>& data, TLzhEncodeStats* stats = nullptr) {
    const auto file = LzhEncode(data, stats);
    const std::uint32_t declared =
        file[0] | file[1] << 8 | file[2] << 16 | static_cast<std::uint32_t>(file[3]) << 24;
    EXPECT_EQ(declared, data.size());
    return Decode(static_cast<std::int32_t>(data.size()), Bitstream(file));
}

} // namespace

// Bitstreams worked out by hand from the initial tree and the offset code, independent of the
// encoder: they pin the tree layout, the bit order and the window preset.
TEST(LzhUnpack, DecodesHandBuiltStreams) {
    // 'A' (65) sits at depth 9 of the initial tree: path 1 1 1 0 0 1 1 0 1.
    EXPECT_EQ(Decode(1, {0xE6, 0x80}), Bytes("A"));
    // First symbol a 3-byte match (symbol 256, path 1 0 0 0 1 1 0 0), offset 0 (code 000 + 000000):
    // it copies the preset spaces.
    EXPECT_EQ(Decode(3, {0x8C, 0x00, 0x00}), Bytes("   "));
    // The same match with offset 4095 (code 11111111 + 111111) reads the 60 window bytes that are
    // never preset; they read as zero, not as stale memory.
    EXPECT_EQ(Decode(3, {0x8C, 0xFF, 0xFC}), std::vector<std::uint8_t>(3, 0));
}

TEST(LzhUnpack, EncoderReproducesHandBuiltStream) {
    EXPECT_EQ(LzhEncode(Bytes("A")), (std::vector<std::uint8_t>{1, 0, 0, 0, 0xE6, 0x80}));
    TLzhEncodeStats stats;
    EXPECT_EQ(RoundTrip(Bytes("      x"), &stats), Bytes("      x"));
    EXPECT_EQ(stats.Matches, 1u) << "leading spaces are a match into the preset window";
}

struct TRoundTripCase {
    const char* Name;
    std::function<std::vector<std::uint8_t>()> Make;
    bool RebuildsTree;
};

void PrintTo(const TRoundTripCase& c, std::ostream* os) {
    *os << c.Name;
}

class LzhRoundTrip : public testing::TestWithParam<TRoundTripCase> {};

TEST_P(LzhRoundTrip, IsByteExact) {
    const auto data = GetParam().Make();
    TLzhEncodeStats stats;
    const auto decoded = RoundTrip(data, &stats);
    ASSERT_EQ(decoded.size(), data.size());
    EXPECT_TRUE(decoded == data) << "first difference at "
                                 << (std::mismatch(decoded.begin(), decoded.end(), data.begin()).first -
                                     decoded.begin());
    if (GetParam().RebuildsTree) {
        EXPECT_GT(stats.Symbols, 32454u) << "the case must cross the tree rebuild";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, LzhRoundTrip,
    testing::Values(TRoundTripCase{"Empty", [] { return std::vector<std::uint8_t>{}; }, false},
                    TRoundTripCase{"OneByte", [] { return Bytes("\x7f"); }, false},
                    TRoundTripCase{"Text59", [] { return TextLike(59); }, false},
                    TRoundTripCase{"Text60", [] { return TextLike(60); }, false},
                    TRoundTripCase{"Text61", [] { return TextLike(61); }, false},
                    TRoundTripCase{"Run61", [] { return std::vector<std::uint8_t>(61, 'z'); }, false},
                    TRoundTripCase{"Text4036", [] { return TextLike(4036); }, false},
                    TRoundTripCase{"Text4097", [] { return TextLike(4097); }, false},
                    TRoundTripCase{"Spaces5000", [] { return std::vector<std::uint8_t>(5000, ' '); }, false},
                    TRoundTripCase{"Text100K", [] { return TextLike(100 * 1024); }, false},
                    TRoundTripCase{"Text1M", [] { return TextLike(1024 * 1024); }, true},
                    TRoundTripCase{"Bitmap1M", [] { return BitmapLike(1024 * 1024); }, true},
                    TRoundTripCase{"Random1M", [] { return RandomBytes(1024 * 1024); }, true},
                    TRoundTripCase{"Random33000", [] { return RandomBytes(33000, 9); }, true},
                    TRoundTripCase{"Zeros1M", [] { return std::vector<std::uint8_t>(1024 * 1024, 0); },
                                   false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(LzhUnpack, SizeZeroOrBelowProducesNothingAndReadsNothing) {
    for (const std::int32_t size : {0, -1, INT32_MIN}) {
        int reads = 0;
        int writes = 0;
        TLZH lzh;
        lzh.Unpack(
            size,
            [&](std::uint8_t*, std::uint16_t) -> std::uint16_t {
                ++reads;
                return 0;
            },
            [&](const std::uint8_t*, std::uint16_t) { ++writes; });
        EXPECT_EQ(reads, 0) << size;
        EXPECT_EQ(writes, 0) << size;
        EXPECT_TRUE(Decode(size, {0xE6, 0x80}).empty()) << size;
    }
}

TEST(LzhUnpack, FinishesAFinalMatchThatRunsPastTheSize) {
    std::vector<std::uint8_t> data;
    while (data.size() < 200)
        data.insert(data.end(), {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'});
    TLzhEncodeStats stats;
    const auto bitstream = Bitstream(LzhEncode(data, &stats));
    // Eight literals, then a 60-byte match: asking for 10 bytes yields all 68.
    const auto decoded = Decode(10, bitstream);
    EXPECT_EQ(decoded.size(), 68u);
    EXPECT_TRUE(std::equal(decoded.begin(), decoded.end(), data.begin()));
}

TEST(LzhUnpack, InputThatEndsEarlyDecodesZeroBits) {
    const auto data = TextLike(20000);
    const auto bitstream = Bitstream(LzhEncode(data));
    const std::vector<std::uint8_t> half(bitstream.begin(), bitstream.begin() + bitstream.size() / 2);
    std::vector<std::uint8_t> padded = half;
    padded.resize(bitstream.size() + 64, 0);

    const auto decoded = Decode(20000, half);
    EXPECT_EQ(decoded.size() - 20000 < TLZH::MaxMatch, true) << decoded.size();
    EXPECT_EQ(decoded, Decode(20000, padded)) << "missing input must read exactly like zero bytes";
    const std::size_t agreeing =
        std::mismatch(decoded.begin(), decoded.end(), data.begin()).first - decoded.begin();
    EXPECT_GT(agreeing, 5000u) << "the bytes encoded in the first half decode unchanged";
}

TEST(LzhUnpack, RejectsASizeTheInputCannotHold) {
    const std::vector<std::uint8_t> twoBytes{0xE6, 0x80};
    EXPECT_THROW(Decode(static_cast<std::int32_t>(TLZH::MaxDecodedSize(2) + 1), twoBytes), ElzhException);
    EXPECT_THROW(Decode(1, {}), ElzhException);
    EXPECT_THROW(Decode(INT32_MAX, twoBytes), ElzhException);
    EXPECT_EQ(Decode(static_cast<std::int32_t>(TLZH::MaxDecodedSize(2)), twoBytes).front(), 'A');
}

TEST(LzhUnpack, CallbacksSeeTheSameBytesWhateverTheReadChunks) {
    const auto data = TextLike(70000);
    const auto bitstream = Bitstream(LzhEncode(data));
    for (const std::uint16_t chunk : {1, 7, 4096}) {
        std::size_t readPos = 0;
        std::vector<std::uint8_t> written;
        TLZH lzh;
        lzh.Unpack(
            static_cast<std::int32_t>(data.size()),
            [&](std::uint8_t* buffer, std::uint16_t count) {
                const auto n = static_cast<std::uint16_t>(
                    std::min<std::size_t>({count, chunk, bitstream.size() - readPos}));
                std::copy_n(bitstream.begin() + static_cast<std::ptrdiff_t>(readPos), n, buffer);
                readPos += n;
                return n;
            },
            [&](const std::uint8_t* buffer, std::uint16_t count) {
                written.insert(written.end(), buffer, buffer + count);
            });
        EXPECT_TRUE(written == data) << "chunk " << chunk;
    }
}

TEST(LzhUnpack, PassesCallbackExceptionsThrough) {
    const auto bitstream = Bitstream(LzhEncode(TextLike(1000)));
    TLZH lzh;
    std::size_t readPos = 0;
    auto reader = [&](std::uint8_t* buffer, std::uint16_t count) {
        const auto n = static_cast<std::uint16_t>(std::min<std::size_t>(count, bitstream.size() - readPos));
        std::copy_n(bitstream.begin() + static_cast<std::ptrdiff_t>(readPos), n, buffer);
        readPos += n;
        return n;
    };
    EXPECT_THROW(
        lzh.Unpack(1000, reader,
                   [](const std::uint8_t*, std::uint16_t) { throw std::runtime_error("disk full"); }),
        std::runtime_error);
    EXPECT_THROW(lzh.Unpack(
                     1000,
                     [](std::uint8_t*, std::uint16_t) -> std::uint16_t { throw std::runtime_error("read"); },
                     [](const std::uint8_t*, std::uint16_t) {}),
                 std::runtime_error);
    // The object stays usable after a failure.
    readPos = 0;
    std::vector<std::uint8_t> written;
    lzh.Unpack(1000, reader,
               [&](const std::uint8_t* b, std::uint16_t n) { written.insert(written.end(), b, b + n); });
    EXPECT_TRUE(written == TextLike(1000));
}
