// The refusals of a channel interchange, in the order the user meets them; their texts are
// checked where the user meets them, on the Channels page and in zemo-cli.
#include <gtest/gtest.h>

#include "engine/processing/interchange_check.h"

TEST(InterchangeCheck, RefusesFramesThenMarksThenWhatTheCaptureLacks) {
    CaptureData data;
    data.set_columns(3 * 4);
    data.num_frames = 50;
    struct Case {
        const char* what;
        int first, last, a, b;
        InterchangeFault fault;
    };
    const Case cases[] = {
        {"two marks over the whole capture", 0, 49, 0, 3, InterchangeFault::none},
        {"one frame", 7, 7, 0, 1, InterchangeFault::frame_order},
        {"frames backwards", 9, 2, 0, 1, InterchangeFault::frame_order},
        {"frames backwards on one mark", 9, 2, 1, 1, InterchangeFault::frame_order},
        {"one mark", 0, 10, 2, 2, InterchangeFault::same_mark},
        {"no mark chosen", 0, 10, -1, 2, InterchangeFault::outside_capture},
        {"a mark past the last", 0, 10, 0, 4, InterchangeFault::outside_capture},
        {"a frame past the last", 0, 50, 0, 1, InterchangeFault::outside_capture},
        {"a frame before the first", -1, 10, 0, 1, InterchangeFault::outside_capture},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(interchange_fault(data, c.first, c.last, c.a, c.b), c.fault) << c.what;
    }
}
