// Frame numbers and times as the view shows and reads them.
#include "engine/scene/frame_time.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/scene/scene_math.h"

int time_decimals(double rate) {
    if (rate <= 1) return 0;
    return std::clamp(static_cast<int>(std::ceil(std::log10(rate) - 1e-9)), 0, 6);
}

std::string frame_time_text(const CaptureData& data, int index) {
    char text[64];
    const double seconds = data.capture_rate > 0 ? index / data.capture_rate : 0;
    std::snprintf(text, sizeof text, "%d  %.*f s", data.first_frame + index, time_decimals(data.capture_rate), seconds);
    return text;
}

bool parse_go_to(const std::string& text_in, const CaptureData& data, int& index) {
    std::string text = text_in;
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.back())) text.pop_back();
    while (!text.empty() && blank(text.front())) text.erase(0, 1);
    bool seconds = false;
    if (!text.empty() && (text.back() == 's' || text.back() == 'S')) {
        seconds = true;
        text.pop_back();
        while (!text.empty() && blank(text.back())) text.pop_back();
    }
    if (text.empty() || data.num_frames <= 0) return false;
    const char* start = text.c_str();
    char* end = nullptr;
    const double value = std::strtod(start, &end);
    if (end != start + text.size() || !std::isfinite(value)) return false;
    seconds = seconds || text.find_first_of(".eE") != std::string::npos;
    if (seconds) {
        if (data.capture_rate <= 0) return false;
        index = static_cast<int>(std::lround(value * data.capture_rate));
    } else {
        index = static_cast<int>(std::clamp(value, -1e9, 1e9)) - data.first_frame;
    }
    index = clamp_frame(index, data.num_frames);
    return true;
}
