// Which mark lies under a click: every visible, valid mark of the layers drawn, projected as
// drawing projects it; of the marks within their drawn radius (or a few pixels) of the pointer
// the one in front wins, then the nearest to the pointer.
#pragma once

#include "engine/model/capture_model.h"
#include "engine/scene/view_framing.h"

#include <vector>

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

// One layer as the view draws it: its samples, its own placement, and the frame of it shown.
struct DrawnLayer {
    const CaptureData* data = nullptr;
    LayerPlacement placement;
    int frame = 0;
    int slot = 0;  // which layer it is, handed back with a pick
};

struct LayerPick : Pick {
    int slot = 0;  // 0: none
};

// The mark under window pixel (x, y) among all the layers drawn.
LayerPick pick_mark_in_layers(const std::vector<DrawnLayer>& layers, const ViewMatrices& matrices, double mark_radius,
                              double x, double y);
