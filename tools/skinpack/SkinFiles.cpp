#include "SkinFiles.h"

#include "SkinPacker.h"

#include <cerrno>
#include <cstring>
#include <fstream>

std::string PathText(const std::filesystem::path& path) {
    try {
        return path.string();
    } catch (const std::exception&) {
        const auto utf8 = path.u8string();
        return std::string(utf8.begin(), utf8.end());
    }
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        throw ESkinpackError("cannot read " + PathText(path) + ": it is a folder");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ESkinpackError("cannot open " + PathText(path) + ": " + std::strerror(errno));
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw ESkinpackError("cannot read " + PathText(path));
    return bytes;
}

void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::filesystem::path temporary = path;
    temporary += ".partial";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            throw ESkinpackError("cannot create " + PathText(temporary) + ": " + std::strerror(errno));
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            throw ESkinpackError("cannot write " + PathText(temporary));
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw ESkinpackError("cannot replace " + PathText(path) + ": " + error.message());
    }
}
