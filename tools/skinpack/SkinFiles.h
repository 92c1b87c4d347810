#pragma once
// Whole-file reading and writing for the skinpack tool, with messages that name the file.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

std::string PathText(const std::filesystem::path& path);

// Throws ESkinpackError when the file cannot be read.
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);

// Writes through a temporary file beside the target and renames it, so a failed write never
// leaves a half-written file under the target's name. Throws ESkinpackError.
void WriteFileBytes(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
