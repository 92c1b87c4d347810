#include "SkinModel.h"

#include <algorithm>
#include <stdexcept>

namespace {

bool IsLowerBmpName(const std::string& name) {
    if (name.size() <= 4 || !name.ends_with(".bmp"))
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || c == '/' || c == '\\' || c == ':' || c == ' ';
    });
}

std::string Size(int w, int h) {
    return std::to_string(w) + " x " + std::to_string(h);
}

} // namespace

TIniSection& TIniSection::Set(std::string_view key, std::string_view value) {
    for (TIniKey& k : Keys)
        if (k.Name == key) {
            k.Value = value;
            return *this;
        }
    Keys.push_back({std::string(key), std::string(value)});
    return *this;
}

TIniSection& TIniSection::Set(std::string_view key, int value) {
    return Set(key, std::to_string(value));
}

TIniSection& TSkin::Section(std::string_view name) {
    for (TIniSection& s : FSections)
        if (s.Name == name)
            return s;
    FSections.push_back({std::string(name), {}, {}});
    return FSections.back();
}

const TIniSection* TSkin::FindSection(std::string_view name) const {
    for (const TIniSection& s : FSections)
        if (s.Name == name)
            return &s;
    return nullptr;
}

std::string TSkin::AddImage(TSkinImage image) {
    if (!IsLowerBmpName(image.FileName))
        throw std::invalid_argument("bitmap names are plain lower-case .bmp names: " + image.FileName);
    for (const TSkinImage& existing : FImages)
        if (existing.FileName == image.FileName)
            throw std::invalid_argument("two bitmaps are named " + image.FileName);
    const int along = image.Stacked ? image.Bitmap.Height() : image.Bitmap.Width();
    if (image.Frames < 1 || along % image.Frames != 0)
        throw std::invalid_argument(image.FileName + " does not divide into its frames");
    FImages.push_back(std::move(image));
    return FImages.back().FileName;
}

namespace {

const TSkinImage* FindImage(const TSkin& skin, const std::string& name) {
    for (const TSkinImage& image : skin.Images())
        if (image.FileName == name)
            return &image;
    return nullptr;
}

std::string FrameLayout(const TSkinImage& image) {
    const int w = image.Bitmap.Width(), h = image.Bitmap.Height();
    if (image.Frames == 1)
        return Size(w, h);
    const int fw = image.Stacked ? w : w / image.Frames, fh = image.Stacked ? h / image.Frames : h;
    return Size(w, h) + ", " + std::to_string(image.Frames) + " frames of " + Size(fw, fh) +
           (image.Stacked ? " stacked" : " side by side");
}

// The bitmaps in the order the INI first names them.
std::vector<const TSkinImage*> ImagesInIniOrder(const TSkin& skin) {
    std::vector<const TSkinImage*> order;
    for (const TIniSection& section : skin.Sections())
        for (const TIniKey& key : section.Keys)
            if (const TSkinImage* image = FindImage(skin, key.Value);
                image && std::find(order.begin(), order.end(), image) == order.end())
                order.push_back(image);
    for (const TSkinImage& image : skin.Images())
        if (std::find(order.begin(), order.end(), &image) == order.end())
            order.push_back(&image);
    return order;
}

} // namespace

std::string IniText(const TSkin& skin) {
    std::string out = "; Default skin of the Tarnwick utility. Written by the skin generator\r\n"
                      "; (skins/default/generator); change the generator, not this file.\r\n";
    for (const TIniSection& section : skin.Sections()) {
        if (section.Keys.empty())
            continue;
        out += "\r\n";
        for (const std::string& comment : section.Comments)
            out += "; " + comment + "\r\n";
        // Each bitmap's frame layout above the first section that names it.
        for (const TIniKey& key : section.Keys)
            if (const TSkinImage* image = FindImage(skin, key.Value))
                out += "; " + image->FileName + ": " + FrameLayout(*image) +
                       (image->States != "1" ? "; " + image->States : "") + "\r\n";
        out += "[" + section.Name + "]\r\n";
        for (const TIniKey& key : section.Keys)
            out += key.Name + "=" + key.Value + "\r\n";
    }
    return out;
}

std::string LegendText(const TSkin& skin) {
    std::string out;
    int index = 1;
    for (const TSkinImage* image : ImagesInIniOrder(skin)) {
        out += std::to_string(index++) + ". " + image->FileName + "  " + FrameLayout(*image);
        out += "\n   frames: " + image->States + "\n   named by:";
        for (const TIniSection& section : skin.Sections())
            for (const TIniKey& key : section.Keys)
                if (key.Value == image->FileName)
                    out += " [" + section.Name + "] " + key.Name + ";";
        out += "\n";
    }
    return out;
}
