// The Plot page of the main window: the layer and channel menus, the to-plot list and the
// button that writes the gnuplot files and starts the plot script.
#pragma once

#include <gtk/gtk.h>

// The layer menu's choice fills the channel menu, the frame range and the label from that
// layer; with no layer open the channel menu is emptied.
void plot_layer_changed();
// " >> ": the chosen channel, interval, label, colour and style become a new entry.
void plot_add_item();
// " << ": every selected row and its entry go.
void plot_remove_selected();
// "Plot Image  ": writes the files into gplot and starts "gp.bat".
void plot_run();

void connect_plot_page(GtkWidget* window);
