// Listing analog channels, plates and events; numbers with "." whatever the locale, as every
// zemo-cli output.
#include "cli/event_lines.h"

#include <charconv>

#include "engine/formats/c3d/c3d_trial.h"
#include "engine/formats/idf/idf_format.h"
#include "engine/gait/gait_events.h"

namespace {

std::string shortest(double value) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6).ptr);
}

}  // namespace

std::string event_line(const CaptureData& data, int index) {
    const GaitEvent& e = data.trial->events[index];
    return e.context + "\t" + e.label + "\t" + std::to_string(event_frame(data, e.time)) + "\t" + shortest(e.time);
}

std::string trial_lines(const CaptureData& data) {
    std::string text;
    if (!data.trial) return text;
    const C3dTrial& trial = *data.trial;
    for (int c = 0; c < trial.channel_count(); ++c) {
        text += "analog " + std::to_string(c) + " " + trial.channels[c].label + " units " + trial.channels[c].units +
                " rate " + format_rate(trial.analog_rate) + "\n";
    }
    for (size_t n = 0; n < trial.plates.size(); ++n) {
        text += "plate " + std::to_string(n) + " type " + std::to_string(trial.plates[n].type) + " corners";
        for (const Sample& c : trial.plates[n].corners) {
            text += " " + shortest(c.x) + "," + shortest(c.y) + "," + shortest(c.z);
        }
        text += "\n";
    }
    for (int i : events_by_time(data)) text += "event " + std::to_string(i) + " " + event_line(data, i) + "\n";
    return text;
}
