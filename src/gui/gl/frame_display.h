// The frame shown, as the file numbers it and with its time, on the slider's label, the status
// bar and the view; the "Go to" entry takes a frame number or a time.
#pragma once

#include <gtk/gtk.h>

// Puts the frame shown on the status bar (it follows every change of the slider).
void show_frame_on_status_bar();
void connect_frame_display(GtkWidget* window);
