// The one instance of the view state.
#include "engine/scene/view_state.h"

#include "engine/model/capture_model.h"

ViewState view;

void compute_view_bounds() { view.bounds = compute_bounds(app, view.transform.scale); }
