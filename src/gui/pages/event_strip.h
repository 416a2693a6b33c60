// The gait events under the frame slider: a strip with each event at its frame, coloured by its
// context and named in a tooltip, and the controls that add and delete events at the current frame.
#pragma once

#include <gtk/gtk.h>

#include "gui/kit/window_builder.h"

// The strip ("drawingarea_events"), as wide as what it is packed beside.
GtkWidget* create_event_strip(WindowBuilder& b);
// "Event" with the label and context choices, "Add" and "Delete".
GtkWidget* create_event_controls(WindowBuilder& b);

// Connects the strip's drawing and tooltip, the controls, and the redraws of the force plates'
// options.
void connect_event_strip(GtkWidget* window);

// Draws the strip again, after its layer's events changed.
void refresh_event_strip();
