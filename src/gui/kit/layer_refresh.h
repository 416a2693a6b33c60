// The refresh that follows a change of the current layer, for the pages that change it (the
// layers panel, the data scale): every page then shows the new layer. The shell, which knows
// every page, installs it when it builds the interface.
#pragma once

void install_layer_refresh(void (*refresh)());
// Runs the installed refresh, if any.
void refresh_for_current_layer();
// While one is held the refresh is left out, for a caller that refreshes every page itself
// afterwards (opening a capture).
struct LayerRefreshHeld {
    LayerRefreshHeld();
    ~LayerRefreshHeld();
    LayerRefreshHeld(const LayerRefreshHeld&) = delete;
    LayerRefreshHeld& operator=(const LayerRefreshHeld&) = delete;
};
