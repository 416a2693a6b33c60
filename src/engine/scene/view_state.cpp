// The one instance of the view state.
#include "engine/scene/view_state.h"

ViewState view;

void compute_view_bounds() { view.bounds = compute_bounds(view.transform.scale); }
