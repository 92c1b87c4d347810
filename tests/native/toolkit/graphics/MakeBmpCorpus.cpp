// make_bmp_corpus <folder>: writes each hand-made sample bitmap as <name>.bmp (packed DIBs as
// <name>.dib), the seeds of the BMP fuzz target.
#include "BmpSamples.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_bmp_corpus <folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    for (const bmpsamples::TSample& sample : bmpsamples::AllSamples()) {
        const auto& bytes = sample.Bytes;
        std::ofstream out(folder / (sample.Name + (sample.PackedDib ? ".dib" : ".bmp")), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "make_bmp_corpus: cannot write %s\n", sample.Name.c_str());
            return 1;
        }
    }
    return 0;
}
