// When the view is drawn and what follows each redraw: at once on request, every 500 ms while
// stopped, and frame after frame while the play button is on; after each redraw the pending
// events run, a recording captures the picture and playback schedules its next frame.
#pragma once

#include <gtk/gtk.h>

constexpr unsigned PERIODIC_REFRESH_MS = 500;

// Draws the view, runs the pending events, captures the picture while recording and schedules
// playback's next frame: the expose handler, also called directly to renew the picture at once.
gboolean redraw_view(GtkWidget* widget);
// Draws the picture (and records it while recording) without dispatching any other event: for
// handlers of an event still being delivered, whose followers must keep their order.
void redraw_view_keeping_events(GtkWidget* widget);
// True while redraw_view runs, including the events it dispatches.
bool redraw_in_progress();
gboolean on_view_expose(GtkWidget* widget, GdkEventExpose* event, gpointer);

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
// Redraws when a display option changes.
void connect_scene_options(GtkWidget* window);
