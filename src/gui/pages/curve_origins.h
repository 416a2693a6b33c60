// The computed samples on the Marks page's curve: its points whose frames were computed rather
// than measured are drawn again, over the widget's own black points, in a colour of their own.
#pragma once

#include <gtk/gtk.h>

// Draws, after each expose of `curve`, the points of mark `mark` from frame `first_frame` to
// `last_frame` whose samples are computed. A negative mark draws nothing over the widget's own.
void curve_origins_follow(GtkWidget* curve, int mark, int first_frame, int last_frame);
