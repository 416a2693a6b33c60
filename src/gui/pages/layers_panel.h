// The layers panel: one row per slot with a view button (drawn or not) and a tool button
// (current or not), and the layer switch.
#pragma once

#include <gtk/gtk.h>

// The interface side of showing and hiding slot n's row (the engine keeps in_use).
void layer_row_show_widgets(int n);
void layer_row_hide_widgets(int n);

// Makes slot n the current layer: the working copy goes to its slot, n's comes in, and the
// widgets follow.
void layer_select(int n);

void connect_layers_panel(GtkWidget* window);
