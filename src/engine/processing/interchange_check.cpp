// The refusals of a channel interchange; the exchange itself is interchange_channels.
#include "engine/processing/interchange_check.h"

InterchangeFault interchange_fault(const CaptureData& data, int first_frame, int last_frame, int mark_a, int mark_b) {
    if (first_frame >= last_frame) return InterchangeFault::frame_order;
    if (mark_a == mark_b) return InterchangeFault::same_mark;
    const auto is_mark = [&data](int m) { return m >= 0 && m < data.mark_count(); };
    if (!is_mark(mark_a) || !is_mark(mark_b) || first_frame < 0 || last_frame >= data.num_frames) {
        return InterchangeFault::outside_capture;
    }
    return InterchangeFault::none;
}

const char* interchange_fault_text(InterchangeFault fault) {
    switch (fault) {
    case InterchangeFault::frame_order: return "Please, select an origin frame minor than destination frame.";
    // The marks are what the user chose; the text has always called them frames.
    case InterchangeFault::same_mark: return "Please, select two distinct frames to interchange.";
    case InterchangeFault::none:
    case InterchangeFault::outside_capture: break;
    }
    return "";
}
