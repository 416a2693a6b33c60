// Making an IDF header from a capture's rate, frame count and mark names.
#include "engine/formats/idf/idf_header.h"

#include <algorithm>
#include <cmath>

int idf_whole_rate(double rate) {
    if (!(rate > 0)) return 0;
    // Readers refuse rates past a billion, so the rounded rate always fits.
    return static_cast<int>(std::max(1.0, std::round(std::min(rate, 2e9))));
}

std::string idf_header_text(double rate, int frames, const std::vector<std::string>& names) {
    std::string text = "INFORMATION_SECTION\nCAPTURE_RATE: " + std::to_string(idf_whole_rate(rate)) +
                       "\nNUM_CHANNELS: " + std::to_string(3 * names.size()) + "\nNUM_DATA: " +
                       std::to_string(frames) + "\nCHANNEL_NAMES\n";
    int column = 0;
    for (const std::string& name : names) {
        for (const char* axis : {"_x_ ", "_y_ ", "_z_ "}) text += name + axis + std::to_string(column++) + "\n";
    }
    text += "DATA_SECTION\n";
    return text;
}
