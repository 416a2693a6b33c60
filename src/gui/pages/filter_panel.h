// The filter choice of the " Channels Edition " panel: the "Filter (Hz)" radio with its " Cutoff "
// and " Order " spins and the "Suggest" button that fills the cutoff from the data.
#pragma once

#include <gtk/gtk.h>

#include <vector>

// Proceed with the filter chosen: filters the channels over first..last at the panel's cutoff
// and order.
void filter_selected_channels(int first_frame, int last_frame, const std::vector<int>& channels);

// "Suggest": the residual analysis of the selected channels over the panel's frames; the cutoff
// spin takes the overall suggestion and the history log the one of each mark.
void suggest_cutoff();

// After a file is opened: the cutoff 6 Hz and order 4 within the range of the capture's rate.
void reset_filter_panel();
// After a layer switch: the cutoff's range follows the current layer's rate (0.5 Hz to half of it).
void refresh_filter_range();

void connect_filter_panel(GtkWidget* window);
