// Keeping the widgets in line with the data: the no-file state, the refresh after a file has
// been opened and after the current layer has changed.
#pragma once

#include <gtk/gtk.h>

void ui_reset_no_file();
void ui_refresh_opened();
void ui_refresh_layer();

// The Info page's count of computed samples of the current layer.
void refresh_computed_count();

// What follows every change of the samples: the Marks page and the Info page's counts.
void refresh_after_samples_changed();

// The View menu's check items show and hide their panels.
void connect_panel_toggles(GtkWidget* window);
