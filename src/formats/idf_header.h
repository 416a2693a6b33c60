// The IDF header a layer gets when its file had none: Save as writes it before the data lines.
#pragma once

#include <string>
#include <vector>

// INFORMATION_SECTION, CAPTURE_RATE:, NUM_CHANNELS:, NUM_DATA:, the CHANNEL_NAMES title, the
// columns "<mark>_x_ 0", "<mark>_y_ 1", "<mark>_z_ 2" ... and the DATA_SECTION title.
std::string idf_header_text(int rate, int frames, const std::vector<std::string>& names);
