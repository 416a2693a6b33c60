// The TRC writer: five header lines, a blank line as OpenSim writes it, then one row per frame
// with its number (from the capture's first frame), its time and three fields per mark. OpenSim
// drops a row's trailing empty fields before it counts them, so a lost coordinate is written
// "NaN" and every row keeps its 2 + 3 x NumMarkers fields.
#include "engine/formats/trc/trc_writer.h"

#include <charconv>
#include <cstdio>

#include "engine/formats/idf/idf_format.h"

namespace {

constexpr size_t FLUSH_BYTES = 1 << 20;

std::string last_component(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The Units field: the layer's units, blanks around them trimmed (C3D pads its strings), or "mm"
// when there are none or they would break the tab-separated line.
std::string units_field(const std::string& units) {
    const size_t first = units.find_first_not_of(' ');
    if (first == std::string::npos) return "mm";
    const std::string trimmed = units.substr(first, units.find_last_not_of(' ') - first + 1);
    for (const char c : trimmed) {
        if (static_cast<unsigned char>(c) < 0x20) return "mm";
    }
    return trimmed;
}

}  // namespace

bool trc_write_stream(const CaptureData& data, FILE* out, const std::string& file_name) {
    const int marks = data.mark_count();
    const double rate = data.capture_rate;
    const std::string rate_field = format_rate(rate);
    const std::string frames = std::to_string(data.num_frames);
    const std::string units = units_field(data.units);
    std::string text = "PathFileType\t4\t(X/Y/Z)\t" + last_component(file_name) + "\n";
    text += "DataRate\tCameraRate\tNumFrames\tNumMarkers\tUnits\tOrigDataRate\tOrigDataStartFrame\tOrigNumFrames\n";
    text += rate_field + "\t" + rate_field + "\t" + frames + "\t" + std::to_string(marks) + "\t" + units + "\t" +
            rate_field + "\t" + std::to_string(data.first_frame) + "\t" + frames + "\n";
    text += "Frame#\tTime";
    for (int m = 0; m < marks; ++m) text += "\t" + data.channels[m].name_text() + "\t\t";
    text += "\n\t";
    for (int m = 1; m <= marks; ++m) {
        const std::string n = std::to_string(m);
        text += "\tX" + n + "\tY" + n + "\tZ" + n;
    }
    text += "\n\n";

    char value[IDF_VALUE_CAPACITY];
    for (int f = 0; f < data.num_frames; ++f) {
        char number[16];
        text.append(number, std::to_chars(number, number + sizeof number, data.first_frame + f).ptr);
        text += '\t';
        text.append(value, idf_format_value(rate > 0 ? f / rate : 0.0, value));
        for (int m = 0; m < marks; ++m) {
            const Sample& s = data.channels[m].samples[f];
            for (const double v : {s.x, s.y, s.z}) {
                text += '\t';
                if (is_lost(v)) {
                    text += "NaN";
                } else {
                    text.append(value, idf_format_value(v, value));
                }
            }
        }
        text += '\n';
        if (text.size() >= FLUSH_BYTES) {
            if (std::fwrite(text.data(), 1, text.size(), out) != text.size()) return false;
            text.clear();
        }
    }
    return std::fwrite(text.data(), 1, text.size(), out) == text.size();
}
