// Keeping the widgets in line with the data: the no-file state, the refresh after a file has
// been opened and after the current layer has changed.
#pragma once

#include <gtk/gtk.h>

void ui_reset_no_file();
void ui_refresh_opened();
void ui_refresh_layer();

// The View menu's check items show and hide their panels.
void connect_panel_toggles(GtkWidget* window);
