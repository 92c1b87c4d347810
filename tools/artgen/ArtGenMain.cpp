// artgen: draws the program's artwork into a folder. The results are checked in under
// src/app/res; a test regenerates them and compares, so the pictures always match their source.
//   artgen OUTDIR   writes Toolbar.bmp (4 images of 56 x 50 on white, magenta around them), Tarnwick.ico,
//                   Immunizer.jpg (the USB immunizer's picture) and About.bmp
#include "Artwork.h"
#include "BmpEncoder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <jpeglib.h>
#include <string>

namespace {

// The toolbar sits on white; the image list masks the key colour around each picture.
const art::Color kMagenta{1, 0, 1, 1};
const art::Color kWhite{1, 1, 1, 1};

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// One icon image: a 40-byte header with doubled height, 32-bit rows bottom-up, then the AND
// mask (set where fully transparent) for renderers that ignore alpha.
std::vector<std::uint8_t> IconImage(const art::Image& img) {
    const int w = img.Width(), h = img.Height();
    const int maskStride = ((w + 31) / 32) * 4;
    std::vector<std::uint8_t> out;
    Put32(out, 40);
    Put32(out, w);
    Put32(out, 2 * h);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    Put32(out, static_cast<std::uint32_t>(w * h * 4 + maskStride * h));
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);
    const std::vector<std::uint8_t> bgra = img.Bgra();
    for (int y = h - 1; y >= 0; --y)
        out.insert(out.end(), bgra.begin() + y * w * 4, bgra.begin() + (y + 1) * w * 4);
    for (int y = h - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskStride, 0);
        for (int x = 0; x < w; ++x)
            if (bgra[(y * w + x) * 4 + 3] == 0)
                row[x / 8] |= 0x80 >> (x % 8);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

std::vector<std::uint8_t> IconFile(const std::vector<art::Image>& images) {
    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(images.size()));
    std::vector<std::vector<std::uint8_t>> bodies;
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (const art::Image& img : images) {
        bodies.push_back(IconImage(img));
        out.push_back(static_cast<std::uint8_t>(img.Width() % 256));
        out.push_back(static_cast<std::uint8_t>(img.Height() % 256));
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<std::uint32_t>(bodies.back().size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(bodies.back().size());
    }
    for (const auto& body : bodies)
        out.insert(out.end(), body.begin(), body.end());
    return out;
}

// 24 bits flattened onto white; pixels nothing covers become `key`.
std::vector<std::uint8_t> FlatBitmapFile(const art::Image& img, art::Color key) {
    const std::vector<std::uint8_t> bgr = img.BgrOnto(art::Color{1, 1, 1, 1}, key);
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(DibStride(img.Width(), 24)) * img.Height());
    for (int y = 0; y < img.Height(); ++y)
        std::copy_n(bgr.begin() + y * img.Width() * 3, img.Width() * 3,
                    rows.begin() + y * DibStride(img.Width(), 24));
    TConstPixelView view(img.Width(), img.Height(), DibStride(img.Width(), 24), 24, rows.data());
    return EncodeBmp(view);
}

std::vector<std::uint8_t> JpegFile(const art::Image& img, int quality) {
    const std::vector<std::uint8_t> bgr = img.BgrOnto(art::Color{1, 1, 1, 1}, art::Color{1, 1, 1, 1});
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(img.Width());
    cinfo.image_height = static_cast<JDIMENSION>(img.Height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(img.Width()) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const std::uint8_t* src =
            bgr.data() + static_cast<std::size_t>(cinfo.next_scanline) * img.Width() * 3;
        for (int x = 0; x < img.Width(); ++x) {
            rgb[x * 3] = src[x * 3 + 2];
            rgb[x * 3 + 1] = src[x * 3 + 1];
            rgb[x * 3 + 2] = src[x * 3];
        }
        JSAMPROW row = rgb.data();
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

bool Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!f) {
        std::fprintf(stderr, "artgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 || std::string(argv[1]) == "--help") {
        std::fprintf(stderr, "usage: artgen OUTDIR\n");
        return argc == 2 ? 0 : 2;
    }
    const std::string dir = argv[1];
    const bool ok =
        Write(dir + "/Toolbar.bmp", FlatBitmapFile(art::ToolbarStrip(), kMagenta)) &&
        Write(dir + "/Tarnwick.ico", IconFile({art::AppIcon(48), art::AppIcon(32), art::AppIcon(16)})) &&
        Write(dir + "/Immunizer.jpg", JpegFile(art::ImmunizerPicture(), 90)) &&
        Write(dir + "/About.bmp", FlatBitmapFile(art::AboutPicture(), kWhite));
    return ok ? 0 : 1;
}
