#include "SkinMessage.h"

#include <algorithm>
#include <cstdio>

void DefaultSkinMessageSink(const std::string& text) {
    std::string line = text;
    std::replace(line.begin(), line.end(), '\r', '\n');
    std::fprintf(stderr, "%s\n", line.c_str());
}
