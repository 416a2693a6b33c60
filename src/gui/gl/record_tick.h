// The recording's captures of the drawn view: one at the end of every redraw while recording,
// and the 66 ms tick that keeps capturing the still picture while playback is off.
#pragma once

#include <gtk/gtk.h>

// Reads the view's pixels and writes the next numbered image.
void capture_frame_bmp();
// One capture when a recording is under way (the end of every redraw).
void capture_if_recording();
// The timer callback: captures while the record button is on and playback is off.
gboolean record_tick(gpointer);
// Installs record_tick every RECORD_TICK_MS, replacing a tick already running.
void start_record_tick();
void stop_record_tick();
// No recording, no tick: where a new window starts.
void reset_recording();
