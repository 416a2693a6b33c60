// The TRC reader. Line 1 is "PathFileType ...", line 2 the header's keys and line 3 their
// values (DataRate, NumFrames, NumMarkers ... in any order), line 4 "Frame#", "Time" and one
// name per mark every third field, line 5 the X1 Y1 Z1 ... titles; then one row per frame. A
// field that is empty or not a number ("NaN", as OpenSim writes it) is a lost coordinate.
#include "engine/formats/trc/trc_reader.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "engine/formats/capture_build.h"
#include "engine/formats/line_reader.h"

namespace {

std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> result;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        result.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return result;
        start = tab + 1;
    }
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\r')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

bool is_blank(std::string_view line) {
    for (char c : line) {
        if (c != ' ' && c != '\t' && c != '\r') return false;
    }
    return true;
}

// A whole field as a finite number, "." as decimal separator whatever the locale.
bool parse_number(std::string_view field, double& value) {
    field = trim(field);
    if (!field.empty() && field.front() == '+') field.remove_prefix(1);
    if (field.empty()) return false;
    const auto result = std::from_chars(field.data(), field.data() + field.size(), value);
    return result.ec == std::errc{} && result.ptr == field.data() + field.size() && std::isfinite(value);
}

// The rest of the fields of a split line, but the first `from`, all empty.
bool nothing_after(const std::vector<std::string_view>& line, size_t from) {
    for (size_t i = from; i < line.size(); ++i) {
        if (!trim(line[i]).empty()) return false;
    }
    return true;
}

}  // namespace

int trc_parse(std::string_view text, const std::string& name, CaptureData& out, ReadError& error) {
    error = {};
    const auto fail = [&](const std::string& what) {
        error.text = "Error opening file:\n " + name + "\n " + what;
        return 1;
    };
    LineReader in(text);
    std::string_view line;
    std::vector<std::string_view> header[5];
    for (int n = 0; n < 5; ++n) {
        if (!in.next(line)) return fail("The file ends inside the TRC header (line " + std::to_string(n + 1) + ").");
        header[n] = fields(line);
    }
    if (header[0][0].substr(0, 12) != "PathFileType") return fail("Line 1: PathFileType not found.");

    // Keys on line 2, values under them on line 3.
    double rate = NAN, camera_rate = NAN, frames_value = NAN, marks_value = NAN;
    std::string units;
    for (size_t i = 0; i < header[1].size(); ++i) {
        const std::string_view key = trim(header[1][i]);
        if (key == "Units" && i < header[2].size()) units = trim(header[2][i]);
        double number;
        if (i >= header[2].size() || !parse_number(header[2][i], number)) continue;
        if (key == "DataRate") rate = number;
        else if (key == "CameraRate") camera_rate = number;
        else if (key == "NumFrames") frames_value = number;
        else if (key == "NumMarkers") marks_value = number;
    }
    if (std::isnan(rate)) rate = camera_rate;
    if (std::isnan(rate) || rate < 0 || rate > 1e9) return fail("Line 3: DataRate is missing or not a usable rate.");
    if (std::isnan(marks_value) || marks_value != std::floor(marks_value) || marks_value < 1)
        return fail("Line 3: NumMarkers is missing or not a count of marks.");
    if (marks_value > MAX_CHANNELS) {
        char shown[32];
        std::snprintf(shown, sizeof shown, "%.0f", marks_value);
        return fail("Line 3: NumMarkers " + std::string(shown) +
                    " is more marks than a layer holds (" + std::to_string(MAX_CHANNELS) + ").");
    }
    if (std::isnan(frames_value) || frames_value != std::floor(frames_value) || frames_value < 1 ||
        frames_value > 2147483647.0)
        return fail("Line 3: NumFrames is missing or not a count of frames.");
    const int marks = static_cast<int>(marks_value);
    const long long frames = static_cast<long long>(frames_value);
    const size_t columns = 2 + 3 * static_cast<size_t>(marks);

    std::vector<std::string> labels(marks);
    for (int m = 0; m < marks; ++m) {
        const size_t at = 2 + 3 * static_cast<size_t>(m);
        if (at < header[3].size()) labels[m] = std::string(trim(header[3][at]));
    }
    if (!nothing_after(header[3], columns)) {
        return fail("Line 4 names more marks than NumMarkers (" + std::to_string(marks) + ").");
    }

    // Count the rows before allocating for NumFrames of them.
    const size_t data_at = text.size() - static_cast<size_t>(in.remaining_bytes());
    long long rows = 0;
    {
        LineReader counter(text.substr(data_at));
        while (counter.next(line)) rows += !is_blank(line);
    }
    if (rows != frames) {
        return fail("NumFrames is " + std::to_string(frames) + " but the file holds " + std::to_string(rows) +
                    " rows of data.");
    }

    std::vector<std::shared_ptr<Sample[]>> samples(marks);
    for (auto& s : samples) s = std::make_shared_for_overwrite<Sample[]>(static_cast<size_t>(frames));
    // Rows are numbered from the first one's Frame#; files that do not number them count from 1.
    int first_frame = 1;
    long long f = 0;
    while (in.next(line)) {
        if (is_blank(line)) continue;
        const std::vector<std::string_view> row = fields(line);
        double number;
        if (f == 0 && parse_number(row[0], number) && number == std::floor(number) && std::fabs(number) < 1e9) {
            first_frame = static_cast<int>(number);
        }
        if (!nothing_after(row, columns)) {
            return fail("Line " + std::to_string(in.line_number()) + " holds more values than NumMarkers (" +
                        std::to_string(marks) + ") marks have.");
        }
        for (int m = 0; m < marks; ++m) {
            double xyz[3];
            for (int a = 0; a < 3; ++a) {
                const size_t at = 2 + 3 * static_cast<size_t>(m) + a;
                if (at >= row.size() || !parse_number(row[at], xyz[a])) xyz[a] = LOST_VALUE;
            }
            samples[m][f] = Sample{xyz[0], xyz[1], xyz[2]};
        }
        ++f;
    }
    capture_build(rate, static_cast<int>(frames), labels, samples, CaptureFormat::trc, out);
    out.units = std::move(units);
    out.first_frame = first_frame;
    return 0;
}
