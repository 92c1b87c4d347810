// The program's own skin (skins/default.skn) as it loads at start-up, without the bitmaps:
// unpacking, the check that the file is complete, indexing the package and parsing its INI.
#include "SkinFiles.h"
#include "SkinRead.h"
#include "WinSkinIni.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

const std::vector<std::uint8_t>& ProgramSkin() {
    static const std::vector<std::uint8_t> file =
        ReadFileBytes(std::filesystem::path(__FILE__).parent_path() / "../../skins/default.skn");
    return file;
}

void BM_ProgramSkinUnpack(benchmark::State& state) {
    const auto& file = ProgramSkin();
    std::size_t decoded = 0;
    for (auto _ : state) {
        const auto package = TSkinReader::Decompress(file);
        decoded = package.size();
        benchmark::DoNotOptimize(package.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(decoded));
}
BENCHMARK(BM_ProgramSkinUnpack);

// The component's check that a skin file is complete: a second unpack with other bits after
// its end.
void BM_ProgramSkinCompletenessCheck(benchmark::State& state) {
    const auto& file = ProgramSkin();
    std::vector<std::uint8_t> padded = file;
    padded.insert(padded.end(), 8, 0xFF);
    for (auto _ : state)
        benchmark::DoNotOptimize(TSkinReader::Decompress(file) == TSkinReader::Decompress(padded));
}
BENCHMARK(BM_ProgramSkinCompletenessCheck);

// Unpacking and indexing the package, then finding and parsing its INI, as a skin load does
// before it builds the elements.
void BM_ProgramSkinUnpackIndexParse(benchmark::State& state) {
    const auto& file = ProgramSkin();
    for (auto _ : state) {
        TSkinReader reader;
        const bool accepted = reader.LoadPackage(file);
        std::vector<std::uint8_t> iniText;
        std::string iniName;
        reader.ExtractFirstMatch(".ini", iniText, iniName);
        TQuickIni ini;
        ini.LoadFromStream(iniText);
        std::vector<std::string> sections;
        ini.ReadSections(sections);
        benchmark::DoNotOptimize(accepted && !sections.empty());
    }
}
BENCHMARK(BM_ProgramSkinUnpackIndexParse);

} // namespace
