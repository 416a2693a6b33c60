// The one instance of the view state.
#include "engine/scene/view_state.h"

#include "engine/model/capture_model.h"

ViewState view;

void compute_view_bounds() { view.bounds = compute_bounds(app, view.transform.scale); }

ViewMatrices view_matrices(double zoom, bool orthographic) {
    if (view.framing.distance > 0) {
        return framed_matrices(view.framing, view.camera, view.view_width, view.view_height, zoom, orthographic);
    }
    const ProjectionInput input{view.bounds, view.camera.pan_x, view.camera.pan_y, view.view_width,
                                view.view_height, zoom, orthographic};
    return {projection_matrix(input), modelview_matrix(view.bounds, view.camera), view.view_width, view.view_height};
}
