// The installed refresh of the widgets after a change of the current layer.
#include "gui/kit/layer_refresh.h"

namespace {

void (*installed_refresh)() = nullptr;
int held = 0;

}  // namespace

void install_layer_refresh(void (*refresh)()) { installed_refresh = refresh; }

void refresh_for_current_layer() {
    if (installed_refresh && held == 0) installed_refresh();
}

LayerRefreshHeld::LayerRefreshHeld() { ++held; }

LayerRefreshHeld::~LayerRefreshHeld() { --held; }
