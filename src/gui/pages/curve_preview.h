// The fill being previewed, drawn over the " Marks " page's curve when the curve shows the mark
// and frames of the preview.
#pragma once

#include <gtk/gtk.h>

// Draws the preview after the curve has drawn itself.
void connect_curve_preview(GtkWidget* curve);
