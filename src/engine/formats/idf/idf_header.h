// The IDF header a layer gets when its file had none: Save as writes it before the data lines.
#pragma once

#include <string>
#include <vector>

// An IDF file holds its rate as a whole number: the nearest one, and at least 1 for a rate above 0.
int idf_whole_rate(double rate);

// INFORMATION_SECTION, CAPTURE_RATE: (the rate made whole), NUM_CHANNELS:, NUM_DATA:, the
// CHANNEL_NAMES title, the columns "<mark>_x_ 0", "<mark>_y_ 1", "<mark>_z_ 2" ... and the
// DATA_SECTION title.
std::string idf_header_text(double rate, int frames, const std::vector<std::string>& names);
