// A skin as the generator builds it: INI sections in the order they are written, and the
// bitmaps they name, each with a note on its frame layout for the reviewers' legend.
#pragma once

#include "SkinBitmap.h"

#include <deque>
#include <string>
#include <string_view>
#include <vector>

struct TIniKey {
    std::string Name;
    std::string Value;
};

struct TIniSection {
    std::string Name;
    std::vector<std::string> Comments; // written as ";" lines above the header
    std::vector<TIniKey> Keys;

    TIniSection& Set(std::string_view key, std::string_view value);
    TIniSection& Set(std::string_view key, int value);
};

struct TSkinImage {
    std::string FileName;
    TSkinBitmap Bitmap;
    int Frames = 1;
    bool Stacked = false; // frames one above the other instead of side by side
    std::string States;   // what each frame shows, for the legend
};

class TSkin {
public:
    // The section of that name (exact spelling), created at the end when it is new.
    TIniSection& Section(std::string_view name);
    const TIniSection* FindSection(std::string_view name) const;
    // Registers a bitmap and returns its file name for the INI. Names are lower case and end
    // in ".bmp", the only spelling the engine loads.
    std::string AddImage(TSkinImage image);

    const std::deque<TIniSection>& Sections() const { return FSections; }
    const std::vector<TSkinImage>& Images() const { return FImages; }

private:
    std::deque<TIniSection> FSections; // a deque: references to sections stay valid as more are added
    std::vector<TSkinImage> FImages;
};

// The INI text with CR LF line ends.
std::string IniText(const TSkin& skin);
// One line per bitmap in INI order: size, frames, layout, states and the keys that name it.
std::string LegendText(const TSkin& skin);
