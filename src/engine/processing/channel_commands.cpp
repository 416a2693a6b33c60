// The reporting around repair and smoothing, shared by the panel, the toolbar and zemo-cli.
#include "engine/processing/channel_commands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/model/capture_model.h"
#include "engine/model/seams.h"
#include "engine/processing/trajectory_edit.h"

void run_repair(CaptureData& data, int first_frame, int last_frame, const std::vector<int>& channels) {
    // Repair only ever fills lost coordinates, so the samples changed exactly when fewer are lost.
    const int lost_before = count_lost_values(data);
    for (int channel : channels) repair_channel(data, first_frame, last_frame, channel);
    const int remaining = count_lost_values(data);
    char text[256];
    std::snprintf(text, sizeof text,
                  "Error Correction Finished.\nNumber of corrected errors of file: %d.\nThere're %d errors not corrected",
                  data.error_count - remaining, remaining);
    show_message(text, MESSAGE_INFO, BUTTONS_OK);
    data.error_count = remaining;
    std::snprintf(text, sizeof text, "File repaired [%d, %d], with %d errors\n", first_frame, last_frame, remaining);
    history_append(text);
    if (remaining != lost_before) note_samples_changed(data);
}

void run_smooth(CaptureData& data, int first_frame, int last_frame, const std::vector<int>& channels, int factor) {
    // With a factor of 1 every frame is kept as it was.
    bool smoothed = false;
    for (int channel : channels) {
        smoothed |= smooth_channel(data, first_frame, last_frame, channel, factor) == 0 && factor > 1;
    }
    show_message("Smooth Finished.", MESSAGE_INFO, BUTTONS_OK);
    char text[128];
    std::snprintf(text, sizeof text, "The trayectories have been smoothed [%d, %d] SF: %d\n", first_frame, last_frame,
                  factor);
    history_append(text);
    if (smoothed) note_samples_changed(data);
}

std::vector<FilledGap> run_fill(CaptureData& data, int first_frame, int last_frame, const std::vector<int>& channels,
                                FillMethod method, int max_gap, const std::vector<int>& donors,
                                std::vector<UnfilledGap>* left_lost) {
    const std::vector<FilledGap> filled =
        fill_gaps(data, channels, {first_frame, last_frame, method, max_gap, donors, left_lost});
    const auto from_marks = std::count_if(filled.begin(), filled.end(),
                                          [](const FilledGap& gap) { return gap.method == FillMethod::rigid; });
    const int remaining = count_lost_values(data);
    char text[512];
    int length = std::snprintf(
        text, sizeof text, "Gap Filling Finished.\nNumber of filled gaps: %d (%d from other marks).\nThere're %d errors not corrected",
        static_cast<int>(filled.size()), static_cast<int>(from_marks), remaining);
    // The fill least to be trusted, so the user knows where to look first.
    const FilledGap* worst = nullptr;
    for (const FilledGap& gap : filled) {
        if (!std::isnan(gap.estimated_error) && (!worst || gap.estimated_error > worst->estimated_error)) worst = &gap;
    }
    if (worst) {
        std::snprintf(text + length, sizeof text - length, "\nLargest estimated error: %.1f (mark %s, frames %d-%d)",
                      worst->estimated_error, data.channels[worst->mark].name_text().c_str(), worst->first, worst->last);
    }
    show_message(text, MESSAGE_INFO, BUTTONS_OK);
    data.error_count = remaining;
    std::snprintf(text, sizeof text, "Gaps filled [%d, %d]: %d gaps, %d errors left\n", first_frame, last_frame,
                  static_cast<int>(filled.size()), remaining);
    history_append(text);
    if (!filled.empty()) note_samples_changed(data);
    return filled;
}

std::vector<int> all_channels(const CaptureData& data) {
    std::vector<int> channels;
    for (int m = 0; m < data.mark_count(); ++m) channels.push_back(m);
    return channels;
}
