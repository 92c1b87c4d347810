// Reading and writing a window-frame-sized bitmap (780 x 537), the largest the skin carries.
#include "BmpDecoder.h"
#include "BmpEncoder.h"

#include <benchmark/benchmark.h>

namespace {

constexpr std::int32_t kWidth = 780;
constexpr std::int32_t kHeight = 537;

TBmpImage Pattern(int bitsPerPixel) {
    TBmpImage image = CreateBmpImage(kWidth, kHeight, bitsPerPixel);
    for (std::size_t i = 0; i < image.Pixels.size(); ++i)
        image.Pixels[i] = static_cast<std::uint8_t>(i * 7 + i / 1024);
    for (std::size_t i = 0; i < image.Palette.size(); ++i)
        image.Palette[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), 0x40, 0};
    return image;
}

// Rows of runs of 12 pixels each, as paint programs write flat-coloured artwork.
std::vector<std::uint8_t> Rle8File() {
    std::vector<std::uint8_t> data;
    for (std::int32_t y = 0; y < kHeight; ++y) {
        for (std::int32_t x = 0; x < kWidth; x += 12) {
            data.push_back(12);
            data.push_back(static_cast<std::uint8_t>(x / 12 + y));
        }
        data.push_back(0);
        data.push_back(0);
    }
    std::vector<std::uint8_t> file = EncodeBmp(Pattern(8));
    const std::size_t pixelOffset = 14 + 40 + 256 * 4;
    file.resize(pixelOffset);
    file[30] = 1; // RLE8
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

void BM_Decode(benchmark::State& state) {
    const auto file = EncodeBmp(Pattern(static_cast<int>(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeBmp(file));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_Decode)->Arg(8)->Arg(24)->Arg(32)->Unit(benchmark::kMicrosecond);

void BM_DecodeRle8(benchmark::State& state) {
    const auto file = Rle8File();
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeBmp(file));
}
BENCHMARK(BM_DecodeRle8)->Unit(benchmark::kMicrosecond);

void BM_ToBgra32(benchmark::State& state) {
    const TBmpImage image = Pattern(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ToBgra32(image));
}
BENCHMARK(BM_ToBgra32)->Arg(8)->Arg(24)->Unit(benchmark::kMicrosecond);

void BM_Encode24(benchmark::State& state) {
    const TBmpImage image = Pattern(24);
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeBmp(image));
}
BENCHMARK(BM_Encode24)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
