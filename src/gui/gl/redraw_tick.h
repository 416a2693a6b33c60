// When the view is drawn: at once on request, every 500 ms while stopped, and frame after frame
// while the play button is on.
#pragma once

#include <gtk/gtk.h>

constexpr unsigned PERIODIC_REFRESH_MS = 500;

// Draws the view at once unless playback is running (its chain redraws anyway).
void request_redraw();
// The same from the handler of a key or button press: the events queued behind the press (the
// next key typed, the button's release) are left to the main loop, in their order.
void request_redraw_keeping_events();
// The timer callback: redraws while playback is off; stops when the window is gone.
gboolean periodic_refresh(gpointer);
// The end of every redraw: while playing, schedules the next frame on the main loop.
void playback_step();

void connect_playback_controls(GtkWidget* window);
