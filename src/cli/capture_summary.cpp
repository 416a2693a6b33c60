// The summary lines of zemo-cli info: the counts scripts have always read come first, in their
// order, and what later captures keep follows them.
#include "cli/capture_summary.h"

#include "engine/formats/c3d/c3d_trial.h"
#include "engine/formats/idf/idf_format.h"

std::string capture_summary(const CaptureData& data) {
    std::string text = "rate: " + format_rate(data.capture_rate) + "\ncolumns: " + std::to_string(data.num_columns) +
                       "\nmarks: " + std::to_string(data.mark_count()) + "\nframes: " + std::to_string(data.num_frames) +
                       "\nlost: " + std::to_string(data.error_count) + "\nfirst_frame: " +
                       std::to_string(data.first_frame) + "\n";
    if (data.analog_channels > 0) {
        text += "analog: " + std::to_string(data.analog_channels) + " channels at " + format_rate(data.analog_rate) +
                " Hz\n";
    }
    text += "plates: " + std::to_string(data.trial ? data.trial->plates.size() : 0) +
            "\nevents: " + std::to_string(data.trial ? data.trial->events.size() : 0) + "\n";
    return text;
}
