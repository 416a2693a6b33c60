// The reporting around the filter, shared by the channels page and zemo-cli.
#include "engine/processing/filter_commands.h"

#include <cstdio>

#include "engine/model/capture_model.h"
#include "engine/model/seams.h"

FilterOutcome run_filter(CaptureData& data, int first_frame, int last_frame, const std::vector<int>& channels, double cutoff, int order) {
    const FilterOutcome outcome = butterworth_filter(data, channels, {first_frame, last_frame, cutoff, order});
    if (outcome.refused) return outcome;
    char text[256];
    std::snprintf(text, sizeof text,
                  "Filter Finished.\nFiltered %d channels at %.1f Hz; %d stretches too short were left as they are",
                  outcome.channels_filtered, cutoff, outcome.short_stretches);
    show_message(text, MESSAGE_INFO, BUTTONS_OK);
    std::snprintf(text, sizeof text, "Filtered [%d, %d] at %.1f Hz, order %d\n", first_frame, last_frame, cutoff, order);
    history_append(text);
    if (outcome.channels_filtered > 0) note_samples_changed(data);
    return outcome;
}

CutoffSuggestion run_suggest_cutoff(const CaptureData& data, int first_frame, int last_frame, const std::vector<int>& channels, int order) {
    const CutoffSuggestion suggestion = residual_cutoff(data, channels, first_frame, last_frame, order);
    if (suggestion.refused) return suggestion;
    if (suggestion.overall == 0) {
        show_error("No selected channel has a stretch without lost frames long enough to choose a cutoff from.");
        return suggestion;
    }
    std::string lines;
    char text[512];
    for (const MarkCutoff& mark : suggestion.marks) {
        if (mark.cutoff > 0) {
            std::snprintf(text, sizeof text, "Cutoff of %s: %.1f Hz\n", data.channels[mark.mark].name_text().c_str(),
                          mark.cutoff);
        } else {
            std::snprintf(text, sizeof text, "Cutoff of %s: none, no stretch long enough\n",
                          data.channels[mark.mark].name_text().c_str());
        }
        lines += text;
    }
    std::snprintf(text, sizeof text, "Suggested cutoff [%d, %d]: %.1f Hz, order %d\n", first_frame, last_frame,
                  suggestion.overall, order);
    history_append(lines + text);
    return suggestion;
}
