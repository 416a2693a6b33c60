// The view's keys: Space plays and pauses, Left/Right step a frame (ten with Shift), Home/End go
// to the first and last frame, F frames the marks and Escape clears the picked marks. None of
// them acts while the focus is in a text or spin entry, where the keys edit the text.
#pragma once

#include <gtk/gtk.h>

// True when the key was the view's (and is not to reach the focused widget).
bool view_key_action(GtkWidget* window, const GdkEventKey* event);
