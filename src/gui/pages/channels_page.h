// The " Channels Edition " and " Interchange Channels " panels, the toolbar's Repair, Smooth and
// Both, and the data scaling button.
#pragma once

#include <gtk/gtk.h>

void select_all_channels();
void process_selected_channels();
void toolbar_repair();
void toolbar_smooth();
void toolbar_both();
void interchange_command();
void apply_data_scale();

void connect_channels_page(GtkWidget* window);
