// Drawing the 3-D view: every open and visible layer, each with its box, marks, bones, trail,
// arrows, trajectories and, for the current layer, the text block.
#pragma once

#include <gtk/gtk.h>

#include <vector>

// Draws the picture on the view and shows it; nothing else (the redraw tick runs what follows a
// redraw).
void draw_view(GtkWidget* widget);

// Draws the layer in the working copy with the placement in view.transform.
void render_layer(bool is_current);

// Inside an open GL section: clears and draws every visible layer (no swap).
void draw_scene(GtkWidget* widget);

// Draws the current layer with the placement of its widgets (the configure handler's picture).
void render_current_layer_once();

// Reads the view's back buffer after drawing the scene: RGB rows, bottom row first.
// Empty when the view cannot draw.
std::vector<unsigned char> render_view_pixels(GtkWidget* widget, int& width, int& height);

// The trajectories of the current layer are drawn into a kept picture from this many vertices on
// (200 000 unless set otherwise).
void set_trajectory_picture_vertices(long vertices);
