// A fill the user is looking at before applying it: the values that would go into a mark's gap,
// drawn in the view and in the marks page's curve until the user applies or cancels the fill.
#pragma once

#include <vector>

#include "engine/model/capture_model.h"

struct FillPreview {
    int layer = 0;  // the layer whose mark is previewed; 0: no preview
    int mark = -1;
    int first = 0;  // frame of values[0]
    std::vector<Sample> values;

    bool active() const { return layer != 0 && mark >= 0 && !values.empty(); }
    void clear() { *this = FillPreview{}; }
};

// The one preview of the program: set by the fill dialog, read by the drawing.
inline FillPreview& fill_preview() {
    static FillPreview preview;
    return preview;
}
