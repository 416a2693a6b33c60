// Whether two marks may exchange their coordinates over a frame interval: the one check behind
// the Channels page's Interchange button and zemo-cli interchange.
#pragma once

#include "engine/model/capture_model.h"

enum class InterchangeFault {
    none,
    frame_order,      // the first frame is not before the last
    same_mark,        // both marks are one
    outside_capture,  // a mark or frame the capture does not have
};

// The first fault of interchanging marks a and b of `data` over first..last, in the order the
// user meets them: frames, then marks.
InterchangeFault interchange_fault(const CaptureData& data, int first_frame, int last_frame, int mark_a, int mark_b);

// The error box text of a fault; empty for none, and for a mark or frame outside the capture,
// which the page's menus and spin buttons and zemo-cli's option checks never let through.
const char* interchange_fault_text(InterchangeFault fault);
