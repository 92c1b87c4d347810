// Timing under Wine of the whole skin load of the program's skin (no Google Benchmark for the
// Windows targets): LoadSkinFromStream with every bitmap, next to its unpack-and-index stage
// alone in the same run.
//
//   cmake/wine-run --prefix build/win64/wineprefix
//   build/win64/tests/win/skin/component/bench_skin_data_load.exe
#include "SkinFiles.h"
#include "SkinRead.h"
#include "WinSkinDataComponent.h"

#include "BenchTiming.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Milliseconds per call.
double Time(const std::function<void()>& work) {
    return benchtiming::MedianSeconds(work, 0.5) * 1e3;
}

} // namespace

int main() {
    const std::vector<std::uint8_t> file = ReadFileBytes(TW_SKIN_PACKAGE);
    TSkinData skin(nullptr);
    skin.SkinFileStream().WriteBuffer(file.data(), static_cast<int64_t>(file.size()));
    if (!skin.LoadSkinFromStream()) {
        std::printf("the program's skin did not load\n");
        return 1;
    }
    const double unpack = Time([&] {
        TSkinReader reader;
        reader.LoadPackage(file);
    });
    const double load = Time([&] { skin.LoadSkinFromStream(); });
    std::printf("program skin: %zu bytes packed\n", file.size());
    std::printf("%-48s %8.2f ms\n", "unpack and index (TSkinReader::LoadPackage)", unpack);
    std::printf("%-48s %8.2f ms  %5.1f x unpack\n", "whole LoadSkinFromStream with the bitmaps", load,
                load / unpack);
    return 0;
}
