// OpenSim reads a .mot as a header of key=value lines closed by "endheader", then a tab-separated
// table with one column label line. Its units are SI whatever the marks' units are.
#include "engine/gait/forces_mot.h"

#include <charconv>
#include <cmath>

#include "engine/formats/c3d/c3d_trial.h"
#include "platform/file_replace.h"

namespace {

const char* const TEMP_NAME = "#temporal_zemo#.mot";

// Written with "." as the point whatever the locale.
void append(std::string& line, double value) {
    char text[32];
    line.append(text, std::to_chars(text, text + sizeof text, value, std::chars_format::general, 9).ptr);
}

void number(std::string& line, double value) {
    line += '\t';
    append(line, std::isfinite(value) ? value : 0.0);
}

}  // namespace

double metres_per_unit(const std::string& units) {
    std::string u;
    for (char c : units) {
        if (c != ' ') u += c;
    }
    if (u == "m") return 1;
    if (u == "cm") return 0.01;
    return 0.001;
}

bool forces_mot_write_stream(const CaptureData& data, FILE* out, const std::string& name) {
    const C3dTrial& trial = *data.trial;
    const size_t plates = trial.plates.size();
    const size_t rows = trial.sample_count();
    const double metres = metres_per_unit(data.units);
    std::string text = name + "\nversion=1\nnRows=" + std::to_string(rows) + "\nnColumns=" +
                       std::to_string(1 + 9 * plates) + "\ninDegrees=no\nendheader\ntime";
    for (size_t n = 1; n <= plates; ++n) {
        const std::string force = "\tground_force_" + std::to_string(n) + "_";
        text += force + "vx" + force + "vy" + force + "vz" + force + "px" + force + "py" + force + "pz";
        const std::string torque = "\tground_torque_" + std::to_string(n) + "_";
        text += torque + "x" + torque + "y" + torque + "z";
    }
    text += "\n";
    // Times as the TRC written beside it has them: its first frame at 0.
    const double rate = trial.analog_rate > 0 ? trial.analog_rate : 1;
    for (size_t s = 0; s < rows; ++s) {
        append(text, static_cast<double>(s) / rate);
        for (size_t n = 0; n < plates; ++n) {
            const auto& series = trial.forces[n];
            if (s >= series.size()) {
                for (int k = 0; k < 9; ++k) number(text, 0);
                continue;
            }
            const PlateSample& p = series[s];
            const bool has_cop = std::isfinite(p.cop[0]);
            for (int k = 0; k < 3; ++k) number(text, p.force[k]);
            for (int k = 0; k < 3; ++k) number(text, has_cop ? p.cop[k] * metres : 0);
            for (int k = 0; k < 3; ++k) number(text, has_cop ? p.moment[k] * metres : 0);
        }
        text += "\n";
        if (text.size() > (1 << 20)) {
            if (std::fwrite(text.data(), 1, text.size(), out) != text.size()) return false;
            text.clear();
        }
    }
    return std::fwrite(text.data(), 1, text.size(), out) == text.size();
}

Status forces_mot_write(const CaptureData& data, const std::string& path) {
    if (!data.trial || data.trial->plates.empty()) return Status::failure(path + ": the capture has no force plates.");
    const size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const ReplaceFailure failure =
        replace_file(path, TEMP_NAME, [&](FILE* out) { return forces_mot_write_stream(data, out, name); });
    if (failure.failed()) return Status::failure("Error saving file:\n " + path + "\n " + failure.reason);
    return {};
}
