// Which mark lies under a click: every visible, valid mark of a layer projected as drawing
// projects it, the nearest to the pointer within its drawn radius (or a few pixels) wins.
#pragma once

#include "engine/model/capture_model.h"
#include "engine/scene/view_framing.h"

// A click lands on a mark within this many pixels of its centre, however small it is drawn.
constexpr double PICK_MIN_PIXELS = 6;

struct Pick {
    int mark = -1;  // -1: none
    double pixels = 0;  // distance from the pointer to the mark's centre
    double depth = 1;
};

// x, y in window pixels from the top left (as pointer events give them).
Pick pick_mark(const CaptureData& data, int frame, const LayerPlacement& placement, const ViewMatrices& matrices,
               double mark_radius, double x, double y);
