// Drawing the 3-D view: every open and visible layer, each with its box, marks, bones, trail,
// arrows, trajectories and, for the current layer, the text block.
#pragma once

#include <gtk/gtk.h>

#include <vector>

// The expose handler of the view, also called directly to renew the picture at once.
gboolean draw_view(GtkWidget* widget);
// Draws the picture (and records it while recording) without dispatching any other event: for
// handlers of an event still being delivered, whose followers must keep their order.
void draw_view_keeping_events(GtkWidget* widget);
// True while draw_view runs, including the events it dispatches.
bool redraw_in_progress();
gboolean on_view_expose(GtkWidget* widget, GdkEventExpose* event, gpointer);

// Draws the layer in the working copy with the placement in view.transform.
void render_layer(bool is_current);

// Inside an open GL section: clears and draws every visible layer (no swap).
void draw_scene(GtkWidget* widget);

// Draws the current layer with the placement of its widgets (the configure handler's picture).
void render_current_layer_once();

// Reads the view's back buffer after drawing the scene: RGB rows, bottom row first.
// Empty when the view cannot draw.
std::vector<unsigned char> render_view_pixels(GtkWidget* widget, int& width, int& height);

// Redraws when a display option changes.
void connect_scene_options(GtkWidget* window);
